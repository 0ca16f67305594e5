#include "package/DeflateBlock.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>

namespace {

// The empty stored block after a piece: LEN 0 and NLEN 0xFFFF.
constexpr unsigned char StoredLengths[4] = {0x00, 0x00, 0xFF, 0xFF};

// A block is judged a part at a time; each part must look incompressible.
constexpr size_t JudgedPart = 64 * 1024;
// Bits per byte of a part's byte frequencies at and above which coding
// bytes apart could save at most about 0.1%. Random bytes come to 7.997.
constexpr double RandomBitsPerByte = 7.99;
// The most 4-byte strings of a part that may recur within deflate's reach:
// random bytes show less than one.
constexpr size_t MostRepeats = 16;

// Whether the byte frequencies of data leave Huffman coding nothing to gain.
bool evenlySpread(const unsigned char *data, size_t n)
{
    uint32_t counts[4][256] = {};
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        ++counts[0][data[i]];
        ++counts[1][data[i + 1]];
        ++counts[2][data[i + 2]];
        ++counts[3][data[i + 3]];
    }
    for (; i < n; ++i)
        ++counts[0][data[i]];
    double bits = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const uint32_t count = counts[0][byte] + counts[1][byte] + counts[2][byte] + counts[3][byte];
        if (count)
            bits -= double(count) * std::log2(double(count) / double(n));
    }
    return bits >= RandomBitsPerByte * double(n);
}

// Whether a part repeats itself within deflate's reach: more than a few
// 4-byte strings at its even positions recur within 32 KiB. Bytes that
// look random but repeat (the same compressed file twice, or a little text
// among them) still compress. last maps a hash of 4 bytes to the low 16
// bits of the offset from block where they were seen, and is kept from
// part to part; a stale or colliding slot only fails the comparison.
using RecentStrings = std::array<uint16_t, 1 << 12>;
bool repeatsWithinReach(const unsigned char *block, size_t from, size_t to, RecentStrings &last)
{
    constexpr unsigned hashShift = 32 - std::countr_zero(std::tuple_size_v<RecentStrings>);
    size_t repeats = 0;
    for (size_t i = from; i + 4 <= to; i += 2) {
        uint32_t word;
        std::memcpy(&word, block + i, sizeof word);
        uint16_t &seen = last[(word * 0x9E3779B1u) >> hashShift];
        const size_t distance = uint16_t(i - seen);
        seen = uint16_t(i);
        if (distance != 0 && distance <= 32768 && distance <= i && std::memcmp(block + i - distance, &word, 4) == 0
            && ++repeats > MostRepeats)
            return true;
    }
    return false;
}

// Whether no deflate coding would make block noticeably smaller: already
// compressed or random data, which costs as much time to compress as text
// does and gains nothing. Text fails on its first part, so the test costs
// little where compressing follows.
bool incompressible(const unsigned char *block, size_t n)
{
    if (n < JudgedPart)
        return false;
    RecentStrings last{};
    for (size_t at = 0; at < n; at += JudgedPart) {
        const size_t part = std::min(JudgedPart, n - at);
        if (!evenlySpread(block + at, part) || repeatsWithinReach(block, at, at + part, last))
            return false;
    }
    return true;
}

// The block as stored deflate blocks of at most 65535 bytes each, then the
// empty stored block that ends every piece.
void storeBlock(const unsigned char *block, size_t n, std::vector<unsigned char> &piece)
{
    piece.clear();
    piece.reserve(n + (n / 65535 + 2) * 5);
    for (size_t at = 0; at < n;) {
        const size_t length = std::min<size_t>(65535, n - at);
        const unsigned char header[5] = {0x00, uint8_t(length), uint8_t(length >> 8), uint8_t(~length),
                                         uint8_t(~length >> 8)};
        piece.insert(piece.end(), header, header + 5);
        piece.insert(piece.end(), block + at, block + at + length);
        at += length;
    }
    piece.push_back(0x00);
    piece.insert(piece.end(), StoredLengths, StoredLengths + sizeof StoredLengths);
}

} // namespace

DeflateBlockCompressor::DeflateBlockCompressor(int level)
    : m_compressor(libdeflate_alloc_compressor(level))
{
}

DeflateBlockCompressor::~DeflateBlockCompressor()
{
    if (m_compressor)
        libdeflate_free_compressor(m_compressor);
}

bool DeflateBlockCompressor::compress(const unsigned char *block, size_t n, std::vector<unsigned char> &piece)
{
    if (incompressible(block, n)) {
        storeBlock(block, n, piece);
        return true;
    }
    const size_t bound = libdeflate_deflate_compress_bound(m_compressor, n);
    piece.resize(bound + std::max(1 + sizeof StoredLengths, DeflateWalkSlack));
    const size_t packed = libdeflate_deflate_compress(m_compressor, block, n, piece.data(), bound);
    uint64_t header = 0;
    uint64_t end = 0;
    // Walking the codes finds the last block at a fraction of inflating's
    // cost; inflating stays as the answer should the walk not understand.
    if (packed == 0
        || (!walkToLastDeflateBlock(piece.data(), packed, header, end)
            && !m_inflater.findLastBlock(piece.data(), packed, header, end)))
        return false;
    // Clear the final-block bit, then put the three header bits of an empty
    // stored block (not final, type 0: all zero) at the end of the last
    // block and pad to the byte boundary with zeros.
    piece[header / 8] &= static_cast<unsigned char>(~(1u << (header % 8)));
    if (end % 8 != 0)
        piece[end / 8] &= static_cast<unsigned char>((1u << (end % 8)) - 1);
    size_t length = size_t((end + 3 + 7) / 8);
    for (size_t i = size_t((end + 7) / 8); i < length; ++i)
        piece[i] = 0;
    for (unsigned char byte : StoredLengths)
        piece[length++] = byte;
    piece.resize(length);
    return true;
}
