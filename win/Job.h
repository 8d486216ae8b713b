#pragma once
// The one way the program runs a piece of work while a window or a console
// watches it: a scan, a clean, the Advance routines, a browser preview or
// clean. The work runs on a thread of its own (win::Thread) and shares a
// JobControl with its watcher: a progress record under one lock, results
// handed over in batches, one stop flag the work reads between its items,
// and an end report that always comes, whether the work returned or threw.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "win/Thread.h"

namespace win {

// What a job has done so far.
struct JobProgress {
    size_t done = 0;       // items or steps finished
    size_t total = 0;      // of how many; 0 when not known
    std::wstring current;  // the item in hand
};

// Whom a job tells: a window that gets `progressMessage` when something
// changed (at most once per `interval` milliseconds, and never while the
// last is not taken) and `endMessage` at the end. Either may be 0.
struct JobNotice {
    HWND window = nullptr;
    UINT progressMessage = 0;
    UINT endMessage = 0;
    ULONGLONG interval = 0;
};

// The record a job and its watcher share; derived records keep their own
// fields under the same lock (Locked).
class JobControl {
public:
    explicit JobControl(JobNotice notice = {}) : m_notice(notice) {}
    JobControl(const JobControl&) = delete;
    JobControl& operator=(const JobControl&) = delete;
    virtual ~JobControl() = default;

    // Asks the work to stop after the item in hand.
    void Stop() noexcept { m_stop = true; }
    bool Stopping() const noexcept { return m_stop; }
    const std::atomic<bool>& StopFlag() const noexcept { return m_stop; }

    void SetTotal(size_t total);
    void Advance(size_t steps = 1);
    void SetCurrent(const std::wstring& item);
    JobProgress Progress() const;

    // The work tells its watcher that something changed; posted at most once
    // per interval and once at a time.
    void Tell();
    // The watcher took what was told: the next change is told again.
    void Taken() noexcept { m_told = false; }

    // Set once the work is over; then the end message is posted.
    bool Ended() const noexcept { return m_ended; }
    void End();

protected:
    // Runs `read` under the record's lock.
    template <typename Read>
    auto Locked(Read read) const {
        struct Guard {
            SRWLOCK& lock;
            explicit Guard(SRWLOCK& l) : lock(l) { ::AcquireSRWLockExclusive(&lock); }
            ~Guard() { ::ReleaseSRWLockExclusive(&lock); }
        } guard(m_lock);
        return read();
    }

private:
    mutable SRWLOCK m_lock = SRWLOCK_INIT;
    JobProgress m_progress;
    const JobNotice m_notice;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_told{false};
    std::atomic<bool> m_ended{false};
    ULONGLONG m_lastTold = 0;  // the work's thread only
};

// Results handed over in batches: the work adds one at a time, the watcher
// takes all that came since it last took.
template <typename Result>
class JobResults {
public:
    void Add(Result result) {
        ::AcquireSRWLockExclusive(&m_lock);
        m_results.push_back(std::move(result));
        ::ReleaseSRWLockExclusive(&m_lock);
    }
    std::vector<Result> Take() {
        std::vector<Result> taken;
        ::AcquireSRWLockExclusive(&m_lock);
        taken.swap(m_results);
        ::ReleaseSRWLockExclusive(&m_lock);
        return taken;
    }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::vector<Result> m_results;
};

// A running job: its thread and the control it shares.
class Job {
public:
    Job() = default;
    // Runs `work` on a thread of its own at `priority`. The control ends when
    // the work returns or throws (the exception is logged under `name`). An
    // empty job when no thread could start; `work` then never runs.
    static Job Start(std::shared_ptr<JobControl> control, std::function<void()> work, const wchar_t* name,
                     int priority = THREAD_PRIORITY_NORMAL);

    explicit operator bool() const noexcept { return static_cast<bool>(m_thread); }
    // Whether the work has ended (an empty job has).
    bool Ended() const { return !m_thread || m_control->Ended(); }
    void Stop() const noexcept {
        if (m_control) m_control->Stop();
    }
    // True when the thread has ended within `milliseconds`.
    bool Wait(DWORD milliseconds) const { return m_thread.Wait(milliseconds); }
    // Stops the work and waits at most `milliseconds` for its thread, serving
    // what the work sends to this thread's windows meanwhile.
    void StopAndWait(DWORD milliseconds);
    // Forgets the thread; the work runs on with what it owns.
    void Reset() noexcept {
        m_thread.Reset();
        m_control.reset();
    }

private:
    Thread m_thread;
    std::shared_ptr<JobControl> m_control;
};

}  // namespace win
