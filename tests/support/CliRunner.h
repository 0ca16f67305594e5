#pragma once

#include <QByteArray>
#include <QList>

#include "TempDir.h"

// What one run of the program gave back.
struct CliResult {
    int exitStatus = -1;   // exit status, or -1 when the program died by a signal
    QByteArray out;        // standard output
    QByteArray err;        // standard error
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
    // Runs the program in the given directory instead of the run's own one.
    CliResult runIn(const QByteArray &workingDirectory, const QList<QByteArray> &args,
                    const QByteArray &input = {}) const;
    // Sets an environment variable for later runs (an empty value is kept empty).
    void setEnv(const QByteArray &name, const QByteArray &value);
    // Sets the file mode creation mask of later runs.
    void setUmask(unsigned mask) { m_umask = mask; }

    static QByteArray program();

private:
    TempDir m_dir;
    QList<QByteArray> m_env;
    unsigned m_umask = 022;
};
