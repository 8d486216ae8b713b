// Rules files as text: what an entry's keys become, the encodings a file
// comes in, and every kind of line that is left out, with its reason.
#include <gtest/gtest.h>

#include "scan/RulesFile.h"
#include "support/TestSupport.h"
#include "win/Text.h"

using namespace testing_support;

namespace {
const wchar_t kEntry[] =
    L"; a comment\r\n"
    L"[Browser Cache *]\r\n"
    L"LangSecRef=3029\r\n"
    L"Detect=HKCU\\Software\\Browser\r\n"
    L"DetectFile=%LocalAppData%\\Browser\r\n"
    L"DetectOS=6.2|\r\n"
    L"Default=False\r\n"
    L"Warning=ignored, like any key this program has no use for\r\n"
    L"FileKey1=%LocalAppData%\\Browser\\User Data\\*\\Cache|*.*|REMOVESELF\r\n"
    L"FileKey2=C:\\Data\\Logs\\|*.log;*.txt|RECURSE\r\n"
    L"ExcludeKey1=FILE|%LocalAppData%\\Browser\\|keep.txt;*.cfg\r\n"
    L"ExcludeKey2=PATH|%AppData%\\Browser\\Keep\\\r\n"
    L"RegKey1=HKCU\\Software\\Browser\\History\n"
    L"[Second]\n"
    L"Section=Mine\n"
    L"DetectOS=|6.1\n";
}  // namespace

TEST(RulesFile, AnEntryReadsWholeInEveryEncoding) {
    std::wstring text = kEntry;
    std::string utf8 = win::ToNarrow(text, CP_UTF8);
    std::string utf16(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    std::string utf16be;
    for (size_t i = 0; i + 1 < utf16.size(); i += 2) utf16be += std::string{utf16[i + 1], utf16[i]};
    for (const std::string& bytes : {utf8, "\xEF\xBB\xBF" + utf8, "\xFF\xFE" + utf16, "\xFE\xFF" + utf16be}) {
        RulesFile rules = ParseRules(DecodeRulesBytes(bytes));
        ASSERT_EQ(rules.entries.size(), 2u);
        const RuleEntry& entry = rules.entries[0];
        EXPECT_EQ(entry.name, L"Browser Cache");
        EXPECT_EQ(entry.group, L"Google Chrome");
        EXPECT_EQ(entry.line, 2);
        EXPECT_FALSE(entry.byDefault);
        EXPECT_EQ(entry.detectKeys, std::vector<std::wstring>{L"HKCU\\Software\\Browser"});
        EXPECT_EQ(entry.detectFiles, std::vector<std::wstring>{L"%LocalAppData%\\Browser"});
        EXPECT_TRUE(entry.hasOsRange);
        EXPECT_EQ(entry.osLow, 0x0602u);
        EXPECT_EQ(entry.osHigh, 0xFFFFu);
        ASSERT_EQ(entry.files.size(), 2u);
        EXPECT_EQ(entry.files[0].folder, L"%LocalAppData%\\Browser\\User Data\\*\\Cache");
        EXPECT_TRUE(entry.files[0].removeSelf && !entry.files[0].recurse);
        EXPECT_EQ(entry.files[1].folder, L"C:\\Data\\Logs");
        EXPECT_EQ(entry.files[1].patterns, (std::vector<std::wstring>{L"*.log", L"*.txt"}));
        EXPECT_TRUE(entry.files[1].recurse && !entry.files[1].removeSelf);
        ASSERT_EQ(entry.excludes.size(), 2u);
        EXPECT_FALSE(entry.excludes[0].wholeTree);
        EXPECT_EQ(entry.excludes[0].patterns, (std::vector<std::wstring>{L"keep.txt", L"*.cfg"}));
        EXPECT_TRUE(entry.excludes[1].wholeTree && entry.excludes[1].patterns.empty());
        EXPECT_EQ(entry.excludes[1].folder, L"%AppData%\\Browser\\Keep");
        ASSERT_EQ(entry.registryKeys.size(), 1u);
        EXPECT_EQ(RegistryRowText(entry.registryKeys[0]), L"HKEY_CURRENT_USER\\Software\\Browser\\History");
        EXPECT_EQ(rules.entries[1].group, L"Mine");
        EXPECT_EQ(rules.entries[1].osHigh, 0x0601u);
        EXPECT_TRUE(rules.problems.empty()) << RuleProblemText(rules.problems[0]);
    }
}

TEST(RulesFile, WhatIsLeftOutIsToldWithItsLineAndReason) {
    const std::string section = "[E]\r\n";
    std::string binary;
    for (int i = 0; i < (1 << 20); ++i) binary += static_cast<char>(i * 7 % 256);
    const std::string longLine = section + "FileKey1=%Temp%\\a|" + std::string(5000, 'x') + "\r\n";
    const struct {
        std::string bytes;
        const wchar_t* says;
        size_t files;  // the FileKeys kept
    } cases[] = {
        {"FileKey1=%Temp%\\a|*.*\r\n", L"line 1: a key outside any [section]", 0},
        {section + "FileKey1=%LocalAppData%\\..\\..|*.*\r\n", L"line 2: FileKey: a '.' or '..' step", 0},
        {section + "FileKey1=%WinDir%\\a\\.\\b|*.*\r\n", L"a '.' or '..' step", 0},
        {section + "FileKey1=%UserProfile%|*.*|RECURSE\r\n", L"a folder of only a variable", 0},
        {section + "FileKey1=%WinDir%\\\\|*.*\r\n", L"a folder of only a variable", 0},
        {section + "FileKey1=%Nowhere%\\a|*.*\r\n", L"unknown variable %Nowhere%", 0},
        {section + "FileKey1=%LocalAppData%\\a\\%Nobody%\\b|*.*\r\n", L"unknown variable %Nobody%", 0},
        {section + "FileKey1=%LocalAppData%\\a\\x%UserName%\\%Tmp%|*.*\r\n", L"unknown variable %Tmp%", 0},
        {section + "FileKey1=%LocalAppData%\\a\\%AppData%|*.*\r\n", L"may stand only at the start of a folder", 0},
        {section + "FileKey1=%LocalAppData%\\a\\%UserName|*.*\r\n", L"line 2: FileKey: a '%' without its closing", 0},
        {section + "DetectFile=C:\\Users\\%User%\r\n", L"DetectFile: unknown variable %User%", 0},
        {section + "FileKey1=%LocalAppData%\\%UserName%\\a|*.*\r\nFileKey2=%Temp%\\a<b|*.*\r\n",
         L"line 3: FileKey: a step holds one of <", 1},
        {section + "FileKey1=relative\\a|*.*\r\n", L"neither a %Variable% nor a full path", 0},
        {section + "FileKey1=%Temp%\\a|..\\*.*\r\n", L"a file pattern may not name a folder", 0},
        {section + "FileKey1=%Temp%\\a|*.*|RECURSE|WIPEALL\r\n", L"unknown flag \"WIPEALL\"", 0},
        {section + "FileKey1=%Temp%\\a\r\n", L"FileKey: no file pattern", 0},
        {section + "ExcludeKey1=FILE|%Temp%\\a\r\n", L"FILE| needs a file pattern", 0},
        {section + "DetectOS=ten\r\n", L"DetectOS: not a version range", 0},
        {section + "Default=Maybe\r\n", L"neither True nor False", 0},
        {"[unclosed\r\n", L"without its closing ']'", 0},
        {longLine + "FileKey2=%Temp%\\b|*.*\r\n", L"line 2: longer than 4096 characters", 1},
        {section + "Fi\x01le\x02Key1=%Temp%\\a|*.*\r\nFileKey2=%Temp%\\b|*.*\r\n", L"line 2: holds control characters",
         1},
        {section + binary, L"holds control characters", 0},
        {std::string(10 << 20, 'a'), L"is larger than 8 MB", 0},
    };
    ScratchFolder folder{L"rules-parse"};
    for (const auto& c : cases) {
        std::wstring path = folder / L"r.ini";
        WriteFileBytes(path, c.bytes);
        RulesFile rules = ReadRulesFile(path);
        std::wstring told;
        for (const RuleProblem& problem : rules.problems) told += RuleProblemText(problem) + L"\n";
        EXPECT_NE(told.find(c.says), std::wstring::npos) << told;
        size_t files = 0;
        for (const RuleEntry& entry : rules.entries) files += entry.files.size();
        EXPECT_EQ(files, c.files) << told;
    }
}

TEST(RulesFile, AnEntryIsOffUnlessItsDefaultIsTrue) {
    const struct {
        const wchar_t* lines;
        bool on;
        bool told;  // "neither True nor False"
    } cases[] = {
        {L"", false, false},
        {L"Default=True\n", true, false},
        {L"Default=true\n", true, false},
        {L"Default =  TRUE \n", true, false},
        {L"Default=False\n", false, false},
        {L"Default=Maybe\n", false, true},
        {L"Default=\n", false, true},
        {L"Default=1\n", false, true},
        {L"Default=Yes\n", false, true},
        {L"Default=True\nDefault=Maybe\n", false, true},
    };
    for (const auto& c : cases) {
        RulesFile rules = ParseRules(std::wstring(L"[E *]\n") + c.lines + L"FileKey1=%Temp%\\a|*.*\n");
        ASSERT_EQ(rules.entries.size(), 1u) << c.lines;
        EXPECT_EQ(rules.entries[0].on, c.on) << c.lines;
        EXPECT_EQ(rules.entries[0].byDefault, c.on) << c.lines;
        bool told = !rules.problems.empty() && rules.problems[0].text.find(L"neither True nor False") != std::wstring::npos;
        EXPECT_EQ(told, c.told) << c.lines;
    }
}

TEST(RulesFile, OurOwnFileSaysDefaultForEachEntry) {
    const std::wstring text = DecodeRulesBytes(ReadFileBytes(ProgramFolder() + L"\\rules\\current.ini"));
    RulesFile rules = ParseRules(text);
    ASSERT_FALSE(rules.entries.empty());
    EXPECT_TRUE(rules.problems.empty());
    size_t sections = 0, defaults = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find(L'\n', start), text.size());
        sections += text.compare(start, 1, L"[") == 0;
        defaults += text.compare(start, 8, L"Default=") == 0;
        start = end + 1;
    }
    EXPECT_EQ(sections, rules.entries.size());
    EXPECT_EQ(defaults, sections);
}

TEST(RulesFile, AChoiceTurnsOnExactlyTheNamedEntries) {
    const std::wstring text = L"[Alpha *]\nDefault=True\n[Beta *]\n[Gamma]\nDefault=False\n";
    const struct {
        std::vector<std::wstring> names;
        std::vector<std::wstring> unknown;
        std::vector<bool> on;  // Alpha, Beta, Gamma
    } cases[] = {
        {{}, {}, {false, false, false}},
        {{L"Beta"}, {}, {false, true, false}},
        {{L"gamma", L"ALPHA"}, {}, {true, false, true}},
        {{L"Beta *", L" alpha "}, {}, {true, true, false}},
        {{L"Beta", L"Bet"}, {L"Bet"}, {true, false, false}},  // nothing chosen: the file's own state stays
        {{L"Delta", L"Beta", L"Epsilon"}, {L"Delta", L"Epsilon"}, {true, false, false}},
    };
    for (const auto& c : cases) {
        RulesFile rules = ParseRules(text);
        EXPECT_EQ(ChooseRuleEntries(rules, c.names), c.unknown);
        std::vector<bool> on;
        for (const RuleEntry& entry : rules.entries) on.push_back(entry.on);
        EXPECT_EQ(on, c.on) << (c.names.empty() ? L"" : c.names[0]);
    }
    RulesFile all = ParseRules(text);
    ChooseAllRuleEntries(all);
    for (const RuleEntry& entry : all.entries) EXPECT_TRUE(entry.on) << entry.name;
}

// A list of names holds one a line, spaces around it aside; blank lines and
// comments name nothing.
TEST(RulesFile, AListOfEntryNamesTakesOneNameALine) {
    const struct {
        const wchar_t* text;
        std::vector<std::wstring> names;
    } cases[] = {
        {L"", {}},
        {L"Alpha\r\nBeta *\r\n", {L"Alpha", L"Beta *"}},
        {L"; chosen\n\n  Gamma Cache \t\n# off\nDelta", {L"Gamma Cache", L"Delta"}},
        {L"\r\n\r\n", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(EntryNamesInText(c.text), c.names) << c.text;
}

// A found item keeps its entry's number in 16 bits: a file with more
// entries keeps the first 65,535 and tells of the rest.
TEST(RulesFile, EntriesBeyondWhatARowCanNameAreLeftOutAndTold) {
    std::wstring text;
    for (int i = 0; i < 0x10001; ++i) text += L"[E" + std::to_wstring(i) + L"]\nDefault=True\n";
    RulesFile rules = ParseRules(text);
    ASSERT_EQ(rules.entries.size(), 0xFFFFu);
    EXPECT_EQ(rules.entries.back().name, L"E65534");
    ASSERT_FALSE(rules.problems.empty());
    EXPECT_EQ(RuleProblemText(rules.problems[0]), L"line 131071: more than 65535 entries: this one is left out");
}
