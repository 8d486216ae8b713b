// The Standard mode: left-overs of the system, of installers and of a few
// applications.
#include "catalog/BriskoDoc.h"
#include "scan/Walk.h"

namespace {
// The root file names and the Boot folder are looked for on drive C: whatever
// drive Windows is on.
const wchar_t kRootC[] = L"C:\\";
}  // namespace

void CBriskoDoc::RunStandardScan(IFoundItemSink& sink) {
    WalkPatternList(sink, m_szWindowsDir, m_listWindowsRootPatterns);
    WalkTargetPairs(sink, m_szWindowsDir, m_listWindowsPatternTargets);
    WalkSubfolder(sink, m_szWindowsDir, L"System32\\Msdtc", L"*.*", L"MSDTC.LOG");
    WalkSubfolderList(sink, m_szSystemDrive, m_listProfileIEFolders, L"*.bak");
    WalkSubfolder(sink, m_szAppData, L"Microsoft\\Internet Explorer", L"*.bak");
    WalkPatternList(sink, kRootC, m_listRootFileNames);
    WalkSubfolder(sink, kRootC, L"Boot", L"*.log");
    AddNamedItemList(sink, m_szWindowsDir, m_listWindowsFolders);
    if (m_system.Environment(L"ALLUSERSPROFILE")) {
        AddNamedItemList(sink, m_strAllUsersProfile, m_listAllUsersFolders);
        AddNamedItem(sink, m_szWindowsDir, L"Temp\\");
    }
    AddNamedItemList(sink, m_szAppData, m_listAppDataFolders);

    std::wstring volumeName, fileSystemName;
    ForEachFixedDrive([&](const std::wstring& root, const std::wstring& folder) {
        GetVolumeInfo(root, volumeName, fileSystemName);
        if (fileSystemName == L"NTFS") GrantVolumeInfoAccess(root);
        AddNamedItem(sink, folder, L"System Volume Information");
        WalkPatternList(sink, folder, m_listDriveRootPatterns);
        AddNamedItemList(sink, folder, m_listFoundFolders);
    });

    WalkSubfolder(sink, m_szProgramFiles, L"Directx", L"*.*");
    WalkFolder(sink, L"*.tmp", m_szShortcutBarDir);
    WalkFolder(sink, L"AteBrowser", m_szIcqDir);
    WalkFolder(sink, L"music.*", m_szMyMusic);
    if (std::optional<std::wstring> temp = m_system.Environment(L"TMP")) {
        std::wstring folder = *temp;
        if (folder.empty() || folder.back() != L'\\') folder += L'\\';
        AddFolderItem(sink, folder);
    }
}
