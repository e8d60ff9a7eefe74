#pragma once

// CAreaLock: one run at a time per configuration area. Every operation that uses the
// area's temporary directory (decompiling, executing) or writes its library or players
// file (imports, the player resolution, the editors' saves) holds the area's lock from
// before it reads the files until after it has written them, so two runs on one area
// (two commands, or a window and a script) never compile each other's work file and
// never lose each other's changes to the library.
//
// The lock is an exclusive flock() on the file "DW_Lock" in the area. The kernel drops
// it when the holder ends, however it ends, so a crashed or killed run never leaves the
// area locked; the file itself stays (removing it would let a third run lock a new file
// while the second still waits on the old one).
//
// A second taker waits briefly (GetAreaLockWait, normally a few seconds) and then fails
// with one line naming the lock file and saying that another run holds the area. Two
// CAreaLock objects in one process exclude each other too, so a front end may take one
// per job on any thread. Front ends take it around their jobs:
//
//     CAreaLock lock;
//     if (!lock.Acquire(config.GetConfigArea().c_str(), &errors))
//         return false;                  // "… another Discweaver run is using it"
//     ... load the library, change it, save it; or decompile, execute, compile ...
//     // released when `lock` goes
//
// The area must exist; the lock never creates it.

#include "core/ErrorRecord.h"

#include <string>

class CAreaLock
{
public:
    CAreaLock() = default;
    CAreaLock(const CAreaLock&) = delete;
    CAreaLock& operator=(const CAreaLock&) = delete;
    // Releases the lock when held.
    virtual ~CAreaLock();

    // Takes the lock of `area`, waiting up to GetAreaLockWait() for another holder to
    // let go. False (recorded) when the area is unset or missing, the lock file cannot
    // be opened or is not a regular file, or another run still holds it. Taking a lock
    // this object already holds (the same area) succeeds at once.
    bool Acquire(const char* area, CErrorRecord* errors);
    void Release();

    bool IsHeld() const { return m_fd >= 0; }
    // The lock file of the area held (or last tried).
    const std::string& GetLockFile() const { return m_lockFile; }

private:
    int m_fd = -1;
    std::string m_lockFile;
};

// The lock file of an area: area joined with "DW_Lock".
std::string GetAreaLockFile(const char* area);

// How long a second taker waits, in milliseconds (default 3000). Returns the old value;
// tests shorten it.
unsigned SetAreaLockWait(unsigned milliseconds);
unsigned GetAreaLockWait();
