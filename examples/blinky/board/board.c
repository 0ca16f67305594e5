#include "board.h"

#define IODIR (*(volatile unsigned *)0xE0028008)
#define IOSET (*(volatile unsigned *)0xE0028004)
#define IOCLR (*(volatile unsigned *)0xE002800C)

void board_gpio_output(unsigned mask)
{
    IODIR |= mask;
}

void board_gpio_write(unsigned value)
{
    IOSET = value & LED_MASK;
    IOCLR = ~value & LED_MASK;
}
