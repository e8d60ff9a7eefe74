#pragma once

// The one way the program replaces a file (settings, players, library, exported files,
// the CSF work file, bitmaps, the output CCF): the new content goes to a temporary file
// in the target's directory, is flushed and synced, and only when every byte was
// written is it renamed over the target. On any failure the old file is untouched, the
// temporary file is removed and the error is recorded with the system's errno, so a
// crash or a full disk never leaves a half-written file behind.
//
//     CAtomicFile file;
//     if (!file.Open(path, errors) || !file.Write(data, size, errors) || !file.Commit(errors))
//         return false;   // the destructor has (or will have) removed the temporary
//
// Code that must write through stdio (libxml2's xmlDocFormatDump) uses GetFile(); the
// stream's errors are checked by Commit.
//
// A target that is a symbolic link is written through: the file it points to is
// replaced (or created, for a link to a file that does not exist yet) and the link
// stays. Only regular files are replaced: Open refuses a target that is a directory,
// a FIFO, a device or a socket. A replaced file keeps its permission bits; a new one
// gets 0666 less the umask.

#include "core/ErrorRecord.h"
#include "core/InterruptCleanup.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

class CAtomicFile
{
public:
    CAtomicFile() = default;
    CAtomicFile(const CAtomicFile&) = delete;
    CAtomicFile& operator=(const CAtomicFile&) = delete;
    // Abandons an open, uncommitted file (the target stays as it was).
    virtual ~CAtomicFile();

    // Creates the temporary file beside path. Fails (recording why) when the directory
    // does not exist or is not writable, or when a file is already open.
    bool Open(const char* path, CErrorRecord* errors);

    // Appends bytes; false (recorded) on a write error. After a failure the file stays
    // open but Commit will refuse.
    bool Write(const void* data, std::size_t size, CErrorRecord* errors);
    bool Write(std::string_view text, CErrorRecord* errors)
    {
        return Write(text.data(), text.size(), errors);
    }
    bool Printf(CErrorRecord* errors, const char* format, ...) DW_PRINTF_FORMAT(3, 4);

    // The stream of the temporary file while open, else null. Do not close it.
    FILE* GetFile() const { return m_pFile; }

    // Flushes, syncs and renames the temporary file over the target. On failure the
    // target is unchanged and the temporary removed. The object is closed afterwards
    // either way.
    bool Commit(CErrorRecord* errors);

    // Closes and removes the temporary file; the target is unchanged.
    void Abort();

    bool IsOpen() const { return m_pFile != nullptr; }
    const std::string& GetTargetPath() const { return m_target; }
    const std::string& GetTempPath() const { return m_temp; }

private:
    std::string m_target;      // the file that Commit replaces
    std::string m_displayPath; // the path as the caller gave it, for messages
    std::string m_temp;
    CTemporaryPath m_tempPath; // m_temp while it exists
    FILE* m_pFile = nullptr;
    bool m_bFailed = false;
};

// Replaces path with exactly these bytes, atomically as above.
bool WriteFileAtomically(const char* path, const void* data, std::size_t size, CErrorRecord* errors);
bool WriteFileAtomically(const char* path, std::string_view text, CErrorRecord* errors);
