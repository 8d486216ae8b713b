#include "view/WorkerProtocol.h"

#include <commctrl.h>

#include "app/BriskoApp.h"
#include "clean/DeleteItem.h"
#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "res/resource.h"
#include "win/Controls.h"
#include "win/Text.h"

namespace {

SRWLOCK g_currentPathLock = SRWLOCK_INIT;

// The rows of the view's list, read in batches from the row the worker has
// reached downwards. A batch serves while no row's state has changed since
// it was read; any change, such as Unselect All, makes the next row read anew.
class CListRows : public ICleanRows {
public:
    CListRows(HWND list, const CleanControl& control) : m_list(list), m_control(control) {}
    int Count() override { return m_list.GetItemCount(); }
    int SelectedCount() override { return m_list.GetSelectedCount(); }
    CleanRow Row(int row) override {
        if (!Holds(row) || m_batch.selectionChanges != m_control.selectionChanges) {
            m_batch.last = row;
            m_batch.count = kBatchRows;
            m_list.SendMessage(WM_READCLEANROWS, 0, reinterpret_cast<LPARAM>(&m_batch));
        }
        return Holds(row) ? m_batch.rows[m_batch.last - row] : CleanRow{};
    }

private:
    static constexpr int kBatchRows = 64;
    bool Holds(int row) const { return row <= m_batch.last && m_batch.last - row < static_cast<int>(m_batch.rows.size()); }
    win::CListCtrl m_list;
    const CleanControl& m_control;
    CleanRowBatch m_batch;
};

// Posts the worker's reports to the view; names the row being removed first.
class CPostedProgress : public ICleanProgress {
public:
    explicit CPostedProgress(const CleanRequest& request) : m_request(request) {}
    void Starting(int row, const std::wstring& path) override {
        if (m_request.app) SetCurrentCleanPath(*m_request.app, path);
        Post(WM_CLEANITEM, row, -1);
    }
    void Finished(int row, int startCount) override { Post(WM_CLEANITEM, row, startCount); }
    void Done() override { Post(WM_CLEANDONE, 0, 0); }

private:
    void Post(UINT message, int row, LPARAM report) {
        ::PostMessageW(m_request.reportTo, message, static_cast<WPARAM>(row), report);
    }
    const CleanRequest& m_request;
};

DWORD WINAPI CleanWorker(void* parameter) {
    std::unique_ptr<CleanRequest> request(static_cast<CleanRequest*>(parameter));
    try {
        RunClean(*request);
    } catch (...) {
        ::PostMessageW(request->reportTo, WM_CLEANDONE, 0, 0);
    }
    return 0;
}

}  // namespace

void ReadCleanRows(HWND list, CleanRowBatch& batch) {
    win::CListCtrl rows(list);
    batch.rows.clear();
    for (int row = batch.last; row >= 0 && batch.last - row < batch.count; --row) {
        CleanRow answer;
        answer.selected = (rows.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        if (answer.selected) {
            answer.path = rows.GetItemText(row, 0);
            answer.folder = rows.GetItemText(row, 2).empty();  // an empty size marks a whole-folder row
        }
        batch.rows.push_back(std::move(answer));
    }
}

void SetCurrentCleanPath(CBriskoApp& app, const std::wstring& path) {
    std::wstring copy = path;  // allocate outside the lock
    ::AcquireSRWLockExclusive(&g_currentPathLock);
    app.m_strCurrentPath.swap(copy);
    ::ReleaseSRWLockExclusive(&g_currentPathLock);
}

std::wstring GetCurrentCleanPath(const CBriskoApp& app) {
    ::AcquireSRWLockShared(&g_currentPathLock);
    std::wstring path = app.m_strCurrentPath;
    ::ReleaseSRWLockShared(&g_currentPathLock);
    return path;
}

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
    CListRows rows(request.list, *request.control);
    CPostedProgress progress(request);
    CStatusBarReport report(request.statusBar, kStatusInterval);
    RemovalGuards guards = GuardsUnderPolicy();
    RemovalContext removal{guards, report};
    ItemRemover remove = request.remove;
    if (!remove)
        remove = [&removal](const std::wstring& path, bool permanent, bool folderRow) {
            RemoveRowItem(path, permanent, folderRow, removal);
        };
    RunCleanJob(rows, progress, request.permanent, remove, request.control->keepGoing);
}

win::KernelHandle StartCleanWorker(std::unique_ptr<CleanRequest> request) {
    win::KernelHandle thread(::CreateThread(nullptr, 0, &CleanWorker, request.get(), CREATE_SUSPENDED, nullptr));
    if (!thread) return thread;
    request.release();  // the thread owns it now
    ::SetThreadPriority(thread.Get(), THREAD_PRIORITY_HIGHEST);
    ::ResumeThread(thread.Get());
    return thread;
}
