#include "package/DeflateBlock.h"

#include <libdeflate.h>

#include <algorithm>

namespace {

// The empty stored block after a piece: LEN 0 and NLEN 0xFFFF.
constexpr unsigned char StoredLengths[4] = {0x00, 0x00, 0xFF, 0xFF};

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
