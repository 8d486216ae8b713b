// What a removal says is what happened: an item gone since the scan is told
// gone and handed to nothing; a folder that stays because files in it are
// still going is told left; a cache index with a second name is never
// written; and a link to another file of its folder in another letter case
// is never taken for the file it points to.
#include <gtest/gtest.h>

#include "clean/CleanJob.h"
#include "clean/DeleteItem.h"
#include "clean/EntryHandle.h"
#include "item/Guards.h"
#include "item/ItemPath.h"
#include "clean/RemovalSession.h"
#include "clean/RemovalTally.h"
#include "CleanTestSupport.h"

using namespace testing_support;
using clean_test::ReasonRecorder;

TEST(DeleteFoundItem, AnItemGoneSinceTheScanIsToldGoneCacheIndexesToo) {
    ScratchFolder folder(L"gone");
    for (const wchar_t* name : {L"index.dat", L"junk.tmp"}) {
        for (bool permanent : {true, false}) {
            ReasonRecorder report;
            EXPECT_FALSE(DeleteFoundItem(folder / name, permanent, RemovalContext{MachineGuards(), report}));
            ASSERT_EQ(report.left.size(), 1u) << name;
            EXPECT_EQ(report.left.begin()->second, LeftReason::Missing) << name;
            EXPECT_EQ(report.removing, 0) << name;
        }
    }
}

// Under Wine a file removed while another process holds it (sharing its
// removal) stays until that process lets go, and so does its folder.
TEST(DeleteFoundItem, AFolderThatStaysAroundAFileStillGoingIsToldLeft) {
    if (!clean_test::UnderWine()) GTEST_SKIP() << "Windows takes such a file's name away at once";
    ScratchFolder folder(L"pending");
    const std::wstring item = folder / L"Cache";
    MakeFolders(item + L"\\sub");
    WriteFileBytes(item + L"\\sub\\held.dat", "x");
    WriteFileBytes(item + L"\\free.dat", "x");
    ChildProcess holder = HoldFileOpen(item + L"\\sub\\held.dat", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ReasonRecorder recorder;
    CRemovalTally tally(recorder);
    tally.Start();

    EXPECT_FALSE(DeleteFoundItem(item, true, RemovalContext{MachineGuards(), tally}));
    RowRemoval row = tally.Finish();
    holder.Kill();

    EXPECT_EQ(row.outcome, RowOutcome::PartlyRemoved);
    EXPECT_EQ(row.reason, LeftReason::NotEmpty);
    EXPECT_TRUE(Exists(item));
    EXPECT_FALSE(Exists(item + L"\\free.dat"));
}

TEST(DeleteFoundItem, ACacheIndexWithASecondNameIsNeverWritten) {
    ScratchFolder folder(L"indexlinked");
    ScratchFolder outside(L"indexlinked-outside");
    std::string content(5000, 'k');
    const std::wstring other = outside / L"keep.dat", index = folder / L"index.dat";
    WriteFileBytes(other, content);
    ASSERT_TRUE(::CreateHardLinkW(index.c_str(), other.c_str(), nullptr)) << ::GetLastError();
    for (bool permanent : {true, false}) {
        if (!Exists(index)) ASSERT_TRUE(::CreateHardLinkW(index.c_str(), other.c_str(), nullptr));
        DeleteFoundItem(index, permanent);
        EXPECT_EQ(ReadFileBytes(other), content) << (permanent ? "permanent" : "Recycle Bin");
    }
}

// "case.tmp" is a link to "CASE.TMP" of the same folder; only "case.tmp" is
// selected. Whichever way its removal goes, "CASE.TMP" stays.
TEST(DeleteFoundItem, ALinkToAnotherFileOfItsFolderInAnotherCaseNeverTakesThatFile) {
    if (!clean_test::UnderWine()) GTEST_SKIP() << "the host's links differ only in case there";
    const struct {
        const char* name;
        bool permanent;
        bool session;
    } kWays[] = {{"permanent", true, false}, {"Recycle Bin", false, false}, {"a clean's session", true, true}};
    for (const auto& way : kWays) {
        SCOPED_TRACE(way.name);
        ScratchFolder folder(L"caselink");
        const std::wstring other = folder / L"CASE.TMP", link = folder / L"case.tmp";
        WriteFileBytes(other, "not selected");
        ASSERT_TRUE(clean_test::MakeLink(link, other, false));
    ASSERT_TRUE(WaitUntil([&] { return clean_test::HostHasExactly(link); }, 10000));
        ReasonRecorder report;
        const RemovalContext removal{MachineGuards(), report};
        if (way.session) {
            CRemovalSession session;
            session.RemovePermanently(link, removal);
        } else {
            DeleteFoundItem(link, way.permanent, removal);
        }
        EXPECT_EQ(ReadFileBytes(other), "not selected");
        // The link goes with the scratch folder: its target lies in it too.
    }
}

// A path is held one step at a time from its volume's root, each step checked
// against its folder's own record: no folder link on the way is crossed, and
// under Wine no racer's swap of a folder above the item can slip another
// entry in (that takes a racer: the race test plays it).
TEST(OpenEntryFromRoot, EachStepIsCheckedAgainstItsFolderAndNoFolderLinkIsCrossed) {
    ScratchFolder root(L"fromroot");
    ScratchFolder outside(L"fromroot-outside");
    MakeFolders(root / L"a\\b");
    WriteFileBytes(root / L"a\\b\\f.tmp", "f");
    WriteFileBytes(outside / L"f.tmp", "outside");
    ASSERT_TRUE(clean_test::MakeLink(root / L"a\\linked", outside.Path(), true));
    const struct {
        const wchar_t* step;
        OpenFailure failure;
    } kCases[] = {
        {L"a\\b\\f.tmp", OpenFailure::None},       {L"a\\b", OpenFailure::None},
        {L"a\\b\\gone.tmp", OpenFailure::Missing},
        {L"a\\linked\\f.tmp", OpenFailure::Link},  {L"a\\linked", OpenFailure::Link},
    };
    for (const auto& c : kCases) {
        const std::wstring path = CanonicalItemPath(root / c.step)->path;
        OpenedEntry opened = OpenEntryFromRoot(path, FILE_READ_ATTRIBUTES);
        EXPECT_EQ(opened.failure, c.failure) << c.step;
        if (c.failure != OpenFailure::None) continue;
        EntryFacts held, direct;
        OpenedEntry byPath = OpenEntryAt(path, FILE_READ_ATTRIBUTES);
        ASSERT_TRUE(ReadFacts(opened.handle.Get(), held) && ReadFacts(byPath.handle.Get(), direct)) << c.step;
        EXPECT_EQ(held.fileId, direct.fileId) << c.step;
    }
}
