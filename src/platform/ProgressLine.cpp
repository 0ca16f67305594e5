#include "platform/ProgressLine.h"

#include <cerrno>
#include <cmath>
#include <cstdio>

namespace {

// The one line on the terminal; standard error has room for one at a time.
ProgressLine *shownLine = nullptr;

constexpr auto ShowAfter = std::chrono::seconds(1);
constexpr auto RedrawEvery = std::chrono::milliseconds(100);

QByteArray bytesText(double bytes)
{
    static const char *const units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
    int unit = 0;
    while (bytes >= 1024 && unit < 4) {
        bytes /= 1024;
        ++unit;
    }
    return unit == 0 ? QByteArray::number(qint64(bytes)) + " B" : QByteArray::number(bytes, 'f', 1) + ' ' + units[unit];
}

QByteArray durationText(double seconds)
{
    const qint64 whole = qint64(std::ceil(seconds));
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

void writeAllTo(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return; // a progress line is not worth a failure
        data += written;
        left -= written;
    }
}

} // namespace

ProgressLine::ProgressLine(quint64 total, int fd, Clock::time_point start)
    : m_total(total), m_fd(fd), m_terminal(::isatty(fd) == 1), m_start(start), m_lastDrawn(start)
{
}

ProgressLine::~ProgressLine()
{
    clear();
}

void ProgressLine::advance(quint64 bytes, Clock::time_point now)
{
    m_done += bytes;
    if (!m_terminal || now - m_start < ShowAfter || (m_shownLength > 0 && now - m_lastDrawn < RedrawEvery))
        return;
    m_lastDrawn = now;
    draw(text(m_done, m_total, std::chrono::duration<double>(now - m_start).count()));
}

void ProgressLine::clear()
{
    if (m_shownLength == 0)
        return;
    writeAllTo(m_fd, '\r' + QByteArray(m_shownLength, ' ') + '\r');
    m_shownLength = 0;
    if (shownLine == this)
        shownLine = nullptr;
}

void ProgressLine::clearShown()
{
    if (shownLine)
        shownLine->clear();
}

QByteArray ProgressLine::text(quint64 done, quint64 total, double seconds)
{
    const double rate = seconds > 0 ? double(done) / seconds : 0;
    QByteArray line = bytesText(double(done)) + " of " + bytesText(double(total)) + ", " + bytesText(rate) + "/s, ";
    if (rate <= 0 || done > total)
        return line + "--:-- left";
    return line + durationText(double(total - done) / rate) + " left";
}

void ProgressLine::draw(const QByteArray &line)
{
    if (shownLine && shownLine != this)
        shownLine->clear();
    // Spaces cover what is left of a longer line drawn before.
    const qsizetype padding = qMax<qsizetype>(0, m_shownLength - line.size());
    writeAllTo(m_fd, '\r' + line + QByteArray(padding, ' '));
    m_shownLength = line.size() + padding;
    shownLine = this;
}
