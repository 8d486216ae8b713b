#include "scan/DriveLoop.h"

void ForEachFixedDrive(const ISystemInfo& system,
                       const std::function<void(const std::wstring& root, const std::wstring& folder)>& visit) {
    std::wstring root = L"?:\\";
    DWORD mask = system.LogicalDrives();
    // Bits beyond Z name no drive.
    for (wchar_t letter = L'A'; mask != 0 && letter <= L'Z'; ++letter, mask >>= 1) {
        if (!(mask & 1)) continue;
        root[0] = letter;
        if (system.DriveType(root) != DRIVE_FIXED) continue;
        visit(root, system.DriveRootFolder(root));
    }
}
