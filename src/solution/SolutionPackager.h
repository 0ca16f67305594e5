#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class PackageArchive;
class ProjectNode;

// What became of one file of the solution: packaged, or left out and why.
struct PackagedFile {
    enum Outcome {
        Added,         // stored under entryName
        MacroName,     // its name as written holds "$"; location is what it expands to
        Unreadable,    // location cannot be read; reason says why
        Unrelated,     // location shares no leading directory with base
        DuplicateName, // the package holds entryName already
        LongName,      // entryName does not fit the package's name field
    };
    Outcome outcome = Added;
    QString fileName;  // the name as written (the file_name property, or the path given)
    QString location;  // the absolute path it resolves to
    QString entryName; // the name it has or would have in the package
    QString base;      // the solution directory
    QByteArray reason; // why an unreadable file cannot be read
};
using PackagingReport = std::function<void(const PackagedFile &)>;

// Writes the packaged solution of a loaded tree: the solution file under its
// bare name, then depth first in document order every imported solution file
// and project file that has a name relative to the solution directory (the
// first occurrence of a name wins; names written with "$" are left out),
// then the description file when descriptionPath is not empty. The package
// is stored compressed under outputName and replaces it only when complete;
// false with a one-line message in error when it could not be written.
// report, when given, hears about the solution file, every file node met and
// the description file, in that order.
bool writePackagedSolution(ProjectNode &root, const QString &outputName, const QString &descriptionPath,
                           QByteArray &error, const PackagingReport &report = {});

// Adds one disk file under entryName with its size, modification time and
// read-only state; false (and no entry) when it cannot be opened or is a
// directory.
bool addFileToPackage(const QString &diskPath, const QByteArray &entryName, PackageArchive &package);
