#pragma once

#include <cstddef>

// An arena that hands out memory in 8-byte steps from 8192-byte blocks.
// Nothing is freed one by one: clearing the pool (or destroying it) fills its
// blocks with 0xFE and returns them to a process-wide free list, from which
// later pools take their blocks again. Single-threaded, like the whole tree.
class Pool {
public:
    Pool() = default;
    virtual ~Pool();
    Pool(const Pool &) = delete;
    Pool &operator=(const Pool &) = delete;

    // Memory for size bytes, rounded up to a multiple of 8.
    void *allocate(std::size_t size)
    {
        size = (size + 7) & ~std::size_t(7);
        if (m_capacity - m_used < size)
            return allocateInNewBlock(size);
        void *memory = m_data + m_used;
        m_used += size;
        return memory;
    }
    // Returns every block to the free list; the pool is empty afterwards.
    void clear();
    // The bytes of the blocks the pool holds: what it has cost so far.
    std::size_t heldBytes() const { return m_held; }

    // A copy of the first length bytes of text, NUL-terminated, in this pool.
    char *copy(const char *text, std::size_t length);

    // The pool that nodes are allocated from. When none has been set, the
    // first call creates one that lives for the rest of the process.
    static Pool *current() { return s_current ? s_current : processPool(); }
    // Makes pool current; returns the previous current pool (may be null).
    static Pool *setCurrent(Pool *pool);
    // A copy of text (NUL-terminated) in the current pool.
    static char *copyString(const char *text, std::size_t length);
    static char *copyString(const char *text);

private:
    struct Block;
    void *allocateInNewBlock(std::size_t size);
    static Pool *processPool();

    static Pool *s_current;
    static Block *s_freeBlocks;  // blocks given back by cleared pools

    Block *m_blocks = nullptr;   // newest first
    std::size_t m_used = 0;      // bytes used in the newest block
    std::size_t m_capacity = 0;  // capacity of the newest block
    char *m_data = nullptr;      // data of the newest block
    std::size_t m_held = 0;      // capacity of all blocks
};

// Makes a pool current for the lifetime of the scope and restores the
// previous one afterwards.
class PoolScope {
public:
    explicit PoolScope(Pool *pool) : m_previous(Pool::setCurrent(pool)) {}
    ~PoolScope() { Pool::setCurrent(m_previous); }
    PoolScope(const PoolScope &) = delete;
    PoolScope &operator=(const PoolScope &) = delete;

private:
    Pool *m_previous;
};

// Base of every XML node: routes allocation to the current pool. Nodes die
// with their pool and are never deleted one by one.
class PoolObject {
public:
    static void *operator new(std::size_t size) { return Pool::current()->allocate(size); }
    static void operator delete(void *) {}
};
