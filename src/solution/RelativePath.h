#pragma once

#include <QString>

// The name under which a file is stored in a packaged solution: its path
// relative to the solution directory, with "../" steps where it lies beside
// or above it. Paths are compared as absolute texts, part by part and
// case-sensitively; two paths that share no leading directory (for example
// /home/... and /opt/...) have no relative form, and the function fails.

// result = the relative directory of path joined with its file name.
bool relativePath(const QString &baseDir, const QString &path, QString &result);
// result = targetDir relative to baseDir; null when they are the same
// directory, or when targetDir is exactly ".".
bool relativeDirectory(const QString &baseDir, const QString &targetDir, QString &result);
