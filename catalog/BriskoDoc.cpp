#include "catalog/BriskoDoc.h"

CBriskoDoc::CBriskoDoc(const ISystemInfo& system)
    : m_strAllFiles(L"*.*"), m_system(system) {
    ReadBaseFolders();
    DiscoverInstallFolders();
    FillStandardCollections();
    FillOtherModeCollections();
    FillPrivacyCollections();
    DiscoverBrowserProfiles();
}

void CBriskoDoc::ReadBaseFolders() {
    // The whole Windows folder is kept, however long: a cut path could name
    // some other existing folder.
    m_szWindowsDir = m_system.WindowsFolder();
    m_szSystemDrive = m_szWindowsDir.substr(0, 2);
    m_strAllUsersProfile = m_system.Environment(L"ALLUSERSPROFILE").value_or(L"");
    m_szAppData = m_system.SpecialFolder(kCsidlAppData);
    m_szProgramFiles = m_system.SpecialFolder(kCsidlProgramFiles);
    m_szLocalAppData = m_system.SpecialFolder(kCsidlLocalAppData);
    m_szMyMusic = m_system.SpecialFolder(kCsidlMyMusic);
    m_szInternetCache = m_system.SpecialFolder(kCsidlInternetCache);
}

void CBriskoDoc::FillOtherModeCollections() {
    m_listDriveRootTempItems = {L"msdownld.tmp", L"Wininst0.400"};
    m_listWindowsTempFolders = {L"Application Compatibility Scripts", L"Downloaded Installations",
                                L"IIS Temporary Compressed Files",    L"Offline Web Pages",
                                L"Windows Update Setup Files",        L"WinSxS\\InstallTemp"};
    m_listLocalAppDataFolders = {L"Application Data\\Apps", L"Application Data\\Microsoft\\Feeds Cache",
                                 L"Application Data\\Microsoft\\VisualStudio\\8.0\\ProjectAssemblies",
                                 L"Application Data\\Microsoft\\WebsiteCache",
                                 L"..\\LocalLow\\Microsoft\\CryptnetUrlCache"};
    m_listRealPlayerFolders = {L"Real\\RealOne Player", L"Real\\RealPlayer"};
}
