#pragma once

#include <QByteArray>
#include <QList>

#include <memory>
#include <vector>

#include <sys/types.h>

#include "package/PackageEntry.h"
#include "platform/FileHandle.h"

// The data of small files, read whole when they are opened and kept one
// after another in blocks of memory, up to a budget.
class HeldFileData {
public:
    static constexpr qint64 FileLimit = 256 << 10; // the largest file held
    static constexpr qint64 BlockSize = 1 << 20;

    explicit HeldFileData(qint64 budget = 0) : m_budget(budget) {}
    // Reads the size bytes of an open file into memory and points entry's
    // source and offset at them; false, holding nothing, when the file is
    // too large, the budget is spent or the file reads short.
    bool hold(int fd, qint64 size, PackageEntry &entry);

private:
    qint64 m_budget;
    std::shared_ptr<EntrySource> m_block; // the block being filled
};

// A file from disk, opened once: its entry (without a name) with its size,
// modification time and read-only state, its data held when held takes it,
// else to be read from its path; or why it cannot be stored.
struct DiskFile {
    PackageEntry entry;
    mode_t mode = 0;
    QByteArray error; // empty when the file can be stored
};

// Only a regular file has a size to store; opening does not wait for a FIFO
// that took a file's place. The error is "can't open PATH for reading", or
// tells that the file is too large for a package.
DiskFile openDiskFile(const QByteArray &path, FileOpener &opener, HeldFileData &held);
// Opens every path as openDiskFile does, the results in the order of the
// paths. A long list is cut into runs of neighbouring paths, each opened on a
// thread of its own with an equal share of heldBudget.
std::vector<DiskFile> openDiskFiles(const QList<QByteArray> &paths, qint64 heldBudget);
