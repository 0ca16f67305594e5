#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include "platform/ProgressLine.h"

namespace {

using namespace std::chrono_literals;
using Clock = ProgressLine::Clock;

// Everything the terminal side of a pseudo-terminal has received so far.
QByteArray drain(int master)
{
    QByteArray received;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(master, buffer, sizeof buffer)) > 0)
        received.append(buffer, n);
    return received;
}

} // namespace

TEST(ProgressLine, textGivesBytesDoneOfTheTotalTheRateAndTheTimeLeft)
{
    struct Row {
        quint64 done;
        quint64 total;
        double seconds;
        const char *text;
    } rows[] = {
        {0, 100, 1.0, "0 B of 100 B, 0 B/s, --:-- left"},
        {1023, 2048, 1.0, "1023 B of 2.0 KiB, 1023 B/s, 0:02 left"},
        {1 << 20, 3ull << 30, 1.0, "1.0 MiB of 3.0 GiB, 1.0 MiB/s, 51:11 left"},
        {1 << 20, 4ull << 30, 1.0, "1.0 MiB of 4.0 GiB, 1.0 MiB/s, 1:08:15 left"},
        {5ull << 40, 5ull << 40, 1.0, "5.0 TiB of 5.0 TiB, 5.0 TiB/s, 0:00 left"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ProgressLine::text(row.done, row.total, row.seconds), QByteArray(row.text)) << row.text;
}

TEST(ProgressLine, onATerminalShowsAfterASecondRedrawsInPlaceAndClearsAtTheEndAndOffOneWritesNothing)
{
    int master = -1;
    int terminal = -1;
    ASSERT_EQ(::openpty(&master, &terminal, nullptr, nullptr, nullptr), 0);
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    const Clock::time_point start = Clock::now();
    {
        ProgressLine progress(4096, terminal, start);
        progress.advance(1024, start + 500ms);
        EXPECT_EQ(drain(master), "") << "work shorter than a second shows nothing";
        progress.advance(1024, start + 1s);
        EXPECT_EQ(drain(master), "\r2.0 KiB of 4.0 KiB, 2.0 KiB/s, 0:01 left");
        progress.advance(1024, start + 1050ms);
        EXPECT_EQ(drain(master), "") << "redrawn at most ten times a second";
        progress.advance(0, start + 1200ms);
        const QByteArray line = "3.0 KiB of 4.0 KiB, 2.5 KiB/s, 0:01 left";
        EXPECT_EQ(drain(master), "\r" + line);
        ProgressLine::clearShown();
        EXPECT_EQ(drain(master), "\r" + QByteArray(line.size(), ' ') + "\r") << "cleared for a message";
        progress.advance(1024, start + 2s);
        EXPECT_EQ(drain(master), "\r4.0 KiB of 4.0 KiB, 2.0 KiB/s, 0:00 left");
    }
    EXPECT_EQ(drain(master), "\r" + QByteArray(40, ' ') + "\r") << "cleared at the end";

    int pipeEnds[2];
    ASSERT_EQ(::pipe2(pipeEnds, O_NONBLOCK), 0);
    {
        ProgressLine progress(100, pipeEnds[1], start);
        for (int second = 1; second <= 5; ++second)
            progress.advance(20, start + std::chrono::seconds(second));
        ProgressLine::clearShown();
    }
    EXPECT_EQ(drain(pipeEnds[0]), "") << "nothing off a terminal";
    for (int fd : {master, terminal, pipeEnds[0], pipeEnds[1]})
        ::close(fd);
}
