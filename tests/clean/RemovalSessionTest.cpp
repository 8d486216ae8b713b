// A clean's permanent removals of many rows through one session: the files
// of a held folder go through its handle, everything else the whole way,
// and each row tells the same reasons either way.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "clean/CleanJob.h"
#include "clean/ListedFiles.h"
#include "clean/RemovalSession.h"
#include "CleanTestSupport.h"
#include "win/Handle.h"

using namespace testing_support;

namespace {

using clean_test::ReasonRecorder;

enum class Before { Nothing, ReadOnly, HeldOpen, SwapForLink, SwapForFolder, Missing };

}  // namespace

// Each file row's handle facts, or the folder's listing from the start, or
// from the second file of a folder on.
class RemovalSessionListing : public ::testing::TestWithParam<size_t> {};
INSTANTIATE_TEST_SUITE_P(ListAfter, RemovalSessionListing, ::testing::Values(CRemovalSession::kListAfter, 0, 1));

TEST_P(RemovalSessionListing, RowsOfSeveralFoldersGoOrStayForTheReasonsOfTheWholeWay) {
    ScratchFolder root{L"session"};
    ScratchFolder outside{L"session-outside"};
    const std::wstring canary = outside / L"canary.txt";
    WriteFileBytes(canary, "canary");
    const struct {
        const wchar_t* row;
        Before before;
        bool stays;
        LeftReason reason;
    } rows[] = {
        {L"a\\2.tmp", Before::Nothing, false, {}},
        {L"a\\4.tmp", Before::Nothing, false, {}},
        {L"a\\1.tmp", Before::ReadOnly, false, {}},
        {L"a\\held.tmp", Before::HeldOpen, true, LeftReason::InUse},
        {L"a\\gone.tmp", Before::Missing, true, LeftReason::Missing},
        {L"b\\3.tmp", Before::Nothing, false, {}},
        {L"b\\4.tmp", Before::Nothing, false, {}},
        {L"b\\link.tmp", Before::SwapForLink, true, LeftReason::Link},  // after b is held (and listed)
        {L"b\\dir.tmp", Before::SwapForFolder, false, {}},  // an empty folder where a file was listed: the whole way
        {L"b\\1.tmp", Before::Nothing, false, {}},
        {L"b\\sub", Before::Nothing, false, {}},  // a folder row
        {L"c\\index.dat", Before::Nothing, false, {}},
        {L"a\\3.tmp", Before::Nothing, false, {}},  // back in the first folder
    };
    for (const wchar_t* folder : {L"a", L"b\\sub", L"c"}) MakeFolders(root / folder);
    for (const auto& r : rows)
        if (r.before != Before::Missing) WriteFileBytes(root / r.row, "junk");
    WriteFileBytes(root / L"b\\sub\\inner.tmp", "junk");  // the folder row's content
    CRemovalSession session(GetParam());
    ReasonRecorder report;
    const RemovalContext removal{MachineGuards(), report};
    for (const auto& r : rows) {
        const std::wstring path = root / r.row;
        ChildProcess holder;
        if (r.before == Before::ReadOnly) ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
        if (r.before == Before::HeldOpen) holder = HoldFileOpen(path);
        if (r.before == Before::SwapForLink) {
            ASSERT_TRUE(::DeleteFileW(path.c_str()));
            ASSERT_TRUE(clean_test::MakeLink(path, canary, false));
        }
        if (r.before == Before::SwapForFolder) {
            ASSERT_TRUE(::DeleteFileW(path.c_str()));
            MakeFolders(path);
        }
        RemoveRowItem(path, true, removal, session);
        EXPECT_EQ(Exists(path), r.stays && r.before != Before::Missing) << r.row;
        // Sized as it went: each file row holds four bytes.
        const bool fileRow = !r.stays && r.before != Before::SwapForFolder && std::wstring(r.row) != L"b\\sub";
        if (fileRow) {
            EXPECT_EQ(report.measured[path], 4u) << r.row;
        }
        auto told = report.left.find(path);
        ASSERT_EQ(told != report.left.end(), r.stays) << r.row;
        if (r.stays) {
            EXPECT_EQ(told->second, r.reason) << r.row;
        }
    }
    EXPECT_EQ(ReadFileBytes(canary), "canary");
    EXPECT_EQ(report.left.size(), 3u);
    clean_test::RemoveLink(root / L"b\\link.tmp", false);
}

// Under Wine a link opens its target: "f.tmp" pointing at the folder's own
// "F.TMP" would take that file along if the names were matched without case.
TEST(RemovalSession, ALinkToAnotherFileOfItsFolderInAnotherCaseIsLeft) {
    ScratchFolder root{L"session-case"};
    const std::wstring other = root / L"CASE.TMP";
    WriteFileBytes(other, "other");
    WriteFileBytes(root / L"first.tmp", "junk");
    const std::wstring link = root / L"case.tmp";
    if (!clean_test::MakeLink(link, other, false)) GTEST_SKIP() << "no links here";
    ASSERT_TRUE(WaitUntil([&] { return clean_test::HostHasExactly(link); }, 10000));
    CRemovalSession session(0);
    ReasonRecorder report;
    const RemovalContext removal{MachineGuards(), report};
    RemoveRowItem(root / L"first.tmp", true, removal, session);  // holds and lists the folder
    RemoveRowItem(link, true, removal, session);
    EXPECT_EQ(ReadFileBytes(other), "other");
    ASSERT_EQ(report.left.count(link), 1u);
    EXPECT_EQ(report.left[link], LeftReason::Link);
    // The link goes with the scratch folder: its target lies in it too.
}

TEST(RemovalSession, OnlyNamesTheCanonicalFormKeepsAsSpelledGoThroughTheHeldFolder) {
    const struct {
        const wchar_t* name;
        bool kept;
    } names[] = {
        {L"f0.tmp", true},       {L"Cache Entry 12", true}, {L"PROGRA~1", false}, {L"index.dat", false},
        {L"INDEX.DAT", false},   {L"con.txt", false},       {L"nul", false},      {L"trailing.", false},
        {L"trailing ", false},   {L"..", false},            {L"a:stream", false}, {L"wild*.tmp", false},
        {L"", false},            {L"index.dat.bak", true},
    };
    for (const auto& n : names) EXPECT_EQ(IsNameKeptAsSpelled(n.name), n.kept) << n.name;
}

// The listing a session takes of a folder finds each entry by its exact
// name, with its kind and size.
TEST(ListedFiles, FindsEachEntryByItsExactNameWithItsKindAndSize) {
    ScratchFolder root{L"listed"};
    WriteFileBytes(root / L"one.tmp", "1");
    WriteFileBytes(root / L"Three.TMP", "333");
    MakeFolders(root / L"sub.tmp");
    win::FileHandle folder(::CreateFileW(root.Path().c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    ASSERT_TRUE(folder.IsValid());
    const CListedFiles listed = CListedFiles::Of(folder.Get());
    const struct {
        const wchar_t* name;
        bool found;
        bool folder;
        ULONGLONG size;
    } names[] = {
        {L"one.tmp", true, false, 1}, {L"Three.TMP", true, false, 3}, {L"three.tmp", false, false, 0},
        {L"sub.tmp", true, true, 0},  {L"missing.tmp", false, false, 0}, {L".", false, false, 0},
    };
    for (const auto& n : names) {
        std::optional<ListedFile> file = listed.Find(n.name);
        ASSERT_EQ(file.has_value(), n.found) << n.name;
        if (!file) continue;
        EXPECT_EQ((file->attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, n.folder) << n.name;
        if (!n.folder) {
            EXPECT_EQ(file->size, n.size) << n.name;
        }
    }
}
