#pragma once

#include <QByteArray>
#include <QList>

#include <gtest/gtest.h>

#include <functional>

#include "TempDir.h"

// What one run of the program gave back.
struct CliResult {
    int exitStatus = -1;      // exit status, or -1 when the program died by a signal
    int signal = 0;           // the signal that ended the program, 0 when it exited
    QByteArray out;           // standard output
    QByteArray err;           // standard error
    long peakResidentKiB = 0; // the most memory the program held at once
};

// Runs the built program with byte-exact arguments and an empty standard
// input in a fresh temporary directory that also holds its HOME and
// FERNHOLLOW_ROOT_USER_DIR ("home/" and "root/"), with times shown in UTC
// and the umask 022, so no run touches the real home or another run. A run
// that has not ended after two minutes (one that waits for ever) is killed
// by SIGALRM.
class CliRunner {
public:
    CliRunner();

    // The run's working directory.
    TempDir &dir() { return m_dir; }

    // Runs the program in the run's directory.
    CliResult run(const QList<QByteArray> &args) const { return runInterrupted(args, nullptr, 0); }
    // Runs the program and sends it the signal once when, asked every
    // millisecond while the program runs, answers true. SIGINT, SIGTERM and
    // SIGHUP reach the program with their default actions.
    CliResult runInterrupted(const QList<QByteArray> &args, const std::function<bool()> &when, int signal) const;

private:
    TempDir m_dir;
};

// The first line of the version and of every verbose run.
inline const QByteArray Banner = "Fernhollow for ARM Package Maintainer - Release 2.0.9.2011011101.9458\n";

// The lines the program writes on standard error: "PROGRAM: error: TEXT\n"
// and its like.
QByteArray errorLine(const QByteArray &text);
QByteArray warningLine(const QByteArray &text);
QByteArray fatalLine(const QByteArray &text);

// One run of the program and what it must give back, exactly.
struct CliCase {
    QList<QByteArray> args;
    int status;
    QByteArray out;
    QByteArray err;
};

// Runs every case in the runner's directory and checks what it gave back.
void expectRuns(const CliRunner &runner, const QList<CliCase> &cases);

// A test with a runner of its own, and the run's directory.
class CliTest : public ::testing::Test {
protected:
    CliRunner runner;
    TempDir &dir = runner.dir();
};
