#include "clean/CurrentPath.h"

#include <windows.h>

#include "app/BriskoApp.h"

namespace {
SRWLOCK g_currentPathLock = SRWLOCK_INIT;

class SharedLock {
public:
    SharedLock() { ::AcquireSRWLockShared(&g_currentPathLock); }
    ~SharedLock() { ::ReleaseSRWLockShared(&g_currentPathLock); }
};
}  // namespace

void SetCurrentCleanPath(CBriskoApp& app, const std::wstring& path) {
    std::wstring copy = path;  // allocate outside the lock
    ::AcquireSRWLockExclusive(&g_currentPathLock);
    app.m_strCurrentPath.swap(copy);
    ::ReleaseSRWLockExclusive(&g_currentPathLock);
}

std::wstring GetCurrentCleanPath(const CBriskoApp& app) {
    SharedLock lock;
    return app.m_strCurrentPath;
}
