// The view's texts while it works, and its side of a clean's reports: the
// title and status texts, the progress in percent, and the next mode after
// a clean that emptied the list.
#include <algorithm>

#include "i18n/Lang.h"
#include "res/resource.h"
#include "view/BriskoView.h"
#include "view/StatusTexts.h"
#include "win/Controls.h"

void CBriskoView::SetMainTitle(const std::wstring& text) {
    win::CWnd main = m_app.MainWindow();
    if (!main.IsWindow() || main.GetWindowText() == text) return;
    main.SetWindowText(text);
}

void CBriskoView::ShowStatusText(const std::wstring& text) {
    // Every row a scan inserts changes an item: the bar is painted again
    // only when its text really changes.
    win::CStatusBar* bar = m_app.StatusBar();
    if (bar && bar->IsWindow() && bar->GetPaneText(0) != text) bar->SetPaneText(0, text, SBT_NOTABPARSING);
}

void CBriskoView::UpdateSelectionStatus() {
    if (m_bBusy) return;
    int selected = List().GetSelectedCount();
    // A row the last clean left tells why, when it is the one selected.
    if (selected == 1 && !m_leftReasons.empty()) {
        if (std::optional<LeftReason> reason = LeftReasonOf(List().GetNextItem(-1, LVNI_SELECTED)))
            return ShowStatusText(LeftRowStatusText(*reason));
    }
    ShowStatusText(SelectionStatusText(selected, List().GetItemCount()));
}

std::optional<LeftReason> CBriskoView::LeftReasonOf(size_t row) const {
    if (row >= m_items.Count()) return std::nullopt;
    auto found = m_leftReasons.find(m_items.IdAt(row));
    if (found == m_leftReasons.end()) return std::nullopt;
    return found->second;
}

void CBriskoView::OnSelectionNotice(const NMLISTVIEW& change) {
    if (!(change.uChanged & LVIF_STATE) || !((change.uOldState ^ change.uNewState) & LVIS_SELECTED)) return;
    const bool selected = (change.uNewState & LVIS_SELECTED) != 0;
    if (change.iItem < 0) {
        // Every row at once: the whole listing, or nothing.
        m_selectedSize = SelectionSize();
        if (selected) RecountSelection();
        return;
    }
    if (static_cast<size_t>(change.iItem) >= m_items.Count()) return;
    CountSelectionChange(m_items[change.iItem], selected);
}

void CBriskoView::CountSelectionChange(const FoundItem& item, bool selected) {
    const int step = selected ? 1 : -1;
    if (item.folder) {
        m_selectedSize.folders += step;
    } else {
        m_selectedSize.files += step;
        m_selectedSize.bytes += selected ? item.size : (0 - item.size);
    }
}

void CBriskoView::OnRangeSelected(const NMLVODSTATECHANGE&) {
    // A range tells its new state, not which of its rows had it before.
    RecountSelection();
}

SelectionAmount CBriskoView::SelectedAmountNow() {
    RecountSelection();
    SelectionAmount amount;
    amount.items = static_cast<size_t>(m_selectedSize.Rows());
    amount.bytes = m_selectedSize.bytes;
    amount.folders = static_cast<size_t>(m_selectedSize.folders);
    return amount;
}

void CBriskoView::RecountSelection() {
    m_selectedSize = SelectionSize();
    win::CListCtrl list = List();
    const bool all = list.GetSelectedCount() == static_cast<int>(m_items.Count());
    auto count = [this](size_t row) {
        const FoundItem& item = m_items[row];
        if (item.folder) return void(++m_selectedSize.folders);
        ++m_selectedSize.files;
        m_selectedSize.bytes += item.size;
    };
    if (all) {
        for (size_t row = 0; row < m_items.Count(); ++row) count(row);
        return;
    }
    for (int row : SelectedRows()) count(row);
}

void CBriskoView::ShowSelectionSize() {
    win::CStatusBar* bar = m_app.StatusBar();
    if (!bar || !bar->IsWindow()) return;
    std::wstring text = m_selectedSize.Rows() > 0 ? SelectionSizeText(m_selectedSize.bytes, m_selectedSize.Rows(),
                                                                      m_selectedSize.folders)
                                                  : std::wstring();
    win::SetStatusPaneText(*bar, kSelectionSizePane, text);
}

void CBriskoView::ShowCleanSummary() {
    win::CStatusBar* bar = m_app.StatusBar();
    if (bar && bar->IsWindow()) win::SetStatusPaneText(*bar, kCleanSummaryPane, m_cleanSummary);
}

void CBriskoView::OnItemChanged() {
    // A scan changes every row it fills in: the status follows once, at its end.
    if (m_bFilling) return;
    if (!m_bBusy) {
        ShowSelectionSize();
        CommandStateChanged();
        return UpdateSelectionStatus();
    }
    // During a clean every row it removes changes: the commands and the
    // selection's size follow a few times a second, and at its end.
    ULONGLONG now = ::GetTickCount64();
    if (m_lastWaitCursor != 0 && now - m_lastWaitCursor < kStatusInterval) return;
    m_lastWaitCursor = now;
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    ShowSelectionSize();
    CommandStateChanged();
}

void CBriskoView::ShowProgress(int startCount) { ShowProgress(startCount, List().GetSelectedCount()); }

void CBriskoView::ShowProgress(int startCount, int selected) {
    if (selected > 0) return SetMainTitle(ProgressTitle(ProgressPercent(startCount, selected), m_strTitle));
    if (List().GetItemCount() > 0) return;
    ShowStatusText(ReadyText());
    if (startCount < 1) RunNextMode();
}

void CBriskoView::RunNextMode() {
    // A clean emptied the list: the next mode runs without a question.
    ShowStatusText(LoadResPrefix(AFX_IDS_IDLEMESSAGE));
    m_bKeepCleanSummary = true;  // what the clean did stays in view over the next mode
    RunMode(NextMode(m_nMode));
}

void CBriskoView::TakeFinishedRows() {
    if (!m_cleanControl) return;
    m_cleanControl->Taken();  // rows finished from now on are told again
    // A clean goes from the last row up: the rows that went mostly end the
    // list when they are taken, and leave it together.
    size_t goneFrom = m_items.Count();
    int goneSelected = 0;  // of the rows from there on, those the control still counts as selected
    for (const CleanControl::FinishedRow& done : m_cleanControl->finished.Take()) {
        if (static_cast<size_t>(done.row) >= m_items.Count()) continue;
        m_firstRowChanged = std::min(m_firstRowChanged, static_cast<size_t>(done.row));
        if (!done.stays && static_cast<size_t>(done.row) + 1 == goneFrom) {
            goneFrom = done.row;
            // It leaves the selection's size as the control's own deletion
            // of the row would tell it.
            if (List().GetItemState(done.row, LVIS_SELECTED)) {
                CountSelectionChange(m_items[done.row], false);
                ++goneSelected;
            }
        } else {
            DropRowsFrom(goneFrom);
            goneFrom = m_items.Count();
            goneSelected = 0;
            if (done.stays) {
                // The row stays, unselected, with its reason.
                m_leftReasons[m_items.IdAt(done.row)] = done.reason;
                List().SetItemState(done.row, 0, LVIS_SELECTED);
            } else {
                DeleteRow(done.row);  // removed, or gone since the scan
            }
        }
        const int selected = List().GetSelectedCount() - goneSelected;
        if (selected > 0) ShowProgress(done.startCount, selected);
    }
    DropRowsFrom(goneFrom);
    ShowRemovalStatus();
}

void CBriskoView::DeleteRow(size_t row) {
    // The control forgets the row's state, telling its selection's change;
    // then the listing lets its record go.
    List().DeleteItem(static_cast<int>(row));
    m_items.RemoveRow(row);
}

void CBriskoView::DropRowsFrom(size_t first) {
    if (first >= m_items.Count()) return;
    // The control counts them out at once, which deletes them, their
    // selection and focus alike.
    while (m_items.Count() > first) m_items.RemoveRow(m_items.Count() - 1);
    SyncRowCount(true);
}

void CBriskoView::ShowRemovalStatus() {
    // Painting the bar and setting the cursor cost more than removing a
    // file: both last at least a moment; the end of the clean writes the
    // last word.
    ULONGLONG now = ::GetTickCount64();
    if (m_lastRemovalStatus != 0 && now - m_lastRemovalStatus < kStatusInterval) return;
    m_lastRemovalStatus = now;
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    if (!m_cleanControl) return;
    std::wstring removing = m_cleanControl->RemovingPath();
    ShowStatusText(removing.empty() ? RowStatusText(m_cleanControl->CurrentPath()) : DeletingStatusText(removing));
}

void CBriskoView::OnCleanDone() {
    m_cleanJob.Wait(5000);  // it has posted its last report
    m_cleanJob.Reset();
    TakeFinishedRows();
    if (m_cleanControl) {
        m_lastCleanPath = m_cleanControl->CurrentPath();
        m_cleanSummary = CleanSummaryText(m_cleanControl->Summary());
    }
    m_cleanControl.reset();
    ShowCleanSummary();
    m_lastRemovalStatus = 0;
    m_lastWaitCursor = 0;
    m_bBusy = false;
    SuspendDrawing(false);
    SetMainTitle(m_strTitle);
    LeaveBusyState();
    ShowSelectionSize();
    if (List().GetItemCount() == 0) ShowProgress(0);
    else UpdateSelectionStatus();
}

void CBriskoView::SuspendDrawing(bool suspend) {
    m_firstRowChanged = SIZE_MAX;
    m_lastCleanRepaint = ::GetTickCount64();
    if (suspend) {
        SendMessage(WM_SETREDRAW, FALSE);
        ::SetTimer(m_hWnd, kRepaintTimer, 250, nullptr);
        return;
    }
    ::KillTimer(m_hWnd, kRepaintTimer);
    SendMessage(WM_SETREDRAW, TRUE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CBriskoView::RepaintDuringClean() {
    TakeFinishedRows();  // the rows of a batch not told yet
    // A repaint of the list costs tens of milliseconds of both processors'
    // time, taken from the removals: the rows out of sight that went only
    // move the scroll bar, which follows every few seconds.
    const ULONGLONG now = ::GetTickCount64();
    const size_t lastShown = static_cast<size_t>(List().GetTopIndex() + List().GetCountPerPage());
    if (m_firstRowChanged > lastShown && now - m_lastCleanRepaint < kCleanRepaintInterval) return;
    m_firstRowChanged = SIZE_MAX;
    m_lastCleanRepaint = now;
    SendMessage(WM_SETREDRAW, TRUE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessage(WM_SETREDRAW, FALSE);
}
