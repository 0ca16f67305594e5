#include "package/PackageFileReader.h"

#include <fcntl.h>

#include <cerrno>

#include "package/InflatingPackageData.h"
#include "package/PackageCompression.h"
#include "platform/FileHandle.h"

namespace {

// Reads the header and the table of contents as they are inflated, then
// inflates the rest without keeping it, so that a package corrupt anywhere
// is refused before any command acts. plainLength is the length of the
// whole plain package.
PackageArchive::ReadResult readVerified(PackageArchive &package, CompressedPackageReader &reader,
                                        const QByteArray &shownName, quint64 &plainLength)
{
    const auto result = package.readPackage(reader, shownName, nullptr);
    DiscardingSink rest;
    ProgressLine progress(reader.declaredLength());
    CountingSink counted(rest, progress);
    if (reader.failed() || !expandPackage(reader, counted))
        return PackageArchive::BadHeader;
    plainLength = dataAreaStart(package.entries().size()) + rest.count;
    return result;
}

// Reads a compressed package. List reads it once. The commands that copy
// entry data check it whole first, then copy the data from a second
// inflation straight into the new package or the extracted files; only a
// package whose entries' data do not lie in table order is expanded, and
// checked, into a nameless file instead.
PackageArchive::ReadResult readCompressed(PackageArchive &package, const std::shared_ptr<FileHandle> &file,
                                          const QByteArray &shownName, EntryData data, QByteArray &error)
{
    CompressedPackageReader reader(file->fd());
    if (!reader.begin())
        return PackageArchive::BadHeader;
    quint64 plainLength = 0;
    const auto result = readVerified(package, reader, shownName, plainLength);
    if (data == EntryData::Unused || result != PackageArchive::Read)
        return result;
    auto &entries = package.entries();
    if (InflatingPackageData::servesInOrder(entries)) {
        auto inflating = std::make_shared<InflatingPackageData>(file, shownName, plainLength,
                                                                data == EntryData::WrittenOut);
        if (!inflating->begin(qint32(entries.size())))
            return PackageArchive::BadHeader;
        const auto source = std::make_shared<const EntrySource>(EntrySource{shownName, nullptr, inflating});
        for (PackageEntry &entry : entries)
            entry.source = source;
        return PackageArchive::Read;
    }
    CompressedPackageReader again(file->fd());
    auto expanded = std::make_shared<FileHandle>(createAnonymousFile());
    if (!expanded->isOpen()) {
        error = "can't open " + shownName + " for writing: " + errorText(errno);
        return PackageArchive::BadHeader;
    }
    FileSink sink(expanded->fd());
    if (!again.begin() || !expandPackage(again, sink)) {
        if (!again.failed())
            error = "write error on " + shownName + ": " + errorText(errno);
        return PackageArchive::BadHeader;
    }
    PlainPackageStream stream(expanded->fd());
    return package.readPackage(stream, shownName, expanded);
}

} // namespace

PackageFileRead readPackageFile(const QByteArray &name, EntryData data, PackageArchive &package)
{
    PackageFileRead read;
    read.shownName = name;
    // Opening without waiting: a FIFO named as the package then fails to
    // read like any other file whose header cannot be read.
    auto file = std::make_shared<FileHandle>(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file->isOpen()) {
        // Only a package that does not exist reads as empty; one that cannot
        // be read must not be replaced by an empty one.
        if (errno != ENOENT && errno != ENOTDIR) {
            read.opened = false;
            read.error = "can't open " + name + " for reading: " + errorText(errno);
        }
        package.clear();
        return read;
    }
    if (isCompressedPackage(file->fd())) {
        read.shownName = name + ".decompressed";
        read.result = readCompressed(package, file, read.shownName, data, read.error);
    } else {
        PlainPackageStream stream(file->fd());
        read.result = package.readPackage(stream, name, file);
    }
    return read;
}
