#pragma once

#include <QByteArray>
#include <QList>

#include "package/PackageArchive.h"
#include "package/PackageCommands.h"

// What the command line asked for, and the two packages of a package command.
// Names are kept as the bytes the file system uses.
struct ToolState {
    QByteArray programPath;    // argv[0] exactly as given
    QByteArray packageName;    // package file, or solution file on the solution road; null until given
    QByteArray outputName;     // rewritten package, extract directory, or packaged solution file
    QList<QByteArray> fileList;
    PackageCommand command = PackageCommand::List;
    bool solutionMode = false; // -hzr
    bool verbose = false;      // -v
    ExtractPaths extractPaths = ExtractPaths::Confined; // -P: Preserved
    PackageArchive inputPackage;
    PackageArchive outputPackage;
};
