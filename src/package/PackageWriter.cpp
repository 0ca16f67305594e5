#include "package/PackageWriter.h"

#include "package/PackageArchive.h"
#include "package/PackageCompression.h"
#include "package/SafeFileReplacement.h"

#include <cerrno>

bool writeCompressedPackage(const PackageArchive &package, const QByteArray &path, QByteArray &error)
{
    quint64 length = 0;
    if (!package.plainLength(length, error))
        return false;
    SafeFileReplacement file(path);
    if (!file.open(error))
        return false;
    CompressedPackageWriter writer(file.fd());
    ProgressLine progress(length);
    CountingSink counted(writer, progress);
    if (!writer.begin(quint32(length)) || !package.writePackage(counted, path, error) || !writer.finish()) {
        if (error.isEmpty())
            error = "write error on " + path + ": " + errorText(errno);
        return false;
    }
    return file.commit(error);
}
