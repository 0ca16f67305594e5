// Raw deflate data through the two readers of deflate structure. The
// reader in segments: spans follow one another; every whole segment,
// inflated on its own by zlib, gives exactly its plain bytes;
// and when both the reader and zlib get to the end, all spans together are
// what zlib expands from the same data. The walk to the last block: wherever zlib
// finds the last block, the walk finds the same bounds.

#include <zlib.h>

#include <cstdlib>
#include <vector>

#include "FuzzSupport.h"
#include "package/DeflateSegments.h"
#include "package/DeflateWalk.h"

namespace {

// Inflates raw deflate data with zlib alone: the Adler-32 and length of
// what it gives, and whether the data ended the stream.
bool zlibInflate(const unsigned char *data, size_t n, uLong &adler, quint64 &length)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        std::abort();
    stream.next_in = const_cast<unsigned char *>(data);
    stream.avail_in = uInt(n);
    std::vector<unsigned char> out(1 << 16);
    adler = adler32(0, nullptr, 0);
    length = 0;
    int status;
    do {
        stream.next_out = out.data();
        stream.avail_out = uInt(out.size());
        status = inflate(&stream, Z_SYNC_FLUSH);
        const size_t got = out.size() - stream.avail_out;
        adler = adler32(adler, out.data(), uInt(got));
        length += got;
    } while (status == Z_OK && (stream.avail_in > 0 || stream.avail_out == 0));
    inflateEnd(&stream);
    return status == Z_STREAM_END;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FileHandle file = inputFile(data, size);
    DeflateSegmentReader reader(file.fd(), 0);
    DeflateSpan span;
    quint64 position = 0;
    uLong adler = adler32(0, nullptr, 0);
    while (reader.next(span)) {
        if (span.plainStart != position)
            std::abort();
        position = span.plainEnd();
        adler = adler32(adler, reinterpret_cast<const Bytef *>(span.plain), uInt(span.plainLength));
        if (!span.deflated)
            continue;
        // Alone, a whole segment is a stream without its final block: zlib
        // must expand it completely without reaching an end.
        uLong pieceAdler = 0;
        quint64 pieceLength = 0;
        const bool ended = zlibInflate(span.deflated, span.deflatedLength, pieceAdler, pieceLength);
        if (ended || pieceLength != span.plainLength
            || pieceAdler != adler32(1, reinterpret_cast<const Bytef *>(span.plain), uInt(span.plainLength)))
            std::abort();
    }
    std::vector<unsigned char> padded(data, data + size);
    padded.resize(size + DeflateWalkSlack);
    uint64_t walkedHeader = 0, walkedEnd = 0, header = 0, end = 0;
    const bool walked = walkToLastDeflateBlock(padded.data(), size, walkedHeader, walkedEnd);
    DeflateBlockInflater inflater;
    if (inflater.findLastBlock(data, size, header, end) && (!walked || walkedHeader != header || walkedEnd != end))
        std::abort();
    // ISA-L, under the reader, refuses less than zlib (it accepts a code
    // lengths set that zlib calls invalid as long as no code read is
    // missing), so the expansions are held equal only where zlib accepts.
    uLong zlibAdler = 0;
    quint64 zlibLength = 0;
    if (!reader.failed() && zlibInflate(data, size, zlibAdler, zlibLength)
        && (zlibAdler != adler || zlibLength != position))
        std::abort();
    return 0;
}
