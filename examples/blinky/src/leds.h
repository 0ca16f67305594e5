#ifndef LEDS_H
#define LEDS_H

void leds_init(void);
void leds_toggle(void);

#endif
