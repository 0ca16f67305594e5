#include <gtest/gtest.h>

#include <libdeflate.h>

#include <optional>
#include <random>
#include <utility>

#include "PackageFiles.h"
#include "package/DeflateWalk.h"

// The walk must find exactly the block bounds that inflating finds, on
// every kind of block, and refuse data that is not a whole stream.

namespace {

// The bits where the last block's header starts and just after its end.
using Bounds = std::optional<std::pair<uint64_t, uint64_t>>;

// The last block's bounds as zlib's inflate, stopping after each block, sees
// them, or as the walk does.
Bounds lastBlock(QByteArray stream, bool walk)
{
    const size_t n = size_t(stream.size());
    stream.resize(stream.size() + qsizetype(DeflateWalkSlack), '\0');
    const auto *data = reinterpret_cast<const unsigned char *>(stream.constData());
    uint64_t header = 0, end = 0;
    const bool found = walk ? walkToLastDeflateBlock(data, n, header, end)
                            : DeflateBlockInflater().findLastBlock(data, n, header, end);
    return found ? Bounds({header, end}) : std::nullopt;
}

QByteArray libdeflateStream(const QByteArray &input, int level)
{
    libdeflate_compressor *compressor = libdeflate_alloc_compressor(level);
    QByteArray out(qsizetype(libdeflate_deflate_compress_bound(compressor, size_t(input.size()))), '\0');
    out.truncate(qsizetype(libdeflate_deflate_compress(compressor, input.constData(), size_t(input.size()), out.data(),
                                                       size_t(out.size()))));
    libdeflate_free_compressor(compressor);
    return out;
}

} // namespace

TEST(DeflateWalk, findsTheBlockBoundsInflatingFindsOnEveryKindOfStream)
{
    const QByteArray mixed = mixedBytes(3 << 20, 1);
    const struct {
        const char *name;
        QByteArray stream;
    } cases[] = {
        {"empty input, level 6", libdeflateStream({}, 6)},
        {"one byte, level 6", libdeflateStream("x", 6)},
        {"stored blocks, level 0", libdeflateStream(mixed, 0)},
        {"level 1", libdeflateStream(mixed, 1)},
        {"level 6", libdeflateStream(mixed, 6)},
        {"level 12", libdeflateStream(mixed, 12)},
        {"one repeated byte", libdeflateStream(QByteArray(100000, 'a'), 6)},
        {"zlib, fixed codes only", zlibStream(mixed, 6, Z_NO_FLUSH, 0, -MAX_WBITS, Z_FIXED)},
        {"zlib, Huffman codes only", zlibStream(mixed, 6, Z_NO_FLUSH, 0, -MAX_WBITS, Z_HUFFMAN_ONLY)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Bounds expected = lastBlock(c.stream, false);
        ASSERT_TRUE(expected);
        EXPECT_EQ(lastBlock(c.stream, true), expected);
    }
}

TEST(DeflateWalk, refusesStreamsThatAreCutShortOrCorrupt)
{
    const QByteArray whole = libdeflateStream(mixedBytes(1 << 20, 2), 6);
    for (qsizetype cut : {qsizetype(1), qsizetype(100), whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(lastBlock(whole.left(cut), true));
    }
    // Flipped bits may still walk (the walk does not expand, so it cannot
    // tell a distance too far back), but never past the data's end.
    std::mt19937 random(3);
    for (int i = 0; i < 200; ++i) {
        QByteArray corrupt = whole;
        corrupt[random() % corrupt.size()] ^= char(1u << (random() % 8));
        const auto [header, end] = lastBlock(corrupt, true).value_or(std::pair<uint64_t, uint64_t>());
        EXPECT_LE(end, uint64_t(corrupt.size()) * 8) << i;
        EXPECT_LE(header, end) << i;
    }
}
