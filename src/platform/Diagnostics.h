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

private:
    void line(const char *kind, const QByteArray &text)
    {
        std::fflush(stdout); // keep listings and messages in the order they were made
        ProgressLine::clearShown();
        std::fwrite(m_programName.constData(), 1, size_t(m_programName.size()), m_stream);
        std::fputs(kind, m_stream);
        std::fwrite(text.constData(), 1, size_t(text.size()), m_stream);
        std::fputc('\n', m_stream);
        std::fflush(m_stream);
    }

    QByteArray m_programName;
    std::FILE *m_stream;
    int m_errors = 0;
    int m_warnings = 0;
};
