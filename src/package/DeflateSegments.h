#pragma once

#include <QtGlobal>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

struct inflate_state;

// Expanded bytes of raw deflate data, as DeflateSegmentReader hands them out.
// When deflated is set, the span is a whole segment: its deflated bytes
// start and end on a byte-aligned block boundary, never set the final-block
// bit and refer to no byte before the span, so they can stand in another
// deflate stream, at such a boundary, for the plain bytes.
struct DeflateSpan {
    quint64 plainStart = 0;
    const char *plain = nullptr;
    size_t plainLength = 0;
    const unsigned char *deflated = nullptr;
    size_t deflatedLength = 0;

    quint64 plainEnd() const { return plainStart + plainLength; }
};

// Expands the raw deflate data that starts at an offset of an open file, in
// segments. A writer that compresses its input in independent pieces ends
// each piece with an empty stored block (the bytes 00 00 FF FF after the
// padding); wherever the inflater stands at a fresh block header right after
// such bytes, a segment ends. The next one is expanded with no history, so
// it shows whether it refers back beyond its start; one that does is
// expanded again with the history, and is not a whole segment. Segments are
// held in memory up to a bound; a longer stretch comes out in several spans,
// none of them whole. Checksums are not checked here: the caller has
// checked the stream as a whole before.
class DeflateSegmentReader {
public:
    DeflateSegmentReader(int fd, qint64 start);
    ~DeflateSegmentReader();
    DeflateSegmentReader(const DeflateSegmentReader &) = delete;
    DeflateSegmentReader &operator=(const DeflateSegmentReader &) = delete;

    // The next span, valid until the next call; false at the end of the
    // deflate data and when it cannot be read (failed()).
    bool next(DeflateSpan &span);
    bool failed() const { return m_failed; }

private:
    bool startSegment(bool withHistory);
    bool feed();
    size_t nextSlice(size_t from, bool &atMarker) const;
    unsigned char inputByte(qint64 index) const;
    bool atBoundary() const;
    bool handOut(DeflateSpan &span, bool whole);
    void keepHistory(const char *plain, size_t n);

    int m_fd;
    std::unique_ptr<inflate_state> m_state;
    bool m_failed = false;
    bool m_ended = false;
    // What the span handed out last ended: nothing yet, a segment at a
    // boundary, or part of a long segment that goes on.
    enum class Ended { Nothing, Segment, Part } m_lastEnded = Ended::Nothing;

    // Input: the buffer read last, the three bytes before it, and where the
    // inflater's current slice of it ends.
    std::vector<unsigned char> m_in;
    unsigned char m_before[3] = {0, 0, 0};
    qint64 m_inFileOffset = 0; // of m_in[0]
    size_t m_inUsed = 0;       // bytes of m_in read from the file
    size_t m_sliceEnd = 0;
    bool m_sliceAtMarker = false;

    // The segment being expanded.
    qint64 m_segmentFileOffset = 0;
    unsigned char m_segmentBefore[3] = {0, 0, 0};
    quint64 m_segmentPlainStart = 0;
    bool m_standalone = true;
    bool m_keepsDeflated = true;
    bool m_split = false; // part of it went out already
    std::unique_ptr<char[]> m_plain;
    size_t m_plainUsed = 0;
    std::vector<unsigned char> m_deflated;
    std::vector<char> m_history;        // the last 32 KiB before m_plain
    std::vector<char> m_segmentHistory; // the history when the segment started
    quint64 m_plainPosition = 0;        // of m_plain[0]
};

// A DeflateSegmentReader that, when asked to read ahead, runs on a thread of
// its own a few spans ahead of the caller, so that expanding the data
// overlaps what the caller does with it (writing files). The spans are then
// copied out of the reader; the thread keeps SIGINT, SIGTERM and SIGHUP
// blocked, so they reach the caller. Without reading ahead (or without a
// thread to spare) the caller reads for itself.
class DeflateSegmentReadAhead {
public:
    DeflateSegmentReadAhead(int fd, qint64 start, bool ahead);
    ~DeflateSegmentReadAhead();
    DeflateSegmentReadAhead(const DeflateSegmentReadAhead &) = delete;
    DeflateSegmentReadAhead &operator=(const DeflateSegmentReadAhead &) = delete;

    // As DeflateSegmentReader::next(); the span stays valid until the next call.
    bool next(DeflateSpan &span);
    bool failed() const { return m_failed; }

private:
    struct Held {
        quint64 plainStart = 0;
        std::vector<char> plain;
        std::vector<unsigned char> deflated;
        bool whole = false;
    };
    static constexpr size_t Ahead = 2;

    void run();

    DeflateSegmentReader m_reader;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Held> m_ready;    // read, not handed out yet
    std::vector<Held> m_spare;   // buffers to reuse
    Held m_current;              // handed out last
    bool m_ended = false;        // the reader has nothing more
    bool m_stopping = false;
    std::atomic<bool> m_failed = false;
    std::thread m_thread;        // not joinable: the caller reads itself
};
