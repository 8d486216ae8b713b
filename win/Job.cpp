#include "win/Job.h"

#include "win/Log.h"

namespace win {

void JobControl::SetTotal(size_t total) {
    Locked([&] { m_progress.total = total; });
}

void JobControl::Advance(size_t steps) {
    Locked([&] { m_progress.done += steps; });
}

void JobControl::SetCurrent(const std::wstring& item) {
    std::wstring copy = item;  // allocated and freed outside the lock
    Locked([&] { m_progress.current.swap(copy); });
}

JobProgress JobControl::Progress() const {
    return Locked([&] { return m_progress; });
}

void JobControl::Tell() {
    if (!m_notice.window || !m_notice.progressMessage) return;
    const ULONGLONG now = ::GetTickCount64();
    if (m_lastTold != 0 && now - m_lastTold < m_notice.interval) return;
    if (m_told.exchange(true)) return;
    m_lastTold = now;
    ::PostMessageW(m_notice.window, m_notice.progressMessage, 0, 0);
}

void JobControl::End() {
    m_ended = true;
    if (m_notice.window && m_notice.endMessage) ::PostMessageW(m_notice.window, m_notice.endMessage, 0, 0);
}

Job Job::Start(std::shared_ptr<JobControl> control, std::function<void()> work, const wchar_t* name, int priority) {
    Job job;
    job.m_thread = Thread::Start(
        [control, work = std::move(work), name] {
            try {
                work();
            } catch (...) {
                LogCaughtException(name);
            }
            control->End();
        },
        name, priority);
    if (job.m_thread) job.m_control = std::move(control);
    return job;
}

void Job::StopAndWait(DWORD milliseconds) {
    if (!m_thread) return;
    Stop();
    HANDLE thread = m_thread.Get();
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        const ULONGLONG elapsed = ::GetTickCount64() - start;
        if (elapsed >= milliseconds) break;
        DWORD woken = ::MsgWaitForMultipleObjects(1, &thread, FALSE, static_cast<DWORD>(milliseconds - elapsed),
                                                  QS_SENDMESSAGE);
        if (woken != WAIT_OBJECT_0 + 1) break;
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // serves the sent messages
    }
    Reset();
}

}  // namespace win
