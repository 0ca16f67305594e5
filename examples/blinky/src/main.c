#include "leds.h"
#include "timers.h"

int main(void)
{
    leds_init();
    timers_start(BLINK_MS);
    for (;;)
        if (timers_expired())
            leds_toggle();
}
