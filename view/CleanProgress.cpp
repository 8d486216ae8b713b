// The controller's texts while it works, and its side of a clean's reports:
// the title and status texts, the progress in percent, and the next mode
// after a clean that emptied the list.
#include <algorithm>

#include "i18n/Lang.h"
#include "res/resource.h"
#include "view/ListController.h"
#include "view/StatusTexts.h"
#include "win/Controls.h"

void CListController::SetMainTitle(const std::wstring& text) {
    win::CWnd main = m_app.MainWindow();
    if (!main.IsWindow() || main.GetWindowText() == text) return;
    main.SetWindowText(text);
}

void CListController::ShowCleanSummary() {
    win::CStatusBar* bar = m_app.StatusBar();
    if (bar && bar->IsWindow()) win::SetStatusPaneText(*bar, kCleanSummaryPane, m_cleanSummary);
}

void CListController::ShowProgress(int startCount) { ShowProgress(startCount, List().GetSelectedCount()); }
void CListController::ShowProgress(int startCount, int selected) {
    if (selected > 0) return SetMainTitle(ProgressTitle(ProgressPercent(startCount, selected), m_strTitle));
    if (List().GetItemCount() > 0) return;
    ShowStatusText(ReadyText());
    if (startCount < 1) RunNextMode();
}

void CListController::RunNextMode() {
    // A clean emptied the list: the next mode runs without a question.
    ShowStatusText(LoadResPrefix(AFX_IDS_IDLEMESSAGE));
    m_bKeepCleanSummary = true;  // what the clean did stays in view over the next mode
    RunMode(NextMode(m_nMode));
}

void CListController::TakeFinishedRows() {
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
                CountSelectionChange(static_cast<size_t>(done.row), false);
                ++goneSelected;
            }
        } else {
            DropRowsFrom(goneFrom);
            goneFrom = m_items.Count();
            goneSelected = 0;
            if (done.stays) {
                KeepLeftRow(done.row, done.reason);  // the row stays, unselected, with its reason
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

void CListController::ShowRemovalStatus() {
    // Painting the bar and setting the cursor cost more than removing a
    // file: both last at least a moment; the end of the clean writes the
    // last word.
    ULONGLONG now = ::GetTickCount64();
    if (m_lastRemovalStatus != 0 && now - m_lastRemovalStatus < kStatusInterval) return;
    m_lastRemovalStatus = now;
    win::ShowWaitCursor();
    if (!m_cleanControl) return;
    std::wstring removing = m_cleanControl->RemovingPath();
    ShowStatusText(removing.empty() ? RowStatusText(m_cleanControl->CurrentPath()) : DeletingStatusText(removing));
}

void CListController::OnCleanDone() {
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
    StartMeasuring();  // what the clean left, and what it stopped
}

void CListController::SuspendDrawing(bool suspend) {
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

void CListController::RepaintDuringClean() {
    TakeFinishedRows();  // the rows of a batch not told yet
    const size_t lastShown = static_cast<size_t>(List().GetTopIndex() + List().GetCountPerPage());
    if (m_firstRowChanged <= lastShown) return RepaintList();
    // The rows out of sight that went only move the scroll bar. A repaint of
    // the whole list would hold the window for tens of milliseconds while the
    // worker keeps the server busy; the bar alone costs a fraction of that.
    const ULONGLONG now = ::GetTickCount64();
    if (now - m_lastCleanRepaint < kCleanScrollInterval) return;
    m_lastCleanRepaint = now;
    ShowRowCountOnScrollBar();
}

void CListController::RepaintList() {
    m_lastCleanRepaint = ::GetTickCount64();
    SendMessage(WM_SETREDRAW, TRUE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessage(WM_SETREDRAW, FALSE);
    m_firstRowChanged = SIZE_MAX;  // after this paint, which counts as one of an uncovered list
}

void CListController::ShowRowCountOnScrollBar() {
    // What the list sets itself when it draws again: its rows and a page of
    // them; the position stays, as the rows in sight do.
    SCROLLINFO bar{sizeof(bar), SIF_RANGE | SIF_PAGE};
    bar.nMin = 0;
    bar.nMax = std::max(0, List().GetItemCount() - 1);
    bar.nPage = static_cast<UINT>(std::max(0, List().GetCountPerPage()));
    ::SetScrollInfo(m_hWnd, SB_VERT, &bar, TRUE);
}
