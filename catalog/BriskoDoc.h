#pragma once
// The document: owner of the cleaning catalogue, built once in the
// constructor and read-only afterwards. The scans over it live in scan/.
#include <windows.h>
#include <list>
#include <string>

#include "win/SystemInfo.h"

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

    // The pattern of every all-files walk.
    std::wstring m_strAllFiles;

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

    const ISystemInfo& m_system;
};
