#include "platform/SignalCleanup.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace {

constexpr int CleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int SlotCount = 16;

enum SlotState { Free, Filling, Watched };

// One file to remove. The handler reads a slot only while it is Watched,
// and a slot is filled only while it is Filling, so the two never meet.
struct Slot {
    std::atomic<int> state{Free};
    int directoryFd = AT_FDCWD;
    char name[PATH_MAX];
};

Slot watchedFiles[SlotCount];

void removeWatchedFilesAndDie(int number)
{
    for (Slot &slot : watchedFiles) {
        if (slot.state.load(std::memory_order_acquire) == Watched)
            ::unlinkat(slot.directoryFd, slot.name, 0);
    }
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    ::sigaction(number, &defaultAction, nullptr);
    // The signal stays blocked until the handler returns; then it ends the process.
    ::raise(number);
}

// Takes over each of the signals that still has its default action; one the
// process ignores stays ignored, and one already taken over stays so.
void installHandlers()
{
    struct sigaction action {};
    action.sa_handler = removeWatchedFilesAndDie;
    sigemptyset(&action.sa_mask);
    for (int number : CleanupSignals)
        sigaddset(&action.sa_mask, number);
    for (int number : CleanupSignals) {
        struct sigaction current {};
        if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            ::sigaction(number, &action, nullptr);
    }
}

} // namespace

bool RemoveOnSignal::watch(int directoryFd, const QByteArray &name)
{
    forget();
    if (name.size() >= PATH_MAX || name.contains('\0'))
        return false;
    installHandlers();
    for (int i = 0; i < SlotCount; ++i) {
        int expected = Free;
        if (!watchedFiles[i].state.compare_exchange_strong(expected, Filling, std::memory_order_acq_rel))
            continue;
        watchedFiles[i].directoryFd = directoryFd;
        std::memcpy(watchedFiles[i].name, name.constData(), size_t(name.size()) + 1);
        watchedFiles[i].state.store(Watched, std::memory_order_release);
        m_slot = i;
        return true;
    }
    return false;
}

void RemoveOnSignal::forget()
{
    if (m_slot < 0)
        return;
    watchedFiles[m_slot].state.store(Free, std::memory_order_release);
    m_slot = -1;
}

SignalsHeld::SignalsHeld()
{
    sigset_t held;
    sigemptyset(&held);
    for (int number : CleanupSignals)
        sigaddset(&held, number);
    ::pthread_sigmask(SIG_BLOCK, &held, &m_previous);
}

SignalsHeld::~SignalsHeld()
{
    ::pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}
