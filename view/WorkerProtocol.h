#pragma once
// The window's side of a clean: the private messages the worker posts to the
// view, the rows it reads from the list through synchronous messages, the
// hand-over of the path being removed, the status texts, and the start of
// the worker thread. Everything a worker and the window exchange is here.
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "clean/CleanJob.h"
#include "scan/FoundItemSink.h"
#include "win/Handle.h"

class CBriskoApp;

// Private messages of the view, in the application's own range: the view is
// a list control, whose messages fill the WM_USER range.
inline constexpr UINT WM_CLEANDONE = WM_APP + 257;    // a worker has finished
inline constexpr UINT WM_CLEANITEM = WM_APP + 258;    // the clean worker starts (-1) or ends a row
inline constexpr UINT WM_LANGCHANGED = WM_APP + 259;  // a new language file is in use
// Sent by the clean worker to the list: fill the CleanRowBatch at lParam
// with the selection, path and kind of the rows it asks for, in one round
// trip (each costs about as much as removing a file under Wine).
inline constexpr UINT WM_READCLEANROWS = WM_APP + 260;

// Sent by the Advance dialog's worker to the view: list the found item whose
// path is at wParam (std::wstring) and find record at lParam, on the view's thread.
inline constexpr UINT WM_ADDFOUNDITEM = WM_APP + 261;

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

// Rows `last` down to `last` - count + 1 as they stand, and the list's count
// of selection changes when they were read: while that count stays, the
// rows' selection is still what the batch says.
struct CleanRowBatch {
    int last = 0;
    int count = 0;
    long selectionChanges = 0;
    std::vector<CleanRow> rows;  // rows[0] is row `last`
};

// The answer to WM_READCLEANROWS from the list's own rows.
void ReadCleanRows(HWND list, CleanRowBatch& batch);

// The hand-over of the application's m_strCurrentPath between the clean
// worker, which replaces it before each row, and the view, which shows it:
// a read never overlaps a replacement.
void SetCurrentCleanPath(CBriskoApp& app, const std::wstring& path);
std::wstring GetCurrentCleanPath(const CBriskoApp& app);

// "Deleting", a blank and the path: the text of each file and folder a
// removal hands over (two blanks with the built-in text).
std::wstring DeletingStatusText(const std::wstring& path);
// "Deleting" and the path of the row the clean has started on (one blank).
std::wstring RowStatusText(const std::wstring& path);

// The least time between two status texts of a clean, in milliseconds.
inline constexpr ULONGLONG kStatusInterval = 50;

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

// Shared by the view and its worker, so that neither outlives what it reads.
struct CleanControl {
    std::atomic<bool> keepGoing{true};  // cleared only when the view goes away
    // Counted by the view at every change of a row's state during the clean.
    std::atomic<long> selectionChanges{0};
};

struct CleanRequest {
    HWND list = nullptr;       // read through synchronous messages only
    HWND reportTo = nullptr;   // receives WM_CLEANITEM and WM_CLEANDONE
    HWND statusBar = nullptr;  // shows each file and folder removed
    CBriskoApp* app = nullptr;  // its m_strCurrentPath names the row being removed
    bool permanent = true;
    std::shared_ptr<CleanControl> control = std::make_shared<CleanControl>();
    ItemRemover remove;  // empty: the real removal, reporting to the status bar
};

// The worker's whole run, on the calling thread.
void RunClean(const CleanRequest& request);

// Starts the worker at the highest normal priority; it owns `request`.
// An empty handle when no thread could be started.
win::KernelHandle StartCleanWorker(std::unique_ptr<CleanRequest> request);
