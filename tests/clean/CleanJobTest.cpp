// The clean loop and the removal reports without any window: fake rows, a
// recording progress and report.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <vector>

#include "clean/CleanJob.h"
#include "CleanTestSupport.h"

using namespace testing_support;

namespace {

struct FakeRows : ICleanRows {
    std::vector<std::wstring> paths;
    std::vector<bool> selected;
    int Count() override { return static_cast<int>(paths.size()); }
    int SelectedCount() override { return static_cast<int>(std::count(selected.begin(), selected.end(), true)); }
    CleanRow Row(int row) override { return {selected[row], paths[row]}; }
};

struct Recorder : ICleanProgress, IRemovalReport {
    std::vector<std::wstring> events;
    void Starting(int row, const std::wstring&) override { events.push_back(L"start " + std::to_wstring(row)); }
    void Finished(int row, int count) override {
        events.push_back(L"end " + std::to_wstring(row) + L"/" + std::to_wstring(count));
    }
    void Done() override { events.push_back(L"done"); }
    void Removing(const std::wstring& path) override { events.push_back(L"removing " + path); }
    void Left(const std::wstring& path, LeftReason reason) override {
        events.push_back(L"left " + path + L": " + LeftReasonText(reason));
    }
};

}  // namespace

TEST(CleanJob, WorksFromTheLastSelectedRowAndReportsEveryRemovalAndWhatStays) {
    ScratchFolder folder{L"job"};
    ScratchFolder outside{L"job-outside"};
    MakeFolders(folder / L"tree");
    WriteFileBytes(folder / L"a.tmp", "x");
    WriteFileBytes(folder / L"tree\\b.tmp", "x");
    ASSERT_TRUE(clean_test::MakeLink(folder / L"tree\\link", outside.Path(), true));
    FakeRows rows;
    rows.paths = {folder / L"a.tmp", folder / L"skipped.tmp", folder / L"tree\\", folder / L"gone.tmp"};
    rows.selected = {true, false, true, true};
    Recorder recorder;
    RemovalContext removal{MachineGuards(), recorder};
    std::atomic<bool> stop{false};
    RunCleanJob(
        rows, recorder, true,
        [&](const std::wstring& path, bool permanent) {
            RemoveRowItem(path, permanent, removal);
        },
        stop);
    // The entries of a folder come in the file system's order.
    ASSERT_EQ(recorder.events.size(), 12u);
    std::sort(recorder.events.begin() + 5, recorder.events.begin() + 7);
    EXPECT_EQ(recorder.events, (std::vector<std::wstring>{
                                   L"start 3", L"left " + folder / L"gone.tmp: no longer there", L"end 3/3",
                                   L"start 2", L"removing " + folder / L"tree",
                                   L"left " + folder / L"tree\\link: a link, or behind or holding one",
                                   L"removing " + folder / L"tree\\b.tmp", L"end 2/3",
                                   L"start 0", L"removing " + folder / L"a.tmp", L"end 0/3", L"done"}));
    EXPECT_TRUE(Exists(folder / L"tree\\link"));
    EXPECT_FALSE(Exists(folder / L"tree\\b.tmp"));
}

TEST(CleanJob, NamesNoPlainPathReachesAreToldAsSuchNotAsLinks) {
    ScratchFolder folder{L"job-odd"};
    const wchar_t* odd[] = {L"aux.tmp", L"trailing.", L"blank "};
    for (const wchar_t* name : odd) WriteFileBytes(L"\\\\?\\" + folder / name, "x");
    Recorder recorder;
    RemovalContext removal{MachineGuards(), recorder};
    RemoveRowItem(folder.Path() + L"\\", true, removal);
    for (const wchar_t* name : odd) {
        // Gone, or kept and told once for what it is.
        bool stays = ::GetFileAttributesW((L"\\\\?\\" + folder / name).c_str()) != INVALID_FILE_ATTRIBUTES;
        std::wstring told = L"left " + folder / name + L": " + LeftReasonText(LeftReason::OddName);
        EXPECT_EQ(std::count(recorder.events.begin(), recorder.events.end(), told), stays ? 1 : 0) << name;
        ::DeleteFileW((L"\\\\?\\" + folder / name).c_str());
    }
}

// The clean the window and the command line share: the guards of this
// machine, each row's outcome counted, and a stop after the row in hand.
TEST(GuardedClean, RemovesThroughTheGuardsCountsEachRowAndStopsAfterTheRowInHand) {
    ScratchFolder folder{L"guarded"};
    ScratchFolder outside{L"guarded-outside"};
    for (const wchar_t* name : {L"a.tmp", L"b.tmp", L"c.tmp"}) WriteFileBytes(folder / name, "xy");
    WriteFileBytes(outside / L"canary.txt", "keep");
    ASSERT_TRUE(clean_test::MakeLink(folder / L"link", outside.Path(), true));
    FakeRows rows;
    rows.paths = {folder / L"a.tmp", folder / L"b.tmp", folder / L"link", folder / L"c.tmp"};
    rows.selected = {true, true, true, true};
    struct Outcomes : ICleanProgress {
        std::atomic<bool>* stop = nullptr;
        std::map<int, RowRemoval> byRow;
        bool done = false;
        void Starting(int, const std::wstring&) override {}
        void Outcome(int row, const RowRemoval& removal) override { byRow[row] = removal; }
        void Finished(int row, int) override {
            if (row == 2) *stop = true;  // Escape while the link's row was in hand
        }
        void Done() override { done = true; }
    } outcomes;
    std::atomic<bool> stop{false};
    outcomes.stop = &stop;
    CleanHow how;
    how.permanent = true;
    RunGuardedClean(rows, how, outcomes, stop);
    EXPECT_TRUE(outcomes.done);
    ASSERT_EQ(outcomes.byRow.size(), 2u);
    EXPECT_EQ(outcomes.byRow[3].outcome, RowOutcome::Removed);
    EXPECT_EQ(outcomes.byRow[3].bytesRemoved, 2u);
    EXPECT_EQ(outcomes.byRow[2].outcome, RowOutcome::Left);
    EXPECT_EQ(outcomes.byRow[2].reason, LeftReason::Link);
    EXPECT_FALSE(Exists(folder / L"c.tmp"));
    EXPECT_TRUE(Exists(folder / L"link"));
    EXPECT_TRUE(Exists(outside / L"canary.txt"));
    EXPECT_TRUE(Exists(folder / L"b.tmp"));  // not reached
    EXPECT_TRUE(Exists(folder / L"a.tmp"));
}
