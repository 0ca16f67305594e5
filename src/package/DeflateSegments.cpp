#include "package/DeflateSegments.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include <isa-l/igzip_lib.h>

#include "platform/FileHandle.h"
#include "platform/SignalCleanup.h"

namespace {

constexpr size_t InputSize = 256 * 1024;
constexpr size_t HistorySize = 32 * 1024;
// A segment is held whole up to this many plain bytes (a piece of this
// program's writer is 1 MiB), and as many deflated ones.
constexpr size_t MostSegmentPlain = size_t(2) << 20;
constexpr size_t MostSegmentDeflated = size_t(2) << 20;
// Boundaries closer together than this join their segments: the checks at
// each one stay cheap beside the bytes between them.
constexpr size_t LeastSegmentPlain = 64 * 1024;
constexpr size_t OutputStep = 256 * 1024;
constexpr size_t PlainCapacity = MostSegmentPlain + OutputStep;
constexpr quint64 MostPlain = 0xFFFFFFFFu;
// The end of an empty stored block: LEN 0, NLEN 0xFFFF.
constexpr unsigned char Marker[4] = {0x00, 0x00, 0xFF, 0xFF};

} // namespace

DeflateSegmentReader::DeflateSegmentReader(int fd, qint64 start)
    : m_fd(fd), m_state(std::make_unique<inflate_state>()), m_in(InputSize), m_inFileOffset(start),
      m_segmentFileOffset(start), m_plain(std::make_unique_for_overwrite<char[]>(PlainCapacity))
{
}

DeflateSegmentReader::~DeflateSegmentReader() = default;

unsigned char DeflateSegmentReader::inputByte(qint64 index) const
{
    return index < 0 ? m_before[index + 3] : m_in[size_t(index)];
}

size_t DeflateSegmentReader::nextSlice(size_t from, bool &atMarker) const
{
    atMarker = true;
    // A marker may begin in bytes already given to the inflater.
    const size_t near = std::min(from + 3, m_inUsed);
    for (size_t end = from + 1; end <= near; ++end) {
        bool match = true;
        for (int i = 0; i < 4 && match; ++i)
            match = inputByte(qint64(end) - 4 + i) == Marker[i];
        if (match)
            return end;
    }
    const void *hit = memmem(m_in.data() + from, m_inUsed - from, Marker, sizeof Marker);
    if (hit)
        return size_t(static_cast<const unsigned char *>(hit) - m_in.data()) + sizeof Marker;
    atMarker = false;
    return m_inUsed;
}

bool DeflateSegmentReader::feed()
{
    if (m_sliceEnd == m_inUsed) {
        unsigned char last[3];
        for (int i = 0; i < 3; ++i)
            last[i] = inputByte(qint64(m_inUsed) - 3 + i);
        std::memcpy(m_before, last, sizeof last);
        m_inFileOffset += qint64(m_inUsed);
        const qint64 got =
            preadFully(m_fd, reinterpret_cast<char *>(m_in.data()), qint64(m_in.size()), m_inFileOffset);
        if (got <= 0)
            return false; // the file ends (or fails) inside the deflate data
        m_inUsed = size_t(got);
        m_sliceEnd = 0;
    }
    const size_t from = m_sliceEnd;
    m_sliceEnd = nextSlice(from, m_sliceAtMarker);
    m_state->next_in = m_in.data() + from;
    m_state->avail_in = uint32_t(m_sliceEnd - from);
    if (m_keepsDeflated) {
        m_keepsDeflated = m_deflated.size() + (m_sliceEnd - from) <= MostSegmentDeflated;
        if (m_keepsDeflated)
            m_deflated.insert(m_deflated.end(), m_in.data() + from, m_in.data() + m_sliceEnd);
    }
    return true;
}

bool DeflateSegmentReader::startSegment(bool withHistory)
{
    isal_inflate_init(m_state.get());
    m_state->crc_flag = ISAL_DEFLATE;
    m_standalone = !withHistory;
    m_keepsDeflated = !withHistory;
    m_split = false;
    m_plainUsed = 0;
    m_deflated.clear();
    if (!withHistory) {
        m_segmentHistory = m_history;
        return true;
    }
    return m_segmentHistory.empty()
        || isal_inflate_set_dict(m_state.get(), reinterpret_cast<uint8_t *>(m_segmentHistory.data()),
                                 uint32_t(m_segmentHistory.size()))
               == COMP_OK;
}

// Whether the inflater took the whole slice, ending on a marker, and stands
// before a block header of which it holds no bit (it may already have
// turned to reading that header).
bool DeflateSegmentReader::atBoundary() const
{
    const inflate_state &s = *m_state;
    return m_sliceAtMarker && s.avail_in == 0
        && (s.block_state == ISAL_BLOCK_NEW_HDR || s.block_state == ISAL_BLOCK_HDR) && s.read_in_length == 0
        && s.tmp_in_size == 0 && s.tmp_out_valid == s.tmp_out_processed && s.copy_overflow_length == 0
        && s.write_overflow_len == 0;
}

void DeflateSegmentReader::keepHistory(const char *plain, size_t n)
{
    if (n >= HistorySize) {
        m_history.assign(plain + n - HistorySize, plain + n);
        return;
    }
    m_history.insert(m_history.end(), plain, plain + n);
    if (m_history.size() > HistorySize)
        m_history.erase(m_history.begin(), m_history.end() - qsizetype(HistorySize));
}

bool DeflateSegmentReader::handOut(DeflateSpan &span, bool whole)
{
    span = DeflateSpan{};
    span.plainStart = m_plainPosition;
    span.plain = m_plain.get();
    span.plainLength = m_plainUsed;
    if (whole && m_standalone && m_keepsDeflated && !m_split) {
        span.deflated = m_deflated.data();
        span.deflatedLength = m_deflated.size();
    }
    keepHistory(m_plain.get(), m_plainUsed);
    m_plainPosition += m_plainUsed;
    m_lastEnded = whole ? Ended::Segment : Ended::Part;
    return true;
}

bool DeflateSegmentReader::next(DeflateSpan &span)
{
    const auto fail = [&] {
        m_failed = true;
        return false;
    };
    if (m_failed || m_ended)
        return false;
    if (m_lastEnded == Ended::Part) {
        m_plainUsed = 0;
    } else {
        // A new segment starts where the input stands.
        m_segmentFileOffset = m_inFileOffset + qint64(m_sliceEnd);
        for (int i = 0; i < 3; ++i)
            m_segmentBefore[i] = inputByte(qint64(m_sliceEnd) - 3 + i);
        if (!startSegment(false))
            return fail();
    }
    for (;;) {
        if (m_plainUsed > MostSegmentPlain) {
            m_split = true;
            m_keepsDeflated = false;
            return handOut(span, false);
        }
        if (m_state->avail_in == 0 && m_state->block_state != ISAL_BLOCK_INPUT_DONE && !feed())
            return fail();
        m_state->next_out = reinterpret_cast<uint8_t *>(m_plain.get() + m_plainUsed);
        m_state->avail_out = uint32_t(PlainCapacity - m_plainUsed);
        const int status = isal_inflate(m_state.get());
        m_plainUsed = PlainCapacity - m_state->avail_out;
        if (status == ISAL_INVALID_LOOKBACK && m_standalone && !m_split && m_plainPosition > 0) {
            // The segment refers to bytes before it: expand it again with them.
            m_inFileOffset = m_segmentFileOffset;
            m_inUsed = 0;
            m_sliceEnd = 0;
            std::memcpy(m_before, m_segmentBefore, sizeof m_before);
            if (!startSegment(true))
                return fail();
            m_state->avail_in = 0;
            continue;
        }
        if (status < 0 || m_plainPosition + m_plainUsed > MostPlain)
            return fail();
        if (m_state->block_state == ISAL_BLOCK_FINISH) {
            m_ended = true;
            return handOut(span, false);
        }
        if (m_state->avail_out != 0 && atBoundary() && m_plainUsed >= LeastSegmentPlain)
            return handOut(span, true);
    }
}

DeflateSegmentReadAhead::DeflateSegmentReadAhead(int fd, qint64 start, bool ahead) : m_reader(fd, start)
{
    // Without a thread to spare, next() reads for itself.
    if (!ahead)
        return;
    if (std::optional<std::thread> thread = startHelperThread([this] { run(); }))
        m_thread = std::move(*thread);
}

DeflateSegmentReadAhead::~DeflateSegmentReadAhead()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void DeflateSegmentReadAhead::run()
{
    for (;;) {
        DeflateSpan span;
        const bool read = m_reader.next(span);
        Held held;
        {
            std::unique_lock lock(m_mutex);
            if (!read) {
                m_failed = m_reader.failed();
                m_ended = true;
                m_changed.notify_all();
                return;
            }
            m_changed.wait(lock, [&] { return m_stopping || m_ready.size() < Ahead; });
            if (m_stopping)
                return;
            if (!m_spare.empty()) {
                held = std::move(m_spare.back());
                m_spare.pop_back();
            }
        }
        held.plainStart = span.plainStart;
        held.plain.assign(span.plain, span.plain + span.plainLength);
        held.whole = span.deflated != nullptr;
        held.deflated.assign(span.deflated, span.deflated + (held.whole ? span.deflatedLength : 0));
        {
            std::lock_guard lock(m_mutex);
            m_ready.push_back(std::move(held));
        }
        m_changed.notify_all();
    }
}

bool DeflateSegmentReadAhead::next(DeflateSpan &span)
{
    if (!m_thread.joinable()) {
        const bool read = m_reader.next(span);
        m_failed = m_reader.failed();
        return read;
    }
    std::unique_lock lock(m_mutex);
    m_spare.push_back(std::move(m_current));
    m_changed.wait(lock, [&] { return m_ended || !m_ready.empty(); });
    if (m_ready.empty())
        return false;
    m_current = std::move(m_ready.front());
    m_ready.pop_front();
    lock.unlock();
    m_changed.notify_all();
    span.plainStart = m_current.plainStart;
    span.plain = m_current.plain.data();
    span.plainLength = m_current.plain.size();
    span.deflated = m_current.whole ? m_current.deflated.data() : nullptr;
    span.deflatedLength = m_current.whole ? m_current.deflated.size() : 0;
    return true;
}
