#include "privacy/browsers/ProfileLock.h"

namespace browsers {

CProfileLock::CProfileLock(const std::wstring& lockFile) {
    // Read and write with no sharing: fails against Firefox (no sharing)
    // and Chromium (reading shared only) alike.
    m_file = win::FileHandle(::CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (m_file) return;
    DWORD error = ::GetLastError();
    m_heldElsewhere = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

}  // namespace browsers
