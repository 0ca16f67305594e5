#ifndef BOARD_H
#define BOARD_H

#define LED_MASK 0x00FF0000u

void board_gpio_output(unsigned mask);
void board_gpio_write(unsigned value);

#endif
