#include "catalog/BriskoDoc.h"

void CBriskoDoc::ForEachFixedDrive(
    const std::function<void(const std::wstring& root, const std::wstring& folder)>& visit) {
    m_dwDriveMask = m_system.LogicalDrives();
    for (wchar_t letter = L'A'; m_dwDriveMask != 0 && letter <= L'Z'; ++letter, m_dwDriveMask >>= 1) {
        if (!(m_dwDriveMask & 1)) continue;
        m_strDriveRoot[0] = letter;
        if (m_system.DriveType(m_strDriveRoot) != DRIVE_FIXED) continue;
        const std::wstring root = m_strDriveRoot;  // the visit may not change the loop's field
        visit(root, m_system.DriveRootFolder(root));
    }
    m_dwDriveMask = 0;  // bits beyond Z name no drive
}
