#pragma once
// The lock a running browser holds: Chromium's "lockfile" in its User Data
// folder, Firefox's "parent.lock" in the profile. While a clean runs the
// cleaner holds it itself, the way the browsers do, so that the browser
// cannot start in the middle: an existing lock file is kept open without
// sharing its writing, a missing one is made, held without sharing and
// removed when the lock ends (as Chromium's own goes when it closes).
#include <string>

#include "win/Handle.h"

namespace browsers {

class CProfileLock {
public:
    enum class Missing { LeaveAlone, Make };
    // Takes the lock when it is free. A missing lock file is free; it is made
    // and held only when `missing` says so.
    CProfileLock(const std::wstring& lockFile, Missing missing);
    // True when another process holds the lock (or the file cannot be
    // opened at all, which is taken the same way).
    bool HeldElsewhere() const { return m_heldElsewhere; }

private:
    win::FileHandle m_file;
    bool m_heldElsewhere = false;
};

// Whether the lock is held now, without keeping it and without making a file.
inline bool IsProfileLockHeld(const std::wstring& lockFile) {
    return CProfileLock(lockFile, CProfileLock::Missing::LeaveAlone).HeldElsewhere();
}

}  // namespace browsers
