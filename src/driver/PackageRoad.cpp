#include "driver/PackageRoad.h"

#include <fcntl.h>

#include <cerrno>
#include <cstdio>

#include "platform/Diagnostics.h"
#include "driver/ToolState.h"
#include "package/InflatingPackageData.h"
#include "package/PackageCompression.h"

namespace {

bool needsData(PackageCommand command)
{
    return command == PackageCommand::Delete || command == PackageCommand::Replace
        || command == PackageCommand::Extract;
}

// Reads the header and the table of contents as they are inflated, then
// inflates the rest without keeping it, so that a package corrupt anywhere
// is refused before any command acts. plainLength is the length of the
// whole plain package.
PackageArchive::ReadResult readVerified(ToolState &state, CompressedPackageReader &reader, const QByteArray &shownName,
                                        quint64 &plainLength)
{
    const auto result = state.inputPackage.readPackage(reader, shownName, nullptr);
    DiscardingSink rest;
    ProgressLine progress(reader.declaredLength());
    CountingSink counted(rest, progress);
    if (reader.failed() || !expandPackage(reader, counted))
        return PackageArchive::BadHeader;
    plainLength = dataAreaStart(state.inputPackage.entries().size()) + rest.count;
    return result;
}

// Reads a compressed package. List reads it once. The commands that copy
// entry data check it whole first, then copy the data from a second
// inflation straight into the new package or the extracted files; only a
// package whose entries' data do not lie in table order is expanded, and
// checked, into a nameless file instead.
PackageArchive::ReadResult readCompressed(ToolState &state, const std::shared_ptr<FileHandle> &file,
                                          const QByteArray &shownName, Diagnostics &diagnostics)
{
    CompressedPackageReader reader(file->fd());
    if (!reader.begin())
        return PackageArchive::BadHeader;
    quint64 plainLength = 0;
    const auto result = readVerified(state, reader, shownName, plainLength);
    if (!needsData(state.command) || result != PackageArchive::Read)
        return result;
    auto &entries = state.inputPackage.entries();
    if (InflatingPackageData::servesInOrder(entries)) {
        auto data = std::make_shared<InflatingPackageData>(file, shownName, plainLength);
        if (!data->begin(qint32(entries.size())))
            return PackageArchive::BadHeader;
        const auto source = std::make_shared<const EntrySource>(EntrySource{shownName, nullptr, data});
        for (PackageEntry &entry : entries)
            entry.source = source;
        return PackageArchive::Read;
    }
    CompressedPackageReader again(file->fd());
    auto expanded = std::make_shared<FileHandle>(createAnonymousFile());
    if (!expanded->isOpen()) {
        diagnostics.error("can't open " + shownName + " for writing: " + errorText(errno));
        return PackageArchive::BadHeader;
    }
    FileSink sink(expanded->fd());
    if (!again.begin() || !expandPackage(again, sink)) {
        if (!again.failed())
            diagnostics.error("write error on " + shownName + ": " + errorText(errno));
        return PackageArchive::BadHeader;
    }
    PlainPackageStream stream(expanded->fd());
    return state.inputPackage.readPackage(stream, shownName, expanded);
}

} // namespace

int runPackageRoad(ToolState &state, Diagnostics &diagnostics)
{
    // Opening without waiting: a FIFO named as the package then fails to
    // read like any other file whose header cannot be read.
    auto file = std::make_shared<FileHandle>(
        ::open(state.packageName.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file->isOpen() && errno != ENOENT && errno != ENOTDIR) {
        // Only a package that does not exist reads as empty; one that cannot
        // be read must not be replaced by an empty one.
        diagnostics.error("can't open " + state.packageName + " for reading: " + errorText(errno));
        return 0;
    }
    const bool compressed = file->isOpen() && isCompressedPackage(file->fd());
    const QByteArray shownName = compressed ? state.packageName + ".decompressed" : state.packageName;
    auto result = PackageArchive::Read;
    if (!file->isOpen()) {
        state.inputPackage.clear();
    } else if (compressed) {
        result = readCompressed(state, file, shownName, diagnostics);
    } else {
        PlainPackageStream stream(file->fd());
        result = state.inputPackage.readPackage(stream, state.packageName, file);
    }
    if (result == PackageArchive::BadHeader)
        diagnostics.fatal("bad header in package " + shownName);
    if (result == PackageArchive::BadTableOfContents)
        diagnostics.fatal("bad table of contents in package " + shownName);

    switch (state.command) {
    case PackageCommand::List:
        listPackage(state.inputPackage, stdout);
        break;
    case PackageCommand::Create:
    case PackageCommand::Delete:
    case PackageCommand::Replace:
        modifyPackage(state.command, state.inputPackage, state.outputPackage, state.fileList, state.outputName,
                      state.verbose, diagnostics);
        break;
    case PackageCommand::Extract:
        extractPackage(state.inputPackage, state.outputName, state.extractPaths, diagnostics);
        break;
    }
    return 0;
}
