#pragma once

#include <QString>

// Why a solution could not be loaded. The message reads as subject followed
// by detail: a file name and " does not exist", or "no template for project "
// and the project's name. Syntax errors of the XML reader also carry the line.
struct SolutionLoadError {
    QString subject;
    bool syntaxError = false;
    QString detail;
    int line = 0;
    int column = 0;

    QString message() const { return subject + detail; }
};
