// The Cookies Killer and Offline Temp modes: browser cookies, caches,
// offline pages and download left-overs.
#include "catalog/BriskoDoc.h"
#include "scan/Walk.h"

void CBriskoDoc::RunCookiesScan(IFoundItemSink& sink) {
    const std::wstring cookies = m_system.SpecialFolder(kCsidlCookies);
    if (!cookies.empty()) WalkFolder(sink, L"*.txt", cookies);
    WalkSubfolder(sink, m_szNetscapeDir, L"Users\\Default", L"cookies.*");
    WalkSubfolderList(sink, m_szAppData, m_listRealPlayerFolders, L"cookies.*");
    WalkFolder(sink, L"cookies.*", m_strMozillaProfile);
    WalkFolder(sink, L"cookies.*", m_strFirefoxProfile);
    WalkFolder(sink, L"Cookies", m_strChromeProfile);
    WalkFolder(sink, L"Last Session", m_strChromeProfile);
    WalkFolder(sink, L"cookies4.*", m_strOperaProfile);
    WalkSubfolder(sink, m_szWindowsDir, L"system32\\astart.bat\\Cookies", L"*.*");
}

void CBriskoDoc::RunOfflineTempScan(IFoundItemSink& sink) {
    ForEachFixedDrive([&](const std::wstring&, const std::wstring& folder) {
        AddNamedItemList(sink, folder, m_listDriveRootTempItems);
        AddNamedItem(sink, folder, L"Inetpub\\Scripts");
    });
    WalkSubfolder(sink, m_szProgramFiles, L"WindowsUpdate", L"*.*");
    AddNamedItem(sink, m_szNetscapeDir, L"Users\\Default\\Cache");
    WalkSubfolderList(sink, m_szAppData, m_listRealPlayerFolders, L"urls.ini");
    AddNamedItem(sink, m_szAppData, L"Real\\RealOne Player\\History");
    WalkSubfolder(sink, m_szAppData, L"Real\\RealOne Player\\Temp", L"*.*");
    AddNamedItem(sink, m_szAppData, L"Real\\RealPlayer\\History");
    WalkSubfolder(sink, m_szAppData, L"Real\\RealPlayer\\Temp", L"*.*");
    AddNamedItemList(sink, m_szWindowsDir, m_listWindowsTempFolders);
    WalkSubfolder(sink, m_szWindowsDir, L"Downloaded Program Files", L"*.*");
    AddNamedItemList(sink, m_szLocalAppData, m_listLocalAppDataFolders);
    WalkSubfolder(sink, m_szInternetCache, L"Content.IE5", L"*.*");
    AddNamedItem(sink, m_strMozillaProfile, L"Cache");
    AddNamedItem(sink, m_strChromeProfile, L"Cache");
    AddNamedItem(sink, m_strFirefoxProfile, L"Cache");
    AddNamedItem(sink, m_strOperaProfile, L"cache4");
    WalkSubfolder(sink, m_strFirefoxProfile, L"minidumps", L"*.*");
    WalkFolder(sink, L"downloads.*", m_strFirefoxProfile);
    WalkFolder(sink, L"download.*", m_strOperaProfile);
}
