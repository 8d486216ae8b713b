// The Standard mode: left-overs of the system, of installers and of a few
// applications.
#include "scan/Scans.h"

#include "item/ItemPath.h"
#include "item/Links.h"
#include "i18n/LangTexts.h"
#include "scan/DriveLoop.h"
#include "scan/RuleBounds.h"
#include "scan/RulesScan.h"
#include "scan/VolumeAccess.h"
#include "scan/Walk.h"

namespace {
// The root file names and the Boot folder are looked for on drive C: whatever
// drive Windows is on.
const wchar_t kRootC[] = L"C:\\";

// The temporary folder TMP names, as one item that a clean empties: only
// where the user's own temporary files may lie. The user sets TMP, and the
// program runs elevated: anywhere else it is told, not listed.
void AddTempFolder(const ISystemInfo& system, IFoundItemSink& sink, IRuleReport* report) {
    std::optional<std::wstring> temp = system.Environment(L"TMP");
    if (!temp) return;
    std::optional<CanonicalItem> item = CanonicalItemPath(*temp);
    if (!item || !item->IsFolder()) return;  // nothing there to clean
    if (IsLinkOrBehindLink(*item) || !CRuleBounds(system).CleansTemp(item->path)) {
        if (report) report->Notice(FillInLangText(LangId::NoticeTempRefused, {L"TMP", *temp}));
        return;
    }
    std::wstring folder = *temp;
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    AddFolderItem(sink, folder);
}
}  // namespace

void RunStandardScan(const CBriskoDoc& doc, IFoundItemSink& sink) { RunStandardScan(doc, sink, nullptr); }

void RunStandardScan(const CBriskoDoc& doc, IFoundItemSink& sink, IRuleReport* report) {
    const ISystemInfo& system = doc.System();
    WalkPatternList(sink, doc.m_szWindowsDir, doc.m_listWindowsRootPatterns);
    WalkTargetPairs(sink, doc.m_szWindowsDir, doc.m_listWindowsPatternTargets);
    WalkSubfolder(sink, doc.m_szWindowsDir, L"System32\\Msdtc", L"*.*", L"MSDTC.LOG");
    WalkSubfolderList(sink, doc.m_szSystemDrive, doc.m_listProfileIEFolders, L"*.bak");
    WalkSubfolder(sink, doc.m_szAppData, L"Microsoft\\Internet Explorer", L"*.bak");
    WalkPatternList(sink, kRootC, doc.m_listRootFileNames);
    WalkSubfolder(sink, kRootC, L"Boot", L"*.log");
    AddNamedItemList(sink, doc.m_szWindowsDir, doc.m_listWindowsFolders);
    if (system.Environment(L"ALLUSERSPROFILE")) {
        AddNamedItemList(sink, doc.m_strAllUsersProfile, doc.m_listAllUsersFolders);
        AddNamedItem(sink, doc.m_szWindowsDir, L"Temp\\");
    }
    AddNamedItemList(sink, doc.m_szAppData, doc.m_listAppDataFolders);

    std::wstring volumeName, fileSystemName;
    ForEachFixedDrive(
        system,
        [&](const std::wstring& root, const std::wstring& folder) {
            GetVolumeInfo(system, root, volumeName, fileSystemName);
            if (fileSystemName == L"NTFS") GrantVolumeInfoAccess(system, root);
            AddNamedItem(sink, folder, L"System Volume Information");
            WalkPatternList(sink, folder, doc.m_listDriveRootPatterns);
            AddNamedItemList(sink, folder, doc.m_listFoundFolders);
        },
        report);

    WalkSubfolder(sink, doc.m_szProgramFiles, L"Directx", L"*.*");
    WalkFolder(sink, L"*.tmp", doc.m_szShortcutBarDir);
    WalkFolder(sink, L"AteBrowser", doc.m_szIcqDir);
    WalkFolder(sink, L"music.*", doc.m_szMyMusic);
    AddTempFolder(system, sink, report);
}
