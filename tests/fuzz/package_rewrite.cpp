// Delete on a compressed package: the package read with its data, every
// entry but the second kept and written into a new compressed package, into which
// whole segments of the old deflate data may go as they are. zlib alone
// must expand the new package to exactly the kept entries, with the data a
// plain copy of them gives (read ahead, as extraction reads it, into a sink
// that takes no deflated data).

#include "FuzzSupport.h"
#include "PackageBytes.h"
#include "package/PackageArchive.h"
#include "package/PackageFileReader.h"
#include "package/PackageWriter.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    constexpr qsizetype deleted = 1; // the entry left out
    InScratchDirectory inScratch;
    writeScratchFile("in.pkg", data, size);
    PackageArchive copied;
    if (readPackageFile("in.pkg", EntryData::WrittenOut, copied).result != PackageArchive::Read)
        return 0;
    QList<PlainEntry> kept;
    QByteArray error;
    for (qsizetype i = 0; i < copied.entries().size(); ++i) {
        if (i == deleted)
            continue;
        const PackageEntry &entry = copied.entries()[i];
        MemorySink sink;
        if (!PackageArchive::copyEntryData(entry, sink, "memory", error))
            return 0;
        kept.append({entry.name, sink.bytes, entry.readOnly, entry.modificationTime});
    }
    PackageArchive input;
    PackageArchive output;
    if (readPackageFile("in.pkg", EntryData::Copied, input).result != PackageArchive::Read)
        std::abort();
    for (qsizetype i = 0; i < input.entries().size(); ++i) {
        if (i != deleted)
            output.addEntry(input.entries()[i]);
    }
    if (!writeCompressedPackage(output, "out.pkg", error)) {
        // Only what a package cannot store may stop the rewrite of data
        // that copied plainly.
        if (!error.startsWith("can't store "))
            std::abort();
        return 0;
    }
    const std::optional<QByteArray> expanded = expandedPackage(readFile("out.pkg"));
    if (!expanded || *expanded != plainPackage(kept))
        std::abort();
    return 0;
}
