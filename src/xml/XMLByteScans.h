#pragma once

// The byte classes and block scans of the XML reader. The scans read the
// input sixteen bytes at a time where the processor allows, without a
// bounds check: the input ends with a NUL byte that stops them, followed by
// padding that keeps every block readable (see XMLParser). Only the parser
// includes it; its functions are local to it, so the compiler may fold them
// into the parser's loops.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace XMLBytes {

enum : unsigned char { Space = 1, NameByte = 2, AttributeStart = 4, Digit = 8, HexDigit = 16 };

struct ByteClasses {
    unsigned char of[256] = {};

    constexpr ByteClasses()
    {
        for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'})
            of[c] |= Space;
        for (int c = 0; c < 256; ++c) {
            const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
            const bool digit = c >= '0' && c <= '9';
            if (letter || digit || c == '_' || c == ':' || c == '-')
                of[c] |= NameByte;
            if (letter || c == '_' || c == ':' || c == '-')
                of[c] |= AttributeStart;
            if (digit)
                of[c] |= Digit | HexDigit;
            if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))
                of[c] |= HexDigit;
        }
    }

    bool is(char c, unsigned char mask) const { return of[static_cast<unsigned char>(c)] & mask; }
};

constexpr ByteClasses bytes;

#if defined(__SSE2__)
static inline __m128i load16(const char *p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

static inline __m128i equal(__m128i block, char c)
{
    return _mm_cmpeq_epi8(block, _mm_set1_epi8(c));
}

// Bytes of block within [low, high]; for ASCII bounds only, since the signed
// comparison puts bytes of 0x80 and above below every bound.
static inline __m128i within(__m128i block, char low, char high)
{
    return _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8(char(low - 1))),
                         _mm_cmplt_epi8(block, _mm_set1_epi8(char(high + 1))));
}
#endif

// Newline bytes in [from, to), sixteen bytes at a time where the processor
// allows. The last block may reach up to fifteen bytes past to, which the
// input's padding allows; newlines are few, so each is counted on its own.
static inline int countNewlines(const char *from, const char *to)
{
    int count = 0;
#if defined(__SSE2__)
    for (; from < to; from += 16) {
        unsigned mask = unsigned(_mm_movemask_epi8(equal(load16(from), '\n')));
        if (to - from < 16)
            mask &= (1u << (to - from)) - 1;
        for (; mask; mask &= mask - 1)
            ++count;
    }
#else
    for (; from != to; ++from)
        count += *from == '\n';
#endif
    return count;
}

// The first byte at or after p that is not a name byte.
static inline char *nameEnd(char *p)
{
#if defined(__SSE2__)
    for (;; p += 16) {
        const __m128i block = load16(p);
        const __m128i letter = within(_mm_or_si128(block, _mm_set1_epi8(0x20)), 'a', 'z');
        const __m128i digitOrColon = within(block, '0', ':');
        const __m128i mark = _mm_or_si128(equal(block, '_'), equal(block, '-'));
        const unsigned names = unsigned(
            _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(letter, digitOrColon), mark)));
        if (names != 0xFFFF)
            return p + __builtin_ctz(~names);
    }
#else
    while (bytes.is(*p, NameByte))
        ++p;
    return p;
#endif
}

// The first '<' or NUL at or after p: where character data ends.
static inline char *textEnd(char *p)
{
#if defined(__SSE2__)
    for (;; p += 16) {
        const __m128i block = load16(p);
        const __m128i stops = _mm_or_si128(equal(block, '<'), equal(block, '\0'));
        if (const unsigned mask = unsigned(_mm_movemask_epi8(stops)))
            return p + __builtin_ctz(mask);
    }
#else
    while (*p != '<' && *p != '\0')
        ++p;
    return p;
#endif
}

// The first byte at or after p that is no whitespace.
static inline char *spaceEnd(char *p)
{
    while (bytes.is(*p, Space)) // the NUL at the end is no space
        ++p;
    return p;
}

// The first double quote, '&' or NUL at or after p: where an attribute
// value ends or needs decoding.
static inline char *valueStop(char *p)
{
#if defined(__SSE2__)
    for (;; p += 16) {
        const __m128i block = load16(p);
        const __m128i stops = _mm_or_si128(_mm_or_si128(equal(block, '"'), equal(block, '&')),
                                           equal(block, '\0'));
        if (const unsigned mask = unsigned(_mm_movemask_epi8(stops)))
            return p + __builtin_ctz(mask);
    }
#else
    while (*p != '"' && *p != '&' && *p != '\0')
        ++p;
    return p;
#endif
}

// The first n bytes (fewer than eight) of a word loaded from memory, the
// others cleared.
static inline std::uint64_t firstBytes(std::uint64_t word, std::size_t n)
{
    return std::endian::native == std::endian::little ? word & ((std::uint64_t(1) << (8 * n)) - 1)
                                                      : word & ~(~std::uint64_t(0) >> (8 * n));
}

// True when the n bytes at a and at b are equal. Both are read in whole
// eight-byte words up to the next multiple of eight, which input names (in
// front of the padding) and pool strings (rounded up to eight) allow.
static inline bool sameBytes(const char *a, const char *b, std::size_t n)
{
    std::uint64_t x, y;
    for (; n >= 8; a += 8, b += 8, n -= 8) {
        std::memcpy(&x, a, 8);
        std::memcpy(&y, b, 8);
        if (x != y)
            return false;
    }
    if (n == 0)
        return true;
    std::memcpy(&x, a, 8);
    std::memcpy(&y, b, 8);
    return firstBytes(x ^ y, n) == 0;
}

} // namespace XMLBytes
