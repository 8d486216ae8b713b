#include "scan/VolumeAccess.h"

#include "catalog/BriskoDoc.h"

std::wstring VolumeInfoAccessCommand(const std::wstring& root, const std::wstring& user, DWORD majorVersion) {
    const std::wstring folder = L"\"" + root + L"System Volume Information\"";
    if (majorVersion <= 5) return L"cacls " + folder + L" /E /G " + user + L":F";
    return L"icacls " + folder + L" /grant " + user + L":(D,WDAC) " + user + L":F";
}

void CBriskoDoc::GetVolumeInfo(const std::wstring& root, std::wstring& volumeName,
                               std::wstring& fileSystemName) const {
    volumeName.clear();
    fileSystemName.clear();
    m_system.VolumeInformation(root, volumeName, fileSystemName);
}

void CBriskoDoc::GrantVolumeInfoAccess(const std::wstring& root) const {
    const std::wstring user = m_system.UserName();
    if (m_system.PlatformVersion() & 0x80000000u) return;  // the 9x family has no access lists
    // A name the platform could not give would grant nothing to nobody.
    if (user.empty()) return;
    m_system.RunHidden(VolumeInfoAccessCommand(root, user, m_system.MajorVersion()));
}
