#pragma once
// The document: owner of the cleaning catalogue, built once in the
// constructor and read-only afterwards (but for the two drive-loop fields).
#include <windows.h>
#include <functional>
#include <list>
#include <string>

#include "catalog/SystemInfo.h"

class IFoundItemSink;

// One catalogue entry: a constant string of the program, never copied.
using CTargetList = std::list<const wchar_t*>;

struct CTargetPair {
    const wchar_t* folder;   // relative to the base folder
    const wchar_t* pattern;  // the pattern the folder is walked with
};
using CTargetPairList = std::list<CTargetPair>;

// CSIDL values of the special folders the catalogue reads, in reading order.
enum : int {
    kCsidlAppData = 26,
    kCsidlProgramFiles = 38,
    kCsidlLocalAppData = 28,
    kCsidlMyMusic = 13,
    kCsidlInternetCache = 32,
    kCsidlCookies = 33,
};

class CBriskoDoc {
public:
    explicit CBriskoDoc(const ISystemInfo& system = RealSystemInfo());
    CBriskoDoc(const CBriskoDoc&) = delete;
    CBriskoDoc& operator=(const CBriskoDoc&) = delete;

    const ISystemInfo& System() const { return m_system; }

    // The three scans. Each visits its targets in a fixed order and hands
    // every match to `sink`; none deletes anything.
    void RunStandardScan(IFoundItemSink& sink);
    void RunCookiesScan(IFoundItemSink& sink);
    void RunOfflineTempScan(IFoundItemSink& sink);

    // Volume and file-system names of a drive root; both empty when the drive
    // does not answer, so that no drive inherits the answer of another.
    void GetVolumeInfo(const std::wstring& root, std::wstring& volumeName, std::wstring& fileSystemName) const;
    // Starts, hidden and without waiting, the command that grants the current
    // user access to the root's System Volume Information (not on 9x).
    void GrantVolumeInfoAccess(const std::wstring& root) const;

    // The roaming application-data folder and `relative` if that exists,
    // otherwise the local application-data folder and `relative`.
    std::wstring FindProfileFolder(const std::wstring& relative) const;

    // Base folders of the machine and of the current user.
    std::wstring m_szWindowsDir;
    std::wstring m_szSystemDrive;  // the first two characters of the Windows folder
    std::wstring m_strAllUsersProfile;
    std::wstring m_szAppData;
    std::wstring m_szProgramFiles;
    std::wstring m_szLocalAppData;
    std::wstring m_szMyMusic;
    std::wstring m_szInternetCache;

    // Installation and profile folders discovered at construction.
    std::wstring m_szShortcutBarDir;
    std::wstring m_szIcqDir;
    std::wstring m_szNetscapeDir;
    std::wstring m_szOfficeDir;
    std::wstring m_strMozillaProfile;
    std::wstring m_strFirefoxProfile;
    std::wstring m_strOperaProfile;
    std::wstring m_strChromeProfile;

    // Working fields: the pattern of every all-files walk and the drive loop's scratch.
    std::wstring m_strAllFiles;
    std::wstring m_strDriveRoot;
    DWORD m_dwDriveMask = 0;

    // The eighteen target collections, in the order they are filled.
    CTargetPairList m_listWindowsPatternTargets;
    CTargetList m_listProfileIEFolders;
    CTargetList m_listWindowsRootPatterns;
    CTargetList m_listDriveRootPatterns;
    CTargetList m_listAllUsersFolders;
    CTargetList m_listAppDataFolders;
    CTargetList m_listRootFileNames;
    CTargetList m_listFoundFolders;
    CTargetList m_listWindowsFolders;
    CTargetList m_listDriveRootTempItems;
    CTargetList m_listWindowsTempFolders;
    CTargetList m_listLocalAppDataFolders;
    CTargetList m_listRealPlayerFolders;
    std::wstring m_strIntelliFormsKey;
    CTargetList m_listRunHistoryKeys;
    std::wstring m_strTypedURLsKey;
    CTargetList m_listFindHistoryKeys;
    CTargetList m_listRecentDocKeys;

private:
    void ReadBaseFolders();
    void DiscoverInstallFolders();
    void FillStandardCollections();
    void FillOtherModeCollections();
    void FillPrivacyCollections();
    void DiscoverBrowserProfiles();
    // Calls `visit` for every fixed drive in letter order, with its root (such
    // as D:\ ) and the folder that stands for that root on this machine.
    void ForEachFixedDrive(const std::function<void(const std::wstring& root, const std::wstring& folder)>& visit);

    const ISystemInfo& m_system;
};
