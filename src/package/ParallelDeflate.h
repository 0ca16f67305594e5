#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <QtGlobal>

class DeflateBlockCompressor;

// Compresses a byte stream into one zlib stream written to a descriptor, on
// several threads. The input is cut into blocks of BlockSize bytes that
// worker threads compress while the caller goes on reading; the pieces are
// written in order as they come back, and their Adler-32 values combine into
// the stream's checksum. Block boundaries do not depend on the number of
// workers, and neither do the bytes written. At most a few blocks per
// worker are held at any time, whatever the length of the stream. A stream
// of a single block, or one written where no thread can be started, is
// compressed by the caller alone. Where the workers leave a core free, the
// caller compresses the next waiting block itself rather than wait for the
// oldest; where they do not, that would only take a core from a worker
// while the caller's reading stalls.
class ParallelDeflate {
public:
    static constexpr qint64 BlockSize = 1 << 20;
    static constexpr int Level = 6;

    // workers 0: one per core.
    ParallelDeflate(int fd, int workers = 0);
    ~ParallelDeflate();
    ParallelDeflate(const ParallelDeflate &) = delete;
    ParallelDeflate &operator=(const ParallelDeflate &) = delete;

    // Writes the zlib header. Every failure leaves errno set.
    bool begin();
    bool write(const char *buffer, qint64 n);
    // Goes on with deflate data made elsewhere, standing for plainLength
    // bytes whose Adler-32 is adler: whole blocks that start and end on a
    // byte boundary, never set the final-block bit and refer to no byte
    // before them. What was written before is compressed and written first.
    bool writeDeflated(const unsigned char *data, size_t n, quint64 plainLength, quint32 adler);
    // Compresses what is left, ends the stream and writes its checksum.
    bool finish();

    static int defaultWorkers();

private:
    struct Block;

    bool startWorkers();
    bool compressCurrentHere();
    void work();
    static void compressBlock(Block &block, DeflateBlockCompressor &compressor);
    bool submitCurrent();
    bool writeOldest();
    bool writePiece(const Block &block);
    bool writeBytes(const unsigned char *bytes, size_t n);

    int m_fd;
    int m_workerCount;
    size_t m_mostInFlight;
    bool m_callerHelps; // fewer workers than cores
    bool m_alone = false; // no worker could be started
    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_workReady;   // a block waits, or the workers must stop
    std::condition_variable m_blockDone;
    std::deque<std::shared_ptr<Block>> m_inFlight; // in stream order
    size_t m_nextToCompress = 0;                   // index into m_inFlight
    bool m_stopping = false;
    std::vector<std::shared_ptr<Block>> m_spare;
    std::shared_ptr<Block> m_current;              // being filled by write()
    std::unique_ptr<DeflateBlockCompressor> m_ownCompressor; // the caller's, when it helps
    quint32 m_adler = 1;
    bool m_failed = false;
    qint64 m_written = 0;   // bytes written to m_fd
    qint64 m_flushedTo = 0; // where write-back was last started
};
