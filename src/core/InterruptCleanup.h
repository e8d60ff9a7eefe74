#pragma once

// What an interrupted run leaves behind: nothing. Every temporary file or folder the
// program makes for the length of one operation (the file beside a target that a save
// renames into place, the folder the codec compiles into, the command line's private
// work folder) is listed here while it exists. When SIGINT or SIGTERM arrives, a
// watcher thread removes everything listed and then ends the process by the same
// signal, so the shell sees the usual status (130, 143) and the targets keep their old
// content: a target is only ever replaced by a rename of a finished temporary file.
//
// Creation happens under the list's lock, so an interruption either comes before the
// temporary exists or finds it listed; the watcher keeps the lock until the process
// has ended, so nothing new is created after it has cleaned up.
//
// The list is kept in every program; the watcher only in those that install it
// (InstallInterruptCleanup, from main before any other thread starts). Before it
// removes anything the watcher stops the installing thread (with SIGUSR2, whose
// handler waits for the end), so that thread cannot recreate a removed folder while
// it makes the folders of a path. A desktop program that handles the signals itself
// can call RemoveTemporaryPaths.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class CTemporaryPath
{
public:
    CTemporaryPath() = default;
    CTemporaryPath(const CTemporaryPath&) = delete;
    CTemporaryPath& operator=(const CTemporaryPath&) = delete;
    // Takes the path off the list; the file or folder itself is not touched.
    virtual ~CTemporaryPath();

    // Runs create under the list's lock; create makes the file or folder and returns
    // its path, or "" when it failed (its errno is kept). A created path is listed
    // until Forget. A folder is removed with everything in it. False when create failed
    // or this object already holds a path.
    bool Create(bool folder, const std::function<std::string()>& create);

    // Takes the path off the list, after the temporary was renamed into place or
    // removed. The file or folder itself is not touched.
    void Forget();

    // Removes the file or folder and takes it off the list, both under the list's lock,
    // so an interruption meanwhile never finds it half removed.
    void Remove();

    bool IsListed() const { return m_nId != 0; }
    const std::string& GetPath() const { return m_path; }

private:
    std::uint64_t m_nId = 0;
    std::string m_path;
    bool m_bFolder = false;
};

// Holds off the clean-up while a step runs whose own temporaries cannot be listed here,
// such as the codec library writing a text and its pictures beside their targets: an
// interruption meanwhile is acted on when the step has ended, so it never leaves a
// half-written file of the step behind. For steps of a second or so only.
class CInterruptShield
{
public:
    CInterruptShield();
    ~CInterruptShield();
    CInterruptShield(const CInterruptShield&) = delete;
    CInterruptShield& operator=(const CInterruptShield&) = delete;
};

// Blocks SIGINT and SIGTERM in the calling thread (and so in every thread it starts
// afterwards) and starts the watcher. False when it could not be started.
bool InstallInterruptCleanup();

// Removes every listed path now and empties the list: what the watcher does before
// ending the process.
void RemoveTemporaryPaths();

// The number of listed paths (for tests).
std::size_t CountTemporaryPaths();
