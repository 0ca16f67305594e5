#pragma once

#include <sys/resource.h>

// Sets a resource limit of this process, and so of every program it runs
// meanwhile, for the lifetime of the scope (never above the hard limit).
class ResourceLimit {
public:
    ResourceLimit(int resource, rlim_t value) : m_resource(resource)
    {
        if (::getrlimit(resource, &m_original) != 0)
            return;
        rlimit limited = m_original;
        limited.rlim_cur = m_original.rlim_max != RLIM_INFINITY && value > m_original.rlim_max ? m_original.rlim_max
                                                                                                 : value;
        m_active = ::setrlimit(resource, &limited) == 0;
    }
    ~ResourceLimit()
    {
        if (m_active)
            ::setrlimit(m_resource, &m_original);
    }
    ResourceLimit(const ResourceLimit &) = delete;
    ResourceLimit &operator=(const ResourceLimit &) = delete;

    // Whether the limit is in force.
    bool active() const { return m_active; }

private:
    int m_resource;
    rlimit m_original{};
    bool m_active = false;
};

// Limits the size of the files written meanwhile.
class FileSizeLimit : public ResourceLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : ResourceLimit(RLIMIT_FSIZE, bytes) {}
};
