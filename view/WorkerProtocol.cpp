#include "view/WorkerProtocol.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "clean/DeleteItem.h"
#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "win/Log.h"

void CleanControl::SetCandidates(std::vector<CleanCandidate> rows) {
    candidates = std::move(rows);
    ::AcquireSRWLockExclusive(&m_lock);
    m_selected.assign(candidates.size(), 1);
    ::ReleaseSRWLockExclusive(&m_lock);
}

int CleanControl::CandidateOfRow(int row) const {
    // From the last row to the first: indices fall.
    auto at = std::lower_bound(candidates.begin(), candidates.end(), row,
                               [](const CleanCandidate& c, int r) { return c.row > r; });
    return at != candidates.end() && at->row == row ? static_cast<int>(at - candidates.begin()) : -1;
}

bool CleanControl::IsSelected(size_t candidate) const {
    ::AcquireSRWLockShared(&m_lock);
    bool selected = candidate < m_selected.size() && m_selected[candidate];
    ::ReleaseSRWLockShared(&m_lock);
    return selected;
}

void CleanControl::SetRowSelected(int row, bool selected) {
    int candidate = CandidateOfRow(row);
    if (candidate < 0) return;
    ::AcquireSRWLockExclusive(&m_lock);
    m_selected[candidate] = selected;
    ::ReleaseSRWLockExclusive(&m_lock);
}

void CleanControl::SetAllSelected(bool selected) {
    ::AcquireSRWLockExclusive(&m_lock);
    std::fill(m_selected.begin(), m_selected.end(), selected ? 1 : 0);
    ::ReleaseSRWLockExclusive(&m_lock);
}

void CleanControl::AddToSummary(const RowRemoval& removal) {
    ::AcquireSRWLockExclusive(&m_lock);
    m_summary.Add(removal);
    ::ReleaseSRWLockExclusive(&m_lock);
}

CleanSummary CleanControl::Summary() const {
    ::AcquireSRWLockShared(&m_lock);
    CleanSummary summary = m_summary;
    ::ReleaseSRWLockShared(&m_lock);
    return summary;
}

void CleanControl::SetCurrentPath(const std::wstring& path) {
    std::wstring copy = path, none;  // allocate and free outside the lock
    ::AcquireSRWLockExclusive(&m_lock);
    m_currentPath.swap(copy);
    m_removingPath.swap(none);
    ::ReleaseSRWLockExclusive(&m_lock);
}

void CleanControl::SetRemovingPath(const std::wstring& path) {
    std::wstring copy = path;
    ::AcquireSRWLockExclusive(&m_lock);
    m_removingPath.swap(copy);
    ::ReleaseSRWLockExclusive(&m_lock);
}

std::wstring CleanControl::RemovingPath() const {
    ::AcquireSRWLockShared(&m_lock);
    std::wstring path = m_removingPath;
    ::ReleaseSRWLockShared(&m_lock);
    return path;
}

std::wstring CleanControl::CurrentPath() const {
    ::AcquireSRWLockShared(&m_lock);
    std::wstring path = m_currentPath;
    ::ReleaseSRWLockShared(&m_lock);
    return path;
}

void CleanControl::AddFinished(const FinishedRow& row) {
    ::AcquireSRWLockExclusive(&m_lock);
    m_finished.push_back(row);
    ::ReleaseSRWLockExclusive(&m_lock);
}

std::vector<CleanControl::FinishedRow> CleanControl::TakeFinished() {
    std::vector<FinishedRow> rows;
    ::AcquireSRWLockExclusive(&m_lock);
    rows.swap(m_finished);
    ::ReleaseSRWLockExclusive(&m_lock);
    return rows;
}

namespace {

// The rows as the worker sees them: the candidates at their indices, each
// selected as long as the shared selection says so; every other row unselected.
class CCandidateRows : public ICleanRows {
public:
    explicit CCandidateRows(const CleanControl& control) : m_control(control) {}
    int Count() override { return m_control.rowCount; }
    int SelectedCount() override { return static_cast<int>(m_control.candidates.size()); }
    CleanRow Row(int row) override {
        const auto& candidates = m_control.candidates;
        while (m_next < candidates.size() && candidates[m_next].row > row) ++m_next;
        if (m_next == candidates.size() || candidates[m_next].row != row) return {};
        const FoundItem& item = *candidates[m_next].item;
        return {m_control.IsSelected(m_next), item.path};
    }

private:
    const CleanControl& m_control;
    size_t m_next = 0;
};

// Tells the shared control what the removal hands over, a few times a
// second: the view shows it with its next batch of rows.
class CControlReport : public IRemovalReport {
public:
    explicit CControlReport(CleanControl& control) : m_control(control) {}
    void Removing(const std::wstring& path) override {
        const ULONGLONG now = ::GetTickCount64();
        if (m_lastTold != 0 && now - m_lastTold < kStatusInterval) return;
        m_lastTold = now;
        m_control.SetRemovingPath(path);
    }
    void Left(const std::wstring&, LeftReason) override {}

private:
    CleanControl& m_control;
    ULONGLONG m_lastTold = 0;
};

// Hands the worker's reports to the view in batches: a message per row
// costs the window more than removing a file. The view is told when a row
// starts or ends, at most once per interval and once at a time; what comes
// between waits for the next message, the view's repaint or the end.
class CPostedProgress : public ICleanProgress {
public:
    explicit CPostedProgress(const CleanRequest& request) : m_request(request) {}
    void Starting(int, const std::wstring& path) override {
        m_request.control->SetCurrentPath(path);
        Tell();
    }
    void Outcome(int, const RowRemoval& removal) override {
        m_request.control->AddToSummary(removal);
        m_stays = removal.Stays();
        m_reason = removal.reason;
    }
    void Finished(int row, int startCount) override {
        m_request.control->AddFinished({row, startCount, std::exchange(m_stays, false), m_reason});
        Tell();
    }
    void Done() override { ::PostMessageW(m_request.reportTo, WM_CLEANDONE, 0, 0); }

private:
    void Tell() {
        const ULONGLONG now = ::GetTickCount64();
        if (m_lastTold != 0 && now - m_lastTold < kRowBatchInterval) return;
        if (m_request.control->told.exchange(true)) return;
        m_lastTold = now;
        ::PostMessageW(m_request.reportTo, WM_CLEANITEM, 0, 0);
    }
    const CleanRequest& m_request;
    ULONGLONG m_lastTold = 0;
    bool m_stays = false;
    LeftReason m_reason = LeftReason::Failed;
};

}  // namespace

std::wstring DeletingStatusText(const std::wstring& path) {
    return GetUiText(LangId::StatusDeleting) + L" " + path;
}

std::wstring RowStatusText(const std::wstring& path) {
    return (IsDefaultLanguage() ? BuiltInText(LangId::StatusDeleting) : GetLangString(LangId::StatusDeleting) + L" ") +
           path;
}

void CStatusBarReport::Removing(const std::wstring& path) {
    if (!m_statusBar) return;
    ULONGLONG now = ::GetTickCount64();
    if (m_lastSent != 0 && now - m_lastSent < m_interval) return;
    m_lastSent = now;
    std::wstring text = DeletingStatusText(path);
    ::SendMessageW(m_statusBar, SB_SETTEXTW, 0 | SBT_NOTABPARSING, reinterpret_cast<LPARAM>(text.c_str()));
}

void RunClean(const CleanRequest& request) {
    CCandidateRows rows(*request.control);
    CControlReport status(*request.control);
    CPostedProgress progress(request);
    RunGuardedClean(rows, CleanHow{request.permanent, &status, request.remove}, progress, request.control->stop);
}

win::Thread StartCleanWorker(CleanRequest request) {
    HWND reportTo = request.reportTo;
    return win::Thread::Start(
        [request = std::move(request), reportTo] {
            try {
                RunClean(request);
            } catch (...) {
                win::LogCaughtException(L"clean worker");
                ::PostMessageW(reportTo, WM_CLEANDONE, 0, 0);
            }
        },
        L"clean worker", THREAD_PRIORITY_HIGHEST);
}
