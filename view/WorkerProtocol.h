#pragma once
// The window's side of a clean: the private messages the worker posts to the
// view, the rows it works on, the selection it asks about, the hand-over of
// the path being removed, the status texts, and the start of the clean's
// job. Everything a worker and the window exchange is here.
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "clean/CleanJob.h"
#include "clean/CleanSummary.h"
#include "scan/FoundItemSink.h"
#include "scan/FoundItems.h"
#include "win/Job.h"

// Private messages of the view, in the application's own range: the view is
// a list control, whose messages fill the WM_USER range.
inline constexpr UINT WM_CLEANDONE = WM_APP + 257;    // a worker has finished
// The clean worker has started on a row or finished rows since the view
// last took them (CleanControl::finished); one at a time is on its way.
inline constexpr UINT WM_CLEANITEM = WM_APP + 258;
inline constexpr UINT WM_LANGCHANGED = WM_APP + 259;  // a new language file is in use

// Sent by the Advance dialog's worker to the view: list the found item whose
// path is at wParam (std::wstring) and find record at lParam, on the view's thread.
inline constexpr UINT WM_ADDFOUNDITEM = WM_APP + 261;
// Posted by the view to itself: records were added that the control has not
// counted yet (it counts them before any other message it gets).
inline constexpr UINT WM_SYNCROWCOUNT = WM_APP + 262;
// The scan's job has ended (ScanJob.h).
inline constexpr UINT WM_SCANDONE = WM_APP + 263;
// The measuring job has measured folders since the view last took them, or
// has ended (MeasureJob.h).
inline constexpr UINT WM_FOLDERSMEASURED = WM_APP + 264;

// What the Advance dialog's worker hands its files to: the view's list,
// reached by WM_ADDFOUNDITEM only.
class CListFromWorker : public IFoundItemSink {
public:
    explicit CListFromWorker(HWND view) : m_view(view) {}
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
        ::SendMessageW(m_view, WM_ADDFOUNDITEM, reinterpret_cast<WPARAM>(&path), reinterpret_cast<LPARAM>(&findData));
    }

private:
    HWND m_view;
};

// One row a clean may remove: a row selected when it started.
struct CleanCandidate {
    // Its index then. A clean drops only rows below the one it works on, so
    // the index holds until the clean reaches the row.
    int row = 0;
    const FoundItem* item = nullptr;
};

// The clean's job record, shared by the view and its worker, so that
// neither outlives what it reads. The rows are set before the worker starts
// and never change; the selection changes on the view's thread and is read
// on the worker's. The path of the row in hand is the progress's current item.
class CleanControl : public win::JobControl {
public:
    using JobControl::JobControl;
    int rowCount = 0;                   // rows of the list when the clean started
    std::vector<CleanCandidate> candidates;      // from the last row to the first
    std::shared_ptr<const FoundItemStore> store;  // keeps the candidates' records

    // Takes the candidates, all selected.
    void SetCandidates(std::vector<CleanCandidate> rows);
    bool IsSelected(size_t candidate) const;
    // A change of one row's selection (by its index now), or of all rows'.
    void SetRowSelected(int row, bool selected);
    void SetAllSelected(bool selected);

    // What the rows removed so far came to, added up by the worker.
    void AddToSummary(const RowRemoval& removal);
    CleanSummary Summary() const;

    // The path of the row being removed: written by the worker, shown by the view.
    void SetCurrentPath(const std::wstring& path);
    std::wstring CurrentPath() const;
    // The file or folder of that row last handed over for removal, empty
    // before the first: the status bar shows it, a worker never waits for
    // the window to show it.
    void SetRemovingPath(const std::wstring& path);
    std::wstring RemovingPath() const;

    // A row the worker is through with, whether or not its item went.
    struct FinishedRow {
        int row = 0;
        int startCount = 0;  // rows selected when the clean began
        bool stays = false;  // its item stays, whole or in part: the row is kept, unselected
        LeftReason reason = LeftReason::Failed;
    };
    // The rows finished since the view last took them, in the order the
    // worker ended them; the view is told (WM_CLEANITEM) once however many wait.
    win::JobResults<FinishedRow> finished;

private:
    // The candidate of a row not yet reached, or -1.
    int CandidateOfRow(int row) const;
    std::vector<char> m_selected;  // by candidate
    std::wstring m_removingPath;
    CleanSummary m_summary;
};

// "Deleting", a blank and the path: the text of each file and folder a
// removal hands over (two blanks with the built-in text).
std::wstring DeletingStatusText(const std::wstring& path);
// "Deleting" and the path of the row the clean has started on (one blank).
std::wstring RowStatusText(const std::wstring& path);

// The least time between two status texts of a clean, in milliseconds: a
// few a second are all one reads. Each wakes the window's thread to paint,
// and with few processors the worker waits behind it and the Wine server.
inline constexpr ULONGLONG kStatusInterval = 250;

// A removal report that sends DeletingStatusText to pane 0 of a status bar
// and waits until the bar has taken it. From another thread each send costs
// a round trip, so a text follows the last one only after `interval`
// milliseconds; the bar may skip a file, never show a stale one at the end
// of a clean, which writes its own texts then.
class CStatusBarReport : public IRemovalReport {
public:
    explicit CStatusBarReport(HWND statusBar, ULONGLONG interval = 0) : m_statusBar(statusBar), m_interval(interval) {}
    void Removing(const std::wstring& path) override;
    void Left(const std::wstring&, LeftReason) override {}

private:
    HWND m_statusBar;
    ULONGLONG m_interval;
    ULONGLONG m_lastSent = 0;
};

// The least time between two WM_CLEANITEM a worker posts, in milliseconds:
// the rows finished meanwhile wait for the next one, the view's repaint or
// the end of the clean. Ten batches a second keep the title and the scroll
// bar current; more only take the processor from the worker.
inline constexpr ULONGLONG kRowBatchInterval = 100;

struct CleanRequest {
    bool permanent = true;
    std::shared_ptr<CleanControl> control;
    ItemRemover remove;  // empty: the real removal, whose hand-overs the control keeps for the status bar
    // Asked first by the real removal: true when it dealt with the row's
    // item itself (Cookies Killer cleaning a cookie database around the
    // kept sites), telling the removal's report.
    std::function<bool(const std::wstring& path, IRemovalReport& report)> cleanInstead;
};

// The record of a clean that tells `view` WM_CLEANITEM and WM_CLEANDONE.
std::shared_ptr<CleanControl> MakeCleanControl(HWND view);

// The worker's whole run, on the calling thread.
void RunClean(const CleanRequest& request);

// Starts the clean as a job at the highest normal priority; an empty job
// when none could be started.
win::Job StartCleanJob(CleanRequest request);
