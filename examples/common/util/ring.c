#include "ring.h"

int ring_put(struct ring *r, unsigned char c)
{
    unsigned next = (r->head + 1) % RING_SIZE;
    if (next == r->tail)
        return 0;
    r->data[r->head] = c;
    r->head = next;
    return 1;
}

int ring_get(struct ring *r, unsigned char *c)
{
    if (r->head == r->tail)
        return 0;
    *c = r->data[r->tail];
    r->tail = (r->tail + 1) % RING_SIZE;
    return 1;
}
