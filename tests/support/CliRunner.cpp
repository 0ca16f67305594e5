#include "CliRunner.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <vector>

CliRunner::CliRunner()
{
    m_dir.write("home/.keep", {});
    m_dir.write("root/.keep", {});
}

CliResult CliRunner::runInterrupted(const QList<QByteArray> &args, const std::function<bool()> &when, int signal) const
{
    std::vector<char *> argv{const_cast<char *>(MKPKG_PROGRAM)};
    for (const QByteArray &a : args)
        argv.push_back(const_cast<char *>(a.constData()));
    argv.push_back(nullptr);
    // The run's variables go into the test's own environment, which the
    // program inherits; no other run goes on meanwhile.
    setenv("HOME", m_dir.file("home").constData(), 1);
    setenv("FERNHOLLOW_ROOT_USER_DIR", m_dir.file("root").constData(), 1);
    setenv("TZ", "UTC", 1);

    int pipes[2][2];
    if (pipe2(pipes[0], O_CLOEXEC) || pipe2(pipes[1], O_CLOEXEC))
        throw std::runtime_error("pipe failed");
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (nothing < 0 || dup2(nothing, 0) < 0 || dup2(pipes[0][1], 1) < 0 || dup2(pipes[1][1], 2) < 0
            || chdir(m_dir.path().constData()) != 0)
            _exit(127);
        // The test's own ignored or blocked signals must not pass to the program.
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int number : {SIGINT, SIGTERM, SIGHUP, SIGALRM}) {
            ::signal(number, SIG_DFL);
            sigaddset(&defaults, number);
        }
        sigprocmask(SIG_UNBLOCK, &defaults, nullptr);
        umask(022);
        alarm(120);
        execv(argv[0], argv.data());
        _exit(127);
    }

    // Both pipes are read until they close, so a chatty program never blocks.
    CliResult result;
    pollfd fds[2] = {{pipes[0][0], POLLIN, 0}, {pipes[1][0], POLLIN, 0}};
    close(pipes[0][1]);
    close(pipes[1][1]);
    bool signalled = !when;
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        if (poll(fds, 2, signalled ? -1 : 1) < 0)
            break;
        for (int i = 0; i < 2; ++i) {
            char buffer[65536];
            const ssize_t n = fds[i].revents ? read(fds[i].fd, buffer, sizeof buffer) : 0;
            if (n > 0) {
                (i == 0 ? result.out : result.err).append(buffer, n);
            } else if (fds[i].revents) {
                close(fds[i].fd);
                fds[i].fd = -1;
            }
        }
        if (!signalled && when()) {
            kill(pid, signal);
            signalled = true;
        }
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.peakResidentKiB = usage.ru_maxrss;
    return result;
}

QByteArray errorLine(const QByteArray &text) { return QByteArray(MKPKG_PROGRAM) + ": error: " + text + "\n"; }
QByteArray warningLine(const QByteArray &text) { return QByteArray(MKPKG_PROGRAM) + ": warning: " + text + "\n"; }
QByteArray fatalLine(const QByteArray &text) { return QByteArray(MKPKG_PROGRAM) + ": fatal: " + text + "\n"; }

void expectRuns(const CliRunner &runner, const QList<CliCase> &cases)
{
    for (const CliCase &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const CliResult result = runner.run(c.args);
        EXPECT_EQ(result.exitStatus, c.status);
        EXPECT_EQ(result.out, c.out);
        EXPECT_EQ(result.err, c.err);
    }
}
