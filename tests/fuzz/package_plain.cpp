// The plain package reader: header, table of contents, then every entry's
// data copied out, the listing, and the package written again from what was
// read.

#include <cstdio>
#include <memory>

#include "FuzzSupport.h"
#include "package/PackageArchive.h"
#include "package/PackageCommands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    auto file = std::make_shared<FileHandle>(inputFile(data, size));
    PlainPackageStream stream(file->fd());
    PackageArchive package;
    if (package.readPackage(stream, "fuzz.pkg", file) != PackageArchive::Read)
        return 0;
    DiscardingSink sink;
    QByteArray error;
    for (const PackageEntry &entry : package.entries())
        PackageArchive::copyEntryData(entry, sink, "sink", error);
    static std::FILE *nowhere = std::fopen("/dev/null", "w");
    listPackage(package, nowhere);
    quint64 length = 0;
    if (package.plainLength(length, error))
        package.writePackage(sink, "sink", error);
    return 0;
}
