// Rules applied to a fake machine in a scratch tree: what each flag,
// exclusion, detection and wildcard step finds, the rules refused on the
// machine, our own rules file over today's caches, and a clean of its
// matches with links and a held file inside.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>

#include "clean/CleanTestSupport.h"
#include "clean/DeleteItem.h"
#include "scan/Listing.h"
#include "scan/RulesScan.h"
#include "support/FakeMachine.h"
#include "support/TestSupport.h"
#include "win/Path.h"

using namespace testing_support;

namespace {

class RecordingReport : public IRuleReport {
public:
    void Refused(const RuleEntry&, const std::wstring& folder, const std::wstring& why) override {
        told += folder + L": " + why + L"\n";
    }
    std::wstring told;
};

class RulesMachine : public ::testing::Test {
protected:
    RulesMachine() {
        machine.windows = root / L"Windows";
        machine.majorVersion = 10;
        machine.folders = {{CSIDL_LOCAL_APPDATA, root / L"Local"},
                           {CSIDL_APPDATA, root / L"Roaming"},
                           {CSIDL_COMMON_APPDATA, root / L"ProgramData"},
                           {CSIDL_PROGRAM_FILES, root / L"Programs"},
                           {CSIDL_PROGRAM_FILESX86, root / L"Programs86"}};
        machine.environment = {{L"TEMP", root / L"Local\\Temp"}};
    }
    // Files (or folders, with a trailing backslash) below the scratch root.
    void Seed(std::initializer_list<const wchar_t*> entries) {
        for (std::wstring entry : entries) {
            std::wstring path = root / entry;
            bool folder = path.back() == L'\\';
            MakeFolders(folder ? path.substr(0, path.size() - 1) : ParentOf(path));
            if (!folder) WriteFileBytes(path, "junk");
        }
    }
    std::vector<std::wstring> Scan(const RulesFile& rules) {
        CBriskoDoc doc(machine);
        RecordingSink sink;
        CListingFilter listed(sink);
        RunRulesScan(doc, rules, listed, &report);
        std::vector<std::wstring> paths = sink.Paths();
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::vector<std::wstring> Below(std::initializer_list<const wchar_t*> relative) const {
        std::vector<std::wstring> paths;
        for (const wchar_t* path : relative) paths.push_back(root / path);
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    static RulesFile CurrentRules() { return ReadRulesFile(ProgramFolder() + L"\\rules\\current.ini"); }

    ScratchFolder root{L"rules"};
    FakeMachine machine;
    RecordingReport report;
};

}  // namespace

TEST_F(RulesMachine, FlagsExclusionsDetectionAndWildcardStepsChooseWhatIsFound) {
    Seed({L"Local\\App\\A\\Logs\\a.log", L"Local\\App\\A\\Logs\\a.txt", L"Local\\App\\B\\Logs\\b.log",
          L"Local\\App\\Deep\\x.tmp", L"Local\\App\\Deep\\sub\\y.tmp", L"Local\\App\\Deep\\z.log",
          L"Local\\App\\Whole\\in\\w.bin", L"Local\\App\\Kept\\README", L"Local\\App\\Kept\\keep.txt",
          L"Local\\App\\Kept\\Other\\more.dat", L"Local\\App\\Kept\\Sub\\s.dat", L"Roaming\\Other\\o.tmp",
          L"Programs\\Tool\\Logs\\a.log", L"Programs86\\Tool\\Logs\\b.log"});
    RulesFile rules = ParseRules(
        L"[Files]\nDefault=True\nDetectFile=%LocalAppData%\\Ap?\nFileKey1=%LocalAppData%\\App\\*\\Logs|*.log\n"
        L"FileKey2=%LocalAppData%\\App\\Deep|*.tmp|RECURSE\nFileKey3=%LocalAppData%\\App\\Whole|*.*|REMOVESELF\n"
        L"FileKey4=%ProgramFiles%\\Tool\\Logs|*.log\n"
        L"[Exclusions]\nDefault=true\nDetect=HKEY_CURRENT_USER\\Software\n"
        L"FileKey1=%LocalAppData%\\App\\Kept|*.*|RECURSE\n"
        L"ExcludeKey1=FILE|%LocalAppData%\\App\\Kept|keep.*\nExcludeKey2=PATH|%LocalAppData%\\App\\Kept\\Sub\\\n"
        L"[Not detected]\nDefault=True\nDetectFile=%LocalAppData%\\Missing\n"
        L"Detect=HKCU\\Software\\Brisko-no-such-key\nFileKey1=%AppData%\\Other|*.*\n"
        L"[Not this Windows]\nDefault=True\nDetectOS=|6.3\nFileKey1=%AppData%\\Other|*.*\n"
        L"[Off by default]\nDefault=False\nFileKey1=%AppData%\\Other|*.*\n"
        L"[Without Default]\nFileKey1=%AppData%\\Other|*.*\n");
    ASSERT_TRUE(rules.problems.empty()) << RuleProblemText(rules.problems[0]);
    EXPECT_EQ(Scan(rules),
              Below({L"Local\\App\\A\\Logs\\a.log", L"Local\\App\\B\\Logs\\b.log", L"Local\\App\\Deep\\x.tmp",
                     L"Local\\App\\Deep\\sub\\y.tmp", L"Local\\App\\Whole", L"Local\\App\\Kept\\README",
                     L"Local\\App\\Kept\\Other\\more.dat", L"Programs\\Tool\\Logs\\a.log",
                     L"Programs86\\Tool\\Logs\\b.log"}));
    EXPECT_EQ(report.told, L"");
}

TEST_F(RulesMachine, RulesThatLeadOutOfTheKnownFoldersOrThroughALinkAreRefusedAndNotWalked) {
    Seed({L"Local\\Cache\\c.tmp", L"Outside\\canary.tmp", L"Outside\\Cache\\canary.tmp"});
    ASSERT_TRUE(clean_test::MakeLink(root / L"Local\\Linked", root / L"Outside", true));
    // Links met inside a walked folder are neither listed nor entered.
    ASSERT_TRUE(clean_test::MakeLink(root / L"Local\\Cache\\inner", root / L"Outside", true));
    ASSERT_TRUE(clean_test::MakeLink(root / L"Local\\Cache\\link.tmp", root / L"Outside\\canary.tmp", false));
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    machine.windows = windows;  // the machine's own Windows folder, which is protected
    RulesFile rules =
        ParseRules(L"[E]\nDefault=True\nFileKey1=C:\\|*.tmp\nFileKey2=" + root.Path() +
                   L"\\Outside|*.tmp\nFileKey3=%WinDir%\\System32|*.tmp\n"
                   L"FileKey4=%LocalAppData%\\Linked\\Cache|*.tmp\nFileKey5=%LocalAppData%\\Linked|*.tmp\n"
                   L"FileKey6=%LocalAppData%\\*|*.tmp\nFileKey7=" +
                   root.Path() + L"\\Local\\Cache|*.tmp|RECURSE\n");
    EXPECT_EQ(Scan(rules), Below({L"Local\\Cache\\c.tmp"}));
    for (const wchar_t* told :
         {L"C:\\: leads outside every known folder", L"\\Outside: leads outside every known folder",
          L"System32: is a drive root or a protected folder", L"Linked\\Cache: is a link or lies behind one",
          L"Linked: is a link or lies behind one", L"Local\\*: a wildcard step directly inside"})
        EXPECT_NE(report.told.find(told), std::wstring::npos) << told << L" in\n" << report.told;
    clean_test::RemoveLink(root / L"Local\\Linked", true);
    clean_test::RemoveLink(root / L"Local\\Cache\\inner", true);
    clean_test::RemoveLink(root / L"Local\\Cache\\link.tmp", false);
}

TEST_F(RulesMachine, OurRulesFindTodaysCachesAndNothingBesideThem) {
    Seed({
        // Found: the caches of two Chromium browsers in two profiles, Firefox's, Windows' own.
        L"Local\\Google\\Chrome\\User Data\\Default\\Cache\\Cache_Data\\data_0",
        L"Local\\Google\\Chrome\\User Data\\Profile 1\\Code Cache\\js\\index",
        L"Local\\Google\\Chrome\\User Data\\Default\\GPUCache\\data_1",
        L"Local\\Google\\Chrome\\User Data\\ShaderCache\\data_0",
        L"Local\\Microsoft\\Edge\\User Data\\Default\\Cache\\Cache_Data\\f_000001",
        L"Local\\Mozilla\\Firefox\\Profiles\\ab12.default-release\\cache2\\entries\\0A1B",
        L"ProgramData\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x\\Report.wer",
        L"Local\\D3DSCache\\4c1f\\shader.idx",
        L"Windows\\ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\Windows\\DeliveryOptimization\\Cache\\"
        L"d0\\piece",
        L"Windows\\SoftwareDistribution\\Download\\a1\\update.cab",
        L"Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db",
        L"Local\\Temp\\setup.tmp",
        L"Windows\\Temp\\old\\x.log",
        L"Windows\\Logs\\CBS\\CBS.log",
        L"Local\\Packages\\App_8wek\\AC\\INetCache\\page.htm",
        // Left: what a user keeps, and entries off by default.
        L"Local\\Google\\Chrome\\User Data\\Default\\History",
        L"Local\\Google\\Chrome\\User Data\\Default\\Bookmarks",
        L"Local\\Google\\Chrome\\User Data\\Default\\Service Worker\\CacheStorage\\site\\x",
        L"Roaming\\Mozilla\\Firefox\\Profiles\\ab12.default-release\\places.sqlite",
        L"Local\\Microsoft\\Windows\\Explorer\\ExplorerStartupLog.etl",
        L"Local\\CrashDumps\\app.exe.1234.dmp",
        L"ProgramData\\Microsoft\\Windows\\WER\\ReportQueue\\AppCrash_y\\Report.wer",
        L"Windows\\Logs\\CBS\\notes.txt",
    });
    machine.folders[CSIDL_PROFILE] = root.Path();  // TEMP lies in the user's own profile
    RulesFile rules = CurrentRules();
    ASSERT_FALSE(rules.entries.empty());
    EXPECT_TRUE(rules.problems.empty()) << RuleProblemText(rules.problems[0]);
    EXPECT_EQ(Scan(rules), Below({
                               L"Local\\Google\\Chrome\\User Data\\Default\\Cache",
                               L"Local\\Google\\Chrome\\User Data\\Profile 1\\Code Cache",
                               L"Local\\Google\\Chrome\\User Data\\Default\\GPUCache",
                               L"Local\\Google\\Chrome\\User Data\\ShaderCache",
                               L"Local\\Microsoft\\Edge\\User Data\\Default\\Cache",
                               L"Local\\Mozilla\\Firefox\\Profiles\\ab12.default-release\\cache2",
                               L"ProgramData\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x\\Report.wer",
                               L"Local\\D3DSCache",
                               L"Windows\\ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\Windows\\Delivery"
                               L"Optimization\\Cache\\"
                               L"d0\\piece",
                               L"Windows\\SoftwareDistribution\\Download",
                               L"Local\\Microsoft\\Windows\\Explorer\\thumbcache_256.db",
                               L"Local\\Temp\\setup.tmp",
                               L"Windows\\Temp\\old\\x.log",
                               L"Windows\\Logs\\CBS\\CBS.log",
                               L"Local\\Packages\\App_8wek\\AC\\INetCache\\page.htm",
                           }));
    EXPECT_EQ(report.told, L"");
}

TEST_F(RulesMachine, ACleanOfOurRulesMatchesKeepsWhatLinksReachAndWhatIsInUse) {
    const std::wstring cache = root / L"Local\\Google\\Chrome\\User Data\\Default\\Cache";
    Seed({L"Local\\Google\\Chrome\\User Data\\Default\\Cache\\Cache_Data\\data_0", L"Local\\Temp\\junk.tmp",
          L"Local\\Temp\\held.tmp", L"Outside\\dir\\canary.txt", L"Outside\\file-canary.txt"});
    ASSERT_TRUE(clean_test::MakeLink(cache + L"\\Cache_Data\\dirlink", root / L"Outside\\dir", true));
    ASSERT_TRUE(clean_test::MakeLink(cache + L"\\filelink", root / L"Outside\\file-canary.txt", false));
    ASSERT_TRUE(clean_test::MakeLink(root / L"Local\\Temp\\templink", root / L"Outside\\dir", true));
    ChildProcess holder = HoldFileOpen(root / L"Local\\Temp\\held.tmp");
    machine.folders[CSIDL_PROFILE] = root.Path();  // TEMP lies in the user's own profile
    for (bool permanent : {true, false}) {
        for (const std::wstring& path : Scan(CurrentRules())) DeleteFoundItem(path, permanent);
        EXPECT_EQ(ReadFileBytes(root / L"Outside\\dir\\canary.txt"), "junk");
        EXPECT_EQ(ReadFileBytes(root / L"Outside\\file-canary.txt"), "junk");
        EXPECT_TRUE(Exists(cache + L"\\Cache_Data\\dirlink") && Exists(cache + L"\\filelink"));
        EXPECT_TRUE(Exists(root / L"Local\\Temp\\templink"));
        EXPECT_TRUE(Exists(root / L"Local\\Temp\\held.tmp"));
        EXPECT_FALSE(Exists(root / L"Local\\Temp\\junk.tmp"));
        EXPECT_FALSE(Exists(cache + L"\\Cache_Data\\data_0"));
    }
    holder.Kill();
    for (const std::wstring& link : {cache + L"\\Cache_Data\\dirlink", root / L"Local\\Temp\\templink"})
        clean_test::RemoveLink(link, true);
    clean_test::RemoveLink(cache + L"\\filelink", false);
}

TEST(RulePatterns, MatchAsThePlatformMatchesFileNames) {
    const struct {
        const wchar_t* pattern;
        const wchar_t* name;
        bool matches;
    } cases[] = {
        {L"*.log", L"A.LOG", true},
        {L"*.log", L"a.log.bak", false},
        {L"*.*", L"README", true},
        {L"*.*", L"a.b", true},
        {L"index.*", L"index", true},
        {L"index.*", L"index.dat", true},
        {L"index.*", L"indexes", false},
        // A pattern ending in a dot takes names without an extension only.
        {L"index.", L"index", true},
        {L"index.", L"INDEX", true},
        {L"index.", L"index.dat", false},
        {L"index.", L"indexes", false},
        {L"data*.", L"data", true},
        {L"data*.", L"data_1", true},
        {L"data*.", L"data_1.log", false},
        {L"data*.", L"olddata", false},
        {L"*.", L"LICENSE", true},
        {L"*.", L"license.txt", false},
        {L"f?le.", L"file", true},
        {L"f?le.", L"file.x", false},
        {L"a.b.", L"a.b", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RulePatternMatches(c.pattern, c.name), c.matches) << c.pattern << L" " << c.name;
}

TEST_F(RulesMachine, APatternEndingInADotFindsTheFilesWithoutAnExtension) {
    Seed({L"Local\\App\\index", L"Local\\App\\index.dat", L"Local\\App\\data1", L"Local\\App\\data1.log",
          L"Local\\App\\keep"});
    RulesFile rules = ParseRules(L"[E]\nDefault=True\nFileKey1=%LocalAppData%\\App|index.;data*.\n");
    ASSERT_TRUE(rules.problems.empty()) << RuleProblemText(rules.problems[0]);
    EXPECT_EQ(Scan(rules), Below({L"Local\\App\\index", L"Local\\App\\data1"}));
}

// %UserName% inside a folder stands for the user's name where that is one
// plain name of a folder; else the rule finds nothing, and an exclusion
// that cannot say what it keeps stops its entry.
TEST_F(RulesMachine, UserNameInsideAFolderIsTheUsersNameOrNothing) {
    Seed({L"Local\\App\\ann\\a.log", L"Local\\App\\bob\\b.log", L"Local\\App\\ann\\a.tmp",
          L"Local\\App\\ann\\keep.tmp", L"Local\\App\\bob\\b.tmp", L"Local\\App\\x.tmp"});
    const std::wstring text =
        L"[Own]\nDefault=True\nFileKey1=%LocalAppData%\\App\\%UserName%|*.log\n"
        L"[Everyone]\nDefault=True\nFileKey1=%LocalAppData%\\App|*.tmp|RECURSE\n"
        L"ExcludeKey1=FILE|%LocalAppData%\\App\\%username%|keep.tmp\n";
    const struct {
        std::optional<std::wstring> user;
        std::vector<std::wstring> found;
    } cases[] = {
        {L"ann", Below({L"Local\\App\\ann\\a.log", L"Local\\App\\ann\\a.tmp", L"Local\\App\\bob\\b.tmp",
                        L"Local\\App\\x.tmp"})},
        {std::nullopt, {}},
        {L"", {}},
        {L"..", {}},
        {L"ann\\..\\bob", {}},
        {L"*", {}},
    };
    for (const auto& c : cases) {
        if (c.user)
            machine.environment[L"USERNAME"] = *c.user;
        else
            machine.environment.erase(L"USERNAME");
        RulesFile rules = ParseRules(text);
        ASSERT_TRUE(rules.problems.empty()) << RuleProblemText(rules.problems[0]);
        EXPECT_EQ(Scan(rules), c.found) << c.user.value_or(L"(none)");
    }
}
