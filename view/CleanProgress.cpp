// The view's texts while it works, and its side of a clean's reports: the
// title and status texts, the progress in percent, and the next mode after
// a clean that emptied the list.
#include "app/BriskoApp.h"
#include "i18n/Lang.h"
#include "view/BriskoView.h"
#include "view/StatusTexts.h"

void CBriskoView::SetMainTitle(const std::wstring& text) {
    if (!m_app.m_pMainWnd.IsWindow() || m_app.m_pMainWnd.GetWindowText() == text) return;
    m_app.m_pMainWnd.SetWindowText(text);
}

void CBriskoView::ShowStatusText(const std::wstring& text) {
    // Every row a scan inserts changes an item: the bar is painted again
    // only when its text really changes.
    win::CStatusBar* bar = m_app.m_pStatusBar;
    if (bar && bar->IsWindow() && bar->GetPaneText(0) != text) bar->SetPaneText(0, text, SBT_NOTABPARSING);
}

void CBriskoView::UpdateSelectionStatus() {
    if (m_bBusy) return;
    ShowStatusText(SelectionStatusText(List().GetSelectedCount(), List().GetItemCount()));
}

void CBriskoView::OnItemChanged() {
    // A scan changes every row it fills in: the status follows once, at its end.
    if (m_bFilling) return;
    CommandStateChanged();
    if (!m_bBusy) return UpdateSelectionStatus();
    ULONGLONG now = ::GetTickCount64();
    if (m_lastWaitCursor != 0 && now - m_lastWaitCursor < kStatusInterval) return;
    m_lastWaitCursor = now;
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

void CBriskoView::ShowProgress(int startCount) {
    int selected = List().GetSelectedCount();
    if (selected > 0) return SetMainTitle(ProgressTitle(ProgressPercent(startCount, selected), m_strTitle));
    if (List().GetItemCount() > 0) return;
    ShowStatusText(ReadyText());
    if (startCount < 1) RunNextMode();
}

void CBriskoView::RunNextMode() {
    // A clean emptied the list: the next mode runs without a question.
    ShowStatusText(LoadResPrefix(AFX_IDS_IDLEMESSAGE));
    RunMode(NextMode(m_nMode));
}

void CBriskoView::OnCleanItem(int row, LPARAM report) {
    if (report < 0) return ShowRemovalStatus();
    List().DeleteItem(row);
    if (List().GetSelectedCount() > 0) ShowProgress(static_cast<int>(report));
}

void CBriskoView::ShowRemovalStatus() {
    // Painting the bar and setting the cursor cost more than removing a
    // file: both last at least a moment; the end of the clean writes the
    // last word.
    ULONGLONG now = ::GetTickCount64();
    if (m_lastRemovalStatus != 0 && now - m_lastRemovalStatus < kStatusInterval) return;
    m_lastRemovalStatus = now;
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    ShowStatusText(RowStatusText(GetCurrentCleanPath(m_app)));
}

void CBriskoView::OnCleanDone() {
    if (m_pCleanThread) ::WaitForSingleObject(m_pCleanThread.Get(), 5000);  // it has posted its last report
    m_pCleanThread.Reset();
    m_cleanControl.reset();
    m_lastRemovalStatus = 0;
    m_lastWaitCursor = 0;
    m_bBusy = false;
    CommandStateChanged();
    SuspendDrawing(false);
    SetMainTitle(m_strTitle);
    EnableWindow(true);
    if (List().GetItemCount() == 0) ShowProgress(0);
    else UpdateSelectionStatus();
}

void CBriskoView::SuspendDrawing(bool suspend) {
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
    SendMessage(WM_SETREDRAW, TRUE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SendMessage(WM_SETREDRAW, FALSE);
}
