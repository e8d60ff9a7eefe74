#include "core/RegularFile.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void RecordNotRegular(CErrorRecord* errors, const char* verb, const char* path, mode_t mode)
{
    SetMessage(errors, "Cannot %s %s: it is %s, not a regular file", verb, path, DescribeFileKind(mode));
}

std::string DirectoryPart(const std::string& path)
{
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return std::string();
    return path.substr(0, slash + 1);
}

} // namespace

const char* DescribeFileKind(mode_t mode)
{
    if (S_ISREG(mode))
        return "a regular file";
    if (S_ISDIR(mode))
        return "a directory";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISLNK(mode))
        return "a symbolic link";
    return "a special file";
}

int OpenRegularFileForReading(const char* path, CErrorRecord* errors)
{
    if (!path || !*path) {
        errno = ENOENT;
        return -1;
    }
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        // A socket cannot be opened at all (ENXIO); it is still named for what it is.
        int saved = errno;
        struct stat info;
        if (::stat(path, &info) == 0 && !S_ISREG(info.st_mode)) {
            RecordNotRegular(errors, "read", path, info.st_mode);
            saved = EINVAL;
        }
        errno = saved;
        return -1;
    }
    struct stat info;
    if (::fstat(fd, &info) != 0) {
        int saved = errno;
        ::close(fd);
        errno = saved;
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        RecordNotRegular(errors, "read", path, info.st_mode);
        errno = EINVAL;
        return -1;
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

std::FILE* OpenRegularFileStream(const char* path, CErrorRecord* errors)
{
    int fd = OpenRegularFileForReading(path, errors);
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "rb");
    if (!file) {
        int saved = errno;
        ::close(fd);
        errno = saved;
    }
    return file;
}

bool CheckRegularFile(const char* path, CErrorRecord* errors)
{
    if (!path || !*path) {
        errno = ENOENT;
        return false;
    }
    struct stat info;
    if (::stat(path, &info) != 0)
        return false;
    if (!S_ISREG(info.st_mode)) {
        RecordNotRegular(errors, "read", path, info.st_mode);
        errno = EINVAL;
        return false;
    }
    return true;
}

std::string ResolveWriteTarget(const char* path)
{
    if (!path)
        return std::string();
    std::string current = path;
    // realpath cannot be used: it fails for a link whose file does not exist yet.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        char buffer[PATH_MAX];
        ssize_t length = ::readlink(current.c_str(), buffer, sizeof buffer - 1);
        if (length <= 0)
            return path;
        std::string target(buffer, static_cast<std::size_t>(length));
        current = target[0] == '/' ? target : DirectoryPart(current) + target;
    }
    return path;
}

bool CheckReplaceableTarget(const char* displayPath, const std::string& target, CErrorRecord* errors)
{
    struct stat info;
    if (::stat(target.c_str(), &info) != 0 || S_ISREG(info.st_mode))
        return true;
    if (S_ISDIR(info.st_mode)) {
        errno = EISDIR;
        SetSystemError(errors, "Cannot write %s", displayPath);
        return false;
    }
    RecordNotRegular(errors, "write", displayPath, info.st_mode);
    return false;
}
