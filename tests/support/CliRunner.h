#pragma once

#include <QByteArray>
#include <QList>

#include <sys/types.h>

#include "TempDir.h"

// What one run of the program gave back.
struct CliResult {
    int exitStatus = -1;   // exit status, or -1 when the program died by a signal
    int signal = 0;        // the signal that ended the program, 0 when it exited
    QByteArray out;        // standard output
    QByteArray err;        // standard error
    long peakResidentKiB = 0; // the most memory the program held at once
};

// A run of the program that goes on while the test acts on it.
class CliProcess {
public:
    CliProcess(pid_t pid, int in, int out, int err) : m_pid(pid), m_in(in), m_out(out), m_err(err) {}
    CliProcess(const CliProcess &) = delete;
    CliProcess &operator=(const CliProcess &) = delete;
    ~CliProcess();

    pid_t pid() const { return m_pid; }
    // Feeds the input, reads both outputs to their end and waits for the program.
    CliResult finish(const QByteArray &input = {});

private:
    pid_t m_pid;
    int m_in, m_out, m_err;
};

// Runs the built program with byte-exact arguments in a fresh temporary
// directory that also serves as HOME and FERNHOLLOW_ROOT_USER_DIR (below
// "home/" and "root/"), so no run touches the real home or another run.
class CliRunner {
public:
    CliRunner();

    // The run's working directory.
    TempDir &dir() { return m_dir; }

    // Runs the program; argv[0] is the program's own path unless given.
    CliResult run(const QList<QByteArray> &args, const QByteArray &input = {}) const;
    // Starts the program in the run's directory without waiting for it.
    // SIGINT, SIGTERM and SIGHUP reach it with their default actions.
    CliProcess start(const QList<QByteArray> &args) const;
    // Runs the program in the given directory instead of the run's own one.
    CliResult runIn(const QByteArray &workingDirectory, const QList<QByteArray> &args,
                    const QByteArray &input = {}) const;
    // Sets an environment variable for later runs (an empty value is kept empty).
    void setEnv(const QByteArray &name, const QByteArray &value);
    // Sets the file mode creation mask of later runs.
    void setUmask(unsigned mask) { m_umask = mask; }

    static QByteArray program();

private:
    CliProcess startIn(const QByteArray &workingDirectory, const QList<QByteArray> &args) const;

    TempDir m_dir;
    QList<QByteArray> m_env;
    unsigned m_umask = 022;
};
