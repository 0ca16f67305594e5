#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <sys/types.h>

#include <ostream>

// Reads a whole file (empty when it cannot be read).
QByteArray readFile(const QByteArray &path);
// Writes bytes to a file, creating parent directories.
void writeFile(const QByteArray &path, const QByteArray &contents);

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    // The directory's path as the bytes the file system uses.
    const QByteArray &path() const { return m_path; }
    // A path below the directory: path() + "/" + name.
    QByteArray file(const QByteArray &name) const { return m_path + '/' + name; }
    QString qpath() const { return QString::fromLatin1(m_path); }

    // Writes bytes to a file below the directory, creating parent directories.
    void write(const QByteArray &name, const QByteArray &contents) const { writeFile(file(name), contents); }
    // Reads a whole file below the directory (empty when it cannot be read).
    QByteArray read(const QByteArray &name) const { return readFile(file(name)); }
    // Whether the name exists below the directory (a dangling link does).
    bool exists(const QByteArray &name) const;

private:
    QByteArray m_path;
};

// The names in a directory except "." and "..", sorted byte-wise; empty when
// it cannot be read.
QList<QByteArray> namesIn(const QByteArray &directory);

// A file's permission bits and modification time; -1 when it has none.
mode_t modeOf(const QByteArray &path);
qint64 mtimeOf(const QByteArray &path);
// Sets a file's access and modification times.
void setMtime(const QByteArray &path, qint64 time);
// Whether the path, a link not followed, is of the type (S_IFLNK, S_IFIFO, ...).
bool isA(mode_t type, const QByteArray &path);

// Lets test failures show byte strings and strings as text.
inline void PrintTo(const QByteArray &bytes, std::ostream *os)
{
    *os << '"' << bytes.toStdString() << '"';
}

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
