#include "package/ParallelDeflate.h"

#include <fcntl.h>
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

#include "package/DeflateBlock.h"
#include "platform/FileHandle.h"
#include "platform/SignalCleanup.h"

namespace {

// Each worker costs about 2.6 MiB (its compressor and one more block in
// flight); four keep the whole program under 32 MiB, and more would rarely
// be fed fast enough by the caller's reading anyway.
constexpr int MostWorkers = 4;
// How much written data may wait before its write-back is started.
constexpr qint64 FlushStep = 8 << 20;

} // namespace

struct ParallelDeflate::Block {
    // Left uninitialised: a short stream touches only the pages it fills.
    std::unique_ptr<unsigned char[]> plain{new unsigned char[size_t(BlockSize)]};
    size_t used = 0;
    std::vector<unsigned char> piece;
    quint32 adler = 1;
    bool done = false;
    bool failed = false;
};

int ParallelDeflate::defaultWorkers()
{
    return std::clamp(int(std::thread::hardware_concurrency()), 1, MostWorkers);
}

ParallelDeflate::ParallelDeflate(int fd, int workers)
    : m_fd(fd), m_workerCount(workers > 0 ? workers : defaultWorkers()), m_mostInFlight(size_t(m_workerCount) + 2),
      m_callerHelps(m_workerCount < int(std::thread::hardware_concurrency()))
{
}

ParallelDeflate::~ParallelDeflate()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_workReady.notify_all();
    for (std::thread &worker : m_workers)
        worker.join();
}

bool ParallelDeflate::begin()
{
    // Deflate with a 32 KiB window at the default level, as zlib writes it.
    static const unsigned char header[2] = {0x78, 0x9C};
    return writeBytes(header, sizeof header);
}

bool ParallelDeflate::startWorkers()
{
    for (int i = 0; i < m_workerCount; ++i) {
        std::optional<std::thread> worker = startHelperThread([this] { work(); });
        if (!worker)
            break;
        m_workers.push_back(std::move(*worker));
    }
    return !m_workers.empty();
}

bool ParallelDeflate::compressCurrentHere()
{
    if (!m_ownCompressor)
        m_ownCompressor = std::make_unique<DeflateBlockCompressor>(Level);
    compressBlock(*m_current, *m_ownCompressor);
    if (!writePiece(*m_current))
        return false;
    m_current->used = 0;
    return true;
}

bool ParallelDeflate::write(const char *buffer, qint64 n)
{
    while (n > 0) {
        if (!m_current) {
            if (!m_spare.empty()) {
                m_current = std::move(m_spare.back());
                m_spare.pop_back();
            } else {
                m_current = std::make_shared<Block>();
            }
            m_current->used = 0;
        }
        const size_t take = size_t(std::min<qint64>(n, BlockSize - qint64(m_current->used)));
        std::memcpy(m_current->plain.get() + m_current->used, buffer, take);
        m_current->used += take;
        buffer += take;
        n -= qint64(take);
        if (m_current->used == size_t(BlockSize) && !submitCurrent())
            return false;
    }
    return true;
}

bool ParallelDeflate::writeDeflated(const unsigned char *data, size_t n, quint64 plainLength, quint32 adler)
{
    if (m_current && m_current->used > 0 && !submitCurrent())
        return false;
    while (!m_inFlight.empty()) {
        if (!writeOldest())
            return false;
    }
    m_adler = quint32(adler32_combine(m_adler, adler, z_off_t(plainLength)));
    return writeBytes(data, n);
}

bool ParallelDeflate::finish()
{
    // A stream of one block: no thread is worth starting for it.
    if (m_workers.empty() && m_current && m_current->used > 0 && !compressCurrentHere())
        return false;
    if (m_current && m_current->used > 0 && !submitCurrent())
        return false;
    while (!m_inFlight.empty()) {
        if (!writeOldest())
            return false;
    }
    unsigned char trailer[6];
    std::memcpy(trailer, FinalDeflateBlock, 2);
    for (int i = 0; i < 4; ++i)
        trailer[2 + i] = static_cast<unsigned char>(m_adler >> (24 - 8 * i));
    return writeBytes(trailer, sizeof trailer);
}

bool ParallelDeflate::submitCurrent()
{
    // Where no thread can be started (the process limit is reached), the
    // caller compresses every block itself: slower, but the stream is the
    // same.
    if (m_workers.empty() && !m_alone)
        m_alone = !startWorkers();
    if (m_alone)
        return compressCurrentHere();
    {
        std::lock_guard lock(m_mutex);
        m_current->done = false;
        m_current->failed = false;
        m_inFlight.push_back(std::move(m_current));
    }
    m_workReady.notify_one();
    while (m_inFlight.size() >= m_mostInFlight) {
        if (!writeOldest())
            return false;
    }
    return true;
}

bool ParallelDeflate::writeOldest()
{
    std::shared_ptr<Block> block;
    {
        std::unique_lock lock(m_mutex);
        while (!m_inFlight.front()->done) {
            if (m_nextToCompress == m_inFlight.size() || !m_callerHelps) {
                m_blockDone.wait(lock);
                continue;
            }
            // Rather than wait for the workers, compress the next waiting
            // block here: one more compressor on a core the workers leave
            // free.
            std::shared_ptr<Block> waiting = m_inFlight[m_nextToCompress++];
            lock.unlock();
            if (!m_ownCompressor)
                m_ownCompressor = std::make_unique<DeflateBlockCompressor>(Level);
            compressBlock(*waiting, *m_ownCompressor);
            lock.lock();
            waiting->done = true;
        }
        block = std::move(m_inFlight.front());
        m_inFlight.pop_front();
        --m_nextToCompress;
    }
    if (!writePiece(*block))
        return false;
    m_spare.push_back(std::move(block));
    return true;
}

bool ParallelDeflate::writePiece(const Block &block)
{
    if (block.failed) {
        errno = ENOMEM;
        return false;
    }
    m_adler = quint32(adler32_combine(m_adler, block.adler, z_off_t(block.used)));
    return writeBytes(block.piece.data(), block.piece.size());
}

bool ParallelDeflate::writeBytes(const unsigned char *bytes, size_t n)
{
    if (m_failed)
        return false;
    m_failed = !writeFully(m_fd, reinterpret_cast<const char *>(bytes), qint64(n));
    m_written += qint64(n);
    if (m_written - m_flushedTo >= FlushStep) {
        // Start writing what is there back to the disk now, so that the
        // flush before the file takes its name has little left to wait
        // for. A descriptor that cannot do this (a pipe) just says so.
        ::sync_file_range(m_fd, m_flushedTo, m_written - m_flushedTo, SYNC_FILE_RANGE_WRITE);
        m_flushedTo = m_written;
    }
    return !m_failed;
}

void ParallelDeflate::compressBlock(Block &block, DeflateBlockCompressor &compressor)
{
    block.adler = libdeflate_adler32(1, block.plain.get(), block.used);
    block.failed = !compressor.isValid() || !compressor.compress(block.plain.get(), block.used, block.piece);
}

void ParallelDeflate::work()
{
    DeflateBlockCompressor compressor(Level);
    for (;;) {
        std::shared_ptr<Block> block;
        {
            std::unique_lock lock(m_mutex);
            m_workReady.wait(lock, [&] { return m_stopping || m_nextToCompress < m_inFlight.size(); });
            if (m_stopping)
                return;
            block = m_inFlight[m_nextToCompress++];
        }
        compressBlock(*block, compressor);
        {
            std::lock_guard lock(m_mutex);
            block->done = true;
        }
        m_blockDone.notify_all();
    }
}
