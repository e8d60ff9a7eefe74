#pragma once

// A file size limit for the life of the object: writes past `bytes` fail with EFBIG
// (SIGXFSZ is ignored meanwhile), as on a disk that fills up part-way through a file.

#include <csignal>
#include <cstddef>
#include <sys/resource.h>

namespace dwtest {

class CFileSizeLimit
{
public:
    explicit CFileSizeLimit(std::size_t bytes)
    {
        m_ok = ::getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = m_saved;
        small.rlim_cur = bytes;
        m_ok = m_ok && ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~CFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

    bool IsActive() const { return m_ok; }

private:
    struct rlimit m_saved
    {
    };
    void (*m_oldHandler)(int) = SIG_DFL;
    bool m_ok = false;
};

} // namespace dwtest
