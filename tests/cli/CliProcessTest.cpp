// brisko-cli.exe as a process on files seeded into the prefix: what it
// prints, what it removes and keeps, and its exit status.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "cli/CliRun.h"
#include "clean/CleanTestSupport.h"
#include "policy/Policies.h"
#include "support/ScopedRegistry.h"
#include "support/TestSupport.h"
#include "win/Path.h"
#include "win/Registry.h"
#include "win/Text.h"

using namespace testing_support;
using clean_test::MakeLink;
using clean_test::RemoveLink;

namespace {

std::wstring WindowsFolder() {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return windows;
}

bool Holds(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

class CliProcess : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(seedTmp, "seed");
        WriteFileBytes(seedLog, "keep");
    }
    void TearDown() override {
        ::DeleteFileW(seedTmp.c_str());
        ::DeleteFileW(seedLog.c_str());
    }
    const std::wstring windows = WindowsFolder();
    const std::wstring temp = windows + L"\\Temp";
    const std::wstring seedTmp = windows + L"\\brisko-cli-seed.tmp";
    const std::wstring seedLog = windows + L"\\brisko-cli-seed.log";
    const std::wstring onlySeeds = L"--include brisko-cli-seed.*";
};

}  // namespace

TEST_F(CliProcess, ScanListsTheSeedsAsTextAndAsWellFormedJsonLines) {
    CliRun text = RunCli(L"scan");
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_TRUE(Holds(text.out, seedTmp + L"  (4 bytes)")) << text.out;
    ASSERT_FALSE(Lines(text.out).empty());
    EXPECT_TRUE(Holds(Lines(text.out).back(), L" items, ")) << text.out;

    CliRun json = RunCli(L"scan --mode standard --json");
    EXPECT_EQ(json.exitCode, 0) << json.err;
    std::vector<std::wstring> lines = Lines(json.out);
    ASSERT_FALSE(lines.empty());
    for (const std::wstring& line : lines) EXPECT_TRUE(JsonReader(line).WholeIsOneObject()) << line;
    std::wstring escaped;
    for (wchar_t c : seedTmp) escaped += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
    EXPECT_TRUE(Holds(json.out, L"{\"path\":\"" + escaped + L"\",\"kind\":\"file\",\"size\":4,\"modified\":\"")) << json.out;
    EXPECT_TRUE(Holds(json.out, L"\"mode\":\"standard\"}"));
}

TEST_F(CliProcess, ATmpThatPointsIntoTheSystemIsToldOnceOnTheErrorStreamAndNotListed) {
    const std::wstring wbem = windows + L"\\System32\\wbem";
    wchar_t saved[MAX_PATH] = {};
    const bool hadTmp = ::GetEnvironmentVariableW(L"TMP", saved, MAX_PATH) != 0;
    ::SetEnvironmentVariableW(L"TMP", wbem.c_str());  // brisko-cli inherits it
    CliRun run = RunCli(L"scan --mode standard");
    ::SetEnvironmentVariableW(L"TMP", hadTmp ? saved : nullptr);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const std::wstring told = L"brisko-cli: TMP points to " + wbem + L": not cleaned";
    const size_t first = run.err.find(told);
    EXPECT_NE(first, std::wstring::npos) << run.err;
    EXPECT_EQ(run.err.find(told, first + 1), std::wstring::npos) << run.err;
    EXPECT_FALSE(Holds(run.out, wbem)) << run.out;
}

TEST_F(CliProcess, ADryRunAndABadCommandLineTouchNothing) {
    CliRun dry = RunCli(L"clean --mode standard --permanent --dry-run " + onlySeeds);
    EXPECT_EQ(dry.exitCode, 0) << dry.err;
    EXPECT_TRUE(Holds(dry.out, L"would remove  " + seedTmp));
    EXPECT_TRUE(Holds(dry.out, L"would remove  " + seedLog));
    EXPECT_EQ(Lines(dry.out).size(), 2u) << dry.out;
    for (const wchar_t* bad : {L"clean --mode standard --permanent --bogus", L"clean --mode everything --permanent",
                               L"clean --mode standard", L"erase"}) {
        CliRun run = RunCli(std::wstring(bad) + L" " + onlySeeds);
        EXPECT_EQ(run.exitCode, 2) << bad;
        EXPECT_TRUE(Holds(run.err, L"brisko-cli: ")) << bad;
    }
    EXPECT_TRUE(Exists(seedTmp));
    EXPECT_TRUE(Exists(seedLog));
    CliRun version = RunCli(L"--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, L"brisko-cli 3.69 (file version 3.6.9.0)\n");
    EXPECT_EQ(RunCli(L"--help").out.rfind(L"brisko-cli 3.69 (file version 3.6.9.0): ", 0), 0u);
}

TEST_F(CliProcess, IncludeAndExcludeChooseWhatACleanRemoves) {
    CliRun run = RunCli(L"clean --mode standard --recycle " + onlySeeds + L" --exclude *.log");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, L"removed  " + seedTmp + L"\n");
    EXPECT_FALSE(Exists(seedTmp));
    EXPECT_TRUE(Exists(seedLog));
}

TEST_F(CliProcess, TheWindowsTempIsEmptiedAndKeptWithItsLinkAndWhatInUseIsLeft) {
    ScratchFolder outside{L"cli-canary"};
    MakeFolders(outside / L"dir");
    WriteFileBytes(outside / L"dir\\canary.txt", "canary");
    ASSERT_TRUE(MakeLink(temp + L"\\brisko-cli-link", outside / L"dir", true));
    for (bool permanent : {true, false}) {
        SCOPED_TRACE(permanent ? "permanent" : "Recycle Bin");
        WriteFileBytes(temp + L"\\junk.tmp", "junk");
        WriteFileBytes(temp + L"\\held.tmp", "held");
        ChildProcess holder = HoldFileOpen(temp + L"\\held.tmp");
        CliRun run = RunCli(std::wstring(L"clean --mode standard --json ") +
                            (permanent ? L"--permanent" : L"--recycle") + L" --include " + temp);
        holder.Kill();
        holder.Wait(5000);
        EXPECT_EQ(run.exitCode, 1) << run.out << run.err;  // the held file stayed
        ASSERT_EQ(Lines(run.out).size(), 1u) << run.out;
        EXPECT_TRUE(JsonReader(run.out).WholeIsOneObject()) << run.out;
        EXPECT_TRUE(Holds(run.out, L"\"action\":\"partly\",\"removed_files\":")) << run.out;
        EXPECT_TRUE(Holds(run.out, L"held.tmp\",\"reason\":\"in use\"")) << run.out;
        EXPECT_EQ(run.out.find(L"held.tmp"), run.out.rfind(L"held.tmp")) << "told once: " << run.out;
        EXPECT_TRUE(Holds(run.out, L"brisko-cli-link\",\"reason\":\"a link")) << run.out;
        EXPECT_TRUE(Exists(temp));
        EXPECT_FALSE(Exists(temp + L"\\junk.tmp"));
        EXPECT_TRUE(Exists(temp + L"\\brisko-cli-link"));
        EXPECT_EQ(ReadFileBytes(outside / L"dir\\canary.txt"), "canary");
        ::DeleteFileW((temp + L"\\held.tmp").c_str());
    }
    RemoveLink(temp + L"\\brisko-cli-link", true);
}

TEST_F(CliProcess, AFolderThatKeepsOneHeldFileIsPartlyRemovedAndItsContentsCountInTheBytes) {
    const std::wstring folder = windows + L"\\Applog";
    MakeFolders(folder + L"\\sub");
    for (int i = 0; i < 20; ++i) WriteFileBytes(folder + L"\\sub\\" + std::to_wstring(i) + L".log", std::string(1024, 'x'));
    WriteFileBytes(folder + L"\\held.log", "held");
    ChildProcess holder = HoldFileOpen(folder + L"\\held.log");
    CliRun run = RunCli(L"clean --mode standard --permanent --include " + folder + L" --include brisko-cli-seed.tmp");
    holder.Kill();
    holder.Wait(5000);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, L"partly   " + folder + L"  (20 of 21 files removed)\n    kept " + folder +
                           L"\\held.log: in use\nremoved  " + seedTmp + L"\n");
    EXPECT_TRUE(Holds(run.err, L"Removed 1 item (20.0 KB); 1 partly removed: 20 of 21 files\n")) << run.err;
    RemoveTree(folder);
}

TEST_F(CliProcess, AScanAndADryRunLeaveEveryAttributeAndTimeAndListReadOnlyFiles) {
    const FILETIME old{0x2A3B0000, 0x01C0B000};  // a time in 2000, unlike any the test could make
    const DWORD attributes[] = {FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_READONLY};
    const std::wstring seeds[] = {seedTmp, seedLog};
    std::vector<WIN32_FILE_ATTRIBUTE_DATA> before;
    for (size_t i = 0; i < 2; ++i) {
        HANDLE file = ::CreateFileW(seeds[i].c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_TRUE(::SetFileTime(file, &old, &old, &old));
        ::CloseHandle(file);
        ASSERT_TRUE(::SetFileAttributesW(seeds[i].c_str(), attributes[i]));
        before.emplace_back();
        ::GetFileAttributesExW(seeds[i].c_str(), GetFileExInfoStandard, &before.back());
    }
    CliRun scan = RunCli(L"scan");
    CliRun dry = RunCli(L"clean --mode standard --permanent --dry-run " + onlySeeds);
    EXPECT_TRUE(Holds(scan.out, seedTmp + L"  (4 bytes)")) << scan.out;
    EXPECT_TRUE(Holds(dry.out, L"would remove  " + seedLog)) << dry.out;
    for (size_t i = 0; i < 2; ++i) {
        WIN32_FILE_ATTRIBUTE_DATA after{};
        ::GetFileAttributesExW(seeds[i].c_str(), GetFileExInfoStandard, &after);
        EXPECT_EQ(after.dwFileAttributes, before[i].dwFileAttributes);
        EXPECT_EQ(::CompareFileTime(&after.ftCreationTime, &before[i].ftCreationTime), 0);
        EXPECT_EQ(::CompareFileTime(&after.ftLastAccessTime, &before[i].ftLastAccessTime), 0);
        EXPECT_EQ(::CompareFileTime(&after.ftLastWriteTime, &before[i].ftLastWriteTime), 0);
        ::SetFileAttributesW(seeds[i].c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(CliProcess, AnAccessProgramPlantedBesideTheProgramNeverRuns) {
    // The Standard scan grants access to each NTFS drive's System Volume
    // Information through the system's icacls (cacls before Vista).
    const std::wstring planted[] = {ProgramFolder() + L"\\icacls.exe", ProgramFolder() + L"\\cacls.exe"};
    for (const std::wstring& path : planted) {
        ASSERT_TRUE(::CopyFileW(SiblingProgram(L"planted_tool.exe").c_str(), path.c_str(), FALSE));
        ::DeleteFileW((path + L".ran").c_str());
    }
    CliRun scan = RunCli(L"scan --quiet");
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    ::Sleep(3000);  // the access command is started without waiting for it
    for (const std::wstring& path : planted) EXPECT_FALSE(Exists(path + L".ran")) << win::ToNarrow(path);
    // The planted program does leave its mark when it runs.
    ChildProcess direct;
    ASSERT_TRUE(direct.Start(planted[0], L""));
    EXPECT_EQ(direct.Wait(20000), 0);
    EXPECT_TRUE(Exists(planted[0] + L".ran"));
    for (const std::wstring& path : planted) {
        ::DeleteFileW(path.c_str());
        ::DeleteFileW((path + L".ran").c_str());
    }
}

TEST(CliRules, OurRulesFileAddsTodaysCachesAndWhatARulesFileLeavesOutIsTold) {
    wchar_t local[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, local, CSIDL_LOCAL_APPDATA, FALSE));
    const std::wstring browser = std::wstring(local) + L"\\Google";
    const std::wstring cache = browser + L"\\Chrome\\User Data\\Default\\Cache";
    MakeFolders(cache + L"\\Cache_Data");
    WriteFileBytes(cache + L"\\Cache_Data\\data_0", std::string(5000, 'x'));
    const std::wstring rules = L"\"" + ProgramFolder() + L"\\rules\\current.ini\"";

    EXPECT_FALSE(Holds(RunCli(L"scan").out, cache));
    CliRun scan = RunCli(L"scan --rules " + rules);
    EXPECT_EQ(scan.exitCode, 0) << scan.err;
    EXPECT_TRUE(Holds(scan.out, cache + L"  (folder)  [Google Chrome Cache]\n")) << scan.out;
    CliRun listed = RunCli(L"rules " + rules);
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_TRUE(Holds(listed.out, L"Google Chrome Cache [Google Chrome] (on): 1 item, 4.9 KB (5,000 bytes)\n")) << listed.out;
    CliRun json = RunCli(L"rules " + rules + L" --json");
    for (const std::wstring& line : Lines(json.out)) EXPECT_TRUE(JsonReader(line).WholeIsOneObject()) << line;
    EXPECT_TRUE(Holds(json.out, L"{\"entry\":\"Google Chrome Cache\",\"group\":\"Google Chrome\",\"on\":true,\"default\":true,"
                                L"\"items\":1,\"bytes\":5000}\n"))
        << json.out;
    CliRun dry = RunCli(L"clean --mode standard --permanent --dry-run --rules " + rules + L" --include *\\Cache");
    EXPECT_EQ(dry.out, L"would remove  " + cache + L"  (folder of 2 items, 4.9 KB)  [Google Chrome Cache]\n") << dry.err;
    EXPECT_TRUE(Holds(dry.err, L"dry run, nothing removed: 3 items, 4.9 KB (5,000 bytes)")) << dry.err;
    CliRun dryJson = RunCli(L"clean --mode standard --permanent --dry-run --json --rules " + rules + L" --include *\\Cache");
    EXPECT_TRUE(Holds(dryJson.out, L"\"action\":\"would-remove\",\"contents\":{\"items\":2,\"bytes\":5000}}")) << dryJson.out;

    ScratchFolder folder{L"cli-rules"};
    WriteFileBytes(folder / L"odd.ini", "[Odd *]\r\nFileKey1=C:\\Elsewhere|*.*\r\nFileKey2=%Temp%\\..\\x|*.*\r\n");
    CliRun odd = RunCli(L"scan --rules \"" + folder / L"odd.ini\" --entry Odd");
    EXPECT_EQ(odd.exitCode, 0) << odd.err;
    EXPECT_TRUE(Holds(odd.err, L"rules: left out: line 3: FileKey: a '.' or '..' step")) << odd.err;
    EXPECT_TRUE(Holds(odd.err, L"rules: refused: [Odd] C:\\Elsewhere leads outside every known folder")) << odd.err;
    CliRun missing = RunCli(L"rules \"" + folder / L"missing.ini\"");
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(Holds(missing.err, L"cannot read")) << missing.err;
    // A device or a folder is no rules file, not an empty one.
    for (const std::wstring& notAFile : {std::wstring(L"NUL"), std::wstring(L"C:\\x\\con.ini"), folder.Path()}) {
        CliRun run = RunCli(L"scan --rules \"" + notAFile + L"\"");
        EXPECT_EQ(run.exitCode, 2) << notAFile;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    RemoveTree(browser);
}

// A file in the community's form says no Default: nothing of it is found
// until its entries are chosen, and then only those.
TEST(CliRules, EntriesAreOffUntilChosenByNameOrAllAtOnce) {
    wchar_t local[MAX_PATH] = {};
    ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, local, CSIDL_LOCAL_APPDATA, FALSE));
    const std::wstring app = std::wstring(local) + L"\\BriskoEntries";
    const std::wstring logins = app + L"\\Profile\\Login Data", cache = app + L"\\Cache\\c.bin",
                       logs = app + L"\\Logs\\l.txt", crash = app + L"\\Crash\\d.report";
    for (const std::wstring& path : {logins, cache, logs, crash}) {
        MakeFolders(ParentOf(path));
        WriteFileBytes(path, "data");
    }
    ScratchFolder folder{L"cli-entries"};
    const std::wstring file = L"\"" + folder / L"community.ini\"";
    WriteFileBytes(folder / L"community.ini",
                   "[App Passwords *]\r\nFileKey1=%LocalAppData%\\BriskoEntries\\Profile|Login Data\r\n"
                   "[App Cache *]\r\nFileKey1=%LocalAppData%\\BriskoEntries\\Cache|*.bin\r\n"
                   "[App Logs *]\r\nDefault=True\r\nFileKey1=%LocalAppData%\\BriskoEntries\\Logs|*.txt\r\n"
                   "[App Crashes *]\r\nDefault=False\r\nFileKey1=%LocalAppData%\\BriskoEntries\\Crash|*.report\r\n");
    WriteFileBytes(folder / L"chosen.txt", "; what the weekly task cleans\r\nApp Cache *\r\n\r\n  app crashes  \r\n");
    WriteFileBytes(folder / L"none.txt", "# nothing chosen\n");
    const std::wstring chosen = L" --entries-from \"" + folder / L"chosen.txt\"";
    const struct {
        std::wstring choice;
        std::vector<std::wstring> found;
    } cases[] = {
        {L"", {logs}},
        {L" --entry \"App Cache\"", {cache}},
        {L" --entry \"app cache\" --entry \"App Crashes\"", {cache, crash}},
        {L" --all-entries", {logins, cache, logs, crash}},
        {chosen, {cache, crash}},
        {chosen + L" --entry \"App Passwords\"", {logins, cache, crash}},
        {L" --entries-from \"" + folder / L"none.txt\"", {}},
    };
    for (const auto& c : cases) {
        CliRun scan = RunCli(L"scan --rules " + file + c.choice);
        EXPECT_EQ(scan.exitCode, 0) << c.choice << scan.err;
        for (const std::wstring& path : {logins, cache, logs, crash}) {
            bool expected = std::find(c.found.begin(), c.found.end(), path) != c.found.end();
            EXPECT_EQ(Holds(scan.out, path), expected) << c.choice << L": " << path;
        }
        size_t told = 0;
        for (const std::wstring& line : Lines(scan.err)) told += Holds(line, L"--all-entries");
        EXPECT_EQ(told, c.choice == L" --all-entries" ? 1u : 0u) << scan.err;
    }
    CliRun listed = RunCli(L"rules " + file + L" --entry \"App Passwords\"");
    EXPECT_EQ(listed.exitCode, 0) << listed.err;
    for (const wchar_t* line : {L"App Passwords (on): 1 item", L"App Cache (off): 1 item", L"App Logs (off): 1 item",
                                L"App Crashes (off): 1 item", L"4 of 4 entries apply here; the 1 on would free"})
        EXPECT_TRUE(Holds(listed.out, line)) << line << L" in\n" << listed.out;
    EXPECT_TRUE(Holds(RunCli(L"rules " + file).out, L"App Logs (on): 1 item")) << file;

    // A name the file does not hold is an error, and nothing goes.
    CliRun unknown = RunCli(L"clean --mode standard --permanent --rules " + file +
                            L" --entry \"App Cache *\" --entry \"App Caches\"");
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(Holds(unknown.err, L"entry \"App Caches\": ")) << unknown.err;
    EXPECT_TRUE(Holds(unknown.err, L"holds no entry of that name")) << unknown.err;
    EXPECT_TRUE(unknown.out.empty()) << unknown.out;
    CliRun noList = RunCli(L"scan --rules " + file + L" --entries-from \"" + folder / L"missing.txt\"");
    EXPECT_EQ(noList.exitCode, 2);
    EXPECT_TRUE(Holds(noList.err, L"--entries-from: cannot read ")) << noList.err;
    for (const std::wstring& path : {logins, cache, logs, crash}) EXPECT_TRUE(Exists(path)) << path;

    // Each item tells the entry that found it, in the listing and in JSON.
    const std::pair<std::wstring, std::wstring> foundBy[] = {
        {logins, L"App Passwords"}, {cache, L"App Cache"}, {logs, L"App Logs"}, {crash, L"App Crashes"}};
    CliRun text = RunCli(L"scan --rules " + file + L" --all-entries");
    CliRun json = RunCli(L"scan --json --rules " + file + L" --all-entries");
    auto escaped = [](const std::wstring& path) {
        std::wstring json;
        for (wchar_t c : path) json += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
        return json;
    };
    auto lineOf = [](const std::wstring& out, const std::wstring& path) {
        for (const std::wstring& line : Lines(out))
            if (Holds(line, path)) return line;
        return std::wstring();
    };
    for (const auto& [path, entry] : foundBy) {
        EXPECT_TRUE(Holds(lineOf(text.out, path), L")  [" + entry + L"]")) << path << text.out;
        EXPECT_TRUE(Holds(lineOf(json.out, escaped(path)), L",\"entry\":\"" + entry + L"\"")) << entry << json.out;
    }
    RemoveTree(app);
}

// A RegKey line's key is a row like a file: listed, kept by a Recycle Bin
// clean (which takes no key) and removed by a permanent one; a line that
// reaches a vendor's own key whole is told and touches nothing.
TEST(CliRules, ARegistryKeyIsListedKeptByTheRecycleBinAndRemovedForGood) {
    const std::wstring vendor = L"Software\\BriskoCliKeys";
    ASSERT_TRUE(win::RegistryKey::Create(HKEY_CURRENT_USER, vendor + L"\\App\\Sub").WriteText(L"v", L"x"));
    ScratchFolder folder{L"cli-keys"};
    WriteFileBytes(folder / L"keys.ini", "[App Keys *]\r\nRegKey1=HKCU\\Software\\BriskoCliKeys\\App\\Sub\r\n"
                                         "RegKey2=HKCU\\Software\\BriskoCliKeys\r\n");
    const std::wstring rules = L" --rules \"" + folder / L"keys.ini\" --all-entries";
    const std::wstring row = L"HKEY_CURRENT_USER\\" + vendor + L"\\App\\Sub";

    CliRun scan = RunCli(L"scan" + rules);
    EXPECT_TRUE(Holds(scan.out, row + L"  (0 bytes)  [App Keys]")) << scan.out;
    EXPECT_TRUE(Holds(scan.err, L"RegKey: a vendor's root key, whole")) << scan.err;
    CliRun recycle = RunCli(L"clean --mode standard --recycle" + rules);
    EXPECT_EQ(recycle.exitCode, 1) << recycle.out;
    EXPECT_TRUE(win::RegistryKeyExists(HKEY_CURRENT_USER, vendor + L"\\App\\Sub"));
    CliRun permanent = RunCli(L"clean --mode standard --permanent" + rules);
    EXPECT_EQ(permanent.exitCode, 0) << permanent.out << permanent.err;
    EXPECT_TRUE(Holds(permanent.out, row)) << permanent.out;
    EXPECT_FALSE(win::RegistryKeyExists(HKEY_CURRENT_USER, vendor + L"\\App\\Sub"));
    EXPECT_TRUE(win::RegistryKeyExists(HKEY_CURRENT_USER, vendor + L"\\App"));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, vendor.c_str());
}

// A rules file a policy names adds nothing when it cannot be read: scans
// and cleans go on, say so once on the error stream, and a clean's report
// names it. Only a --rules file stops a run (above).
TEST(CliRules, APolicysUnreadableRulesFileIsToldOnceAndTheRunGoesOn) {
    ScratchFolder folder{L"cli-policy-rules"};
    const std::wstring missing = folder / L"missing.ini", report = folder / L"report.json";
    ScopedRegistryValue policy(HKEY_CURRENT_USER, kPolicyKey, L"RulesFile", missing);
    const std::wstring runs[] = {
        L"scan",
        L"scan --quiet --json",
        L"clean --mode standard --permanent --dry-run --report \"" + report + L"\"",
        L"clean --mode standard --permanent --include \"*\\no such item\" --report \"" + report + L"\"",
    };
    for (const std::wstring& arguments : runs) {
        ::DeleteFileW(report.c_str());
        CliRun run = RunCli(arguments);
        EXPECT_TRUE(run.exitCode == 0 || run.exitCode == 1) << win::ToNarrow(arguments) << " " << run.exitCode;
        size_t told = 0;
        for (size_t at = run.err.find(missing); at != std::wstring::npos; at = run.err.find(missing, at + 1)) ++told;
        EXPECT_EQ(told, 1u) << win::ToNarrow(arguments) << "\n" << win::ToNarrow(run.err);
        if (!Holds(arguments, L"--report")) continue;
        const std::wstring json = win::ToWide(ReadFileBytes(report));
        EXPECT_TRUE(Holds(json, L"\"rulesFile\":null,\"unreadableRulesFile\":\"")) << win::ToNarrow(json);
        EXPECT_TRUE(Holds(json, L"missing.ini\",")) << win::ToNarrow(json);
    }
    CliRun given = RunCli(L"scan --rules \"" + folder / L"also-missing.ini\"");  // gives way to the policy
    EXPECT_TRUE(given.exitCode == 0 || given.exitCode == 1) << given.exitCode;
}
