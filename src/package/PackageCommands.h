#pragma once

#include <QByteArray>
#include <QList>

#include <cstdio>

#include "package/ExtractionDirectory.h"

class Diagnostics;
class PackageArchive;

enum class PackageCommand { List = 0, Create = 1, Delete = 2, Replace = 3, Extract = 4 };

// Prints one line per entry ("rw" or "ro", size, local modification time,
// name) and a closing "N Files, M Bytes" line when there is any entry.
void listPackage(const PackageArchive &package, std::FILE *out);

// Create, delete or replace: builds the new package into output from input
// and the named files and stores it compressed under outputName. Nothing is
// written when a named file is missing from the package (delete) or cannot be
// read (create, replace); the package then stays as it was.
void modifyPackage(PackageCommand command, PackageArchive &input, PackageArchive &output,
                   const QList<QByteArray> &fileList, const QByteArray &outputName, bool verbose,
                   Diagnostics &diagnostics);

// Writes every entry below the directory outputName with its modification
// time and read-only state.
void extractPackage(const PackageArchive &input, const QByteArray &outputName, ExtractPaths paths,
                    Diagnostics &diagnostics);
