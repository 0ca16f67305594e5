#ifndef RING_H
#define RING_H

#define RING_SIZE 64

struct ring {
    unsigned char data[RING_SIZE];
    unsigned head, tail;
};

int ring_put(struct ring *r, unsigned char c);
int ring_get(struct ring *r, unsigned char *c);

#endif
