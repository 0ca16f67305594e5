#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

#include "TempDir.h"
#include "platform/FileHandle.h"

// What the fuzz targets share: a private scratch directory, files holding an
// input, and the application object that Qt's file and text classes expect.
// Before the first input the process gets the scratch directory, with the
// directory "dir" and the FIFO "fifo" in it and HOME and
// FERNHOLLOW_ROOT_USER_DIR below it, and a QCoreApplication; then
// prepareFuzzTarget() runs, which a target that needs more set-up defines.

void prepareFuzzTarget();
// The scratch directory, created before the first input and removed at exit.
const TempDir &scratch();

// Makes the scratch directory the current one for the lifetime of the scope
// (the fuzzer itself keeps the directory it was started in).
class InScratchDirectory {
public:
    InScratchDirectory();
    ~InScratchDirectory();
    InScratchDirectory(const InScratchDirectory &) = delete;
    InScratchDirectory &operator=(const InScratchDirectory &) = delete;

private:
    int m_previous;
};

// Writes the bytes to name below the scratch directory, replacing it.
inline void writeScratchFile(const QByteArray &name, const uint8_t *data, std::size_t size)
{
    scratch().write(name, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
}
// A file without a name that holds the bytes, positioned at its start.
FileHandle inputFile(const uint8_t *data, std::size_t size);
