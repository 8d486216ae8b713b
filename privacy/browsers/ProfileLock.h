#pragma once
// The lock a running browser holds: Chromium's "lockfile" in its User Data
// folder, Firefox's "parent.lock" in the profile. While a clean runs the
// cleaner holds it itself, so the browser cannot start in the middle.
#include <string>

#include "win/Handle.h"

namespace browsers {

class CProfileLock {
public:
    // Takes the lock when it is free; a missing lock file is free and is
    // not created.
    explicit CProfileLock(const std::wstring& lockFile);
    // True when another process holds the lock (or the file cannot be
    // opened at all, which is taken the same way).
    bool HeldElsewhere() const { return m_heldElsewhere; }

private:
    win::FileHandle m_file;
    bool m_heldElsewhere = false;
};

// Whether the lock is held now, without keeping it.
inline bool IsProfileLockHeld(const std::wstring& lockFile) { return CProfileLock(lockFile).HeldElsewhere(); }

}  // namespace browsers
