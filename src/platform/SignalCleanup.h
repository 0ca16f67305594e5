#pragma once

#include <QByteArray>

#include <csignal>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

// Files that must not survive the process should SIGINT, SIGTERM or SIGHUP
// stop it while they are being written: temporary files of a replacement and
// files being extracted. Registering installs a handler for each of the three
// signals that has its default action (an ignored signal stays ignored).
// The handler removes every registered file, restores the signal's default
// action and raises it again, so the process ends as killed by that signal.
// The handler may neither allocate nor lock, so the names wait in a small
// fixed table.
class RemoveOnSignal {
public:
    RemoveOnSignal() = default;
    ~RemoveOnSignal() { forget(); }
    RemoveOnSignal(const RemoveOnSignal &) = delete;
    RemoveOnSignal &operator=(const RemoveOnSignal &) = delete;

    // Registers name, relative to the open directory directoryFd (AT_FDCWD
    // for the working directory), which must stay open until forget(). False
    // when the table is full or the name too long; the file is then not
    // removed by a signal.
    bool watch(int directoryFd, const QByteArray &name);
    // The file is no longer removed by a signal; it is left as it is.
    void forget();

private:
    int m_slot = -1;
};

// Holds SIGINT, SIGTERM and SIGHUP back for its lifetime, so that creating a
// file and registering it, or renaming it and forgetting it, happen as one
// step as far as those signals are concerned. A signal that comes meanwhile
// is acted on when the scope ends.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    sigset_t m_previous;
};

// Starts a helper thread with the stopping signals blocked in it, so that
// they always reach the thread that registered the files to remove and can
// act on them. Nothing when no thread can be started (the process limit is
// reached): the caller then does the work itself.
template <class Function>
std::optional<std::thread> startHelperThread(Function &&function)
{
    const SignalsHeld held;
    try {
        return std::thread(std::forward<Function>(function));
    } catch (const std::system_error &) {
        return std::nullopt;
    }
}
