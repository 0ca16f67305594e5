#ifndef TIMERS_H
#define TIMERS_H

void timers_start(unsigned period_ms);
int timers_expired(void);

#endif
