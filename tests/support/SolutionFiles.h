#pragma once

#include <QByteArray>

// A solution file named name around body, of the current version or of none.
inline QByteArray solutionFile(const QByteArray &body, const QByteArray &name = "S", bool current = true)
{
    return "<!DOCTYPE Lanternwick_Project_File>\n<solution Name=\"" + name + "\"" + (current ? " version=\"2\"" : "")
        + ">\n" + body + "</solution>\n";
}
