#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <zlib.h>

// Finds, in a complete raw deflate stream, the bit where its last block's
// header starts and the bit just after that block's end-of-block code, by
// walking the blocks' codes without expanding anything: several times
// faster than inflating. data must stay readable for DeflateWalkSlack bytes
// past n. False when the stream is not complete, well-formed deflate data.
constexpr size_t DeflateWalkSlack = 32;
bool walkToLastDeflateBlock(const unsigned char *data, size_t n, uint64_t &header, uint64_t &end);

// The same answer from zlib's inflate, stopping after every block: it
// expands everything, so it also refuses what inflating refuses.
class DeflateBlockInflater {
public:
    DeflateBlockInflater();
    ~DeflateBlockInflater();
    DeflateBlockInflater(const DeflateBlockInflater &) = delete;
    DeflateBlockInflater &operator=(const DeflateBlockInflater &) = delete;

    bool isValid() const { return m_ready; }
    bool findLastBlock(const unsigned char *data, size_t n, uint64_t &header, uint64_t &end);

private:
    z_stream m_stream{};
    bool m_ready = false;
    std::vector<unsigned char> m_scratch;
};
