// Rules that aim at the system, at programs and at the user's own files, on
// a machine laid out like Windows in a scratch tree full of canaries: each
// line lists only the junk it is meant for, or nothing and a refusal.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

#include "clean/CleanTestSupport.h"
#include "scan/Listing.h"
#include "scan/RulesScan.h"
#include "scan/Scans.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "win/Path.h"

using namespace testing_support;
using clean_test::MakeLink;
using clean_test::RemoveLink;

namespace {

class Refusals : public IRuleReport {
public:
    void Refused(const RuleEntry&, const std::wstring& folder, const std::wstring& why) override {
        told += folder + L": " + why + L"\n";
    }
    void Notice(const std::wstring& text) override { notices.push_back(text); }
    std::wstring told;
    std::vector<std::wstring> notices;
};

class HostileRules : public ::testing::Test {
protected:
    HostileRules() {
        machine.windows = m / L"Windows";
        machine.folders = {{CSIDL_PROFILE, m / L"Users\\me"},
                           {CSIDL_APPDATA, m / L"Users\\me\\AppData\\Roaming"},
                           {CSIDL_LOCAL_APPDATA, m / L"Users\\me\\AppData\\Local"},
                           {CSIDL_PERSONAL, m / L"Users\\me\\Documents"},
                           {CSIDL_MYMUSIC, m / L"Users\\me\\Music"},
                           {CSIDL_PROGRAM_FILES, m / L"Program Files"},
                           {CSIDL_PROGRAM_FILESX86, m / L"Program Files (x86)"},
                           {CSIDL_COMMON_APPDATA, m / L"ProgramData"}};
        machine.environment = {{L"PUBLIC", m / L"Users\\Public"}};
        for (const wchar_t* file : kCanaries) Seed(file);
        for (const wchar_t* file : kJunk) Seed(file);
    }
    // "%LOCAL%" stands for the scratch machine's local application data.
    std::wstring Placed(const std::wstring& text) const {
        const std::wstring local = L"%LOCAL%";
        return text.rfind(local, 0) == 0 ? m / (L"Users\\me\\AppData\\Local" + text.substr(local.size())) : text;
    }
    void Seed(const std::wstring& relative) {
        MakeFolders(ParentOf(m / relative));
        WriteFileBytes(m / relative, "x");
    }
    std::vector<std::wstring> Scan(const std::wstring& fileKey) {
        RulesFile rules = ParseRules(L"[Hostile]\nDefault=True\nFileKey1=" + fileKey + L"\n");
        EXPECT_TRUE(rules.problems.empty()) << fileKey;
        CBriskoDoc doc(machine);
        RecordingSink sink;
        CListingFilter listed(sink);
        RunRulesScan(doc, rules, listed, &report);
        std::vector<std::wstring> relative;
        for (const std::wstring& path : sink.Paths()) relative.push_back(path.substr(m.Path().size() + 1));
        std::sort(relative.begin(), relative.end());
        return relative;
    }

    static constexpr const wchar_t* kCanaries[] = {
        L"Windows\\explorer.exe", L"Windows\\System32\\drivers\\disk.sys", L"Windows\\System32\\drivers\\etc\\hosts",
        L"Windows\\System32\\LogFiles\\setup.log", L"Windows\\Fonts\\arial.ttf", L"Windows\\WinSxS\\amd64_x\\x.dll",
        L"Program Files\\App\\app.exe", L"Program Files (x86)\\Old\\old.exe", L"ProgramData\\Vendor\\settings.dat",
        L"Users\\me\\Contacts\\c.contact", L"Users\\me\\Favorites\\f.url", L"Users\\me\\Saved Games\\save.dat",
        L"Users\\me\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\History",
        L"Users\\me\\AppData\\Roaming\\Microsoft\\Protect\\S-1\\key", L"Users\\me\\Documents\\report.docx",
        L"Users\\me\\Music\\music.collection\\song.mp3", L"Users\\other\\Favorites\\o.url",
        L"Users\\Public\\Documents\\p.doc",
        // The Windows folder's own data beside its junk, and what a profile
        // keeps of its user beside its caches.
        L"Windows\\security\\database\\secedit.sdb", L"Windows\\ServiceProfiles\\LocalService\\NTUSER.DAT",
        L"Windows\\appcompat\\Programs\\Amcache.hve", L"Windows\\en-US\\explorer.exe.mui",
        L"Windows\\ELAMBKUP\\WdBoot.sys", L"Windows\\Panther\\setupact.log", L"Windows\\Tasks\\job.job",
        L"Windows\\Setup\\State\\State.ini", L"Windows\\SoftwareDistribution\\DataStore\\DataStore.edb",
        L"Users\\me\\AppData\\Roaming\\Microsoft\\Credentials\\c1", L"Users\\me\\AppData\\Local\\Microsoft\\Credentials\\c2",
        L"Users\\me\\AppData\\Local\\Microsoft\\Vault\\v.vpol", L"Users\\me\\AppData\\Local\\Microsoft\\Windows\\UsrClass.dat",
        L"Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\app.lnk",
        L"Users\\me\\AppData\\Local\\Microsoft\\Outlook\\me.ost", L"Users\\me\\AppData\\Local\\Packages\\App_1\\Settings\\s.dat",
        L"Users\\me\\AppData\\Local\\Temp\\NTUSER.DAT"};
    static constexpr const wchar_t* kJunk[] = {
        L"Windows\\Logs\\CBS\\CBS.log", L"Windows\\Temp\\t.tmp", L"Program Files\\App\\Cache\\c.bin",
        L"ProgramData\\Vendor\\Logs\\v.log", L"Users\\me\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\Cache\\d0",
        L"Users\\me\\Documents\\My Games\\Game\\Logs\\g.log", L"Users\\me\\Music\\Playlists\\list.m3u",
        L"Windows\\Minidump\\m.dmp", L"Windows\\SoftwareDistribution\\Download\\u.cab", L"Windows\\Prefetch\\A.pf",
        L"Users\\me\\AppData\\Local\\Microsoft\\Windows\\INetCache\\c.dat", L"Users\\me\\AppData\\Local\\Temp\\Setup\\t.tmp"};

    ScratchFolder m{L"hostile"};
    FakeMachine machine;
    Refusals report;
};

}  // namespace

TEST_F(HostileRules, EachLineListsOnlyTheJunkItIsMeantFor) {
    // The scratch tree's own path from the drive root, for lines that climb down from it.
    const std::wstring fromDrive = m.Path().substr(3);
    const struct {
        std::wstring fileKey;
        const wchar_t* temp;  // TEMP of the machine, when the line needs one
        std::vector<std::wstring> listed;
    } lines[] = {
        // Aimed at the system and at programs: nothing, whatever the spelling.
        {L"%WinDir%\\*|*.*|REMOVESELF", nullptr, {}},
        {L"%SystemDrive%\\*|*.*|REMOVESELF", nullptr, {}},
        {L"%Temp%\\*|*.*|RECURSE", L"C:\\", {}},
        {L"%Temp%\\" + fromDrive + L"\\Program Files\\*|*.*|REMOVESELF", L"C:\\", {}},
        {L"%ProgramFiles%\\*|*.*|REMOVESELF", nullptr, {}},
        {L"%ProgramFiles%\\App|*.*|RECURSE|REMOVESELF", nullptr, {}},
        {L"%ProgramData%\\Vendor|*.*|RECURSE", nullptr, {}},
        {L"%SystemRoot%\\system32\\drivers|*.*|REMOVESELF", nullptr, {}},
        {L"%SystemRoot%\\System32.\\drivers\\etc|*.*", nullptr, {}},
        {L"%WinDir%\\System32\\LogFiles|*.log", nullptr, {}},
        {L"%WinDir%\\Fonts|*.ttf", nullptr, {}},
        {L"%WinDir%\\WinSxS\\*|*.*|REMOVESELF", nullptr, {}},
        {L"%WinDir%\\*\\drivers|*.*|REMOVESELF", nullptr, {}},
        // Aimed at a profile: its top-level folders, other profiles, its keys.
        {L"%UserProfile%\\*|*.*|REMOVESELF", nullptr, {}},
        {L"%UserProfile%\\Favorites|*.*", nullptr, {}},
        {L"%SystemDrive%\\" + fromDrive + L"\\Users\\other\\Favorites|*.*", nullptr, {}},
        {L"%AppData%\\Microsoft\\Protect|*.*|RECURSE", nullptr, {}},
        {L"%LocalAppData%\\*\\Chrome\\User Data\\*\\Cache|*.*|REMOVESELF", nullptr, {}},
        {L"%Public%\\*|*.*|RECURSE", nullptr, {}},
        // The Windows folder beyond its folders of throw-away files.
        {L"%WinDir%\\security|*.*|RECURSE", nullptr, {}},
        {L"%WinDir%\\ServiceProfiles|*.*|RECURSE", nullptr, {}},
        {L"%WinDir%\\appcompat\\Programs|*.*|REMOVESELF", nullptr, {}},
        {L"%WinDir%\\en-US|*.*", nullptr, {}},
        {L"%WinDir%\\ELAMBKUP|*.*", nullptr, {}},
        {L"%WinDir%\\Panther|*.log", nullptr, {}},
        {L"%WinDir%\\Tasks|*.*", nullptr, {}},
        {L"%WinDir%\\Setup|*.*|RECURSE", nullptr, {}},
        {L"%WinDir%\\SoftwareDistribution|*.*|RECURSE", nullptr, {}},
        // A profile's keys, vaults, hive, Start Menu, mail and store-app data,
        // named or met on the way down.
        {L"%AppData%\\Microsoft\\Credentials|*.*", nullptr, {}},
        {L"%LocalAppData%\\Microsoft\\Credentials|*.*", nullptr, {}},
        {L"%LocalAppData%\\Microsoft\\Vault|*.*|RECURSE", nullptr, {}},
        {L"%LocalAppData%\\Microsoft\\Windows|UsrClass.dat*", nullptr, {}},
        {L"%LocalAppData%\\Microsoft|*.*|REMOVESELF", nullptr, {}},
        {L"%AppData%\\Microsoft|*.*|RECURSE", nullptr, {}},
        {L"%AppData%\\Microsoft\\Windows\\Start Menu|*.lnk|RECURSE", nullptr, {}},
        {L"%LocalAppData%\\Microsoft\\Outlook|*.ost", nullptr, {}},
        {L"%LocalAppData%\\Packages\\*\\Settings|*.*", nullptr, {}},
        {L"%LocalAppData%\\Packages|*.*|REMOVESELF", nullptr, {}},
        {L"%LocalAppData%\\Temp|NTUSER.*", nullptr, {}},
        // Named caches and logs further down still work; among the user's
        // own files only files are listed, one by one.
        {L"%WinDir%\\Logs\\CBS|*.log", nullptr, {L"Windows\\Logs\\CBS\\CBS.log"}},
        {L"%WinDir%\\Temp|*.*|RECURSE", nullptr, {L"Windows\\Temp\\t.tmp"}},
        {L"%ProgramFiles%\\App\\Cache|*.*|REMOVESELF", nullptr, {L"Program Files\\App\\Cache"}},
        {L"%ProgramData%\\Vendor\\Logs|*.log", nullptr, {L"ProgramData\\Vendor\\Logs\\v.log"}},
        {L"%LocalAppData%\\Google\\Chrome\\User Data\\*\\Cache|*.*|REMOVESELF", nullptr,
         {L"Users\\me\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\Cache"}},
        {L"%Documents%\\My Games\\*\\Logs|*.*|REMOVESELF", nullptr,
         {L"Users\\me\\Documents\\My Games\\Game\\Logs\\g.log"}},
        {L"%Music%\\Playlists|*.*|REMOVESELF", nullptr, {L"Users\\me\\Music\\Playlists\\list.m3u"}},
        {L"%WinDir%\\Minidump|*.dmp", nullptr, {L"Windows\\Minidump\\m.dmp"}},
        {L"%WinDir%\\SoftwareDistribution\\Download|*.*|REMOVESELF", nullptr,
         {L"Windows\\SoftwareDistribution\\Download"}},
        {L"%WinDir%\\Prefetch|*.pf", nullptr, {L"Windows\\Prefetch\\A.pf"}},
        {L"%WinDir%\\Logs|*.*|RECURSE", nullptr, {L"Windows\\Logs\\CBS\\CBS.log"}},
        {L"%LocalAppData%\\Microsoft\\Windows\\INetCache|*.*|REMOVESELF", nullptr,
         {L"Users\\me\\AppData\\Local\\Microsoft\\Windows\\INetCache"}},
        {L"%Temp%\\Setup|*.tmp", L"%LOCAL%\\Temp", {L"Users\\me\\AppData\\Local\\Temp\\Setup\\t.tmp"}},
    };
    for (const auto& line : lines) {
        SCOPED_TRACE(line.fileKey);
        machine.environment.erase(L"TEMP");
        if (line.temp) machine.environment[L"TEMP"] = Placed(line.temp);
        report.told.clear();
        EXPECT_EQ(Scan(line.fileKey), line.listed);
        // A line that finds nothing where something stands says why.
        EXPECT_EQ(report.told.empty(), !line.listed.empty()) << report.told;
    }
}

TEST_F(HostileRules, ExclusionsHoldInEverySpellingAndOneThatLeadsNowhereStopsItsEntry) {
    const std::wstring temp = m / L"Windows\\Temp";
    Seed(L"Windows\\Temp\\KeepingThisFolder\\kept.tmp");
    Seed(L"Windows\\Temp\\Other\\gone.tmp");
    wchar_t shortName[MAX_PATH] = {};
    ::GetShortPathNameW((temp + L"\\KeepingThisFolder").c_str(), shortName, MAX_PATH);
    std::wstring shortStep = std::wstring(shortName).substr(std::wstring(shortName).rfind(L'\\') + 1);
    ASSERT_NE(shortStep, L"KeepingThisFolder");  // the machine gives short names
    for (const std::wstring& exclude :
         {L"PATH|%WinDir%\\Temp\\" + shortStep, std::wstring(L"PATH|%WinDir%\\Temp\\KeepingThisFolder."),
          std::wstring(L"FILE|%WinDir%\\Temp\\KEEPINGTHISFOLDER..|*.tmp"), L"PATH|" + temp + L"\\Keeping*"}) {
        SCOPED_TRACE(exclude);
        RulesFile rules = ParseRules(L"[E]\nDefault=True\nFileKey1=%WinDir%\\Temp|*.tmp|RECURSE\nExcludeKey1=" + exclude + L"\n");
        CBriskoDoc doc(machine);
        RecordingSink sink;
        RunRulesScan(doc, rules, sink, &report);
        std::vector<std::wstring> found = sink.Paths();
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, (std::vector<std::wstring>{temp + L"\\Other\\gone.tmp", temp + L"\\t.tmp"}));
    }
    RulesFile nowhere =
        ParseRules(L"[E]\nDefault=True\nFileKey1=%WinDir%\\Temp|*.tmp|RECURSE\nExcludeKey1=PATH|%WinDir%\\Temp\\NUL\n");
    CBriskoDoc doc(machine);
    RecordingSink sink;
    RunRulesScan(doc, nowhere, sink, &report);
    EXPECT_TRUE(sink.items.empty());
    EXPECT_NE(report.told.find(L"NUL: an ExcludeKey folder that cannot be resolved"), std::wstring::npos)
        << report.told;
}

TEST_F(HostileRules, TmpIsCleanedOnlyInTheWindowsTempOrTheUsersOwnProfileAndElsewhereToldOnce) {
    const struct {
        const wchar_t* tmp;  // below the scratch machine
        bool cleaned;
    } cases[] = {
        {L"Windows\\Temp", true},
        {L"Users\\me\\AppData\\Local\\Temp", true},
        {L"Windows\\System32\\wbem", false},
        {L"Windows", false},
        {L"Windows\\Logs", false},
        {L"Program Files\\App", false},
        {L"Program Files\\Common Files\\Vendor", false},
        {L"ProgramData\\Vendor", false},
        {L"Users\\other\\AppData\\Local\\Temp", false},
        {L"Users\\Public\\Documents", false},
        {L"Users\\me", false},
        {L"Users\\me\\Temp", true},
        {L"Users\\me\\Favorites", false},
        {L"Users\\me\\Links", false},
        {L"Users\\me\\Documents", false},
        {L"Users\\me\\Documents\\My Games", false},
        {L"Users\\me\\AppData\\Roaming\\Microsoft\\Protect", false},
        {L"Users\\me\\AppData\\Local\\Packages\\App_1", false},
        {L"Users\\me\\AppData\\Local\\Wbem", false},  // a link to System32\wbem
    };
    for (const wchar_t* folder : {L"Windows\\System32\\wbem", L"Program Files\\Common Files\\Vendor", L"Users\\me\\Temp",
                                  L"Users\\me\\Links",
                                  L"Users\\other\\AppData\\Local\\Temp"})
        MakeFolders(m / folder);
    const bool linked = MakeLink(m / L"Users\\me\\AppData\\Local\\Wbem", m / L"Windows\\System32\\wbem", true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tmp);
        if (!linked && std::wstring(c.tmp).ends_with(L"Wbem")) continue;
        const std::wstring tmp = m / c.tmp;
        machine.environment[L"TMP"] = tmp;
        report.notices.clear();
        CBriskoDoc doc(machine);
        RecordingSink sink;
        RunStandardScan(doc, sink, &report);
        std::vector<std::wstring> found = sink.Paths();
        EXPECT_EQ(std::count(found.begin(), found.end(), tmp + L"\\"), c.cleaned ? 1 : 0);
        EXPECT_EQ(report.notices, c.cleaned ? std::vector<std::wstring>{}
                                            : std::vector<std::wstring>{L"TMP points to " + tmp + L": not cleaned"});
    }
    if (linked) RemoveLink(m / L"Users\\me\\AppData\\Local\\Wbem", true);
}

TEST_F(HostileRules, ADriveLetterOntoAFolderGetsNoDriveTargetsAndIsToldOnce) {
    // Wine makes a subst letter (DefineDosDevice) but opens nothing through
    // it, so the machine's seam stands in such a letter over Documents.
    for (const wchar_t* file : {L"Users\\me\\Documents\\notes.log", L"Users\\me\\Documents\\thesis.bak",
                                L"Users\\me\\Documents\\Found.000\\chapter.doc", L"Volume\\old.tmp"})
        Seed(file);
    machine.drives = {{L'E', {DRIVE_FIXED, L"NTFS", m / L"Users\\me\\Documents", false}},
                      {L'G', {DRIVE_FIXED, L"NTFS", m / L"Volume", true}}};
    CBriskoDoc doc(machine);
    RecordingSink sink;
    RunStandardScan(doc, sink, &report);
    for (const std::wstring& path : sink.Paths())
        EXPECT_EQ(path.find(m / L"Users\\me\\Documents"), std::wstring::npos) << path;
    std::vector<std::wstring> found = sink.Paths();
    EXPECT_EQ(std::count(found.begin(), found.end(), m / L"Volume\\old.tmp"), 1);
    EXPECT_EQ(report.notices,
              std::vector<std::wstring>{L"E: is not the root of a volume: its drive targets are not looked for"});
}

TEST(VolumeRoots, TheSystemDriveIsAVolumeRootAndASubstLetterIsNot) {
    ScratchFolder folder{L"subst"};
    wchar_t letter = 0;
    for (wchar_t c = L'Q'; c <= L'Y' && !letter; ++c)
        if (!(::GetLogicalDrives() & (1u << (c - L'A')))) letter = c;
    ASSERT_NE(letter, 0);
    const std::wstring device{letter, L':'};
    ASSERT_TRUE(::DefineDosDeviceW(0, device.c_str(), folder.Path().c_str()));
    EXPECT_FALSE(RealSystemInfo().IsVolumeRoot(device + L"\\"));
    ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, device.c_str(), nullptr);
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    EXPECT_TRUE(RealSystemInfo().IsVolumeRoot(std::wstring(windows).substr(0, 3)));
}

TEST(UserContent, TheMusicTargetListsItsFilesOneByOneAndNeverAFolderWithSongs) {
    wchar_t music[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, music, CSIDL_MYMUSIC, FALSE));
    const std::wstring folder = music;
    MakeFolders(folder + L"\\music.collection");
    for (const wchar_t* file : {L"music.collection\\song.mp3", L"music.m3u", L"Music.wav", L"song.mp3"})
        WriteFileBytes(folder + L"\\" + file, "x");
    ScratchFolder windows{L"music-windows"};
    FakeMachine machine;
    machine.windows = windows.Path();
    machine.folders = {{CSIDL_MYMUSIC, folder}};
    CBriskoDoc doc(machine);
    RecordingSink sink;
    CListingFilter listed(sink);
    RunStandardScan(doc, listed);
    std::vector<std::wstring> found = sink.Paths();
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::wstring>{folder + L"\\Music.wav", folder + L"\\music.m3u"}));
    RemoveTree(folder + L"\\music.collection");
    for (const wchar_t* file : {L"music.m3u", L"Music.wav", L"song.mp3"}) ::DeleteFileW((folder + L"\\" + file).c_str());
}
