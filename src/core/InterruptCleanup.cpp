#include "core/InterruptCleanup.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <pthread.h>
#include <sys/syscall.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

struct STemporary
{
    std::string path;
    bool folder = false;
};

// Recursive, so that a step holding off interruptions may still list its temporaries.
std::recursive_mutex& ListLock()
{
    static std::recursive_mutex lock;
    return lock;
}

std::map<std::uint64_t, STemporary>& List()
{
    static std::map<std::uint64_t, STemporary> list;
    return list;
}

std::uint64_t g_nextId = 1; // guarded by ListLock

// Removes name below the directory parentFd (AT_FDCWD for a path), with everything in
// it. Uses neither the heap nor any lock, because the watcher runs it while the main
// thread stands still wherever the signal found it (inside malloc, perhaps).
void RemoveTreeAt(int parentFd, const char* name, int depth)
{
    if (::unlinkat(parentFd, name, 0) == 0 || errno == ENOENT || depth > 64)
        return;
    int fd = ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    alignas(8) char buffer[4096];
    // Removing entries while reading the directory may hide some; read it again until
    // a pass finds nothing left.
    for (int pass = 0; pass < 16; ++pass) {
        bool found = false;
        ::lseek(fd, 0, SEEK_SET);
        for (;;) {
            long got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            for (long offset = 0; offset < got;) {
                const struct dirent64* entry = reinterpret_cast<const struct dirent64*>(buffer + offset);
                offset += entry->d_reclen;
                if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                    continue;
                found = true;
                RemoveTreeAt(fd, entry->d_name, depth + 1);
            }
        }
        if (!found)
            break;
    }
    ::close(fd);
    ::unlinkat(parentFd, name, AT_REMOVEDIR);
}

void RemoveEntry(const STemporary& entry)
{
    if (entry.folder)
        RemoveTreeAt(AT_FDCWD, entry.path.c_str(), 0);
    else
        ::unlink(entry.path.c_str());
}

// The thread that installed the watcher (main) is stopped before the clean-up, so that
// it cannot make anything anew (a folder of a path it is creating) behind it.
pthread_t g_mainThread;
std::atomic<bool> g_mainStopped{false};
const int kStopSignal = SIGUSR2;

void StopHere(int)
{
    g_mainStopped.store(true);
    for (;;)
        ::pause();
}

void RemoveListedLocked()
{
    for (const auto& [id, entry] : List())
        RemoveEntry(entry);
    List().clear();
}

void WatchForInterrupt(sigset_t signals)
{
    int signal = 0;
    while (::sigwait(&signals, &signal) != 0) {
    }
    // Held until the process has ended: no temporary is created after the clean-up.
    ListLock().lock();
    if (::pthread_kill(g_mainThread, kStopSignal) == 0) {
        for (int waited = 0; waited < 2000 && !g_mainStopped.load(); ++waited)
            ::usleep(1000);
    }
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

CInterruptShield::CInterruptShield()
{
    ListLock().lock();
}

CInterruptShield::~CInterruptShield()
{
    ListLock().unlock();
}

CTemporaryPath::~CTemporaryPath()
{
    Forget();
}

bool CTemporaryPath::Create(bool folder, const std::function<std::string()>& create)
{
    if (m_nId != 0)
        return false;
    std::lock_guard<std::recursive_mutex> guard(ListLock());
    std::string path = create();
    if (path.empty())
        return false;
    m_nId = g_nextId++;
    m_path = path;
    m_bFolder = folder;
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
        std::lock_guard<std::recursive_mutex> guard(ListLock());
        List().erase(m_nId);
    }
    m_nId = 0;
    errno = saved;
}

void CTemporaryPath::Remove()
{
    int saved = errno;
    {
        std::lock_guard<std::recursive_mutex> guard(ListLock());
        if (m_nId != 0)
            List().erase(m_nId);
        if (!m_path.empty())
            RemoveEntry(STemporary{m_path, m_bFolder});
    }
    m_nId = 0;
    errno = saved;
}

bool InstallInterruptCleanup()
{
    g_mainThread = ::pthread_self();
    struct sigaction stop = {};
    stop.sa_handler = StopHere;
    sigemptyset(&stop.sa_mask);
    if (::sigaction(kStopSignal, &stop, nullptr) != 0)
        return false;
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
    std::lock_guard<std::recursive_mutex> guard(ListLock());
    RemoveListedLocked();
}

std::size_t CountTemporaryPaths()
{
    std::lock_guard<std::recursive_mutex> guard(ListLock());
    return List().size();
}
