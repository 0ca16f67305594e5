#pragma once

#include <QByteArray>

#include "platform/ProgressLine.h"

#include <cstdio>
#include <cstdlib>

// Error, warning and fatal lines on standard error, each prefixed with the
// program name exactly as it was started. The counts are kept but never change
// the exit status; a fatal message ends the process with status 1. Everything
// is inline so every subsystem that reports through it can use it without
// linking the driver. A progress line on the terminal is cleared first.
class Diagnostics {
public:
    explicit Diagnostics(const QByteArray &programName, std::FILE *stream = stderr)
        : m_programName(programName), m_stream(stream)
    {
    }

    void error(const QByteArray &text)
    {
        ++m_errors;
        line(": error: ", text);
    }
    void warning(const QByteArray &text)
    {
        ++m_warnings;
        line(": warning: ", text);
    }
    [[noreturn]] void fatal(const QByteArray &text)
    {
        line(": fatal: ", text);
        std::fflush(stdout);
        std::exit(1);
    }

    const QByteArray &programName() const { return m_programName; }
    int errors() const { return m_errors; }
    int warnings() const { return m_warnings; }

    // Writes a whole message line as it is, after what standard output
    // holds and once a progress line on the terminal is cleared, so that
    // listings and messages keep the order they were made in.
    static void writeLine(std::FILE *stream, const QByteArray &line)
    {
        std::fflush(stdout);
        ProgressLine::clearShown();
        std::fwrite(line.constData(), 1, size_t(line.size()), stream);
        std::fflush(stream);
    }

private:
    void line(const char *kind, const QByteArray &text) { writeLine(m_stream, m_programName + kind + text + '\n'); }

    QByteArray m_programName;
    std::FILE *m_stream;
    int m_errors = 0;
    int m_warnings = 0;
};
