#pragma once

#include <QByteArray>

#include "platform/SignalCleanup.h"
#include "platform/FileHandle.h"

// Replaces a file only once its new contents are complete: the contents go to
// a uniquely named temporary file beside the target, which is flushed to disk
// and then renamed over the target. Until commit() succeeds the target stays
// as it was; the temporary file is removed on every failure path and when the
// object goes without a commit. A target that is a symbolic link stays one:
// the file it leads to is replaced. The new file keeps the permissions of
// the file it replaces, or gets those of a newly created file (0666 less the
// umask); an existing file that may not be written is refused, as opening
// it for writing would be. A target that is no regular file (a device, a
// FIFO) is written straight into, so the node itself is never replaced.
// SIGINT, SIGTERM and SIGHUP remove the temporary file before they end the
// process (RemoveOnSignal).
class SafeFileReplacement {
public:
    explicit SafeFileReplacement(const QByteArray &target);
    ~SafeFileReplacement();
    SafeFileReplacement(const SafeFileReplacement &) = delete;
    SafeFileReplacement &operator=(const SafeFileReplacement &) = delete;

    // Creates the temporary file; false with "can't open TARGET for writing: REASON".
    bool open(QByteArray &error);
    // The temporary file to write the contents to.
    int fd() const { return m_file.fd(); }
    // Flushes, closes and renames the temporary file over the target; false
    // with a message naming the target when any step fails.
    bool commit(QByteArray &error);
    // Drops the temporary file and leaves the target alone.
    void abandon();

private:
    bool openSpecialFile(QByteArray &error);
    // Sets the open-for-writing message with the system's reason; false.
    bool openFailed(int reason, QByteArray &error) const;

    QByteArray m_target;       // as given, for messages
    QByteArray m_destination;  // the file replaced: the target with links followed
    QByteArray m_temporary;    // empty when writing straight into a special file
    FileHandle m_file;
    RemoveOnSignal m_cleanup;  // watches m_temporary while it exists
};
