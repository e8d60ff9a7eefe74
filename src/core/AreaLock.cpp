#include "core/AreaLock.h"

#include "core/PathUtil.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<unsigned> g_waitMilliseconds{3000};

} // namespace

std::string GetAreaLockFile(const char* area)
{
    return JoinPath(area, "DW_Lock");
}

unsigned SetAreaLockWait(unsigned milliseconds)
{
    return g_waitMilliseconds.exchange(milliseconds);
}

unsigned GetAreaLockWait()
{
    return g_waitMilliseconds.load();
}

CAreaLock::~CAreaLock()
{
    Release();
}

void CAreaLock::Release()
{
    if (m_fd >= 0) {
        int saved = errno;
        ::close(m_fd); // closing the only descriptor drops the flock
        m_fd = -1;
        errno = saved;
    }
}

bool CAreaLock::Acquire(const char* area, CErrorRecord* errors)
{
    if (!area || !*area) {
        SetMessage(errors, "Config/Temp Area undefined");
        return false;
    }
    std::string lockFile = GetAreaLockFile(area);
    if (m_fd >= 0) {
        if (lockFile == m_lockFile)
            return true;
        Release();
    }
    m_lockFile = lockFile;

    struct stat info;
    if (::stat(area, &info) != 0) {
        SetSystemError(errors, "Cannot lock the configuration area %s", area);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        errno = ENOTDIR;
        SetSystemError(errors, "Cannot lock the configuration area %s", area);
        return false;
    }
    // Not through a link, and never blocking on something planted under the name.
    int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        SetSystemError(errors, "Cannot open the lock file %s", lockFile.c_str());
        return false;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        SetMessage(errors, "Cannot lock the configuration area: %s is not a regular file", lockFile.c_str());
        return false;
    }

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(GetAreaLockWait());
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            m_fd = fd;
            return true;
        }
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            int saved = errno;
            ::close(fd);
            errno = saved;
            SetSystemError(errors, "Cannot lock %s", lockFile.c_str());
            return false;
        }
        if (Clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    ::close(fd);
    SetMessage(errors,
               "%s is locked: another Discweaver run is using this configuration area; try again when it "
               "has finished",
               lockFile.c_str());
    return false;
}
