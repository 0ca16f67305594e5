#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "TempDir.h"
#include "platform/SignalCleanup.h"

namespace {

enum class Before { Forget, HoldSignals };

// Runs in a child: watches the file "watched", then raises the signal as the
// row says. The child leaves a file "survived" when it lives on after the
// signal. Returns the signal that ended the child, 0 when it exited.
int raiseInChild(const TempDir &dir, int signal, Before before)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(signal, SIG_DFL);
        RemoveOnSignal watched;
        if (!watched.watch(AT_FDCWD, dir.file("watched")))
            ::_exit(2);
        if (before == Before::Forget)
            watched.forget();
        std::optional<SignalsHeld> held;
        if (before == Before::HoldSignals)
            held.emplace();
        ::raise(signal);
        ::close(::open(dir.file("survived").constData(), O_WRONLY | O_CREAT, 0600));
        held.reset(); // the held signal arrives
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

} // namespace

TEST(SignalCleanup, aSignalRemovesTheWatchedFilesAndEndsTheProcessByThatSignal)
{
    struct Row {
        int signal;
        Before before;
        bool watchedStays;
        bool childGoesOn; // until the held signals are let through
    } rows[] = {
        {SIGTERM, Before::Forget, true, false},
        {SIGINT, Before::HoldSignals, false, true},
    };
    for (const Row &row : rows) {
        TempDir dir;
        dir.write("watched", "half written");
        EXPECT_EQ(raiseInChild(dir, row.signal, row.before), row.signal) << strsignal(row.signal);
        EXPECT_EQ(dir.exists("watched"), row.watchedStays) << strsignal(row.signal);
        EXPECT_EQ(dir.exists("survived"), row.childGoesOn) << strsignal(row.signal);
    }
}
