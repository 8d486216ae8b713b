#include "view/BriskoView.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "catalog/BriskoDoc.h"
#include "item/ItemPath.h"
#include "scan/Listing.h"
#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "policy/Policies.h"
#include "res/resource.h"
#include "scan/FoundItemOrder.h"
#include "view/ItemText.h"
#include "view/ListLayout.h"
#include "view/Placement.h"
#include "view/Sorting.h"
#include "win/Path.h"
#include "win/Text.h"

namespace {
constexpr int kFolderImage = 0;
constexpr int kDocumentImage = 1;

win::ImageList MakeImageList(int size) {
    win::ImageList list(::ImageList_Create(size, size, ILC_MASK | ILC_COLOR8, 9, 9));
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // The icons hold an image for each common size: the one asked for is drawn, not stretched.
    for (UINT id : {IDI_FOLDER, IDI_DOCUMENT})
        if (win::Icon icon{static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0))})
            ::ImageList_AddIcon(list.Get(), icon.Get());
    return list;
}
// The heading of a column: its language text or the built-in heading, at
// most 259 characters.
std::wstring ColumnHeading(int column) {
    std::wstring text = GetLangString(LangIdAfter(LangId::Column1, column));
    if (text.size() > 259) text.resize(259);
    return text;
}
}  // namespace

CBriskoView::CBriskoView(IListViewHost& host, CBriskoDoc& doc) : m_app(host), m_doc(doc) {}

CBriskoView::~CBriskoView() = default;

bool CBriskoView::Create(HWND parent) {
    // The border of a view is drawn as a sunken client edge. The image lists
    // belong to the view, which destroys them; the list only shares them.
    HWND hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                  WS_CHILD | WS_VISIBLE | LVS_SHAREIMAGELISTS | LVS_OWNERDATA, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(AFX_IDW_PANE_FIRST), ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd) m_dpi = win::DpiForWindow(hwnd);
    return hwnd && Subclass(hwnd);
}

void CBriskoView::SetUpList() {
    ModifyStyle(LVS_TYPEMASK, LVS_REPORT);
    CreateImageLists();
    CreateColumns();
}

void CBriskoView::CreateImageLists() {
    // The list shares the lists: the new ones are in place before the old ones go.
    win::ImageList small = MakeImageList(win::SystemMetricForDpi(SM_CXSMICON, m_dpi));
    win::ImageList large = MakeImageList(win::SystemMetricForDpi(SM_CXICON, m_dpi));
    List().SetImageList(small.Get(), LVSIL_SMALL);
    List().SetImageList(large.Get(), LVSIL_NORMAL);
    m_imageListSmall = std::move(small);
    m_imageListLarge = std::move(large);
}

void CBriskoView::CreateColumns() {
    if (m_bColumnsReady) return;
    ColumnWidths widths =
        InitialColumnWidths(GetClientRect().right, win::SystemMetricForDpi(SM_CXVSCROLL, m_dpi), m_dpi);
    const int formats[4] = {LVCFMT_LEFT, LVCFMT_CENTER, LVCFMT_RIGHT, LVCFMT_CENTER};
    for (int i = 0; i < 4; ++i) List().InsertColumn(i, ColumnHeading(i), formats[i], widths.width[i]);
    m_bColumnsReady = true;
}

void CBriskoView::OnSize(int cx) {
    if (!m_bColumnsReady) return;
    List().SetColumnWidth(0, FileNameWidthAfterResize(cx, List().GetColumnWidth(1), m_dpi));
}

void CBriskoView::ApplyStoredPlacement() {
    const wchar_t* section = L"Location";
    const win::CProfile& settings = m_app.Profile();
    RECT rc = ChooseWindowPlacement(settings.GetInt(section, L"Top", 0), settings.GetInt(section, L"Left", 0),
                                    settings.GetInt(section, L"Width", 0), settings.GetInt(section, L"Height", 0), m_dpi);
    m_app.MainWindow().MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, true);
}

void CBriskoView::AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) {
    if (IsListable(path, findData)) InsertFoundRow(path, findData);
}

void CBriskoView::InsertFoundRow(const std::wstring& path, const WIN32_FIND_DATAW& findData, bool atTop) {
    // One row per item, however many catalogue entries name it.
    bool folder = IsFolderEntry(findData);
    if (m_items.Add(FoundItems::MakeItem(path, findData, m_nMode, m_types.TagOf(path, folder)), atTop))
        MarkRowCountBehind();
}

void CBriskoView::MarkRowCountBehind() {
    if (m_bRowCountBehind) return;
    m_bRowCountBehind = true;
    PostMessage(WM_SYNCROWCOUNT, 0, 0);
}

void CBriskoView::SyncRowCount(bool keepScroll) {
    m_bRowCountBehind = false;
    SendMessage(LVM_SETITEMCOUNT, m_items.Count(), keepScroll ? LVSICF_NOSCROLL : 0);
}

std::wstring CBriskoView::CellText(size_t row, int column) const {
    if (row >= m_items.Count()) return {};
    const FoundItem& item = m_items[row];
    switch (column) {
    case kColumnName:
        return item.path;
    case kColumnType:
        return TypeWithRuleEntry(m_types.Name(item.tag), RuleEntryNameOf(m_ruleNames, item.rule));
    case kColumnSize:
        // An empty size marks a folder row.
        return item.folder ? std::wstring() : FormatSizeText(item.size);
    case kColumnDate:
        return FormatDateText(item.modified);
    default:
        return {};
    }
}

void CBriskoView::OnGetDispInfo(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if (item.iItem < 0 || static_cast<size_t>(item.iItem) >= m_items.Count()) return;
    if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        std::wstring text = CellText(item.iItem, item.iSubItem);
        ::lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
    }
    if (item.mask & LVIF_IMAGE) item.iImage = RowImage(static_cast<size_t>(item.iItem));
}

int CBriskoView::RowImage(size_t row) const { return m_items[row].folder ? kFolderImage : kDocumentImage; }

void CBriskoView::CommandStateChanged() {
    if (m_commandStateChanged) m_commandStateChanged(Snapshot());
}

CommandState CBriskoView::Snapshot() const {
    CommandState state;
    win::CListCtrl list = List();
    state.rows = list.GetItemCount();
    state.selected = list.GetSelectedCount();
    state.busy = m_bBusy;
    ApplyPolicies(state, *CurrentPolicies());
    return state;
}

bool CBriskoView::IsCommandEnabled(UINT id) const { return IsCommandAvailable(id, Snapshot()); }

bool CBriskoView::OnCommand(UINT id) {
    if (!IsCommandEnabled(id)) return true;  // an unavailable command does nothing, whatever sent it
    switch (id) {
    case ID_EDIT_SELECT_ALL:
    case ID_EDIT_UNSELECT_ALL:
    case ID_EDIT_INVERT_SELECTION:
        ChangeSelection(id);
        return true;
    case ID_FILE_OPEN:
        OpenSelectedItems();
        return true;
    default:
        return false;
    }
}

void CBriskoView::OnColumnClick(int column) {
    if (column < 0 || column >= static_cast<int>(std::size(m_bSortAscending))) return;
    const bool ascending = m_bSortAscending[column];
    SortRows(column, ascending);
    ShowSortArrow(column, ascending);
    m_bSortAscending[column] = !ascending;
}

void CBriskoView::ShowSortArrow(int column, bool ascending) {
    win::CHeaderCtrl header(List().GetHeader());
    for (int i = 0, count = header.GetItemCount(); i < count; ++i)
        header.SetItemFormat(i, SortedHeaderFormat(header.GetItemFormat(i), i == column, ascending));
}

std::vector<int> CBriskoView::SelectedRows() const {
    std::vector<int> rows;
    win::CListCtrl list = List();
    const int count = list.GetItemCount();
    if (count > 0 && list.GetSelectedCount() == count) {
        // Every row: a million rows asked one by one would keep the window deaf for a second.
        rows.resize(static_cast<size_t>(count));
        for (int row = 0; row < count; ++row) rows[static_cast<size_t>(row)] = row;
        return rows;
    }
    for (int row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

void CBriskoView::SortRows(int column, bool ascending) {
    // The control keeps the selection by row index: it goes with its items.
    win::CListCtrl list = List();
    const int selected = list.GetSelectedCount(), rows = static_cast<int>(m_items.Count());
    std::vector<FoundItems::Id> selectedIds;
    if (selected > 0 && selected < rows)
        for (int row : SelectedRows()) selectedIds.push_back(m_items.IdAt(row));
    SortFoundItems(m_items, column, ascending, m_types.Ranks());
    if (!selectedIds.empty()) {
        std::sort(selectedIds.begin(), selectedIds.end());
        m_bBulkSelection = true;
        SendMessage(WM_SETREDRAW, FALSE);
        list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row = 0; row < rows; ++row)
            if (std::binary_search(selectedIds.begin(), selectedIds.end(), m_items.IdAt(row)))
                list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        SendMessage(WM_SETREDRAW, TRUE);
        m_bBulkSelection = false;
        OnSelectionChanged();
    }
    Invalidate();
}

void CBriskoView::ChangeSelection(UINT command) {
    ::SetFocus(m_hWnd);
    // A virtual list keeps its selection as ranges: all rows change in one
    // step, and Invert touches only the smaller of the two sides. The list
    // is drawn once, after the change: a row drawn anew costs more than its
    // change of state.
    m_bBulkSelection = true;
    SendMessage(WM_SETREDRAW, FALSE);
    if (command == ID_EDIT_INVERT_SELECTION) InvertSelection();
    else List().SetItemState(-1, command == ID_EDIT_SELECT_ALL ? LVIS_SELECTED : 0, LVIS_SELECTED);
    if (!m_bBusy) SendMessage(WM_SETREDRAW, TRUE);  // a clean draws again at its end
    else m_firstRowChanged = 0;                      // at its next repaint
    Invalidate();
    m_bBulkSelection = false;
    OnSelectionChanged();
}

void CBriskoView::InvertSelection() {
    win::CListCtrl list = List();
    const int rows = list.GetItemCount(), selectedCount = list.GetSelectedCount();
    if (selectedCount == 0 || selectedCount == rows) {
        list.SetItemState(-1, selectedCount == 0 ? LVIS_SELECTED : 0, LVIS_SELECTED);
        return;
    }
    std::vector<int> selected = SelectedRows();
    if (selected.size() * 2 <= static_cast<size_t>(rows)) {
        list.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
        for (auto row = selected.rbegin(); row != selected.rend(); ++row) list.SetItemState(*row, 0, LVIS_SELECTED);
        return;
    }
    list.SetItemState(-1, 0, LVIS_SELECTED);
    size_t next = selected.size();
    for (int row = rows - 1; row >= 0; --row) {
        if (next > 0 && selected[next - 1] == row) {
            --next;
            continue;
        }
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
}

void CBriskoView::OpenSelectedItems() {
    win::CListCtrl list = List();
    if (list.GetSelectedCount() > 1 &&
        m_shell.messageBox(m_hWnd, GetLangString(LangId::StatusOpenQuestion), GetLangString(LangId::StatusOpenCaption),
                           MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    std::vector<int> selected = SelectedRows();
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        const FoundItem& item = m_items[*row];
        // A folder row may name a folder that is gone by now.
        if (!item.folder || FullPathExists(item.path)) m_shell.open(item.path);
    }
}

void CBriskoView::OnContextMenu(LPARAM screenPoint) {
    if (m_bBusy) return;
    HMENU edit = ::GetSubMenu(::GetMenu(m_app.MainWindow()), 1);
    if (edit) m_shell.trackPopup(edit, ContextMenuPoint(screenPoint), m_hWnd);
}

POINT CBriskoView::ContextMenuPoint(LPARAM screenPoint) const {
    POINT at{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (at.x != -1 || at.y != -1) return at;
    // From the keyboard: below the focused row's name, or at the list's corner.
    at = POINT{0, 0};
    int focused = List().GetNextItem(-1, LVNI_FOCUSED);
    RECT row{};
    row.left = LVIR_LABEL;
    if (focused >= 0 && SendMessage(LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&row)))
        at = POINT{row.left, row.bottom};
    ::ClientToScreen(m_hWnd, &at);
    return at;
}

void CBriskoView::OnInitMenuPopup(HMENU menu) {
    // A command without a rule of the view has no handler here either.
    CommandState state = Snapshot();
    win::EnableMenuItems(menu, [&state](UINT id) { return IsCommandAvailable(id, state); });
}

void CBriskoView::OnLangChanged() {
    win::CHeaderCtrl header(List().GetHeader());
    for (int i = 0, count = header.GetItemCount(); i < count; ++i) header.SetItemText(i, ColumnHeading(i));
}


LRESULT CBriskoView::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOW:
        OnGetDispInfo(const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)));
        return 0;
    case LVN_ITEMCHANGED:
        OnSelectionNotice(reinterpret_cast<const NMLISTVIEW&>(header));
        if (!m_bBulkSelection) OnSelectionChanged();
        return 0;
    case LVN_ODSTATECHANGED:
        OnRangeSelected(reinterpret_cast<const NMLVODSTATECHANGE&>(header));
        if (!m_bBulkSelection) OnSelectionChanged();
        return 0;
    case LVN_COLUMNCLICK:
        OnColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
        return 0;
    case NM_DBLCLK:
    case NM_RETURN:
        OpenSelectedItems();
        return 0;
    }
    return 0;
}

LRESULT CBriskoView::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT answer = 0;
    // Whoever asks the control anything next sees every record added; a
    // run of added records is counted once.
    if (m_bRowCountBehind && msg != WM_ADDFOUNDITEM && msg != WM_DESTROY && msg != WM_NCDESTROY) SyncRowCount(false);
    if (AnswerTextRequest(msg, wp, lp, answer)) return answer;
    if (OnJobMessage(msg, wp, lp, answer)) return answer;
    switch (msg) {
    case WM_SYNCROWCOUNT:
        return 0;
    case WM_ADDFOUNDITEM:
        AddFoundItem(*reinterpret_cast<const std::wstring*>(wp), *reinterpret_cast<const WIN32_FIND_DATAW*>(lp));
        return 0;
    case LVM_DELETEALLITEMS:
        m_items.Clear();
        m_leftReasons.clear();
        m_selectedSize = SelectionSize();
        answer = DefaultProc(msg, wp, lp);
        ShowSelectionSize();  // the control tells no change of selection here
        return answer;
    case WM_SIZE: {
        LRESULT result = DefaultProc(msg, wp, lp);
        OnSize(LOWORD(lp));
        return result;
    }
    case WM_COMMAND:
        // Menus and accelerators only; a control of the list's own keeps its messages.
        if (lp == 0 && OnCommand(LOWORD(wp))) return 0;
        break;
    case WM_CONTEXTMENU:
        OnContextMenu(lp);
        return 0;
    case WM_INITMENUPOPUP:
        if (HIWORD(lp)) break;  // the system menu
        OnInitMenuPopup(reinterpret_cast<HMENU>(wp));
        return 0;
    case WM_LANGCHANGED:
        OnLangChanged();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        break;
    }
    return DefaultProc(msg, wp, lp);
}

void CBriskoView::OnSelectionChanged() {
    ShowSelectionSize();
    CommandStateChanged();
    if (!m_bBusy) UpdateSelectionStatus();
}

void CBriskoView::OnDestroy() {
    // The language setting is kept per Windows user.
    m_app.Profile().WriteString(m_app.UserName(), L"src", m_app.Language());
}
