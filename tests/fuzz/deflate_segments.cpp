// Raw deflate data through the two readers of deflate structure. The
// reader in segments: spans follow one another; every whole segment,
// inflated on its own by zlib, gives exactly its plain bytes;
// and when both the reader and zlib get to the end, all spans together are
// what zlib expands from the same data. The walk to the last block: wherever zlib
// finds the last block, the walk finds the same bounds.

#include <cstdlib>
#include <vector>

#include "FuzzSupport.h"
#include "PackageFiles.h"
#include "package/DeflateSegments.h"
#include "package/DeflateWalk.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FileHandle file = inputFile(data, size);
    DeflateSegmentReader reader(file.fd(), 0);
    DeflateSpan span;
    QByteArray plain;
    bool ended = false;
    const auto inflated = [&ended](const void *bytes, size_t n) {
        return zlibInflated(QByteArray::fromRawData(static_cast<const char *>(bytes), qsizetype(n)), -MAX_WBITS, ended);
    };
    while (reader.next(span)) {
        const QByteArray piece(span.plain, qsizetype(span.plainLength));
        plain += piece;
        if (span.plainEnd() != quint64(plain.size()))
            std::abort();
        // Alone, a whole segment is a stream without its final block: zlib
        // must expand it completely without reaching an end.
        if (span.deflated && (inflated(span.deflated, span.deflatedLength) != piece || ended))
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
    const QByteArray expanded = inflated(data, size);
    if (!reader.failed() && ended && expanded != plain)
        std::abort();
    return 0;
}
