#pragma once

#include <QByteArray>

#include "PackageFiles.h"
#include "package/PackageStreams.h"
#include "platform/FileHandle.h"

// Collects what is written, in memory.
class MemorySink : public PackageSink {
public:
    bool write(const char *buffer, qint64 n) override
    {
        bytes.append(buffer, n);
        return true;
    }
    QByteArray bytes;
};

// A file without a name holding the bytes.
inline FileHandle fileHolding(const QByteArray &bytes)
{
    FileHandle file = createAnonymousFile();
    writeFully(file.fd(), bytes.constData(), bytes.size());
    return file;
}
