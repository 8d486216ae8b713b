// Whole runs of the three scans over one fake machine: the order of every
// item handed in, duplicates included, is part of what is tested.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "scan/VolumeAccess.h"
#include "tests/scan/ScanMachine.h"

namespace {
// Paths below the machine's scratch root, but for those that start with C:\.
std::vector<std::wstring> Expected(const ScanMachine& m, std::initializer_list<const wchar_t*> paths) {
    std::vector<std::wstring> result;
    for (const wchar_t* path : paths)
        result.push_back(std::wstring(path).rfind(L"C:\\", 0) == 0 ? std::wstring(path) : m / path);
    return result;
}

size_t Count(const std::vector<std::wstring>& paths, const std::wstring& path) {
    return std::count(paths.begin(), paths.end(), path);
}

const wchar_t kIE[] = L"Application Data\\Microsoft\\Internet Explorer";
}  // namespace

TEST(StandardScan, GoldenRun) {
    ScanMachine m;
    std::vector<std::wstring> found = m.Run(&RunStandardScan);
    std::vector<std::wstring> expected = Expected(m, {
        L"Windows\\progman.bak", L"Windows\\a.bmp", L"Windows\\setup.log", L"Windows\\b.old", L"Windows\\c.tmp",
        L"Windows\\readme.txt", L"Windows\\progman.bak", L"Windows\\winfile.ini",
        L"Windows\\Inf\\x.bak", L"Windows\\Debug\\UserMode\\u.log", L"Windows\\Debug\\WIA\\wia.log",
        L"Windows\\LiveKernelReports\\r.dmp", L"Windows\\ModemLogs\\m.txt", L"Windows\\PLA\\Reports\\p.xml",
        L"Windows\\Log\\a.log", L"Windows\\Log\\Old", L"Windows\\Minidump\\m.dmp", L"Windows\\Security\\s.chk",
        L"Windows\\Security\\s.log", L"Windows\\Sysbckup\\a.cpl", L"Windows\\Sysbckup\\a.dll",
        L"Windows\\Sysbckup\\a.drv", L"Windows\\Sysbckup\\a.sys", L"Windows\\Sysbckup\\a.vxd",
        L"Windows\\Command\\drvspace.bin", L"Windows\\System32\\s.bak", L"Windows\\System32\\s.tmp",
        L"Windows\\System32\\Catroot2\\c.chk", L"Windows\\System32\\Catroot2\\c.log",
        L"Windows\\System32\\dtclog\\d.log", L"Windows\\System32\\logfiles\\l.txt",
        L"Windows\\System32\\Msdtc\\Trace\\dtctrace.log", L"Windows\\System32\\Ntmsdata\\n.bak",
        L"Windows\\System32\\Config\\system.bak", L"Windows\\Pchealth\\ErrorRep\\e.cab",
        L"Windows\\Pchealth\\HelpCtr\\Logs\\h.log", L"Windows\\Pchealth\\HelpCtr\\OfflineCache\\o.dat",
        L"Windows\\Pchealth\\HelpCtr\\Temp\\t.tmp", L"Windows\\tracing\\wzcmon\\w.log",
        // MSDTC.LOG itself is left out; the Trace folder is a whole item here.
        L"Windows\\System32\\Msdtc\\other.log", L"Windows\\System32\\Msdtc\\Trace",
        L"SysDrive\\Documents and Settings\\Default User\\Application Data\\Microsoft\\Internet Explorer\\1.bak",
        L"SysDrive\\Documents and Settings\\Local Settings\\Application Data\\Microsoft\\Internet Explorer\\2.bak",
        L"SysDrive\\Documents and Settings\\NetworkService\\Application Data\\Microsoft\\Internet Explorer\\3.bak",
        L"SysDrive\\Documents and Settings\\Local Settings\\Local Settings\\Application Data\\Microsoft\\Windows\\4.bak",
        L"SysDrive\\Documents and Settings\\NetworkService\\Local Settings\\Application Data\\Microsoft\\Windows\\5.bak",
        L"Roaming\\Microsoft\\Internet Explorer\\brndlog.bak",
        L"C:\\detlog.txt", L"C:\\Boot\\bootstat.log",
        L"Windows\\Applog", L"Windows\\msapps", L"Windows\\Options", L"Windows\\Repair", L"Windows\\ServicePackFiles",
        L"Windows\\SoftwareDistribution\\Download", L"Windows\\System32\\AdCache", L"Windows\\System32\\cache",
        L"Windows\\System32\\wbem\\Logs", L"Windows\\Prefetch", L"Windows\\Security\\Logs",
        L"Windows\\Pchealth\\Helpctr\\Config\\Cache", L"Windows\\Printhood", L"Windows\\Amcdl",
        L"Windows\\Connection Wizard", L"Windows\\Csc", L"Windows\\system32\\cache632", L"Windows\\Driver Cache",
        L"Windows\\System\\Wbem\\Logs",
        L"AllUsers\\Documents and Settings\\Dr Watson", L"AllUsers\\Application Data\\Microsoft\\Dr Watson",
        L"Windows\\Temp\\",
        L"Roaming\\Microsoft\\Web service\\Cache", L"Roaming\\Microsoft\\Welcome",
        // Fixed drives only, in letter order; Found.010 is not looked for.
        L"DriveE\\System Volume Information", L"DriveE\\e.chk", L"DriveE\\e.bak", L"DriveE\\e.log", L"DriveE\\e.tmp",
        L"DriveE\\Found.000", L"DriveE\\Found.009",
        L"DriveF\\f.log",
        // The folder msdownld.tmp is the first match of "*.tmp" in G: and is left out.
        L"DriveG\\System Volume Information", L"DriveG\\Found.001",
        L"ProgramFiles\\Directx\\dx.log",
        L"ShortcutBar\\sb.tmp",  // its first match, the folder a.tmp, is left out
        L"ICQ\\AteBrowser", L"Music\\music.dat",
        L"Windows\\Temp\\",  // TMP names the Windows Temp folder: listed a second time
    });
    EXPECT_EQ(found, expected);
    // Only the NTFS drive gets the access command; the drive that does not
    // answer gets none, whatever the drive before it was.
    const std::wstring icacls = m / L"Windows\\system32\\icacls.exe";
    EXPECT_EQ(m.system.commands, (std::vector<std::wstring>{icacls + L"|\"" + icacls +
                                                             L"\" \"E:\\System Volume Information\" /grant "
                                                             L"\"u:(D,WDAC)\" \"u:F\""}));
    // readme.txt is read-only: the record says so, and the file still is.
    const auto* readme = m.sink.Find(m / L"Windows\\readme.txt");
    ASSERT_NE(readme, nullptr);
    EXPECT_TRUE(readme->record.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(::GetFileAttributesW((m / L"Windows\\readme.txt").c_str()) & FILE_ATTRIBUTE_READONLY);
    // The drive loop keeps nothing between runs: a second run visits the same.
    EXPECT_EQ(m.Run(&RunStandardScan), expected);
}

TEST(StandardScan, TheEnvironmentIsReadWhenTheScanRuns) {
    ScanMachine m;
    const std::wstring temp = m / L"Windows\\Temp\\";
    const std::wstring watson = m / L"AllUsers\\Documents and Settings\\Dr Watson";

    m.Doc();
    m.system.environment.erase(L"ALLUSERSPROFILE");  // after the catalogue was built
    std::vector<std::wstring> found = m.Run(&RunStandardScan);
    EXPECT_EQ(Count(found, watson), 0u);
    EXPECT_EQ(Count(found, temp), 1u);
    EXPECT_EQ(found.back(), temp);  // the one from TMP

    m.system.environment[L"ALLUSERSPROFILE"] = m / L"AllUsers";
    m.system.environment.erase(L"TMP");
    found = m.Run(&RunStandardScan);
    EXPECT_EQ(Count(found, watson), 1u);
    EXPECT_EQ(Count(found, temp), 1u);
    EXPECT_NE(found.back(), temp);

    // A TMP without its backslash gets one; one that has it keeps it.
    const std::wstring userTemp = m / L"Profile\\AppData\\Local\\Temp";
    m.Seed({L"Profile\\AppData\\Local\\Temp\\x.tmp"});
    m.system.folders[CSIDL_PROFILE] = m / L"Profile";  // the user's own temporary files lie in it
    m.system.environment[L"TMP"] = userTemp;
    found = m.Run(&RunStandardScan);
    EXPECT_EQ(found.back(), userTemp + L"\\");
    EXPECT_EQ(Count(found, userTemp + L"\\x.tmp"), 0u);
    m.system.environment[L"TMP"] = userTemp + L"\\";
    EXPECT_EQ(m.Run(&RunStandardScan).back(), userTemp + L"\\");

    // A TMP that names a drive root, nothing or a relative folder adds nothing.
    for (const wchar_t* tmp : {L"C:\\", L"", L"Temp"}) {
        m.system.environment[L"TMP"] = tmp;
        found = m.Run(&RunStandardScan);
        EXPECT_EQ(found.back(), m / L"Music\\music.dat") << tmp;
    }
}

TEST(StandardScan, RootFileNamesAreLookedForInCEvenWhenWindowsIsOnD) {
    ScopedRootItems root;
    root.Add(L"C:\\setuplog.txt");
    root.Add(L"C:\\Boot\\x.log");
    testing_support::FakeMachine system;
    system.windows = L"D:\\WINNT";
    CBriskoDoc doc(system);
    EXPECT_EQ(doc.m_szSystemDrive, L"D:");
    testing_support::RecordingSink sink;
    RunStandardScan(doc, sink);
    EXPECT_EQ(sink.Paths(), (std::vector<std::wstring>{L"C:\\setuplog.txt", L"C:\\Boot\\x.log"}));
}

TEST(StandardScan, OnlyFixedDrivesAreScannedAndOnlyNtfsOnesGetTheAccessCommand) {
    ScanMachine m;
    m.system.drives.clear();
    const wchar_t* names[] = {L"A", L"C", L"D", L"E"};
    for (const wchar_t* letter : names)
        m.Seed({(std::wstring(L"Drives\\") + letter + L"\\System Volume Information\\").c_str()});
    m.system.drives = {{L'A', {DRIVE_REMOVABLE, L"FAT", m / L"Drives\\A"}},
                       {L'C', {DRIVE_FIXED, L"NTFS", m / L"Drives\\C"}},
                       {L'D', {DRIVE_CDROM, L"CDFS", m / L"Drives\\D"}},
                       {L'E', {DRIVE_FIXED, L"FAT32", m / L"Drives\\E"}}};
    std::vector<std::wstring> found = m.Run(&RunStandardScan);
    EXPECT_EQ(Count(found, m / L"Drives\\A\\System Volume Information"), 0u);
    EXPECT_EQ(Count(found, m / L"Drives\\C\\System Volume Information"), 1u);
    EXPECT_EQ(Count(found, m / L"Drives\\D\\System Volume Information"), 0u);
    EXPECT_EQ(Count(found, m / L"Drives\\E\\System Volume Information"), 1u);
    const std::wstring system32 = m / L"Windows\\system32";
    EXPECT_EQ(m.system.commands, (std::vector<std::wstring>{system32 + L"\\icacls.exe|\"" + system32 +
                                                             L"\\icacls.exe\" \"C:\\System Volume Information\" "
                                                             L"/grant \"u:(D,WDAC)\" \"u:F\""}));

    m.system.commands.clear();
    m.system.majorVersion = 5;
    m.Run(&RunStandardScan);
    EXPECT_EQ(m.system.commands, (std::vector<std::wstring>{system32 + L"\\cacls.exe|\"" + system32 +
                                                             L"\\cacls.exe\" \"C:\\System Volume Information\" /E /G \"u:F\""}));

    m.system.commands.clear();
    m.system.nineX = true;
    m.system.majorVersion = 4;
    found = m.Run(&RunStandardScan);
    EXPECT_TRUE(m.system.commands.empty());
    EXPECT_EQ(Count(found, m / L"Drives\\C\\System Volume Information"), 1u);  // still listed

    const struct {
        const wchar_t* user;
        DWORD major;
        const wchar_t* program;
        const wchar_t* commandLine;
    } commands[] = {
        {L"u", 5, L"S:\\sys\\cacls.exe", L"\"S:\\sys\\cacls.exe\" \"D:\\System Volume Information\" /E /G \"u:F\""},
        {L"J\x00f6rg Smith", 10, L"S:\\sys\\icacls.exe",
         L"\"S:\\sys\\icacls.exe\" \"D:\\System Volume Information\" /grant \"J\x00f6rg Smith:(D,WDAC)\" "
         L"\"J\x00f6rg Smith:F\""},
    };
    for (const auto& c : commands) {
        AccessCommand command = VolumeInfoAccessCommand(L"S:\\sys", L"D:\\", c.user, c.major);
        EXPECT_EQ(command.program, c.program);
        EXPECT_EQ(command.commandLine, c.commandLine);
    }
}

TEST(CookiesScan, GoldenRun) {
    ScanMachine m;
    const std::wstring firefox = L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\";
    std::vector<std::wstring> expected = Expected(m, {
        L"Cookies\\u@site.txt",
        L"Netscape\\Users\\Default\\cookies",
        L"Roaming\\Real\\RealOne Player\\cookies.txt", L"Roaming\\Real\\RealPlayer\\cookies.dat",
        L"Roaming\\Mozilla\\Profiles\\default\\abcd.slt\\cookies.txt",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\cookies.sqlite",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\cookies.sqlite-journal",
        L"Local\\Google\\Chrome\\User Data\\Default\\Cookies",
        L"Local\\Google\\Chrome\\User Data\\Default\\Last Session",
        L"Roaming\\Opera\\Opera 9\\profile\\cookies4.dat",
        L"Windows\\system32\\astart.bat\\Cookies\\c.txt",
    });
    EXPECT_EQ(m.Run(&RunCookiesScan), expected);
    EXPECT_TRUE(m.system.commands.empty());

    // Without a cookies folder the scan goes on with its next step.
    m.system.folders.erase(kCsidlCookies);
    expected.erase(expected.begin());
    EXPECT_EQ(m.Run(&RunCookiesScan), expected);
}

TEST(OfflineTempScan, GoldenRun) {
    ScanMachine m;
    std::vector<std::wstring> expected = Expected(m, {
        L"DriveE\\Inetpub\\Scripts",
        L"DriveG\\msdownld.tmp", L"DriveG\\Wininst0.400", L"DriveG\\Inetpub\\Scripts",
        L"ProgramFiles\\WindowsUpdate\\wu.log",
        L"Netscape\\Users\\Default\\Cache",
        L"Roaming\\Real\\RealOne Player\\urls.ini", L"Roaming\\Real\\RealPlayer\\urls.ini",
        L"Roaming\\Real\\RealOne Player\\History", L"Roaming\\Real\\RealOne Player\\Temp\\t1.tmp",
        L"Roaming\\Real\\RealPlayer\\History", L"Roaming\\Real\\RealPlayer\\Temp\\t2.tmp",
        L"Windows\\Application Compatibility Scripts", L"Windows\\Downloaded Installations",
        L"Windows\\IIS Temporary Compressed Files", L"Windows\\Offline Web Pages",
        L"Windows\\Windows Update Setup Files", L"Windows\\WinSxS\\InstallTemp",
        L"Windows\\Downloaded Program Files\\ctl.inf",
        L"Local\\Application Data\\Apps", L"Local\\Application Data\\Microsoft\\Feeds Cache",
        L"Local\\Application Data\\Microsoft\\VisualStudio\\8.0\\ProjectAssemblies",
        L"Local\\Application Data\\Microsoft\\WebsiteCache", L"LocalLow\\Microsoft\\CryptnetUrlCache",
        // The cache's sub-folders as whole items and its index file.
        L"INetCache\\Content.IE5\\0AB", L"INetCache\\Content.IE5\\1CD", L"INetCache\\Content.IE5\\2EF",
        L"INetCache\\Content.IE5\\3GH", L"INetCache\\Content.IE5\\index.dat",
        L"Roaming\\Mozilla\\Profiles\\default\\abcd.slt\\Cache",
        L"Local\\Google\\Chrome\\User Data\\Default\\Cache",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\Cache",
        L"Roaming\\Opera\\Opera 9\\profile\\cache4",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\minidumps\\crash.dmp",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default\\downloads.sqlite",
        L"Roaming\\Opera\\Opera 9\\profile\\download.dat",
    });
    EXPECT_EQ(m.Run(&RunOfflineTempScan), expected);
    EXPECT_TRUE(m.system.commands.empty());
}

TEST(Scans, WithoutNetscapeNothingIsLookedForBelowTheRootOfTheCurrentDrive) {
    ScanMachine m;
    // \Users\Default of the current drive, which a path from the root would reach.
    ScopedRootItems root;
    root.Add(L"C:\\Users\\Default\\cookies.txt");
    root.Add(L"C:\\Users\\Default\\Cache\\");
    ASSERT_TRUE(::SetCurrentDirectoryW(m.Root().c_str()));
    m.Doc().m_szNetscapeDir = L"";  // what discovery leaves when Netscape is missing
    for (auto scan : {&RunCookiesScan, &RunOfflineTempScan})
        for (const std::wstring& path : m.Run(scan))
            EXPECT_EQ(path.find(L"Users\\Default"), std::wstring::npos) << path;
}
