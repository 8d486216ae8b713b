#include "scan/DriveLoop.h"

#include "i18n/LangTexts.h"
#include "scan/RulesScan.h"

void ForEachFixedDrive(const ISystemInfo& system,
                       const std::function<void(const std::wstring& root, const std::wstring& folder)>& visit,
                       IRuleReport* report) {
    std::wstring root = L"?:\\";
    DWORD mask = system.LogicalDrives();
    // Bits beyond Z name no drive.
    for (wchar_t letter = L'A'; mask != 0 && letter <= L'Z'; ++letter, mask >>= 1) {
        if (!(mask & 1)) continue;
        root[0] = letter;
        if (system.DriveType(root) != DRIVE_FIXED) continue;
        if (!system.IsVolumeRoot(root)) {
            if (report) report->Notice(FillInLangText(LangId::NoticeDriveNotVolume, {root.substr(0, 2)}));
            continue;
        }
        visit(root, system.DriveRootFolder(root));
    }
}
