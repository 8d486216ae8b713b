#include "view/WorkerProtocol.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "clean/DeleteItem.h"
#include "i18n/Lang.h"
#include "i18n/LangTexts.h"

void CleanControl::SetCandidates(std::vector<CleanCandidate> rows) {
    candidates = std::move(rows);
    Locked([&] { m_selected.assign(candidates.size(), 1); });
}

int CleanControl::CandidateOfRow(int row) const {
    // From the last row to the first: indices fall.
    auto at = std::lower_bound(candidates.begin(), candidates.end(), row,
                               [](const CleanCandidate& c, int r) { return c.row > r; });
    return at != candidates.end() && at->row == row ? static_cast<int>(at - candidates.begin()) : -1;
}

bool CleanControl::IsSelected(size_t candidate) const {
    return Locked([&] { return candidate < m_selected.size() && m_selected[candidate]; });
}

void CleanControl::SetRowSelected(int row, bool selected) {
    int candidate = CandidateOfRow(row);
    if (candidate < 0) return;
    Locked([&] { m_selected[candidate] = selected; });
}

void CleanControl::SetAllSelected(bool selected) {
    Locked([&] { std::fill(m_selected.begin(), m_selected.end(), selected ? 1 : 0); });
}

void CleanControl::AddToSummary(const RowRemoval& removal) {
    Locked([&] { m_summary.Add(removal); });
}

CleanSummary CleanControl::Summary() const {
    return Locked([&] { return m_summary; });
}

void CleanControl::SetCurrentPath(const std::wstring& path) {
    // The row's own text shows until its removal hands a file over.
    std::wstring none;  // freed outside the lock
    Locked([&] { m_removingPath.swap(none); });
    SetCurrent(path);
}

void CleanControl::SetRemovingPath(const std::wstring& path) {
    std::wstring copy = path;
    Locked([&] { m_removingPath.swap(copy); });
}

std::wstring CleanControl::RemovingPath() const {
    return Locked([&] { return m_removingPath; });
}

std::wstring CleanControl::CurrentPath() const { return Progress().current; }

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
    explicit CPostedProgress(CleanControl& control) : m_control(control) {}
    void Starting(int, const std::wstring& path) override {
        m_control.SetCurrentPath(path);
        m_control.Tell();
    }
    void Outcome(int, const RowRemoval& removal) override {
        m_control.AddToSummary(removal);
        m_stays = removal.Stays();
        m_reason = removal.reason;
    }
    void Finished(int row, int startCount) override {
        m_control.finished.Add({row, startCount, std::exchange(m_stays, false), m_reason});
        m_control.Advance();
        m_control.Tell();
    }
    void Done() override {}  // the job's end tells the view

private:
    CleanControl& m_control;
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
    CPostedProgress progress(*request.control);
    RunGuardedClean(rows, CleanHow{request.permanent, &status, request.remove, request.cleanInstead}, progress,
                    request.control->StopFlag());
}

std::shared_ptr<CleanControl> MakeCleanControl(HWND view) {
    return std::make_shared<CleanControl>(win::JobNotice{view, WM_CLEANITEM, WM_CLEANDONE, kRowBatchInterval});
}

win::Job StartCleanJob(CleanRequest request) {
    std::shared_ptr<CleanControl> control = request.control;
    return win::Job::Start(
        control, [request = std::move(request)] { RunClean(request); }, L"clean worker", THREAD_PRIORITY_HIGHEST);
}
