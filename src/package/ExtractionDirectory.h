#pragma once

#include <QByteArray>
#include <QList>

#include "platform/FileHandle.h"
#include "platform/SignalCleanup.h"

// A file being created for an entry, with the directory it lies in and its
// name there, so that it can be removed without walking its path again.
// Until keep() a signal that ends the process removes it (RemoveOnSignal).
class EntryFile {
public:
    int fd() const { return m_file.fd(); }
    // Closes the file; false when close reports an error.
    bool close() { return m_file.close(); }
    // The file is complete: it stays.
    void keep();
    // Closes and removes the file.
    void discard();

private:
    friend class ExtractionDirectory;
    FileHandle m_file;
    FileHandle m_directory;
    QByteArray m_name;
    RemoveOnSignal m_cleanup;
};

// How extraction treats names that lead outside the output directory and
// symbolic links below it.
enum class ExtractPaths {
    Confined,  // refuses such names and never follows a link below the directory
    Preserved, // -P: writes every name where it leads, links followed
};

// Where extracted files go. Each entry's path is the directory as named,
// "/", and the entry's name.
//
// Confined (the default): nothing outside the directory is created, changed
// or removed. The directory itself is opened once, as named (it may be a
// symbolic link), and every directory below it is opened, or made, from the
// descriptor of its parent with O_NOFOLLOW, so no symbolic link below it is
// ever followed and nothing can swap a directory for a link between a check
// and its use. A name whose ".." components climb above the directory, or
// whose path meets a symbolic link, is refused. A link, or any other file,
// that stands where the entry goes is removed and a new file is made.
//
// Preserved (-P): the path is used as it is, ".." components and links
// included; missing directories are made, and an existing file at the path
// is removed before the new file is made.
class ExtractionDirectory {
public:
    enum class Outcome {
        Created,  // the file is open for writing
        Refused,  // this entry is not extracted; reason says why
        Failed,   // the file cannot be made
    };

    ExtractionDirectory(const QByteArray &path, ExtractPaths paths);

    // Makes a new, empty file for the entry (mode 0600 less the umask).
    Outcome create(const QByteArray &entryName, EntryFile &file, QByteArray &reason);

private:
    bool openTop();
    Outcome createConfined(const QByteArray &entryName, EntryFile &file, QByteArray &reason);
    // Opens the directory the entry's file goes in, walking down from the
    // top; Created when it is open.
    Outcome openParent(const QByteArray &entryName, const QList<QByteArray> &parts, FileHandle &parent,
                       QByteArray &reason);
    Outcome createPreserved(const QByteArray &entryName, EntryFile &file);
    // Makes the file name in the open directory, which the file takes over.
    static Outcome createIn(FileHandle directory, const QByteArray &name, int flags, EntryFile &file);

    QByteArray m_path;
    ExtractPaths m_paths;
    FileHandle m_top; // the directory as named, once it has been made and opened
};
