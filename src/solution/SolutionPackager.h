#pragma once

#include <QByteArray>
#include <QString>

class PackageArchive;
class ProjectNode;

// Writes the packaged solution of a loaded tree: the solution file under its
// bare name, then depth first in document order every imported solution file
// and project file that has a name relative to the solution directory (the
// first occurrence of a name wins; names written with "$" are left out),
// then the description file when descriptionPath is not empty. The package
// is stored compressed under outputName and replaces it only when complete;
// false with a one-line message in error when it could not be written.
bool writePackagedSolution(ProjectNode &root, const QString &outputName, const QString &descriptionPath,
                           QByteArray &error);

// Adds one disk file under entryName with its size, modification time and
// read-only state; false (and no entry) when it cannot be opened or is a
// directory.
bool addFileToPackage(const QString &diskPath, const QString &entryName, PackageArchive &package);
