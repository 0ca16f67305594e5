#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <zlib.h>

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

    bool isValid() const { return m_compressor && m_scanReady; }
    // Replaces piece with the compressed block; false when memory runs out.
    bool compress(const unsigned char *block, size_t n, std::vector<unsigned char> &piece);

private:
    // Finds, in a complete raw deflate stream, the bit where its last
    // block's header starts and the bit just after that block's end.
    bool findLastBlock(const unsigned char *data, size_t n, uint64_t &header, uint64_t &end);

    libdeflate_compressor *m_compressor = nullptr;
    z_stream m_scan{};
    bool m_scanReady = false;
    std::vector<unsigned char> m_scratch;
};

// An empty fixed-Huffman block with the final-block bit: it ends the stream.
inline constexpr unsigned char FinalDeflateBlock[2] = {0x03, 0x00};
