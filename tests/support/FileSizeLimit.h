#pragma once

#include <sys/resource.h>

// Limits the size of the files that this process, and so every program it
// runs meanwhile, writes, for the lifetime of the scope (never above the
// hard limit).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        if (::getrlimit(RLIMIT_FSIZE, &m_original) != 0)
            return;
        rlimit limited = m_original;
        limited.rlim_cur = m_original.rlim_max != RLIM_INFINITY && bytes > m_original.rlim_max ? m_original.rlim_max : bytes;
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
