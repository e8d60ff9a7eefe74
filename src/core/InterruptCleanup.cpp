#include "core/InterruptCleanup.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <map>
#include <mutex>
#include <pthread.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

struct STemporary
{
    std::string path;
    bool folder = false;
};

std::mutex& ListLock()
{
    static std::mutex lock;
    return lock;
}

std::map<std::uint64_t, STemporary>& List()
{
    static std::map<std::uint64_t, STemporary> list;
    return list;
}

std::uint64_t g_nextId = 1; // guarded by ListLock

void RemoveListedLocked()
{
    for (const auto& [id, entry] : List()) {
        std::error_code ignored;
        if (entry.folder)
            std::filesystem::remove_all(entry.path, ignored);
        else
            ::unlink(entry.path.c_str());
    }
    List().clear();
}

void WatchForInterrupt(sigset_t signals)
{
    int signal = 0;
    while (::sigwait(&signals, &signal) != 0) {
    }
    // Held until the process has ended: no temporary is created after the clean-up.
    ListLock().lock();
    RemoveListedLocked();
    std::signal(signal, SIG_DFL);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal);
    ::pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    ::raise(signal);
    ::_exit(128 + signal); // only when the default action did not end the process
}

} // namespace

CTemporaryPath::~CTemporaryPath()
{
    Forget();
}

bool CTemporaryPath::Create(bool folder, const std::function<std::string()>& create)
{
    if (m_nId != 0)
        return false;
    std::lock_guard<std::mutex> guard(ListLock());
    std::string path = create();
    if (path.empty())
        return false;
    m_nId = g_nextId++;
    m_path = path;
    int saved = errno;
    List()[m_nId] = STemporary{path, folder};
    errno = saved;
    return true;
}

void CTemporaryPath::Forget()
{
    if (m_nId == 0)
        return;
    int saved = errno;
    {
        std::lock_guard<std::mutex> guard(ListLock());
        List().erase(m_nId);
    }
    m_nId = 0;
    errno = saved;
}

bool InstallInterruptCleanup()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    if (::pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0)
        return false;
    try {
        std::thread(WatchForInterrupt, signals).detach();
    } catch (const std::system_error&) {
        ::pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
        return false;
    }
    return true;
}

void RemoveTemporaryPaths()
{
    std::lock_guard<std::mutex> guard(ListLock());
    RemoveListedLocked();
}

std::size_t CountTemporaryPaths()
{
    std::lock_guard<std::mutex> guard(ListLock());
    return List().size();
}
