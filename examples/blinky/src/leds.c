#include "leds.h"
#include "board.h"

static unsigned state;

void leds_init(void)
{
    board_gpio_output(LED_MASK);
}

void leds_toggle(void)
{
    state ^= LED_MASK;
    board_gpio_write(state);
}
