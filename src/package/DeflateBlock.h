#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "package/DeflateWalk.h"

struct libdeflate_compressor;

// Compresses one block of a package into a piece of raw deflate data that a
// following piece can continue directly: it never sets the final-block bit
// and ends on a byte boundary after an empty stored block. Pieces made from
// consecutive blocks, joined and closed with FinalDeflateBlock, form one
// deflate stream. A block is compressed on its own, without the previous
// block as history, so its piece depends on its bytes alone.
class DeflateBlockCompressor {
public:
    explicit DeflateBlockCompressor(int level);
    ~DeflateBlockCompressor();
    DeflateBlockCompressor(const DeflateBlockCompressor &) = delete;
    DeflateBlockCompressor &operator=(const DeflateBlockCompressor &) = delete;

    bool isValid() const { return m_compressor && m_inflater.isValid(); }
    // Replaces piece with the compressed block; false when memory runs out.
    bool compress(const unsigned char *block, size_t n, std::vector<unsigned char> &piece);

private:
    libdeflate_compressor *m_compressor = nullptr;
    DeflateBlockInflater m_inflater; // should the walk not understand a block
};

// An empty fixed-Huffman block with the final-block bit: it ends the stream.
inline constexpr unsigned char FinalDeflateBlock[2] = {0x03, 0x00};
