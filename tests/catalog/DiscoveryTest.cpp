#include <gtest/gtest.h>

#include "catalog/BriskoDoc.h"
#include "catalog/Discovery.h"
#include "scan/Scans.h"
#include "scan/Walk.h"
#include "support/FakeMachine.h"
#include "support/ScopedRegistry.h"
#include "support/TestSupport.h"
#include "win/Path.h"

using namespace testing_support;

namespace {
// Roaming and local application data in a scratch folder.
class ProfileDiscovery : public testing::Test {
protected:
    ProfileDiscovery() {
        MakeFolders(s / L"Roaming");
        MakeFolders(s / L"Local");
        system.folders = {{kCsidlAppData, s / L"Roaming"}, {kCsidlLocalAppData, s / L"Local"}};
    }
    void Folder(const std::wstring& relative) { MakeFolders(s / relative); }
    void Ini(const std::wstring& relative, const std::string& bytes) {
        MakeFolders((s / relative).substr(0, (s / relative).rfind(L'\\')));
        WriteFileBytes(s / relative, bytes);
    }
    ScratchFolder s;
    FakeMachine system;
};
}  // namespace

TEST_F(ProfileDiscovery, FirefoxProfileComesFromProfilesIniInRoamingOrElseLocalData) {
    Ini(L"Roaming\\Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nPath=Profiles/abcd1234.default\r\n");
    EXPECT_EQ(CBriskoDoc(system).m_strFirefoxProfile, s / L"Roaming\\Mozilla\\Firefox\\Profiles\\abcd1234.default");

    ScratchFolder other;
    system.folders = {{kCsidlAppData, other / L"Roaming"}, {kCsidlLocalAppData, other / L"Local"}};
    MakeFolders(other / L"Local\\Mozilla\\Firefox");
    WriteFileBytes(other / L"Local\\Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nPath=Profiles/local.default\r\n");
    EXPECT_EQ(CBriskoDoc(system).m_strFirefoxProfile, other / L"Local\\Mozilla\\Firefox\\Profiles\\local.default");

    system.folders = {{kCsidlAppData, other / L"R2"}, {kCsidlLocalAppData, other / L"L2"}};
    EXPECT_EQ(CBriskoDoc(system).m_strFirefoxProfile, other / L"L2\\Mozilla\\Firefox\\.");
}

TEST_F(ProfileDiscovery, BadProfilesIniGivesTheFirefoxFolderOrALongPathThatLeadsNowhere) {
    const std::wstring firefox = s / L"Roaming\\Mozilla\\Firefox";
    Ini(L"Roaming\\Mozilla\\Firefox\\profiles.ini", "");
    EXPECT_EQ(ReadFirefoxProfilePath(firefox), firefox + L"\\.");
    Ini(L"Roaming\\Mozilla\\Firefox\\profiles.ini", std::string("\xff\xfe\x00\x01[\x00\x80\x90Profile0]\nPath=\x00\x01", 18));
    EXPECT_EQ(ReadFirefoxProfilePath(firefox).substr(0, firefox.size()), firefox);
    Ini(L"Roaming\\Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nPath=\r\n");
    EXPECT_EQ(ReadFirefoxProfilePath(firefox), firefox + L"\\.");
    // A value longer than the reader's buffer is cut to 299 characters.
    Ini(L"Roaming\\Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nPath=" + std::string(1000, 'p') + "\r\n");
    std::wstring cut = ReadFirefoxProfilePath(firefox);
    EXPECT_EQ(cut, firefox + L"\\" + std::wstring(299, L'p'));
    RecordingSink sink;
    WalkFolder(sink, L"cookies.*", cut);
    AddNamedItem(sink, cut, L"Cache");
    EXPECT_TRUE(sink.items.empty());
    // A path that climbs out of the Firefox folder is not followed.
    Ini(L"Roaming\\Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nPath=Profiles/../../../..\r\n");
    EXPECT_EQ(ReadFirefoxProfilePath(firefox), firefox + L"\\.");
    Ini(L"Roaming\\Mozilla\\Firefox\\profiles.ini", "[Profile0]\r\nPath=...\r\n");
    EXPECT_EQ(ReadFirefoxProfilePath(firefox), firefox + L"\\.");
    // Only the first profile is read.
    Ini(L"Roaming\\Mozilla\\Firefox\\profiles.ini", "[Profile1]\r\nPath=Profiles/b\r\n[Profile0]\r\nPath=Profiles/a\r\n");
    EXPECT_EQ(ReadFirefoxProfilePath(firefox), firefox + L"\\Profiles\\a");
}

TEST_F(ProfileDiscovery, OperaMozillaAndChromeProfiles) {
    Folder(L"Roaming\\Opera\\Opera 9");
    Folder(L"Roaming\\Mozilla\\Profiles\\default\\x1y2.slt");
    Folder(L"Local\\Google\\Chrome\\User Data\\Default");
    CBriskoDoc doc(system);
    EXPECT_EQ(doc.m_strOperaProfile, s / L"Roaming\\Opera\\Opera 9\\profile");
    EXPECT_EQ(doc.m_strMozillaProfile, s / L"Roaming\\Mozilla\\Profiles\\default\\x1y2.slt");
    EXPECT_EQ(doc.m_strChromeProfile, s / L"Local\\Google\\Chrome\\User Data\\Default");
}

TEST_F(ProfileDiscovery, ProfilesThatAreMissingLeadNowhere) {
    // An Opera folder with no sub-folder, a Mozilla folder without a profile,
    // both holding files that a walk of the profile must not reach.
    Ini(L"Roaming\\Opera\\cookies4.dat", "x");
    Ini(L"Roaming\\Mozilla\\Profiles\\default\\cookies.txt", "x");
    CBriskoDoc doc(system);
    EXPECT_EQ(doc.m_strOperaProfile, s / L"Roaming\\Opera\\Opera*.*\\profile");
    EXPECT_EQ(doc.m_strMozillaProfile, s / L"Roaming\\Mozilla\\Profiles\\default\\*.slt");
    RecordingSink sink;
    RunCookiesScan(doc, sink);
    RunOfflineTempScan(doc, sink);
    EXPECT_TRUE(sink.items.empty());

    // No Opera folder at all: the local path, without "\profile".
    ScratchFolder other;
    system.folders = {{kCsidlAppData, other / L"Roaming"}, {kCsidlLocalAppData, other / L"Local"}};
    EXPECT_EQ(CBriskoDoc(system).m_strOperaProfile, other / L"Local\\Opera");
    // No application-data folders at all: paths from the root, which walks never follow.
    system.folders.clear();
    CBriskoDoc bare(system);
    EXPECT_EQ(bare.m_strChromeProfile, L"\\Google\\Chrome\\User Data\\Default");
    EXPECT_FALSE(IsFullPath(bare.m_strMozillaProfile));
}

namespace {
const wchar_t kNetscapeKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Netscape.exe";
const wchar_t kIcqKey[] = L"SOFTWARE\\Mirabilis\\ICQ\\ICQPro\\Install\\General";
const wchar_t kOfficeKey[] = L"Software\\Microsoft\\Office\\8.0\\Common\\InstallRoot";
}  // namespace

TEST(InstallDiscovery, FoldersComeFromTheLocalMachineRegistry) {
    FakeMachine system;
    system.folders = {{kCsidlProgramFiles, L"C:\\Program Files"}};
    {
        ScopedRegistryValue netscape(HKEY_LOCAL_MACHINE, kNetscapeKey, L"Path",
                                     L"C:\\Program Files\\Netscape\\Communicator\\Program");
        ScopedRegistryValue icq(HKEY_LOCAL_MACHINE, kIcqKey, L"InstalledDir", L"C:\\Program Files\\ICQ");
        ScopedRegistryValue office(HKEY_LOCAL_MACHINE, kOfficeKey, L"Path", L"C:\\Program Files\\Microsoft Office");
        ScopedRegistryValue bar(HKEY_LOCAL_MACHINE,
                                L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders\\C:\\Program "
                                L"Files\\Microsoft Office\\Office",
                                L"Shortcut Bar", L"C:\\Office\\Shortcut Bar");
        CBriskoDoc doc(system);
        EXPECT_EQ(doc.m_szNetscapeDir, L"C:\\Program Files\\Netscape");
        EXPECT_EQ(doc.m_szIcqDir, L"C:\\Program Files\\ICQ");
        EXPECT_EQ(doc.m_szOfficeDir, L"C:\\Program Files\\Microsoft Office");
        EXPECT_EQ(doc.m_szShortcutBarDir, L"C:\\Office\\Shortcut Bar");
    }
    // Gone again: "null" folders and an empty Netscape folder.
    CBriskoDoc doc(system);
    EXPECT_EQ(doc.m_szNetscapeDir, L"");
    EXPECT_EQ(doc.m_szIcqDir, L"null");
    EXPECT_EQ(doc.m_szOfficeDir, L"null");
    EXPECT_EQ(doc.m_szShortcutBarDir, L"null");
    HKEY key = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Mirabilis", 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST(InstallDiscovery, OddRegistryValuesNeverGiveAFolderOutsideTheirText) {
    FakeMachine system;
    EXPECT_EQ(CutLastComponents(L"C:\\Netscape", 2), L"");
    EXPECT_EQ(CutLastComponents(L"null", 2), L"");
    EXPECT_EQ(CutLastComponents(L"C:\\a\\b\\", 2), L"C:\\a");
    {
        // Megabytes of text: too long for a folder, so taken as missing, not cut.
        std::wstring huge(2 * 1024 * 1024, L'a');
        huge.replace(0, 3, L"C:\\");
        ScopedRegistryValue icq(HKEY_LOCAL_MACHINE, kIcqKey, L"InstalledDir", huge);
        ScopedRegistryValue netscape(HKEY_LOCAL_MACHINE, kNetscapeKey, L"Path", L"C:\\x\\" + huge.substr(3));
        DWORD number = 7;
        ScopedRegistryValue office(HKEY_LOCAL_MACHINE, kOfficeKey, L"Path", REG_DWORD, &number, sizeof(number));
        CBriskoDoc doc(system);
        EXPECT_EQ(doc.m_szIcqDir, L"null");
        EXPECT_EQ(doc.m_szNetscapeDir, L"");
        EXPECT_EQ(doc.m_szOfficeDir, std::wstring(1, L'\x0007'));
        RecordingSink sink;
        RunStandardScan(doc, sink);  // goes on through every step
    }
    {
        std::wstring longest = L"C:\\" + std::wstring(256, L'b');  // 259 characters: kept whole
        ScopedRegistryValue icq(HKEY_LOCAL_MACHINE, kIcqKey, L"InstalledDir", longest);
        EXPECT_EQ(CBriskoDoc(system).m_szIcqDir, longest);
    }
}
