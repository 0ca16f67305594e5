#include "package/DeflateBlock.h"

#include <libdeflate.h>

namespace {

// What inflate needs as output room while it only looks for block ends;
// the expanded bytes themselves are thrown away.
constexpr size_t ScratchSize = 64 * 1024;
// The empty stored block after a piece: LEN 0 and NLEN 0xFFFF.
constexpr unsigned char StoredLengths[4] = {0x00, 0x00, 0xFF, 0xFF};

} // namespace

DeflateBlockCompressor::DeflateBlockCompressor(int level)
    : m_compressor(libdeflate_alloc_compressor(level)), m_scratch(ScratchSize)
{
    m_scanReady = inflateInit2(&m_scan, -MAX_WBITS) == Z_OK;
}

DeflateBlockCompressor::~DeflateBlockCompressor()
{
    if (m_compressor)
        libdeflate_free_compressor(m_compressor);
    if (m_scanReady)
        inflateEnd(&m_scan);
}

bool DeflateBlockCompressor::compress(const unsigned char *block, size_t n, std::vector<unsigned char> &piece)
{
    piece.resize(libdeflate_deflate_compress_bound(m_compressor, n) + 1 + sizeof StoredLengths);
    const size_t packed = libdeflate_deflate_compress(m_compressor, block, n, piece.data(), piece.size());
    uint64_t header = 0;
    uint64_t end = 0;
    if (packed == 0 || !findLastBlock(piece.data(), packed, header, end))
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

bool DeflateBlockCompressor::findLastBlock(const unsigned char *data, size_t n, uint64_t &header, uint64_t &end)
{
    // inflate with Z_BLOCK stops after every block; data_type then holds the
    // unused bits of the last byte read, 64 once the final block was met
    // and 128 at a block boundary.
    inflateReset(&m_scan);
    m_scan.next_in = const_cast<unsigned char *>(data);
    m_scan.avail_in = uInt(n);
    header = 0;
    for (;;) {
        m_scan.next_out = m_scratch.data();
        m_scan.avail_out = uInt(m_scratch.size());
        const int status = inflate(&m_scan, Z_BLOCK);
        if (status != Z_OK && status != Z_BUF_ERROR)
            return false;
        if (m_scan.data_type & 128) {
            const uint64_t position = uint64_t(m_scan.total_in) * 8 - uint64_t(m_scan.data_type & 7);
            if (m_scan.data_type & 64) {
                end = position;
                return true;
            }
            header = position;
        } else if (m_scan.avail_out != 0) {
            return false; // the data ended inside a block
        }
    }
}
