#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>

#include "platform/FileHandle.h"

// What the fuzz targets share: a private scratch directory, files holding an
// input, and the application object that Qt's file and text classes expect.

// Prepares the process once: the scratch directory with the directory "dir"
// and the FIFO "fifo" in it, HOME and FERNHOLLOW_ROOT_USER_DIR below it, and
// a QCoreApplication.
void prepareFuzzProcess();
// What a target sets up once after prepareFuzzProcess(); a target that
// needs more than the scratch directory defines its own.
void prepareFuzzTarget();
// The scratch directory, created by prepareFuzzProcess(); removed at exit.
const QByteArray &scratchDirectory();
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
void writeScratchFile(const QByteArray &name, const uint8_t *data, std::size_t size);
// A file without a name that holds the bytes, positioned at its start.
FileHandle inputFile(const uint8_t *data, std::size_t size);
