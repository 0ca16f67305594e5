#pragma once

#include <QByteArray>

#include <unistd.h>

#include <chrono>

// One self-updating line on standard error for work that takes a while: the
// bytes done of the total, the rate and the time left. It shows only when
// its descriptor is a terminal and the work has run for about a second, is
// redrawn at most ten times a second, and is cleared when the work ends or
// before a diagnostic line is written. Off a terminal it writes nothing.
class ProgressLine {
public:
    using Clock = std::chrono::steady_clock;

    explicit ProgressLine(quint64 total, int fd = STDERR_FILENO, Clock::time_point start = Clock::now());
    ~ProgressLine();
    ProgressLine(const ProgressLine &) = delete;
    ProgressLine &operator=(const ProgressLine &) = delete;

    // Counts bytes done; the clock is read only when the line is shown on
    // a terminal.
    void advance(quint64 bytes)
    {
        if (m_terminal)
            advance(bytes, Clock::now());
        else
            m_done += bytes;
    }
    void advance(quint64 bytes, Clock::time_point now);
    // Takes the line off the terminal; the next advance draws it again.
    void clear();
    // Clears whichever line is on the terminal, so a message can be written.
    static void clearShown();

    // "12.5 MiB of 100.0 MiB, 25.0 MiB/s, 0:03 left"
    static QByteArray text(quint64 done, quint64 total, double seconds);

private:
    void draw(const QByteArray &line);

    quint64 m_total;
    int m_fd;
    bool m_terminal;
    Clock::time_point m_start;
    Clock::time_point m_lastDrawn;
    quint64 m_done = 0;
    qsizetype m_shownLength = 0;
};
