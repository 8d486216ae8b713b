// The job controller without a window class: the end report that always
// comes, the stop after the item in hand, results handed over in batches
// with one notice at a time, and the progress record.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "win/Job.h"

namespace {

constexpr UINT kProgress = WM_APP + 1;
constexpr UINT kEnd = WM_APP + 2;

// A message-only window that counts the job's notices.
class Watcher {
public:
    Watcher() : m_hwnd(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
    ~Watcher() { ::DestroyWindow(m_hwnd); }
    HWND Get() const { return m_hwnd; }
    // The notices of `message` waiting now, taken.
    int Take(UINT message) {
        int count = 0;
        MSG msg;
        while (::PeekMessageW(&msg, m_hwnd, message, message, PM_REMOVE)) ++count;
        return count;
    }

private:
    HWND m_hwnd;
};

struct CountingJob : win::JobControl {
    using JobControl::JobControl;
    win::JobResults<int> done;
};

}  // namespace

TEST(Job, TheEndIsReportedOnceWhetherTheWorkReturnsOrThrows) {
    const struct {
        const char* name;
        int how;  // 0 returns, 1 throws an exception, 2 throws something else
    } cases[] = {{"returns", 0}, {"throws std::exception", 1}, {"throws an int", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Watcher watcher;
        auto control = std::make_shared<win::JobControl>(win::JobNotice{watcher.Get(), kProgress, kEnd, 0});
        win::Job job = win::Job::Start(
            control,
            [how = c.how] {
                if (how == 1) throw std::runtime_error("refused");
                if (how == 2) throw 7;
            },
            L"test job");
        ASSERT_TRUE(job);
        ASSERT_TRUE(job.Wait(10000));
        EXPECT_TRUE(control->Ended());
        EXPECT_TRUE(job.Ended());
        EXPECT_EQ(watcher.Take(kEnd), 1);
    }
}

TEST(Job, AStopTakesEffectAfterTheItemInHand) {
    auto control = std::make_shared<CountingJob>();
    HANDLE started = ::CreateEventW(nullptr, TRUE, FALSE, nullptr), go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    win::Job job = win::Job::Start(
        control,
        [control, started, go] {
            for (int item = 0; item < 100 && !control->Stopping(); ++item) {
                ::SetEvent(started);
                ::WaitForSingleObject(go, 10000);
                control->done.Add(item);
            }
        },
        L"test job");
    ASSERT_TRUE(job);
    ASSERT_EQ(::WaitForSingleObject(started, 10000), WAIT_OBJECT_0);
    job.Stop();
    ::SetEvent(go);
    ASSERT_TRUE(job.Wait(10000));
    EXPECT_EQ(control->done.Take(), std::vector<int>{0});
    ::CloseHandle(started);
    ::CloseHandle(go);
}

TEST(Job, ResultsComeInBatchesWithOneNoticeUntilTheWatcherTakesThem) {
    Watcher watcher;
    CountingJob control(win::JobNotice{watcher.Get(), kProgress, 0, 0});
    for (int item = 1; item <= 3; ++item) {
        control.done.Add(item);
        control.Tell();
    }
    EXPECT_EQ(watcher.Take(kProgress), 1);
    EXPECT_EQ(control.done.Take(), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(control.done.Take().empty());
    control.Taken();
    control.done.Add(4);
    control.Tell();
    EXPECT_EQ(watcher.Take(kProgress), 1);
    EXPECT_EQ(control.done.Take(), std::vector<int>{4});
}

TEST(Job, TheProgressRecordTellsTheTotalTheStepsAndTheItemInHand) {
    win::JobControl control;
    control.SetTotal(10);
    control.Advance();
    control.Advance(3);
    control.SetCurrent(L"C:\\a.tmp");
    win::JobProgress progress = control.Progress();
    EXPECT_EQ(progress.total, 10u);
    EXPECT_EQ(progress.done, 4u);
    EXPECT_EQ(progress.current, L"C:\\a.tmp");
    EXPECT_FALSE(control.Stopping());
    control.Stop();
    EXPECT_TRUE(control.Stopping());
}
