#include "privacy/browsers/ProfileLock.h"

namespace browsers {

CProfileLock::CProfileLock(const std::wstring& lockFile, Missing missing) {
    // Reading, with reading alone shared: fails against Firefox (no sharing)
    // and Chromium (writing) alike, and keeps either from opening it.
    m_file = win::FileHandle(::CreateFileW(lockFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (m_file) return;
    DWORD error = ::GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        m_heldElsewhere = true;
        return;
    }
    if (missing == Missing::LeaveAlone || error == ERROR_PATH_NOT_FOUND) return;
    // A new file only, never one that appeared meanwhile; it goes with the handle.
    m_file = win::FileHandle(::CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                           nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE,
                                           nullptr));
    // Made by a browser starting just now: it is that browser's.
    if (!m_file) m_heldElsewhere = ::GetLastError() == ERROR_FILE_EXISTS || ::GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace browsers
