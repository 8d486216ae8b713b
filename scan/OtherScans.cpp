// The Cookies Killer and Offline Temp modes: browser cookies, caches,
// offline pages and download left-overs.
#include "scan/Scans.h"

#include "scan/DriveLoop.h"
#include "scan/Walk.h"

void RunCookiesScan(const CBriskoDoc& doc, IFoundItemSink& sink) {
    const std::wstring cookies = doc.System().SpecialFolder(kCsidlCookies);
    if (!cookies.empty()) WalkFolder(sink, L"*.txt", cookies);
    WalkSubfolder(sink, doc.m_szNetscapeDir, L"Users\\Default", L"cookies.*");
    WalkSubfolderList(sink, doc.m_szAppData, doc.m_listRealPlayerFolders, L"cookies.*");
    WalkFolder(sink, L"cookies.*", doc.m_strMozillaProfile);
    WalkFolder(sink, L"cookies.*", doc.m_strFirefoxProfile);
    WalkFolder(sink, L"Cookies", doc.m_strChromeProfile);
    WalkFolder(sink, L"Last Session", doc.m_strChromeProfile);
    WalkFolder(sink, L"cookies4.*", doc.m_strOperaProfile);
    WalkSubfolder(sink, doc.m_szWindowsDir, L"system32\\astart.bat\\Cookies", L"*.*");
}

void RunOfflineTempScan(const CBriskoDoc& doc, IFoundItemSink& sink) {
    ForEachFixedDrive(doc.System(), [&](const std::wstring&, const std::wstring& folder) {
        AddNamedItemList(sink, folder, doc.m_listDriveRootTempItems);
        AddNamedItem(sink, folder, L"Inetpub\\Scripts");
    });
    WalkSubfolder(sink, doc.m_szProgramFiles, L"WindowsUpdate", L"*.*");
    AddNamedItem(sink, doc.m_szNetscapeDir, L"Users\\Default\\Cache");
    WalkSubfolderList(sink, doc.m_szAppData, doc.m_listRealPlayerFolders, L"urls.ini");
    AddNamedItem(sink, doc.m_szAppData, L"Real\\RealOne Player\\History");
    WalkSubfolder(sink, doc.m_szAppData, L"Real\\RealOne Player\\Temp", L"*.*");
    AddNamedItem(sink, doc.m_szAppData, L"Real\\RealPlayer\\History");
    WalkSubfolder(sink, doc.m_szAppData, L"Real\\RealPlayer\\Temp", L"*.*");
    AddNamedItemList(sink, doc.m_szWindowsDir, doc.m_listWindowsTempFolders);
    WalkSubfolder(sink, doc.m_szWindowsDir, L"Downloaded Program Files", L"*.*");
    AddNamedItemList(sink, doc.m_szLocalAppData, doc.m_listLocalAppDataFolders);
    WalkSubfolder(sink, doc.m_szInternetCache, L"Content.IE5", L"*.*");
    AddNamedItem(sink, doc.m_strMozillaProfile, L"Cache");
    AddNamedItem(sink, doc.m_strChromeProfile, L"Cache");
    AddNamedItem(sink, doc.m_strFirefoxProfile, L"Cache");
    AddNamedItem(sink, doc.m_strOperaProfile, L"cache4");
    WalkSubfolder(sink, doc.m_strFirefoxProfile, L"minidumps", L"*.*");
    WalkFolder(sink, L"downloads.*", doc.m_strFirefoxProfile);
    WalkFolder(sink, L"download.*", doc.m_strOperaProfile);
}
