#pragma once

#include <QByteArray>

class PackageArchive;

// Stores the package compressed under path: the plain package streams through
// zlib into a temporary file beside path that replaces path only when it is
// complete and flushed. On failure path is left as it was, no temporary file
// remains, and error holds one line naming the file and the reason.
bool writeCompressedPackage(const PackageArchive &package, const QByteArray &path, QByteArray &error);
