#include "package/DiskFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <thread>

#include "platform/SignalCleanup.h"

bool HeldFileData::hold(int fd, qint64 size, PackageEntry &entry)
{
    if (size > FileLimit || size > m_budget)
        return false;
    if (!m_block || m_block->held.capacity() - m_block->held.size() < size) {
        m_block = std::make_shared<EntrySource>();
        m_block->held.reserve(qMax(BlockSize, size));
    }
    QByteArray &block = m_block->held;
    const qsizetype start = block.size();
    block.resize(start + size);
    // A file that reads short is left to be opened again, and to fail then.
    if (preadFully(fd, block.data() + start, size, 0) != size) {
        block.resize(start);
        return false;
    }
    m_budget -= size;
    entry.offset = quint32(start);
    entry.source = m_block;
    return true;
}

DiskFile openDiskFile(const QByteArray &path, FileOpener &opener, HeldFileData &held)
{
    DiskFile result;
    const FileHandle file = opener.open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info;
    if (!file.isOpen() || ::fstat(file.fd(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.error = "can't open " + path + " for reading";
        return result;
    }
    if (quint64(info.st_size) >= quint64(1) << 32) {
        result.error = "can't store " + path + ": files of 4 GiB or more do not fit in a package";
        return result;
    }
    PackageEntry &entry = result.entry;
    entry.size = quint32(info.st_size);
    entry.readOnly = (info.st_mode & (S_IRUSR | S_IWUSR)) == S_IRUSR ? 1 : 0;
    // The field holds unsigned seconds since 1970, which run to 2106; a time
    // outside that range is stored as the nearest one the field can hold,
    // rather than wrapped round into another century.
    entry.modificationTime = quint32(std::clamp<qint64>(info.st_mtime, 0, UINT32_MAX));
    if (!held.hold(file.fd(), info.st_size, entry))
        entry.source = EntrySource::diskFile(path);
    result.mode = info.st_mode;
    return result;
}

std::vector<DiskFile> openDiskFiles(const QList<QByteArray> &paths, qint64 heldBudget)
{
    // A list shorter than two runs of this length stays on the calling thread.
    constexpr qsizetype LeastPerThread = 128;
    const qsizetype threads = std::clamp<qsizetype>(paths.size() / LeastPerThread, 1,
                                                    qMax<qsizetype>(1, std::thread::hardware_concurrency()));
    std::vector<DiskFile> opened(size_t(paths.size()));
    const auto openRun = [&](qsizetype run) {
        FileOpener opener;
        HeldFileData held(heldBudget / threads);
        for (qsizetype i = paths.size() * run / threads; i < paths.size() * (run + 1) / threads; ++i)
            opened[size_t(i)] = openDiskFile(paths[i], opener, held);
    };
    std::vector<std::thread> helpers;
    qsizetype started = 1;
    for (; started < threads; ++started) {
        std::optional<std::thread> helper = startHelperThread([&openRun, started] { openRun(started); });
        if (!helper)
            break;
        helpers.push_back(std::move(*helper));
    }
    for (qsizetype run = started; run < threads; ++run)
        openRun(run); // no thread to spare: this one opens the run
    openRun(0);
    for (std::thread &helper : helpers)
        helper.join();
    return opened;
}
