#include "CliRunner.h"

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

extern char **environ;

namespace {

// Reads both pipes until they close while feeding the input, so a chatty
// program never blocks on a full pipe.
void pump(int inFd, const QByteArray &input, int outFd, int errFd, CliResult &result)
{
    qsizetype written = 0;
    if (input.isEmpty()) {
        close(inFd);
        inFd = -1;
    }
    while (outFd >= 0 || errFd >= 0) {
        pollfd fds[3] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}, {inFd, POLLOUT, 0}};
        if (poll(fds, 3, -1) < 0)
            break;
        char buffer[65536];
        for (int i = 0; i < 2; ++i) {
            if (!fds[i].revents)
                continue;
            ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                close(fds[i].fd);
                (i == 0 ? outFd : errFd) = -1;
            } else {
                (i == 0 ? result.out : result.err).append(buffer, n);
            }
        }
        if (inFd >= 0 && fds[2].revents) {
            ssize_t n = write(inFd, input.constData() + written, size_t(input.size() - written));
            if (n > 0)
                written += n;
            if (n <= 0 || written == input.size()) {
                close(inFd);
                inFd = -1;
            }
        }
    }
    if (inFd >= 0)
        close(inFd);
}

} // namespace

CliRunner::CliRunner()
{
    m_dir.write("home/.keep", {});
    m_dir.write("root/.keep", {});
    setEnv("HOME", m_dir.file("home"));
    setEnv("FERNHOLLOW_ROOT_USER_DIR", m_dir.file("root"));
}

QByteArray CliRunner::program()
{
    return MKPKG_PROGRAM;
}

void CliRunner::setEnv(const QByteArray &name, const QByteArray &value)
{
    m_env.removeIf([&](const QByteArray &entry) { return entry.startsWith(name + '='); });
    m_env.append(name + '=' + value);
}

CliResult CliRunner::run(const QList<QByteArray> &args, const QByteArray &input) const
{
    return runIn(m_dir.path(), args, input);
}

CliResult CliRunner::runIn(const QByteArray &workingDirectory, const QList<QByteArray> &args,
                           const QByteArray &input) const
{
    return startIn(workingDirectory, args).finish(input);
}

CliProcess CliRunner::start(const QList<QByteArray> &args) const
{
    return startIn(m_dir.path(), args);
}

CliProcess CliRunner::startIn(const QByteArray &workingDirectory, const QList<QByteArray> &args) const
{
    // Environment: the caller's, overridden by the run's own variables.
    QList<QByteArray> env;
    for (char **e = environ; *e; ++e) {
        const QByteArray entry(*e);
        const QByteArray name = entry.left(entry.indexOf('=') + 1);
        bool overridden = false;
        for (const QByteArray &own : m_env)
            overridden = overridden || own.startsWith(name);
        if (!overridden)
            env.append(entry);
    }
    env.append(m_env);

    QList<QByteArray> argv{program()};
    argv.append(args);
    std::vector<char *> argvp, envp;
    for (const QByteArray &a : argv)
        argvp.push_back(const_cast<char *>(a.constData()));
    argvp.push_back(nullptr);
    for (const QByteArray &e : env)
        envp.push_back(const_cast<char *>(e.constData()));
    envp.push_back(nullptr);

    int in[2], out[2], err[2];
    if (pipe(in) || pipe(out) || pipe(err))
        throw std::runtime_error("pipe failed");
    signal(SIGPIPE, SIG_IGN);
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            close(fd);
        umask(m_umask);
        // The test's own ignored or blocked signals must not pass to the program.
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int number : {SIGINT, SIGTERM, SIGHUP}) {
            signal(number, SIG_DFL);
            sigaddset(&defaults, number);
        }
        sigprocmask(SIG_UNBLOCK, &defaults, nullptr);
        if (chdir(workingDirectory.constData()) != 0)
            _exit(127);
        execve(argvp[0], argvp.data(), envp.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    return CliProcess(pid, in[1], out[0], err[0]);
}

CliResult CliProcess::finish(const QByteArray &input)
{
    CliResult result;
    if (m_pid <= 0)
        return result; // finished already
    pump(m_in, input, m_out, m_err, result);
    m_in = m_out = m_err = -1;
    int status = 0;
    rusage usage{};
    wait4(m_pid, &status, 0, &usage);
    m_pid = -1;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.peakResidentKiB = usage.ru_maxrss;
    return result;
}

CliProcess::~CliProcess()
{
    if (m_pid > 0)
        finish();
}
