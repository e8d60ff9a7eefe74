#include "core/AtomicFile.h"

#include "core/RegularFile.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<unsigned> g_tempCounter{0};

// Best effort: makes the rename itself durable. A failure here does not undo a rename
// that has already happened, so it is not reported.
void SyncDirectory(const std::string& directory)
{
    int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

std::string DirectoryOf(const std::string& path)
{
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return std::string();
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path)
{
    std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

CAtomicFile::~CAtomicFile()
{
    Abort();
}

bool CAtomicFile::Open(const char* path, CErrorRecord* errors)
{
    if (m_pFile) {
        SetMessage(errors, "Cannot open %s: another file is still open", path ? path : "");
        return false;
    }
    if (!path || !*path) {
        errno = EINVAL;
        SetSystemError(errors, "Cannot write a file without a name");
        return false;
    }
    m_displayPath = path;
    m_target = path;
    m_bFailed = false;

    // Write through a symbolic link rather than replacing the link with a file; a link
    // whose file does not exist yet creates that file. Only a regular file is ever
    // replaced: renaming over a FIFO or a device would destroy the node.
    m_target = ResolveWriteTarget(path);
    if (!CheckReplaceableTarget(path, m_target, errors))
        return false;
    struct stat targetInfo;
    bool targetExists = ::stat(m_target.c_str(), &targetInfo) == 0;

    std::string directory = DirectoryOf(m_target);
    std::string prefix = (directory.empty() ? std::string() : (directory == "/" ? "/" : directory + "/")) +
                         "." + BaseNameOf(m_target) + ".tmp-" + std::to_string(::getpid()) + "-";
    int fd = -1;
    // Listed while it exists, so an interrupted run removes it.
    m_tempPath.Create(false, [&]() {
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            m_temp = prefix + std::to_string(g_tempCounter.fetch_add(1));
            // 0666 less the umask, as for any new file.
            fd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0 && errno != EEXIST)
                break;
        }
        return fd < 0 ? std::string() : m_temp;
    });
    if (fd < 0) {
        SetSystemError(errors, "Cannot create a temporary file for %s", path);
        m_temp.clear();
        return false;
    }
    if (targetExists)
        ::fchmod(fd, targetInfo.st_mode & 07777);
    m_pFile = ::fdopen(fd, "wb");
    if (!m_pFile) {
        int saved = errno;
        ::close(fd);
        ::unlink(m_temp.c_str());
        m_temp.clear();
        m_tempPath.Forget();
        errno = saved;
        SetSystemError(errors, "Cannot create a temporary file for %s", path);
        return false;
    }
    return true;
}

bool CAtomicFile::Write(const void* data, std::size_t size, CErrorRecord* errors)
{
    if (!m_pFile) {
        SetMessage(errors, "Cannot write %s: the file is not open", m_displayPath.c_str());
        return false;
    }
    if (size == 0)
        return true;
    if (std::fwrite(data, 1, size, m_pFile) != size) {
        m_bFailed = true;
        SetSystemError(errors, "Error writing %s", m_displayPath.c_str());
        return false;
    }
    return true;
}

bool CAtomicFile::Printf(CErrorRecord* errors, const char* format, ...)
{
    if (!m_pFile) {
        SetMessage(errors, "Cannot write %s: the file is not open", m_displayPath.c_str());
        return false;
    }
    va_list args;
    va_start(args, format);
    int written = std::vfprintf(m_pFile, format, args);
    va_end(args);
    if (written < 0) {
        m_bFailed = true;
        SetSystemError(errors, "Error writing %s", m_displayPath.c_str());
        return false;
    }
    return true;
}

bool CAtomicFile::Commit(CErrorRecord* errors)
{
    if (!m_pFile) {
        SetMessage(errors, "Cannot write %s: the file is not open", m_displayPath.c_str());
        return false;
    }
    if (m_bFailed) {
        Abort();
        SetMessage(errors, "Error writing %s", m_displayPath.c_str());
        return false;
    }
    bool ok = std::fflush(m_pFile) == 0 && !std::ferror(m_pFile) && ::fsync(::fileno(m_pFile)) == 0;
    int saved = errno;
    FILE* file = m_pFile;
    m_pFile = nullptr;
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        ::unlink(m_temp.c_str());
        m_temp.clear();
        m_tempPath.Forget();
        // ferror without errno (a stream error from an earlier fwrite) reads as EIO.
        errno = saved ? saved : EIO;
        SetSystemError(errors, "Error writing %s", m_displayPath.c_str());
        return false;
    }
    if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
        saved = errno;
        ::unlink(m_temp.c_str());
        m_temp.clear();
        m_tempPath.Forget();
        errno = saved;
        SetSystemError(errors, "Error replacing %s", m_displayPath.c_str());
        return false;
    }
    m_temp.clear();
    m_tempPath.Forget();
    SyncDirectory(DirectoryOf(m_target));
    return true;
}

void CAtomicFile::Abort()
{
    if (m_pFile) {
        int saved = errno;
        std::fclose(m_pFile);
        m_pFile = nullptr;
        if (!m_temp.empty())
            ::unlink(m_temp.c_str());
        m_temp.clear();
        m_tempPath.Forget();
        errno = saved;
    }
}

bool WriteFileAtomically(const char* path, const void* data, std::size_t size, CErrorRecord* errors)
{
    CAtomicFile file;
    return file.Open(path, errors) && file.Write(data, size, errors) && file.Commit(errors);
}

bool WriteFileAtomically(const char* path, std::string_view text, CErrorRecord* errors)
{
    return WriteFileAtomically(path, text.data(), text.size(), errors);
}
