// What a clean of the command line leaves for fleet tools: the JSON report,
// written whole or not at all and checked before anything goes, and the
// event-log entry with the program's own messages.
#include <gtest/gtest.h>
#include <windows.h>

#include "item/ItemPath.h"
#include "cli/CleanReport.h"
#include "cli/CliRun.h"
#include "cli/EventLog.h"
#include "clean/CleanTestSupport.h"
#include "events.h"
#include "support/StrictJson.h"

using namespace testing_support;

namespace {

std::wstring WindowsFolder() {
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    return windows;
}

size_t FilesIn(const std::wstring& folder) {
    size_t count = 0;
    WIN32_FIND_DATAW find;
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &find);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do count += !(find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (::FindNextFileW(search, &find));
    ::FindClose(search);
    return count;
}

class CleanReportTest : public testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(freeSeed, "free");
        WriteFileBytes(heldSeed, "held");
    }
    void TearDown() override {
        ::DeleteFileW(freeSeed.c_str());
        ::DeleteFileW(heldSeed.c_str());
    }
    std::wstring Clean(const std::wstring& report) {
        return L"clean --mode standard --recycle --include brisko-report-* --include " + temp + L" --report \"" +
               report + L"\"";
    }
    const std::wstring freeSeed = WindowsFolder() + L"\\brisko-report-free.tmp";
    const std::wstring temp = WindowsFolder() + L"\\Temp";  // a folder item that is emptied and kept
    const std::wstring heldSeed = temp + L"\\brisko-report-held.tmp";
    ScratchFolder folder{L"report folder"};
};

}  // namespace

TEST_F(CleanReportTest, TheReportIsOneStrictJsonDocumentOfWhatWentAndWhatStayedAndWhy) {
    const std::wstring report = folder / L"last clean.json";
    WriteFileBytes(report, "an older report");
    WriteFileBytes(temp + L"\\brisko-report-junk.tmp", "junk");  // goes: the folder is partly removed
    ChildProcess holder = HoldFileOpen(heldSeed);
    CliRun run = RunCli(Clean(report));
    holder.Kill();
    holder.Wait(5000);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    std::optional<JsonValue> json = ParseStrictJson(win::ToWide(ReadFileBytes(report)));
    ASSERT_TRUE(json) << ReadFileBytes(report);
    const JsonValue& r = *json;
    EXPECT_EQ(r[L"mode"].text, L"standard");
    EXPECT_EQ(r[L"removal"].text, L"recycle");
    EXPECT_FALSE(r[L"dryRun"].boolean);
    EXPECT_EQ(r[L"rulesFile"].kind, JsonValue::Kind::Null);
    EXPECT_EQ(r[L"unreadableRulesFile"].kind, JsonValue::Kind::Null);
    EXPECT_EQ(r[L"machine"].text, ComputerName());
    EXPECT_EQ(r[L"user"].text, UserName());
    EXPECT_EQ(r[L"started"].text.size(), 20u);
    EXPECT_LE(r[L"started"].text, r[L"ended"].text);
    const struct {
        const wchar_t* tally;
        double items, bytes;
    } tallies[] = {{L"found", 2, -1}, {L"removed", 1, 4}, {L"partly", 1, -1}, {L"left", 0, 0}, {L"gone", 0, 0}};
    for (const auto& t : tallies) {
        EXPECT_EQ(r[t.tally][L"items"].number, t.items) << t.tally;
        if (t.bytes >= 0) EXPECT_EQ(r[t.tally][L"bytes"].number, t.bytes) << t.tally;  // -1: whatever else TMP held
    }
    // What was found, TMP's contents included, went or stayed: the held file stayed.
    EXPECT_EQ(r[L"found"][L"bytes"].number, r[L"removed"][L"bytes"].number + r[L"partly"][L"bytes"].number + 4);
    ASSERT_EQ(r[L"leftItems"].items.size(), 1u);
    const JsonValue& left = r[L"leftItems"].items[0];
    EXPECT_EQ(ItemKey(left[L"path"].text), ItemKey(temp));
    bool toldHeld = false;
    for (const JsonValue& kept : left[L"kept"].items)
        toldHeld |= _wcsicmp(kept[L"path"].text.c_str(), heldSeed.c_str()) == 0 &&
                    kept[L"reason"].text == L"in use";
    EXPECT_TRUE(toldHeld) << ReadFileBytes(report);
    EXPECT_EQ(FilesIn(folder.Path()), 1u);  // no temporary file stays behind
}

TEST_F(CleanReportTest, AReportPathThatCannotBeWrittenStopsTheCleanBeforeAnythingGoes) {
    WriteFileBytes(folder / L"read-only.json", "keep");
    ::SetFileAttributesW((folder / L"read-only.json").c_str(), FILE_ATTRIBUTE_READONLY);
    for (const std::wstring& report : {folder / L"missing\\r.json", folder.Path(), folder / L"read-only.json"}) {
        CliRun run = RunCli(Clean(report));
        EXPECT_EQ(run.exitCode, 2) << report.c_str();
        EXPECT_NE(run.err.find(L"--report: "), std::wstring::npos) << run.err;
        EXPECT_TRUE(Exists(freeSeed));
    }
    ::SetFileAttributesW((folder / L"read-only.json").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CleanReportTest, TheOldReportStaysWholeUntilTheNewOneIsRenamedIntoPlace) {
    const std::wstring report = folder / L"r.json";
    WriteFileBytes(report, "old");
    {
        CReportFile abandoned;
        ASSERT_EQ(abandoned.Open(report), L"");
        EXPECT_EQ(ReadFileBytes(report), "old");
    }
    EXPECT_EQ(ReadFileBytes(report), "old");
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
    CReportFile written;
    ASSERT_EQ(written.Open(report), L"");
    EXPECT_EQ(written.Commit(L"{\"é\":1}\n"), L"");
    EXPECT_EQ(ReadFileBytes(report), "{\"\xC3\xA9\":1}\n");
    EXPECT_EQ(FilesIn(folder.Path()), 1u);
}

// The report's temporary file is made new under a name nobody can guess:
// a link planted where the last version put it (beside the report, with the
// process's number) leads nowhere, and no file behind a link is ever written.
TEST_F(CleanReportTest, NoFileBehindALinkBesideTheReportIsEverWritten) {
    if (!clean_test::UnderWine()) GTEST_SKIP() << "the links are the host's";
    ScratchFolder outside{L"report outside"};
    const std::wstring victim = outside / L"victim.txt", report = folder / L"r.json";
    WriteFileBytes(victim, "victim");
    const std::wstring planted = report + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    ASSERT_TRUE(clean_test::MakeLink(planted, victim, false));
    CReportFile written;
    ASSERT_EQ(written.Open(report), L"");
    EXPECT_EQ(written.Commit(L"{}\n"), L"");
    EXPECT_EQ(ReadFileBytes(victim), "victim");
    EXPECT_EQ(ReadFileBytes(report), "{}\n");
    clean_test::RemoveLink(planted, false);
    EXPECT_EQ(FilesIn(folder.Path()), 1u) << "no temporary file stays";
}

TEST(CleanEvents, ACleanIsLoggedAsInformationOrWarningInTheProgramsOwnWords) {
    struct : IEventLog {
        bool Write(WORD type, DWORD id, const std::vector<std::wstring>& strings) override {
            this->type = type;
            this->id = id;
            this->strings = strings;
            return true;
        }
        WORD type = 0;
        DWORD id = 0;
        std::vector<std::wstring> strings;
    } log;
    HMODULE cli = ::LoadLibraryExW(SiblingProgram(L"brisko-cli.exe").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(cli);
    const struct {
        size_t left;
        WORD type;
        const wchar_t* says;
    } cases[] = {{0, EVENTLOG_INFORMATION_TYPE, L"Brisko cleaned without leaving anything.\r\n"},
                 {2, EVENTLOG_WARNING_TYPE, L"Brisko cleaned and some items were left.\r\n"}};
    for (const auto& c : cases) {
        CleanRecord summary;
        summary.mode = L"standard";
        summary.user = L"ann";
        summary.machine = L"PC7";
        summary.removed = {3, 3000};
        summary.left = {c.left, 10};
        ASSERT_TRUE(LogClean(log, summary, L"C:\\r.json"));
        EXPECT_EQ(log.type, c.type);
        std::vector<DWORD_PTR> inserts;
        for (const std::wstring& s : log.strings) inserts.push_back(reinterpret_cast<DWORD_PTR>(s.c_str()));
        wchar_t* text = nullptr;
        ASSERT_TRUE(::FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_ALLOCATE_BUFFER |
                                         FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                     cli, log.id, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                     reinterpret_cast<wchar_t*>(&text), 0, reinterpret_cast<va_list*>(inserts.data())));
        std::wstring message = text;
        ::LocalFree(text);
        EXPECT_EQ(message.rfind(c.says, 0), 0u) << message;
        EXPECT_NE(message.find(L"Mode: standard, to the Recycle Bin; by ann on PC7\r\n"), std::wstring::npos) << message;
        EXPECT_NE(message.find(L"removed: 3 items, 2.9 KB (3,000 bytes)"), std::wstring::npos) << message;
        EXPECT_NE(message.find(L"Report: C:\\r.json"), std::wstring::npos) << message;
    }
    ::FreeLibrary(cli);
    // The machine's log takes the entry; read back where the log can be read
    // (Wine's keeps nothing: its reading ends at once).
    CleanRecord summary;
    summary.mode = L"standard";
    EXPECT_TRUE(LogClean(ApplicationEventLog(), summary, L""));
    HANDLE application = ::OpenEventLogW(nullptr, L"Application");
    ASSERT_TRUE(application);
    alignas(EVENTLOGRECORD) BYTE buffer[64 * 1024];
    DWORD read = 0, needed = 0;
    if (::ReadEventLogW(application, EVENTLOG_SEQUENTIAL_READ | EVENTLOG_BACKWARDS_READ, 0, buffer, sizeof(buffer),
                        &read, &needed)) {
        const auto* record = reinterpret_cast<const EVENTLOGRECORD*>(buffer);
        EXPECT_STREQ(reinterpret_cast<const wchar_t*>(record + 1), kEventSource);
        EXPECT_EQ(record->EventID, static_cast<DWORD>(MSG_CLEAN_DONE));
    } else {
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_HANDLE_EOF));
    }
    ::CloseEventLog(application);
}
