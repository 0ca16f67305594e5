#pragma once

#include <QByteArray>
#include <QtGlobal>

// An open file descriptor that is closed when the handle goes.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle() { close(); }
    FileHandle(FileHandle &&other) noexcept : m_fd(other.release()) {}
    FileHandle &operator=(FileHandle &&other) noexcept;
    FileHandle(const FileHandle &) = delete;
    FileHandle &operator=(const FileHandle &) = delete;

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes the descriptor; returns false when close reports an error.
    bool close();
    int release();

private:
    int m_fd = -1;
};

// Opens files by path as open() does. A file in the directory of the file
// before is opened relative to a descriptor of that directory, so a run of
// files in one directory looks up the directory's path once.
class FileOpener {
public:
    FileHandle open(const QByteArray &path, int flags);

private:
    QByteArray m_directoryPath;
    FileHandle m_directory;
};

// Reads up to n bytes at an absolute offset, retrying short reads and
// leaving the file position alone; returns the count (less than n only at
// end of file) or -1 with errno set.
qint64 preadFully(int fd, char *buffer, qint64 n, qint64 offset);
// Writes all n bytes; false with errno set on failure.
bool writeFully(int fd, const char *buffer, qint64 n);
// A new file in the temporary directory ($TMPDIR, else /tmp) that has no name,
// so it disappears with its last descriptor and never meets a user's file.
FileHandle createAnonymousFile();
// The C library's text for an error number, as bytes.
QByteArray errorText(int error);
// The file mode creation mask of the process.
unsigned currentUmask();
