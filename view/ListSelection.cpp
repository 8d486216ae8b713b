// The list's selection as the status bar tells it: its size, the "selected"
// text or why a row the last clean left stayed, and the rows that leave the
// list in a clean.
#include <algorithm>

#include "view/BriskoView.h"
#include "view/StatusTexts.h"
#include "win/Controls.h"

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
    CountSelectionChange(static_cast<size_t>(change.iItem), selected);
}

void CBriskoView::CountSelectionChange(size_t row, bool selected) {
    const ItemAmount amount = m_items.AmountAt(row);
    if (selected) {
        m_selectedSize.amount += amount;
        ++m_selectedSize.rows;
    } else {
        m_selectedSize.amount -= amount;
        --m_selectedSize.rows;
    }
}

void CBriskoView::OnRangeSelected(const NMLVODSTATECHANGE&) {
    // A range tells its new state, not which of its rows had it before.
    RecountSelection();
}

SelectionAmount CBriskoView::SelectedAmountNow() {
    RecountSelection();
    return m_selectedSize.amount;
}

void CBriskoView::RecountSelection() {
    m_selectedSize = SelectionSize();
    win::CListCtrl list = List();
    const bool all = list.GetSelectedCount() == static_cast<int>(m_items.Count());
    auto count = [this](size_t row) { CountSelectionChange(row, true); };
    if (all) {
        for (size_t row = 0; row < m_items.Count(); ++row) count(row);
        return;
    }
    for (int row : SelectedRows()) count(row);
}

void CBriskoView::ShowSelectionSize() {
    win::CStatusBar* bar = m_app.StatusBar();
    if (!bar || !bar->IsWindow()) return;
    std::wstring text =
        m_selectedSize.Rows() > 0 ? SelectionSizeText(m_selectedSize.amount, m_selectedSize.Rows()) : std::wstring();
    win::SetStatusPaneText(*bar, kSelectionSizePane, text);
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

void CBriskoView::KeepLeftRow(size_t row, LeftReason reason) {
    m_leftReasons[m_items.IdAt(row)] = reason;
    List().SetItemState(static_cast<int>(row), 0, LVIS_SELECTED);
}
