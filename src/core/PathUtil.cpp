#include "core/PathUtil.h"

#include "core/NameText.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::vector<std::string> SplitPath(const char* path)
{
    std::vector<std::string> parts;
    std::string current;
    for (const char* p = path; *p; ++p) {
        if (IsSeparator(*p)) {
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
        } else {
            current += *p;
        }
    }
    if (!current.empty())
        parts.push_back(std::move(current));
    return parts;
}

bool Exists(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

bool IsDirectory(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void SleepWait(int, unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::atomic<DirectoryRetryWait> g_retryWait{&SleepWait};

// Errors that waiting cannot cure; retrying them would only keep the user waiting.
bool IsPermanentError(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
    case EEXIST:
        return true;
    default:
        return false;
    }
}

// The stored name of the entry in directory that matches name ignoring case, or "".
std::string FindStoredName(const std::string& directory, const std::string& name)
{
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (!dir)
        return std::string();
    std::string found;
    while (struct dirent* entry = ::readdir(dir)) {
        if (CompareNoCase(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

} // namespace

std::string JoinPath(const char* left, const char* right)
{
    std::string result = left ? left : "";
    if (!result.empty() && !IsSeparator(result.back()))
        result += '/';
    if (right)
        result += right;
    return result;
}

std::optional<std::string> GetParentPath(const char* path)
{
    if (!path)
        return std::nullopt;
    const char* last = nullptr;
    for (const char* p = path; *p; ++p) {
        if (IsSeparator(*p))
            last = p;
    }
    if (!last)
        return std::string();
    // On Linux the parent of "/name" is the root itself, not the empty text.
    if (last == path)
        return std::string("/");
    return std::string(path, static_cast<std::size_t>(last - path));
}

std::string MakeLongPath(const char* path)
{
    if (!path || !*path)
        return std::string();
    std::string rebuilt = IsSeparator(path[0]) ? "/" : "";
    for (const std::string& part : SplitPath(path)) {
        std::string candidate = JoinPath(rebuilt, part);
        if (part != "." && part != ".." && !Exists(candidate)) {
            std::string stored = FindStoredName(rebuilt, part);
            if (!stored.empty())
                candidate = JoinPath(rebuilt, stored);
        }
        rebuilt = std::move(candidate);
    }
    if (Exists(path) && !Exists(rebuilt))
        return path;
    return rebuilt;
}

DirectoryRetryWait SetDirectoryRetryWait(DirectoryRetryWait wait)
{
    return g_retryWait.exchange(wait ? wait : &SleepWait);
}

bool CreateDirectoryPath(const char* path)
{
    if (!path || !*path) {
        errno = EINVAL;
        return false;
    }
    std::string prefix = IsSeparator(path[0]) ? "/" : "";
    for (const std::string& part : SplitPath(path)) {
        prefix = JoinPath(prefix, part);
        struct stat info;
        if (::stat(prefix.c_str(), &info) == 0) {
            if (S_ISDIR(info.st_mode))
                continue;
            errno = ENOTDIR;
            return false;
        }
        const int kAttempts = 5;
        for (int attempt = 1;; ++attempt) {
            if (::mkdir(prefix.c_str(), 0777) == 0)
                break;
            int error = errno;
            // Another thread or process may have made it meanwhile.
            if (error == EEXIST && IsDirectory(prefix))
                break;
            if (IsPermanentError(error) || attempt >= kAttempts) {
                errno = error;
                return false;
            }
            g_retryWait.load()(attempt, 10000);
        }
    }
    return true;
}

namespace {

// Empties the open directory dirFd (named `directory` in messages), never following a
// symbolic link: entries are looked at and removed relative to the descriptor, so a
// link planted anywhere below is removed as a link. Takes ownership of dirFd.
bool DeleteContentsAt(CProgressSink* progress, int dirFd, const std::string& directory, CErrorRecord* errors)
{
    std::string pattern = JoinPath(directory, "*.*");
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        int saved = errno;
        ::close(dirFd);
        errno = saved;
        SetSystemError(errors, "Error finding %s", pattern.c_str());
        return false;
    }
    // The names are collected first so that deleting does not disturb the enumeration.
    std::vector<std::string> names;
    for (;;) {
        errno = 0;
        struct dirent* entry = ::readdir(dir);
        if (!entry)
            break;
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.push_back(entry->d_name);
    }
    int readError = errno;
    if (readError != 0) {
        ::closedir(dir);
        errno = readError;
        SetSystemError(errors, "Error finding %s", pattern.c_str());
        return false;
    }

    bool ok = true;
    for (const std::string& name : names) {
        std::string full = JoinPath(directory, name);
        struct stat info;
        if (::fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno == ENOENT)
                continue; // gone meanwhile
            SetSystemError(errors, "Error finding %s", pattern.c_str());
            ok = false;
            break;
        }
        if (S_ISDIR(info.st_mode)) {
            // A directory we cannot list or change is what a read-only entry is here.
            if ((info.st_mode & 0700) != 0700 &&
                ::fchmodat(dirFd, name.c_str(), (info.st_mode & 07777) | 0700, 0) != 0) {
                SetSystemError(errors, "Error resetting attributes of %s", full.c_str());
                ok = false;
                break;
            }
            int childFd = ::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (childFd < 0) {
                SetSystemError(errors, "Error finding %s", JoinPath(full, "*.*").c_str());
                ok = false;
                break;
            }
            if (!DeleteContentsAt(progress, childFd, full, errors)) {
                ok = false;
                break;
            }
            ProgressBody(progress, "Removing %s", full.c_str());
            if (::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) != 0) {
                SetSystemError(errors, "Error removing %s", full.c_str());
                ok = false;
                break;
            }
        } else {
            ProgressBody(progress, "Deleting %s", full.c_str());
            if (::unlinkat(dirFd, name.c_str(), 0) != 0) {
                SetSystemError(errors, "Error deleting %s", full.c_str());
                ok = false;
                break;
            }
        }
    }
    int saved = errno;
    ::closedir(dir);
    errno = saved;
    return ok;
}

} // namespace

bool DeleteDirectoryContents(CProgressSink* progress, const char* directory, CErrorRecord* errors)
{
    if (!directory || !*directory || std::strcmp(directory, "/") == 0) {
        errno = EINVAL;
        SetSystemError(errors, "Refusing to delete the contents of \"%s\"", directory ? directory : "");
        return false;
    }
    // The folder itself must be ours: a link would have us empty whatever it points to.
    struct stat info;
    if (::lstat(directory, &info) == 0 && S_ISLNK(info.st_mode)) {
        SetMessage(errors, "Refusing to empty %s: it is a symbolic link, not a folder of its own", directory);
        return false;
    }
    if (!CreateDirectoryPath(directory)) {
        SetSystemError(errors, "Error creating %s", directory);
        return false;
    }
    int fd = ::open(directory, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP) {
            SetMessage(errors, "Refusing to empty %s: it is a symbolic link, not a folder of its own",
                       directory);
            return false;
        }
        SetSystemError(errors, "Error finding %s", JoinPath(directory, "*.*").c_str());
        return false;
    }
    return DeleteContentsAt(progress, fd, directory, errors);
}

bool CheckAccess(CErrorRecord* errors, const char* path, bool forWriting)
{
    if (!path || !*path) {
        errno = ENOENT;
        SetRuntimeError(errors, "Cannot access %s", path ? path : "");
        return false;
    }
    int mode = R_OK | (forWriting ? W_OK : 0);
    if (IsDirectory(path))
        mode |= X_OK;
    if (::access(path, mode) != 0) {
        SetRuntimeError(errors, "Cannot access %s", path);
        return false;
    }
    return true;
}

bool IsInsideDirectory(const char* path, const char* directory)
{
    if (!path || !*path || !directory || !*directory)
        return false;
    char* base = ::realpath(directory, nullptr);
    if (!base)
        return false;
    std::string folder = base;
    std::free(base);
    // A name that does not exist yet is judged by the folder it would be made in.
    std::string resolved;
    if (char* full = ::realpath(path, nullptr)) {
        resolved = full;
        std::free(full);
    } else {
        std::optional<std::string> parent = GetParentPath(path);
        char* parentFull = ::realpath(parent && !parent->empty() ? parent->c_str() : ".", nullptr);
        if (!parentFull)
            return false;
        resolved = JoinPath(parentFull, "name");
        std::free(parentFull);
    }
    if (folder == "/")
        return resolved != "/";
    return resolved.size() > folder.size() && resolved.compare(0, folder.size(), folder) == 0 &&
           resolved[folder.size()] == '/';
}

bool IsSameFile(const char* a, const char* b)
{
    if (!a || !b)
        return false;
    if (CompareNoCase(a, b) == 0)
        return true;
    struct stat sa
    {
    }, sb{};
    return ::stat(a, &sa) == 0 && ::stat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

SFileStamp FileStampOf(const char* path)
{
    SFileStamp stamp;
    struct stat info;
    if (!path || ::stat(path, &info) != 0)
        return stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = static_cast<unsigned long long>(info.st_size);
    stamp.seconds = info.st_mtim.tv_sec;
    stamp.nanoseconds = info.st_mtim.tv_nsec;
    return stamp;
}
