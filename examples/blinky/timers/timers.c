#include "timers.h"

#define T0IR (*(volatile unsigned *)0xE0004000)
#define T0TCR (*(volatile unsigned *)0xE0004004)
#define T0MR0 (*(volatile unsigned *)0xE0004018)
#define T0MCR (*(volatile unsigned *)0xE0004014)

void timers_start(unsigned period_ms)
{
    T0MR0 = period_ms * 15000u;
    T0MCR = 3;
    T0TCR = 1;
}

int timers_expired(void)
{
    if (!(T0IR & 1))
        return 0;
    T0IR = 1;
    return 1;
}
