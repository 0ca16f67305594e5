#include "xml/Pool.h"

#include <cstdlib>
#include <cstring>
#include <new>

struct Pool::Block {
    Block *next;
    std::size_t capacity;
    char *data;
};

namespace {

constexpr std::size_t blockSize = 8192;
constexpr unsigned char clearedByte = 0xFE;

std::size_t roundUp(std::size_t size)
{
    return (size + 7) & ~std::size_t(7);
}

} // namespace

Pool::Block *Pool::s_freeBlocks = nullptr;
Pool *Pool::s_current = nullptr;

Pool::~Pool()
{
    if (s_current == this)
        s_current = nullptr;
    clear();
}

void *Pool::allocateInNewBlock(std::size_t size)
{
    const std::size_t wanted = size > blockSize ? size : blockSize;
    Block *block = nullptr;
    for (Block **link = &s_freeBlocks; *link; link = &(*link)->next) {
        if ((*link)->capacity >= wanted) {
            block = *link;
            *link = block->next;
            break;
        }
    }
    if (!block) {
        // The record and its data come from one allocation, the data 8-byte
        // aligned right behind the record.
        void *raw = std::malloc(roundUp(sizeof(Block)) + wanted);
        if (!raw)
            throw std::bad_alloc();
        block = static_cast<Block *>(raw);
        block->capacity = wanted;
        block->data = static_cast<char *>(raw) + roundUp(sizeof(Block));
    }
    block->next = m_blocks;
    m_blocks = block;
    m_capacity = block->capacity;
    m_held += block->capacity;
    m_data = block->data;
    m_used = size;
    return block->data;
}

void Pool::clear()
{
    while (m_blocks) {
        Block *block = m_blocks;
        m_blocks = block->next;
        std::memset(block->data, clearedByte, block->capacity);
        block->next = s_freeBlocks;
        s_freeBlocks = block;
    }
    m_used = 0;
    m_held = 0;
    m_capacity = 0;
    m_data = nullptr;
}

char *Pool::copy(const char *text, std::size_t length)
{
    char *memory = static_cast<char *>(allocate(length + 1));
    if (length)
        std::memcpy(memory, text, length);
    memory[length] = '\0';
    return memory;
}

Pool *Pool::processPool()
{
    s_current = new Pool; // lives for the rest of the process
    return s_current;
}

Pool *Pool::setCurrent(Pool *pool)
{
    Pool *previous = s_current;
    s_current = pool;
    return previous;
}

char *Pool::copyString(const char *text, std::size_t length)
{
    return current()->copy(text, length);
}

char *Pool::copyString(const char *text)
{
    return copyString(text, std::strlen(text));
}
