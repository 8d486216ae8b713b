#pragma once
// The result list: one row per found item, in a report-mode list view that
// fills the main frame's client area.
#include <windows.h>
#include <commctrl.h>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "clean/RemovalReport.h"
#include "scan/FoundItemSink.h"
#include "scan/FoundItems.h"
#include "scan/Modes.h"
#include "view/CommandAvailability.h"
#include "view/ConfirmDelete.h"
#include "view/ListViewHost.h"
#include "view/StatusTexts.h"
#include "view/TypeNames.h"
#include "view/WorkerProtocol.h"
#include "win/Controls.h"
#include "win/Handle.h"
#include "win/Job.h"
#include "win/Window.h"

class CBriskoDoc;
struct ScanJob;
struct RulesFile;

// The name of a scan mode, its title text.
std::wstring ModeName(BYTE mode);
// The window title of a scan mode: its title text, " - " and the application title.
std::wstring ModeTitle(BYTE mode);
// The command that runs a scan mode.
UINT ModeCommand(BYTE mode);
// The heading of a column: its language text or the built-in heading, at
// most 259 characters.
std::wstring ColumnHeading(int column);
// The culture name of a language file's value: the text up to and with the
// blank that begins a " //" comment.
std::wstring CultureName(const std::wstring& value);

// What a selection holds: the bytes of its files and the folders, whose
// contents the list does not know.
struct SelectionSize {
    ULONGLONG bytes = 0;
    int files = 0;
    int folders = 0;
    int Rows() const { return files + folders; }
};

// What the view asks of the user and the shell: the real calls unless tests
// put recording ones in.
struct ViewShell {
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)> messageBox;
    std::function<void(const std::wstring& path)> open;
    std::function<void(HMENU popup, POINT at, HWND owner)> trackPopup;
    // Asked before a permanent clean; true to go on.
    std::function<bool(HWND owner, IListViewHost& host, const SelectionAmount& amount)> confirmPermanent;
};
ViewShell RealViewShell();

// The result list: a virtual list control whose rows are the records of a
// FoundItems listing; the control asks for each text when it draws it.
class CBriskoView : public win::CSubclassedWindow, public IFoundItemSink {
public:
    CBriskoView(IListViewHost& host, CBriskoDoc& doc);
    ~CBriskoView() override;

    // Creates the list window as the frame's client.
    bool Create(HWND parent);
    // Sets the list up, places the main window and shows a first scan.
    // `showFrame` shows the main window, placed, before the first scan.
    void OnInitialUpdate(const std::function<void()>& showFrame = {});
    // Report mode, the two image lists and the four columns.
    void SetUpList();
    // Font, icons and column widths for a display scale (ViewDpi.cpp); the
    // widths keep their proportions, also those the user dragged.
    void ApplyDpi(UINT dpi);
    UINT Dpi() const { return m_dpi; }

    // One row for a match of a scan; files in use and protected folders are left out.
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override;
    // One row at the top (or the bottom), without the listing test; none
    // when the item is listed already.
    void InsertFoundRow(const std::wstring& path, const WIN32_FIND_DATAW& findData, bool atTop = true);
    const FoundItems& Items() const { return m_items; }
    // The text of a cell as the list shows it.
    std::wstring CellText(size_t row, int column) const;
    // Sorts the rows by a column, keeping each item's selection.
    void SortRows(int column, bool ascending);
    // The size of the selection, as the selection-size pane shows it.
    const SelectionSize& SelectedSize() const { return m_selectedSize; }
    // What a clean of the selection would remove, as the question before a permanent one tells it.
    SelectionAmount SelectedAmountNow();
    // Why the item of a row stayed after the last clean, if it did.
    std::optional<LeftReason> LeftReasonOf(size_t row) const;
    // The path of the row the last clean started on last.
    const std::wstring& LastCleanPath() const { return m_lastCleanPath; }

    // True when the view carried the command out.
    bool OnCommand(UINT id);
    bool IsCommandEnabled(UINT id) const;
    // What the availability of commands depends on, now.
    CommandState Snapshot() const;
    LRESULT OnNotify(const NMHDR& header);

    win::CListCtrl List() const { return win::CListCtrl(m_hWnd); }
    CBriskoDoc& GetDocument() const { return m_doc; }

    // Empties the list, shows the findings of one scan mode sorted by name,
    // and names the mode in the title. A Cookies Killer scan that finds
    // nothing gives way to Offline Temp.
    void RunMode(BYTE mode);
    bool IsScanning() const { return m_scanJob != nullptr; }

    // The main window's title, set only when its text changes.
    void SetMainTitle(const std::wstring& text);
    // Pane 0 of the main frame's status bar.
    void ShowStatusText(const std::wstring& text);
    // "3 / 120 selected" or "Ready"; nothing during a clean.
    void UpdateSelectionStatus();

    // Starts the clean worker over the selected rows (commands 157 and 158);
    // false when one already runs or none could be started.
    bool StartClean(bool permanent);
    bool IsCleaning() const { return static_cast<bool>(m_cleanJob); }

    // Opens the selected rows' items with the shell (Open, double click, Enter);
    // asks first when there are several.
    void OpenSelectedItems();

    BYTE m_nMode = MODE_STANDARD;
    bool m_bCookiesAvailable = true;
    bool m_bBusy = false;   // only the user-interface thread reads or writes it
    int m_nCleanMode = 0;   // 1 permanent, 0 Recycle Bin; the worker gets its own copy
    // The removal of one row's item that a clean runs; empty for the real
    // one, tests put a recording one in.
    ItemRemover m_removeItem;
    std::wstring m_strTitle;
    bool m_bSortAscending[4] = {false, true, true, false};
    // Shown modally after every Offline Temp scan, with the document.
    std::function<void(CBriskoDoc&)> m_showAdvanceDialog;
    bool m_bAdvanceOpen = false;  // while the dialog is shown
    // Told of the state after each change of selection, mode or clean, so
    // that the toolbar follows without polling.
    std::function<void(const CommandState&)> m_commandStateChanged;
    ViewShell m_shell = RealViewShell();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Sorting, selection, opening, the context menu and the language change.
    void OnColumnClick(int column);
    void ChangeSelection(UINT command);
    void InvertSelection();
    void OnContextMenu(LPARAM screenPoint);
    POINT ContextMenuPoint(LPARAM screenPoint) const;
    void OnInitMenuPopup(HMENU menu);
    void OnLangChanged();

    // Tells m_commandStateChanged; called wherever the snapshot may change.
    void CommandStateChanged();
    void CreateImageLists();
    void CreateColumns();
    void OnSize(int cx);
    void ApplyStoredPlacement();
    // Progress and status, while idle and during a clean.
    // The rows the worker finished since the last call: dropped, or kept
    // unselected with their reason; the progress follows each.
    void TakeFinishedRows();
    void OnCleanDone();
    void OnItemChanged();
    void OnSelectionNotice(const NMLISTVIEW& change);
    void OnRangeSelected(const NMLVODSTATECHANGE& range);
    void RecountSelection();
    void ShowSelectionSize();
    void ShowCleanSummary();
    // The text a virtual row gives the control, and the control's own
    // requests for texts from other callers.
    void OnGetDispInfo(NMLVDISPINFOW& info) const;
    bool AnswerTextRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // The control's rows follow the listing's count.
    void SyncRowCount(bool keepScroll);
    // An added record only marks the count behind: telling the control at
    // each row would cost a message and a scroll bar update per row.
    void MarkRowCountBehind();
    // Rows `first` to the end went in a clean, their selection already
    // counted out: out of the listing and the control at once.
    void DropRowsFrom(size_t first);
    // One row that went in a clean: out of the control and the listing.
    void DeleteRow(size_t row);
    void CountSelectionChange(const FoundItem& item, bool selected);
    std::vector<int> SelectedRows() const;
    void ShowRemovalStatus();
    void ShowProgress(int startCount);
    void ShowProgress(int startCount, int selected);
    void RunNextMode();
    // While a clean runs the list does not draw each change: it is painted
    // a few times a second, and once more at the end.
    static constexpr UINT_PTR kRepaintTimer = 0xB15C;
    static constexpr ULONGLONG kCleanRepaintInterval = 2000;  // ms, when no row in sight changed
    size_t m_firstRowChanged = SIZE_MAX;  // since the last repaint during a clean
    ULONGLONG m_lastCleanRepaint = 0;
    ULONGLONG m_lastRemovalStatus = 0;  // when the removal status was last shown
    ULONGLONG m_lastWaitCursor = 0;     // when the wait cursor was last set
    bool m_bFilling = false;            // while a scan fills the list
    void SuspendDrawing(bool suspend);
    void RepaintDuringClean();
    void StopWorker();
    void OnDestroy();
    // The scan of a mode as a job, while this thread answers the window;
    // WM_SCANDONE tells its end.
    void StartScan(const std::shared_ptr<ScanJob>& job, std::optional<RulesFile> rules);
    // The scan's end: its findings listed, the title, the status and the
    // Advance dialog after an Offline Temp scan.
    void OnScanDone();
    // The count of items found so far, in the title.
    void ShowScanProgress();
    void StopScan();
    void StopScanAndWait();
    // A scan or a clean runs: the list is disabled and the frame keeps the keys.
    void EnterBusyState();
    void LeaveBusyState();
    static constexpr UINT_PTR kScanTitleTimer = 0xB15D;
    static constexpr DWORD kScanTitleInterval = 200;  // ms between two progress titles
    size_t m_scanTitleShown = SIZE_MAX;               // the count the title shows
    static constexpr DWORD kScanStopWait = 30000;     // ms a stopped scan may take to end

    IListViewHost& m_app;
    CBriskoDoc& m_doc;
    win::ImageList m_imageListSmall;
    win::ImageList m_imageListLarge;
    UINT m_dpi = 96;            // the scale the list is drawn for
    win::GdiObject m_listFont;  // the icon-title font at that scale
    bool m_bColumnsReady = false;
    FoundItems m_items;                            // the rows, in their order
    bool m_bRowCountBehind = false;                // records the control has not counted yet
    CTypeNames m_types;                            // the type names the rows' tags stand for
    SelectionSize m_selectedSize;                  // kept as the selection changes
    bool m_bBulkSelection = false;                 // while a command changes many rows' selection
    std::unordered_map<FoundItems::Id, LeftReason> m_leftReasons;  // rows the last clean left
    std::wstring m_cleanSummary;                   // shown until the next scan or clean
    bool m_bKeepCleanSummary = false;              // for the next mode a clean starts
    std::wstring m_lastCleanPath;
    std::shared_ptr<ScanJob> m_scanJob;            // the running scan, none when idle
    win::Job m_scan;                               // its thread
    win::Job m_cleanJob;                           // the running clean, empty when idle
    std::shared_ptr<CleanControl> m_cleanControl;  // shared with the running worker
};
