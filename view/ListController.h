#pragma once
// The jobs over the result list: the scans that fill it, the cleans that
// empty it, their progress in the title and the status bar, the summary of
// the last clean, the next mode after a clean that emptied the list, and
// the Advance dialog after an Offline Temp scan. Each job runs as a
// win::Job; this thread only starts it, takes its reports and ends it.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "scan/RulesScan.h"
#include "view/BriskoView.h"
#include "win/Job.h"

struct MeasureJob;
struct ScanJob;

// The name of a scan mode, its title text.
std::wstring ModeName(BYTE mode);
// The window title of a scan mode: its title text, " - " and the application title.
std::wstring ModeTitle(BYTE mode);
// The command that runs a scan mode.
UINT ModeCommand(BYTE mode);

class CListController : public CBriskoView {
public:
    CListController(IListViewHost& host, CBriskoDoc& doc) : CBriskoView(host, doc) {}
    ~CListController() override;

    // Sets the list up, places the main window and shows a first scan.
    // `showFrame` shows the main window, placed, before the first scan.
    void OnInitialUpdate(const std::function<void()>& showFrame = {});

    // Empties the list and starts the scan of one mode; its end lists the
    // findings sorted by name and names the mode in the title. A Cookies
    // Killer scan that finds nothing gives way to Offline Temp.
    void RunMode(BYTE mode);
    bool IsScanning() const { return m_scanJob != nullptr; }

    // Starts the clean over the selected rows (commands 157 and 158);
    // false when one already runs or none could be started.
    bool StartClean(bool permanent);
    bool IsCleaning() const { return static_cast<bool>(m_cleanJob); }
    // Measures what the folder rows not measured yet hold, as a job (one at
    // a time); a scan's and a clean's end start it, and a folder row added.
    void StartMeasuring();
    bool IsMeasuring() const { return static_cast<bool>(m_measure); }
    // The path of the row the last clean started on last.
    const std::wstring& LastCleanPath() const { return m_lastCleanPath; }

    // The main window's title, set only when its text changes.
    void SetMainTitle(const std::wstring& text);

    bool OnCommand(UINT id) override;
    CommandState Snapshot() const override;

    bool m_bCookiesAvailable = true;
    int m_nCleanMode = 0;  // 1 permanent, 0 Recycle Bin; the worker gets its own copy
    // The removal of one row's item that a clean runs; empty for the real
    // one, tests put a recording one in.
    ItemRemover m_removeItem;
    std::wstring m_strTitle;
    // Shown modally after every Offline Temp scan, with the document.
    std::function<void(CBriskoDoc&)> m_showAdvanceDialog;
    bool m_bAdvanceOpen = false;  // while the dialog is shown

protected:
    bool OnJobMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnSelectionChanged() override;
    void OnLangChanged() override;

private:
    // The scan (ListController.cpp).
    void StartScan(const std::shared_ptr<ScanJob>& job, std::optional<RulesFile> rules);
    // The scan's end: its findings listed, the title, the status and the
    // Advance dialog after an Offline Temp scan.
    void OnScanDone();
    // The count of items found so far, in the title.
    void ShowScanProgress();
    // Lists the rows the running scan handed over since the last call, as found.
    void TakeShownRows();
    void StopScan();
    void StopScanAndWait();
    // A scan or a clean runs: the list is disabled and the frame keeps the keys.
    void EnterBusyState();
    void LeaveBusyState();
    void StopClean();

    // The measure of the folder rows (FolderSizes.cpp), stopped by a scan or
    // a clean; what it hands over counts in the selection's size as it comes.
    void StopMeasuring();
    void TakeMeasures();

    // The clean's reports (CleanProgress.cpp). The rows the worker finished
    // since the last call: dropped, or kept unselected with their reason;
    // the progress follows each.
    void TakeFinishedRows();
    void OnCleanDone();
    void ShowCleanSummary();
    void ShowRemovalStatus();
    void ShowProgress(int startCount);
    void ShowProgress(int startCount, int selected);
    void RunNextMode();
    // While a clean runs the list does not draw each change: rows in sight
    // are painted a few times a second, the scroll bar follows the rows out
    // of sight, and the list is painted once more at the end.
    void SuspendDrawing(bool suspend);
    void RepaintDuringClean();
    void RepaintList();
    void ShowRowCountOnScrollBar();

    static constexpr UINT_PTR kRepaintTimer = 0xB15C;
    static constexpr ULONGLONG kCleanScrollInterval = 1000;  // ms, when no row in sight changed
    static constexpr UINT_PTR kScanTitleTimer = 0xB15D;
    static constexpr DWORD kScanTitleInterval = 200;  // ms between two progress titles
    static constexpr DWORD kScanStopWait = 30000;     // ms a stopped scan may take to end
    ULONGLONG m_lastCleanRepaint = 0;
    ULONGLONG m_lastRemovalStatus = 0;  // when the removal status was last shown
    ULONGLONG m_lastWaitCursor = 0;     // when the wait cursor was last set
    size_t m_scanTitleShown = SIZE_MAX;  // the count the title shows
    std::wstring m_cleanSummary;         // shown until the next scan or clean
    bool m_bKeepCleanSummary = false;    // for the next mode a clean starts
    std::wstring m_lastCleanPath;
    std::shared_ptr<ScanJob> m_scanJob;            // the running scan, none when idle
    win::Job m_scan;                               // its thread
    win::Job m_cleanJob;                           // the running clean, empty when idle
    std::shared_ptr<CleanControl> m_cleanControl;  // shared with the running worker
    std::shared_ptr<MeasureJob> m_measureJob;      // the running measure, none when idle
    win::Job m_measure;                            // its thread
    bool m_bMeasureAgain = false;                  // folder rows came while it ran
};
