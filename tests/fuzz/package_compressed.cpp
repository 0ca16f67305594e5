// The compressed package reader: the magic and length, the header and table
// of contents as they are inflated, then the rest of the stream checked to
// its end, as the listing reads a compressed package.

#include "FuzzSupport.h"
#include "package/PackageArchive.h"
#include "package/PackageCompression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const FileHandle file = inputFile(data, size);
    if (!isCompressedPackage(file.fd()))
        return 0;
    CompressedPackageReader reader(file.fd());
    if (!reader.begin())
        return 0;
    PackageArchive package;
    package.readPackage(reader, "fuzz.pkg.decompressed", nullptr);
    DiscardingSink rest;
    if (!reader.failed())
        expandPackage(reader, rest);
    return 0;
}
