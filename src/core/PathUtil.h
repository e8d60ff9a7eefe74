#pragma once

// Path and file helpers. The program writes paths with "/"; everything that reads a
// path accepts "\\" as well, because paths typed on or copied from Windows systems (and
// the CSF's own "BMP\\name.bmp" texts) use it.
//
// Functions that report through errno (CreateDirectoryPath) leave it set on failure;
// those taking a CErrorRecord record their own message with the system text.

#include "core/ErrorRecord.h"
#include "core/Progress.h"

#include <optional>
#include <string>

// left, then "/" unless left is empty or already ends in "/" or "\\", then right.
// Null counts as "".
std::string JoinPath(const char* left, const char* right);
inline std::string JoinPath(const std::string& left, const std::string& right)
{
    return JoinPath(left.c_str(), right.c_str());
}

// The characters before the last "/" or "\\" (the separator excluded); "" when the
// path has no separator; "/" for a path directly below the root; none for none.
std::optional<std::string> GetParentPath(const char* path);

// The path with every component in the letter case stored on disk: each component is
// looked up in its directory (an exact match is kept, else a case-insensitive match is
// replaced by the stored name; a component not found stays as written), separators
// become "/", repeated separators collapse, a leading "/" stays. When the given path
// exists and the rebuilt one does not, the given path is returned unchanged.
std::string MakeLongPath(const char* path);

// Waits between directory creation attempts: called with the attempt number (1..4)
// and the time to wait in milliseconds. The default sleeps; tests install their own.
using DirectoryRetryWait = void (*)(int attempt, unsigned milliseconds);
// Installs wait (null restores sleeping) and returns the previous one.
DirectoryRetryWait SetDirectoryRetryWait(DirectoryRetryWait wait);

// Makes sure every directory of path exists, creating them from the first component
// on. A directory that cannot be created is tried up to 5 times, waiting 10 s after
// each of the first 4 failures, unless the error cannot go away by waiting (no
// permission, read-only file system, a file in the way, name too long). False with
// errno set at the first directory that cannot be created; EINVAL for a null path.
bool CreateDirectoryPath(const char* path);

// Creates directory if needed, then deletes everything inside it (not the directory
// itself), reporting "Deleting %s" / "Removing %s" through progress. Symbolic links
// are deleted, never followed; a directory that is itself a symbolic link is refused
// and nothing is deleted. Stops at the first failure and records it.
bool DeleteDirectoryContents(CProgressSink* progress, const char* directory, CErrorRecord* errors);

// Read access (read and write when forWriting; a directory also needs search access)
// as the access test sees it; on failure records "Cannot access %s" with errno.
bool CheckAccess(CErrorRecord* errors, const char* path, bool forWriting);

// Whether path names something inside directory (at any depth), after both are
// resolved on disk (links, "..", repeated separators). False when directory does not
// exist or either cannot be resolved.
bool IsInsideDirectory(const char* path, const char* directory);
// Whether two paths name the same file for the purpose of the same-input-and-output
// warning: equal ignoring letter case, or one file on disk under two names.
bool IsSameFile(const char* a, const char* b);

// What tells one version of a file from the next: its identity, size and modification
// time (a file replaced by rename is a new inode). A missing file has the empty stamp.
struct SFileStamp
{
    unsigned long long device = 0, inode = 0, size = 0;
    long long seconds = 0, nanoseconds = 0;
    bool operator==(const SFileStamp&) const = default;
};
SFileStamp FileStampOf(const char* path);
