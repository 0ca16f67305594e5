#include "driver/PackageRoad.h"

#include <cstdio>

#include "platform/Diagnostics.h"
#include "driver/ToolState.h"
#include "package/PackageFileReader.h"

namespace {

EntryData entryData(PackageCommand command)
{
    if (command == PackageCommand::Extract)
        return EntryData::WrittenOut;
    return command == PackageCommand::Delete || command == PackageCommand::Replace ? EntryData::Copied
                                                                                   : EntryData::Unused;
}

} // namespace

int runPackageRoad(ToolState &state, Diagnostics &diagnostics)
{
    const PackageFileRead read = readPackageFile(state.packageName, entryData(state.command), state.inputPackage);
    if (!read.error.isEmpty())
        diagnostics.error(read.error);
    if (!read.opened)
        return 0;
    if (read.result == PackageArchive::BadHeader)
        diagnostics.fatal("bad header in package " + read.shownName);
    if (read.result == PackageArchive::BadTableOfContents)
        diagnostics.fatal("bad table of contents in package " + read.shownName);

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
