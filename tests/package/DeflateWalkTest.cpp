#include <gtest/gtest.h>

#include <libdeflate.h>
#include <zlib.h>

#include <random>
#include <vector>

#include "package/DeflateWalk.h"

// The walk must find exactly the block bounds that inflating finds, on
// every kind of block, and refuse data that is not a whole stream.

namespace {

struct Bounds {
    bool found = false;
    uint64_t header = 0;
    uint64_t end = 0;
    bool operator==(const Bounds &) const = default;
};

// The last block's bounds as zlib's inflate sees them, stopping after each block.
Bounds inflatedBounds(const std::vector<unsigned char> &stream)
{
    DeflateBlockInflater inflater;
    Bounds bounds;
    bounds.found = inflater.findLastBlock(stream.data(), stream.size(), bounds.header, bounds.end);
    return bounds.found ? bounds : Bounds{};
}

Bounds walkedBounds(std::vector<unsigned char> stream)
{
    const size_t n = stream.size();
    stream.resize(n + DeflateWalkSlack);
    Bounds bounds;
    bounds.found = walkToLastDeflateBlock(stream.data(), n, bounds.header, bounds.end);
    return bounds.found ? bounds : Bounds{};
}

std::vector<unsigned char> libdeflateStream(const std::vector<unsigned char> &input, int level)
{
    libdeflate_compressor *compressor = libdeflate_alloc_compressor(level);
    std::vector<unsigned char> out(libdeflate_deflate_compress_bound(compressor, input.size()));
    out.resize(libdeflate_deflate_compress(compressor, input.data(), input.size(), out.data(), out.size()));
    libdeflate_free_compressor(compressor);
    return out;
}

std::vector<unsigned char> zlibStream(const std::vector<unsigned char> &input, int strategy)
{
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, strategy);
    std::vector<unsigned char> out(deflateBound(&z, uLong(input.size())));
    z.next_in = const_cast<unsigned char *>(input.data());
    z.avail_in = uInt(input.size());
    z.next_out = out.data();
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    return out;
}

// Words with runs of random bytes between them, so that streams hold
// dynamic, fixed and stored blocks, long codes and every distance.
std::vector<unsigned char> mixedInput(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<unsigned char> bytes;
    while (bytes.size() < size) {
        if (random() % 10 == 0) {
            for (int i = 0; i < 2000; ++i)
                bytes.push_back(static_cast<unsigned char>(random()));
        } else {
            for (char c : "word" + std::to_string(random() % (random() % 2 ? 40 : 4000)) + " ")
                bytes.push_back(static_cast<unsigned char>(c));
        }
    }
    bytes.resize(size);
    return bytes;
}

} // namespace

TEST(DeflateWalk, findsTheBlockBoundsInflatingFindsOnEveryKindOfStream)
{
    struct Case {
        const char *name;
        std::vector<unsigned char> stream;
    };
    const std::vector<unsigned char> mixed = mixedInput(3 << 20, 1);
    const std::vector<unsigned char> skewed(100000, 'a');
    const Case cases[] = {
        {"empty input, level 6", libdeflateStream({}, 6)},
        {"one byte, level 6", libdeflateStream({'x'}, 6)},
        {"stored blocks, level 0", libdeflateStream(mixed, 0)},
        {"level 1", libdeflateStream(mixed, 1)},
        {"level 6", libdeflateStream(mixed, 6)},
        {"level 12", libdeflateStream(mixed, 12)},
        {"one repeated byte", libdeflateStream(skewed, 6)},
        {"zlib, fixed codes only", zlibStream(mixed, Z_FIXED)},
        {"zlib, Huffman codes only", zlibStream(mixed, Z_HUFFMAN_ONLY)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Bounds expected = inflatedBounds(c.stream);
        ASSERT_TRUE(expected.found);
        EXPECT_EQ(walkedBounds(c.stream), expected);
    }
}

TEST(DeflateWalk, refusesStreamsThatAreCutShortOrCorrupt)
{
    const std::vector<unsigned char> whole = libdeflateStream(mixedInput(1 << 20, 2), 6);
    for (size_t cut : {size_t(1), size_t(100), whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(walkedBounds(std::vector<unsigned char>(whole.begin(), whole.begin() + std::ptrdiff_t(cut))).found);
    }
    // Flipped bits may still walk (the walk does not expand, so it cannot
    // tell a distance too far back), but never past the data's end.
    std::mt19937 random(3);
    for (int i = 0; i < 200; ++i) {
        std::vector<unsigned char> corrupt = whole;
        corrupt[random() % corrupt.size()] ^= static_cast<unsigned char>(1u << (random() % 8));
        const Bounds walked = walkedBounds(corrupt);
        EXPECT_LE(walked.end, uint64_t(corrupt.size()) * 8) << i;
        EXPECT_LE(walked.header, walked.end) << i;
    }
}
