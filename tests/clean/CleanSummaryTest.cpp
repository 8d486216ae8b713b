// What a clean tells of each row and of the whole: counted from real
// removals, and the one summary line.
#include <gtest/gtest.h>

#include "clean/CleanJob.h"
#include "clean/CleanSummary.h"
#include "CleanTestSupport.h"

using namespace testing_support;

namespace {

struct Rows : ICleanRows {
    std::vector<CleanRow> rows;
    int Count() override { return static_cast<int>(rows.size()); }
    int SelectedCount() override { return Count(); }
    CleanRow Row(int row) override { return rows[row]; }
};

struct Outcomes : ICleanProgress {
    std::map<int, RowRemoval> byRow;
    void Starting(int, const std::wstring&) override {}
    void Outcome(int row, const RowRemoval& removal) override { byRow[row] = removal; }
    void Finished(int, int) override {}
    void Done() override {}
};

Outcomes Clean(std::vector<CleanRow> rows, bool permanent) {
    Rows list;
    list.rows = std::move(rows);
    Outcomes outcomes;
    CRemovalTally tally(SilentReport());
    RemovalContext removal{MachineGuards(), tally};
    std::atomic<bool> stop{false};
    RunCleanJob(
        list, outcomes, permanent,
        [&](const std::wstring& path, bool perm) {
            if (path.ends_with(L"throws")) throw std::runtime_error("refused");
            RemoveRowItem(path, perm, removal);
        },
        stop, &tally);
    return outcomes;
}

}  // namespace

TEST(RemovalTally, EachRowSaysWhetherItsItemWentWhollyInPartOrNotAtAll) {
    ScratchFolder folder(L"tally");
    ScratchFolder outside(L"tally-outside");
    std::wstring prefetch = folder / L"Prefetch";
    MakeFolders(prefetch + L"\\sub");
    for (int i = 0; i < 20; ++i) WriteFileBytes(prefetch + L"\\sub\\f" + std::to_wstring(i) + L".pf", std::string(100, 'x'));
    WriteFileBytes(prefetch + L"\\held.pf", std::string(7, 'x'));
    WriteFileBytes(folder / L"plain.tmp", "12345");
    WriteFileBytes(folder / L"throws", "x");
    MakeFolders(folder / L"recycled");
    WriteFileBytes(folder / L"recycled\\a", std::string(300, 'x'));
    WriteFileBytes(folder / L"recycled\\b", std::string(200, 'x'));
    ASSERT_TRUE(clean_test::MakeLink(folder / L"link", outside.Path(), true));
    ChildProcess holder = HoldFileOpen(prefetch + L"\\held.pf");

    Outcomes permanent = Clean({{true, prefetch},
                                {true, folder / L"plain.tmp"},
                                {true, folder / L"gone.tmp"},
                                {true, folder / L"link"},
                                {true, folder / L"throws"}},
                               true);
    Outcomes recycle = Clean({{true, folder / L"recycled"}}, false);

    const struct {
        const RowRemoval& row;
        RowOutcome outcome;
        size_t removed, left;
        ULONGLONG bytes;
        LeftReason reason;
    } cases[] = {
        {permanent.byRow[0], RowOutcome::PartlyRemoved, 20, 1, 2000, LeftReason::InUse},
        {permanent.byRow[1], RowOutcome::Removed, 1, 0, 5, LeftReason::Failed},
        {permanent.byRow[2], RowOutcome::Vanished, 0, 1, 0, LeftReason::Missing},
        {permanent.byRow[3], RowOutcome::Left, 0, 1, 0, LeftReason::Link},
        {permanent.byRow[4], RowOutcome::Left, 0, 1, 0, LeftReason::Failed},
        {recycle.byRow[0], RowOutcome::Removed, 2, 0, 500, LeftReason::Failed},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].row.outcome, cases[i].outcome);
        EXPECT_EQ(cases[i].row.filesRemoved, cases[i].removed);
        EXPECT_EQ(cases[i].row.filesLeft, cases[i].left);
        EXPECT_EQ(cases[i].row.bytesRemoved, cases[i].bytes);
        if (cases[i].row.outcome != RowOutcome::Removed) {
            EXPECT_EQ(cases[i].row.reason, cases[i].reason);
        }
    }
    EXPECT_TRUE(Exists(prefetch + L"\\held.pf"));
    EXPECT_TRUE(Exists(folder / L"link"));
}

TEST(CleanSummary, TellsWhatWentWhatPartlyWentAndWhyTheRestStayed) {
    auto row = [](RowOutcome outcome, size_t removed, size_t left, ULONGLONG bytes, LeftReason reason) {
        RowRemoval r;
        r.outcome = outcome;
        r.filesRemoved = removed;
        r.filesLeft = left;
        r.bytesRemoved = bytes;
        r.reason = reason;
        return r;
    };
    const RowRemoval removedBig = row(RowOutcome::Removed, 1, 0, 201955164, LeftReason::Failed);
    const RowRemoval removedOne = row(RowOutcome::Removed, 1, 0, 512, LeftReason::Failed);
    const RowRemoval inUse = row(RowOutcome::Left, 0, 1, 0, LeftReason::InUse);
    const RowRemoval denied = row(RowOutcome::Left, 0, 1, 0, LeftReason::AccessDenied);
    const RowRemoval partly = row(RowOutcome::PartlyRemoved, 20, 1, 2048, LeftReason::InUse);
    const RowRemoval gone = row(RowOutcome::Vanished, 0, 1, 0, LeftReason::Missing);
    const struct {
        std::vector<RowRemoval> rows;
        const wchar_t* text;
    } cases[] = {
        {{removedBig, removedOne, inUse, denied}, L"Removed 2 items (192.6 MB); 2 left: 1 in use, 1 access denied"},
        {{removedOne}, L"Removed 1 item (512 bytes)"},
        {{partly}, L"Removed 0 items (2.0 KB); 1 partly removed: 20 of 21 files"},
        {{gone, inUse, inUse}, L"Removed 0 items (0 bytes); 2 left: 2 in use; 1 already gone"},
    };
    for (const auto& c : cases) {
        CleanSummary summary;
        for (const RowRemoval& r : c.rows) summary.Add(r);
        EXPECT_EQ(CleanSummaryText(summary), c.text);
    }
    CleanSummary many;
    for (int i = 0; i < 3508; ++i) many.Add(removedOne);
    EXPECT_EQ(CleanSummaryText(many), L"Removed 3,508 items (1.7 MB)");
}
