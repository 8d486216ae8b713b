#include "scan/VolumeAccess.h"

std::wstring VolumeInfoAccessCommand(const std::wstring& root, const std::wstring& user, DWORD majorVersion) {
    const std::wstring folder = L"\"" + root + L"System Volume Information\"";
    if (majorVersion <= 5) return L"cacls " + folder + L" /E /G " + user + L":F";
    return L"icacls " + folder + L" /grant " + user + L":(D,WDAC) " + user + L":F";
}

void GetVolumeInfo(const ISystemInfo& system, const std::wstring& root, std::wstring& volumeName,
                   std::wstring& fileSystemName) {
    volumeName.clear();
    fileSystemName.clear();
    system.VolumeInformation(root, volumeName, fileSystemName);
}

void GrantVolumeInfoAccess(const ISystemInfo& system, const std::wstring& root) {
    const std::wstring user = system.UserName();
    if (system.PlatformVersion() & 0x80000000u) return;  // the 9x family has no access lists
    // A name the platform could not give would grant nothing to nobody.
    if (user.empty()) return;
    system.RunHidden(VolumeInfoAccessCommand(root, user, system.MajorVersion()));
}
