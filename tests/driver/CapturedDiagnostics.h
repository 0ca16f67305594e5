#pragma once

#include <QByteArray>

#include <cstdio>

#include "platform/Diagnostics.h"

// Diagnostics written to memory, so a test can read the lines back.
class CapturedDiagnostics {
public:
    CapturedDiagnostics() : m_stream(open_memstream(&m_buffer, &m_size)), diagnostics("mkpkg", m_stream) {}
    ~CapturedDiagnostics()
    {
        std::fclose(m_stream);
        std::free(m_buffer);
    }
    QByteArray text()
    {
        std::fflush(m_stream);
        return QByteArray(m_buffer, qsizetype(m_size));
    }

private:
    char *m_buffer = nullptr;
    size_t m_size = 0;
    std::FILE *m_stream;

public:
    Diagnostics diagnostics;
};
