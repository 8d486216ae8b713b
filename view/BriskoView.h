#pragma once
// The result list: one row per found item, in a report-mode list view that
// fills the main frame's client area: its columns, sorting and selection.
// The jobs that fill and empty it are CListController's.
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
#include "scan/RulesFile.h"
#include "view/CommandAvailability.h"
#include "view/ConfirmDelete.h"
#include "view/ListViewHost.h"
#include "view/StatusTexts.h"
#include "view/ViewShell.h"
#include "view/TypeNames.h"
#include "view/WorkerProtocol.h"
#include "win/Controls.h"
#include "win/Handle.h"
#include "win/Window.h"

class CBriskoDoc;


// What a selection holds: its rows, and what removing them would take, the
// contents of the measured folders included.
struct SelectionSize {
    ItemAmount amount;
    int rows = 0;
    int Rows() const { return rows; }
};


// The result list: a virtual list control whose rows are the records of a
// FoundItems listing; the control asks for each text when it draws it.
class CBriskoView : public win::CSubclassedWindow, public IFoundItemSink {
public:
    CBriskoView(IListViewHost& host, CBriskoDoc& doc);
    ~CBriskoView() override;

    // Creates the list window as the frame's client.
    bool Create(HWND parent);
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
    // The text of a cell as the list shows it, and the picture of a row.
    std::wstring CellText(size_t row, int column) const;
    int RowImage(size_t row) const;
    // Sorts the rows by a column, keeping each item's selection.
    void SortRows(int column, bool ascending);
    // The header's arrow on the column the rows are sorted by, none on the others.
    void ShowSortArrow(int column, bool ascending);
    // The size of the selection, as the selection-size pane shows it.
    const SelectionSize& SelectedSize() const { return m_selectedSize; }
    // What a clean of the selection would remove, as the question before a permanent one tells it.
    SelectionAmount SelectedAmountNow();
    // Why the item of a row stayed after the last clean, if it did.
    std::optional<LeftReason> LeftReasonOf(size_t row) const;

    // True when the view carried the command out.
    virtual bool OnCommand(UINT id);
    bool IsCommandEnabled(UINT id) const;
    // What the availability of commands depends on, now.
    virtual CommandState Snapshot() const;
    LRESULT OnNotify(const NMHDR& header);

    win::CListCtrl List() const { return win::CListCtrl(m_hWnd); }
    CBriskoDoc& GetDocument() const { return m_doc; }

    // Pane 0 of the main frame's status bar.
    void ShowStatusText(const std::wstring& text);
    // "3 / 120 selected" or "Ready"; nothing during a clean.
    void UpdateSelectionStatus();

    // Opens the selected rows' items with the shell (Open, double click, Enter);
    // asks first when there are several.
    void OpenSelectedItems();

    BYTE m_nMode = MODE_STANDARD;  // the mode whose findings the rows are
    bool m_bBusy = false;          // a job works on the rows; only the user-interface thread reads or writes it
    bool m_bSortAscending[4] = {false, true, true, false};
    // Told of the state after each change of selection, mode or clean, so
    // that the toolbar follows without polling.
    std::function<void(const CommandState&)> m_commandStateChanged;
    ViewShell m_shell = RealViewShell();

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    // A job's own messages, before the list's; true when handled.
    virtual bool OnJobMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }
    // The selection changed; the status and the commands follow.
    virtual void OnSelectionChanged();
    // A new language file is in use: the column headings follow.
    virtual void OnLangChanged();

    // Tells m_commandStateChanged; called wherever the snapshot may change.
    void CommandStateChanged();
    void ApplyStoredPlacement();
    void ShowSelectionSize();
    // The control's rows follow the listing's count.
    void SyncRowCount(bool keepScroll);
    // Rows `first` to the end went in a clean, their selection already
    // counted out: out of the listing and the control at once.
    void DropRowsFrom(size_t first);
    // One row that went in a clean: out of the control and the listing.
    void DeleteRow(size_t row);
    // A row whose item a clean left, unselected, with its reason.
    void KeepLeftRow(size_t row, LeftReason reason);
    void ForgetLeftReasons() { m_leftReasons.clear(); }
    void CountSelectionChange(size_t row, bool selected);
    // Counts the selection anew: after a change of many rows, or of what
    // selected folders hold.
    void RecountSelection();
    std::vector<int> SelectedRows() const;

    IListViewHost& m_app;
    CBriskoDoc& m_doc;
    FoundItems m_items;  // the rows, in their order
    CTypeNames m_types;  // the type names the rows' tags stand for
    std::vector<std::wstring> m_ruleNames;  // the rules entries the rows' rule numbers stand for
    // While a job works the list is not drawn at each change: the first row
    // changed since it was last drawn.
    size_t m_firstRowChanged = SIZE_MAX;

private:
    // Sorting, selection, opening and the context menu.
    void OnColumnClick(int column);
    void ChangeSelection(UINT command);
    void InvertSelection();
    void OnContextMenu(LPARAM screenPoint);
    POINT ContextMenuPoint(LPARAM screenPoint) const;
    void OnInitMenuPopup(HMENU menu);

    void CreateImageLists();
    void CreateColumns();
    void OnSize(int cx);
    void OnSelectionNotice(const NMLISTVIEW& change);
    void OnRangeSelected(const NMLVODSTATECHANGE& range);
    // The text a virtual row gives the control, and the control's own
    // requests for texts from other callers.
    void OnGetDispInfo(NMLVDISPINFOW& info) const;
    bool AnswerTextRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // An added record only marks the count behind: telling the control at
    // each row would cost a message and a scroll bar update per row.
    void MarkRowCountBehind();
    void OnDestroy();

    win::ImageList m_imageListSmall;
    win::ImageList m_imageListLarge;
    UINT m_dpi = 96;            // the scale the list is drawn for
    win::GdiObject m_listFont;  // the icon-title font at that scale
    bool m_bColumnsReady = false;
    bool m_bRowCountBehind = false;  // records the control has not counted yet
    SelectionSize m_selectedSize;    // kept as the selection changes
    bool m_bBulkSelection = false;   // while a command changes many rows' selection
    std::unordered_map<FoundItems::Id, LeftReason> m_leftReasons;  // rows the last clean left
};
