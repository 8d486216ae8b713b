#include "tests/scan/ScanMachine.h"

using namespace testing_support;

void ScanMachine::Seed(std::initializer_list<const wchar_t*> entries) {
    for (const wchar_t* entry : entries) {
        std::wstring path = m_scratch / entry;
        if (path.back() == L'\\') {
            MakeFolders(path.substr(0, path.size() - 1));
        } else {
            MakeFolders(path.substr(0, path.rfind(L'\\')));
            WriteFileBytes(path, "data");
        }
    }
}

ScanMachine::ScanMachine() {
    Seed({
        // The Windows folder's own patterns, with progman.bak matching two of them.
        L"Windows\\progman.bak", L"Windows\\a.bmp", L"Windows\\setup.log", L"Windows\\b.old", L"Windows\\c.tmp",
        L"Windows\\readme.txt", L"Windows\\winfile.ini", L"Windows\\keep.dat",
        // Folders of the Windows folder walked with one pattern each, or several.
        L"Windows\\Inf\\x.bak", L"Windows\\Inf\\x.inf", L"Windows\\Debug\\UserMode\\u.log",
        L"Windows\\Debug\\WIA\\wia.log", L"Windows\\LiveKernelReports\\r.dmp", L"Windows\\ModemLogs\\m.txt",
        L"Windows\\PLA\\Reports\\p.xml", L"Windows\\Log\\a.log", L"Windows\\Log\\Old\\", L"Windows\\Minidump\\m.dmp",
        L"Windows\\Minidump\\m.txt", L"Windows\\Security\\s.chk", L"Windows\\Security\\s.log",
        L"Windows\\Sysbckup\\a.cpl", L"Windows\\Sysbckup\\a.dll", L"Windows\\Sysbckup\\a.drv",
        L"Windows\\Sysbckup\\a.sys", L"Windows\\Sysbckup\\a.vxd", L"Windows\\Sysbckup\\a.exe",
        L"Windows\\Command\\drvspace.bin", L"Windows\\Command\\x.drv", L"Windows\\System32\\s.bak",
        L"Windows\\System32\\s.tmp", L"Windows\\System32\\s.dll", L"Windows\\System32\\Catroot2\\c.chk",
        L"Windows\\System32\\Catroot2\\c.log", L"Windows\\System32\\dtclog\\d.log",
        L"Windows\\System32\\logfiles\\l.txt", L"Windows\\System32\\Msdtc\\Trace\\dtctrace.log",
        L"Windows\\System32\\Msdtc\\Trace\\trace.txt", L"Windows\\System32\\Ntmsdata\\n.bak",
        L"Windows\\System32\\Config\\system.bak", L"Windows\\System32\\Config\\system",
        L"Windows\\Pchealth\\ErrorRep\\e.cab", L"Windows\\Pchealth\\HelpCtr\\Logs\\h.log",
        L"Windows\\Pchealth\\HelpCtr\\OfflineCache\\o.dat", L"Windows\\Pchealth\\HelpCtr\\Temp\\t.tmp",
        L"Windows\\tracing\\wzcmon\\w.log", L"Windows\\System32\\Msdtc\\MSDTC.LOG",
        L"Windows\\System32\\Msdtc\\other.log",
        // Whole folders of the Windows folder.
        L"Windows\\Applog\\", L"Windows\\msapps\\", L"Windows\\Options\\", L"Windows\\Repair\\",
        L"Windows\\ServicePackFiles\\", L"Windows\\SoftwareDistribution\\Download\\", L"Windows\\System32\\AdCache\\",
        L"Windows\\System32\\cache\\", L"Windows\\System32\\wbem\\Logs\\", L"Windows\\Prefetch\\",
        L"Windows\\Security\\Logs\\", L"Windows\\Pchealth\\Helpctr\\Config\\Cache\\", L"Windows\\Printhood\\",
        L"Windows\\Amcdl\\", L"Windows\\Connection Wizard\\", L"Windows\\Csc\\", L"Windows\\System32\\cache632\\",
        L"Windows\\Driver Cache\\", L"Windows\\System\\Wbem\\Logs\\", L"Windows\\Temp\\inside.tmp",
        L"Windows\\Application Compatibility Scripts\\", L"Windows\\Downloaded Installations\\",
        L"Windows\\IIS Temporary Compressed Files\\", L"Windows\\Offline Web Pages\\",
        L"Windows\\Windows Update Setup Files\\", L"Windows\\WinSxS\\InstallTemp\\",
        L"Windows\\Downloaded Program Files\\ctl.inf", L"Windows\\System32\\astart.bat\\Cookies\\c.txt",
        // The system drive's profile folders.
        L"SysDrive\\Documents and Settings\\Default User\\Application Data\\Microsoft\\Internet Explorer\\1.bak",
        L"SysDrive\\Documents and Settings\\Local Settings\\Application Data\\Microsoft\\Internet Explorer\\2.bak",
        L"SysDrive\\Documents and Settings\\NetworkService\\Application Data\\Microsoft\\Internet Explorer\\3.bak",
        L"SysDrive\\Documents and Settings\\Local Settings\\Local Settings\\Application Data\\Microsoft\\Windows\\4.bak",
        L"SysDrive\\Documents and Settings\\NetworkService\\Local Settings\\Application Data\\Microsoft\\Windows\\5.bak",
        L"SysDrive\\Documents and Settings\\NetworkService\\Local Settings\\Application Data\\Microsoft\\Windows\\5.txt",
        // All users and the roaming profile.
        L"AllUsers\\Documents and Settings\\Dr Watson\\", L"AllUsers\\Application Data\\Microsoft\\Dr Watson\\",
        L"Roaming\\Microsoft\\Internet Explorer\\brndlog.bak", L"Roaming\\Microsoft\\Web service\\Cache\\",
        L"Roaming\\Microsoft\\Welcome\\",
        // Drives: A removable, D optical, E fixed NTFS, F fixed without an answer, G fixed FAT32.
        L"DriveA\\Found.000\\", L"DriveA\\a.log", L"DriveA\\Inetpub\\Scripts\\", L"DriveD\\d.log",
        L"DriveE\\System Volume Information\\", L"DriveE\\e.chk", L"DriveE\\e.bak", L"DriveE\\e.log",
        L"DriveE\\e.tmp", L"DriveE\\e.txt", L"DriveE\\Found.000\\", L"DriveE\\Found.009\\", L"DriveE\\Found.010\\",
        L"DriveE\\Inetpub\\Scripts\\", L"DriveF\\f.log", L"DriveG\\System Volume Information\\",
        L"DriveG\\Found.001\\", L"DriveG\\msdownld.tmp\\", L"DriveG\\Wininst0.400\\", L"DriveG\\Inetpub\\Scripts\\",
        // Installed programs.
        L"ProgramFiles\\Directx\\dx.log", L"ProgramFiles\\WindowsUpdate\\wu.log", L"ShortcutBar\\a.tmp\\",
        L"ShortcutBar\\sb.tmp", L"ShortcutBar\\sb.txt", L"ICQ\\AteBrowser", L"Music\\music.dat", L"Music\\song.mp3",
        // Cookies, caches and browser profiles.
        L"Cookies\\u@site.txt", L"Cookies\\index.dat", L"Netscape\\Users\\Default\\cookies",
        L"Netscape\\Users\\Default\\prefs.js", L"Netscape\\Users\\Default\\Cache\\",
        L"Roaming\\Real\\RealOne Player\\cookies.txt", L"Roaming\\Real\\RealOne Player\\urls.ini",
        L"Roaming\\Real\\RealOne Player\\History\\", L"Roaming\\Real\\RealOne Player\\Temp\\t1.tmp",
        L"Roaming\\Real\\RealPlayer\\cookies.dat", L"Roaming\\Real\\RealPlayer\\urls.ini",
        L"Roaming\\Real\\RealPlayer\\History\\", L"Roaming\\Real\\RealPlayer\\Temp\\t2.tmp",
        L"Roaming\\Mozilla\\Profiles\\default\\cookies.txt", L"Roaming\\Mozilla\\Profiles\\default\\abcd.slt\\cookies.txt",
        L"Roaming\\Mozilla\\Profiles\\default\\abcd.slt\\Cache\\",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\cookies.sqlite",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\cookies.sqlite-journal",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\places.sqlite",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\Cache\\",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\minidumps\\crash.dmp",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\downloads.sqlite",
        L"Local\\Google\\Chrome\\User Data\\Default\\Cookies", L"Local\\Google\\Chrome\\User Data\\Default\\Last Session",
        L"Local\\Google\\Chrome\\User Data\\Default\\History", L"Local\\Google\\Chrome\\User Data\\Default\\Cache\\",
        L"Roaming\\Opera\\Opera 9\\profile\\cookies4.dat", L"Roaming\\Opera\\Opera 9\\profile\\cache4\\",
        L"Roaming\\Opera\\Opera 9\\profile\\download.dat",
        L"Local\\Application Data\\Apps\\", L"Local\\Application Data\\Microsoft\\Feeds Cache\\",
        L"Local\\Application Data\\Microsoft\\VisualStudio\\8.0\\ProjectAssemblies\\",
        L"Local\\Application Data\\Microsoft\\WebsiteCache\\", L"LocalLow\\Microsoft\\CryptnetUrlCache\\",
        L"INetCache\\Content.IE5\\index.dat", L"INetCache\\Content.IE5\\0AB\\", L"INetCache\\Content.IE5\\1CD\\",
        L"INetCache\\Content.IE5\\2EF\\", L"INetCache\\Content.IE5\\3GH\\",
    });
    WriteTextFile(m_scratch / L"Roaming\\Mozilla\\Firefox\\profiles.ini",
                  L"[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
                  L"Path=Profiles/abcd1234.default\r\n");
    ::SetFileAttributesW((m_scratch / L"Windows\\readme.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    rootC.Add(L"C:\\detlog.txt");
    rootC.Add(L"C:\\Boot\\bootstat.log");
    rootC.Add(L"C:\\Boot\\bcd.dat");

    system.windows = m_scratch / L"Windows";
    system.environment = {{L"ALLUSERSPROFILE", m_scratch / L"AllUsers"}, {L"TMP", m_scratch / L"Windows\\Temp"}};
    system.folders = {{kCsidlAppData, m_scratch / L"Roaming"},  {kCsidlProgramFiles, m_scratch / L"ProgramFiles"},
                      {kCsidlLocalAppData, m_scratch / L"Local"}, {kCsidlMyMusic, m_scratch / L"Music"},
                      {kCsidlInternetCache, m_scratch / L"INetCache"}, {kCsidlCookies, m_scratch / L"Cookies"}};
    system.drives = {{L'A', {DRIVE_REMOVABLE, L"FAT", m_scratch / L"DriveA"}},
                     {L'D', {DRIVE_CDROM, L"CDFS", m_scratch / L"DriveD"}},
                     {L'E', {DRIVE_FIXED, L"NTFS", m_scratch / L"DriveE"}},
                     {L'F', {DRIVE_FIXED, std::nullopt, m_scratch / L"DriveF"}},
                     {L'G', {DRIVE_FIXED, L"FAT32", m_scratch / L"DriveG"}}};
}

CBriskoDoc& ScanMachine::Doc() {
    if (!m_doc) {
        m_doc = std::make_unique<CBriskoDoc>(system);
        // What the registry would name, and the drive the Windows folder would be on.
        m_doc->m_szSystemDrive = m_scratch / L"SysDrive";
        m_doc->m_szShortcutBarDir = m_scratch / L"ShortcutBar";
        m_doc->m_szIcqDir = m_scratch / L"ICQ";
        m_doc->m_szNetscapeDir = m_scratch / L"Netscape";
    }
    return *m_doc;
}

std::vector<std::wstring> ScanMachine::Run(void (*scan)(const CBriskoDoc&, IFoundItemSink&)) {
    sink.items.clear();
    scan(Doc(), sink);
    return sink.Paths();
}
