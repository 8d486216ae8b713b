// The command line's words, patterns and lines, without running anything.
#include <gtest/gtest.h>

#include "cli/Glob.h"
#include "cli/Options.h"
#include "cli/Output.h"
#include "scan/Modes.h"

namespace {
using Args = std::vector<std::wstring>;
}  // namespace

TEST(CliOptions, GoodCommandLinesReadAsMeant) {
    ParsedCommandLine scan = ParseCommandLine({L"scan", L"--mode", L"Cookies", L"--json", L"-q"});
    ASSERT_EQ(scan.error, L"");
    EXPECT_EQ(scan.options.command, CliOptions::Command::Scan);
    EXPECT_EQ(scan.options.mode, MODE_COOKIES_KILLER);
    EXPECT_TRUE(scan.options.json && scan.options.quiet);

    ParsedCommandLine clean = ParseCommandLine({L"clean", L"--recycle", L"--mode", L"offline", L"--dry-run",
                                                L"--include", L"*.tmp", L"--include", L"*.log", L"--exclude", L"a*"});
    ASSERT_EQ(clean.error, L"");
    EXPECT_EQ(clean.options.mode, MODE_OFFLINE_TEMP);
    EXPECT_FALSE(clean.options.permanent);
    EXPECT_TRUE(clean.options.dryRun);
    EXPECT_EQ(clean.options.include, (Args{L"*.tmp", L"*.log"}));
    EXPECT_EQ(clean.options.exclude, (Args{L"a*"}));

    EXPECT_EQ(ParseCommandLine({L"scan"}).options.mode, MODE_STANDARD);
    EXPECT_EQ(ParseCommandLine({L"scan", L"--rules", L"r.ini"}).options.rules, L"r.ini");
    ParsedCommandLine rules = ParseCommandLine({L"rules", L"C:\\r.ini", L"--json"});
    ASSERT_EQ(rules.error, L"");
    EXPECT_EQ(rules.options.command, CliOptions::Command::Rules);
    EXPECT_EQ(rules.options.rules, L"C:\\r.ini");
    ParsedCommandLine chosen =
        ParseCommandLine({L"clean", L"--mode", L"standard", L"--recycle", L"--rules", L"r.ini", L"--entry",
                          L"Chrome Cache", L"--entry", L"Temporary Files"});
    ASSERT_EQ(chosen.error, L"");
    EXPECT_EQ(chosen.options.entries, (Args{L"Chrome Cache", L"Temporary Files"}));
    EXPECT_FALSE(chosen.options.allEntries);
    EXPECT_TRUE(ParseCommandLine({L"rules", L"r.ini", L"--all-entries"}).options.allEntries);
    EXPECT_EQ(ParseCommandLine({L"rules", L"r.ini", L"--entry", L"E"}).options.entries, Args{L"E"});
    EXPECT_EQ(ParseCommandLine({L"--help"}).options.command, CliOptions::Command::Help);
    EXPECT_EQ(ParseCommandLine({L"clean", L"--help"}).options.command, CliOptions::Command::Help);
    EXPECT_EQ(ParseCommandLine({L"--version"}).options.command, CliOptions::Command::Version);
}

TEST(CliOptions, BadCommandLinesAreRefusedInPlainWords) {
    const struct {
        Args arguments;
        const wchar_t* says;
    } cases[] = {
        {{}, L"no command"},
        {{L"wipe"}, L"unknown command"},
        {{L"scan", L"--mode"}, L"--mode needs"},
        {{L"scan", L"--mode", L"all"}, L"unknown mode \"all\""},
        {{L"scan", L"--permanent"}, L"unknown option \"--permanent\""},
        {{L"clean", L"--permanent"}, L"needs --mode"},
        {{L"clean", L"--mode", L"standard"}, L"needs --permanent or --recycle"},
        {{L"clean", L"--mode", L"standard", L"--permanent", L"--recycle"}, L"cannot go together"},
        {{L"clean", L"--mode", L"standard", L"--permanent", L"--include"}, L"--include needs a pattern"},
        {{L"scan", L"--rules"}, L"--rules needs"},
        {{L"rules", L"--json"}, L"rules needs the path"},
        {{L"rules", L"r.ini", L"--mode", L"standard"}, L"unknown option \"--mode\""},
        {{L"scan", L"--rules", L"r.ini", L"--entry"}, L"--entry needs the name of an entry"},
        {{L"scan", L"--entry", L"E"}, L"--entry, --entries-from and --all-entries need --rules FILE"},
        {{L"scan", L"--entries-from", L"list.txt"}, L"need --rules FILE"},
        {{L"scan", L"--rules", L"r.ini", L"--entries-from"}, L"--entries-from needs the path of a file"},
        {{L"scan", L"--rules", L"r.ini", L"--entries-from", L"l.txt", L"--all-entries"}, L"cannot go together"},
        {{L"scan", L"--all-entries"}, L"need --rules FILE"},
        {{L"scan", L"--rules", L"r.ini", L"--entry", L"E", L"--all-entries"}, L"cannot go together"},
        {{L"browsers", L"--all-entries"}, L"unknown option"},
    };
    for (const auto& c : cases) {
        std::wstring error = ParseCommandLine(c.arguments).error;
        EXPECT_NE(error.find(c.says), std::wstring::npos) << error;
    }
}

TEST(CliGlob, NamesAndWholePathsInAnyLetterCase) {
    const struct {
        const wchar_t* glob;
        const wchar_t* path;
        bool matches;
    } cases[] = {
        {L"*.tmp", L"C:\\windows\\A.TMP", true},
        {L"*.tmp", L"C:\\windows\\a.tmpx", false},
        {L"a?c.log", L"C:\\x\\abc.log", true},
        {L"a?c.log", L"C:\\x\\ac.log", false},
        {L"Temp", L"C:\\windows\\Temp\\", true},  // a folder row's trailing backslash
        {L"C:\\windows\\*", L"C:\\windows\\System32\\x.log", true},
        {L"C:/windows/temp", L"C:\\windows\\Temp\\", true},
        {L"C:\\windows\\*.log", L"D:\\windows\\x.log", false},
        {L"*", L"C:\\x\\anything", true},
        {L"**a*", L"C:\\x\\bab", true},
    };
    for (const auto& c : cases) EXPECT_EQ(GlobMatchesPath(c.glob, c.path), c.matches) << c.glob << L" " << c.path;
    EXPECT_TRUE(PassesFilters(L"C:\\a.tmp", {}, {}));
    EXPECT_TRUE(PassesFilters(L"C:\\a.tmp", {L"*.log", L"*.tmp"}, {L"b*"}));
    EXPECT_FALSE(PassesFilters(L"C:\\a.tmp", {L"*.tmp"}, {L"a*"}));
    EXPECT_FALSE(PassesFilters(L"C:\\a.tmp", {L"*.log"}, {}));
}

TEST(CliOutput, JsonLinesEscapeWhatTheyMust) {
    EXPECT_EQ(JsonString(L"C:\\a \"b\"\n\x01\x00e9"), L"\"C:\\\\a \\\"b\\\"\\n\\u0001\x00e9\"");
    FoundItem entry;
    entry.path = L"C:\\x.tmp";
    entry.size = 3;
    SYSTEMTIME time{2026, 12, 1, 7, 12, 50, 5, 0};
    ::SystemTimeToFileTime(&time, &entry.modified);
    EXPECT_EQ(EntryJson(entry, L"standard", L"\"action\":\"removed\""),
              L"{\"path\":\"C:\\\\x.tmp\",\"kind\":\"file\",\"size\":3,\"modified\":\"2026-12-07T12:50:05Z\","
              L"\"mode\":\"standard\",\"action\":\"removed\"}");
    entry.folder = true;
    entry.size = 0;
    entry.modified = {};
    EXPECT_NE(EntryJson(entry, L"offline").find(L"\"kind\":\"folder\",\"size\":0,\"modified\":null"),
              std::wstring::npos);
    EXPECT_EQ(SummaryText(1, 42), L"1 item, 42 bytes");
    EXPECT_EQ(SummaryText(1234, 3561472), L"1,234 items, 3.4 MB (3,561,472 bytes)");
}
