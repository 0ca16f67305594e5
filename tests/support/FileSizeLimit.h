#pragma once

#include <QByteArray>

#include <sys/resource.h>

// Limits the size of the files that this process, and every program it
// runs meanwhile, may write, for the lifetime of the scope.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        if (::getrlimit(RLIMIT_FSIZE, &m_original) != 0)
            return;
        rlimit limited = m_original;
        limited.rlim_cur = bytes;
        m_active = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        if (m_active)
            ::setrlimit(RLIMIT_FSIZE, &m_original);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    // Whether the limit is in force.
    bool active() const { return m_active; }

private:
    rlimit m_original{};
    bool m_active = false;
};

// Pseudo-random bytes that do not compress, so that what is written of them
// outgrows a limit.
inline QByteArray incompressibleBytes(qsizetype size)
{
    QByteArray bytes;
    for (quint32 seed = 1; bytes.size() < size;) {
        seed = seed * 1103515245u + 12345u;
        bytes.append(char(seed >> 24));
    }
    return bytes;
}
