#include "view/BriskoView.h"

#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "catalog/BriskoDoc.h"
#include "clean/ItemPath.h"
#include "clean/Listing.h"
#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "policy/Policies.h"
#include "res/resource.h"
#include "scan/FoundItemOrder.h"
#include "view/ItemText.h"
#include "view/ListLayout.h"
#include "view/Placement.h"
#include "view/BrowsersDialog.h"
#include "view/RulesChoice.h"
#include "view/ScanJob.h"
#include "view/Sorting.h"
#include "view/StatusTexts.h"
#include "win/ComInit.h"
#include "win/Log.h"
#include "win/Path.h"
#include "win/ShellOpen.h"
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
}  // namespace

CBriskoView::CBriskoView(IListViewHost& host, CBriskoDoc& doc) : m_app(host), m_doc(doc) {}

CBriskoView::~CBriskoView() {
    StopWorker();
    StopScanAndWait();
}

bool CBriskoView::Create(HWND parent) {
    // The border of a view is drawn as a sunken client edge. The image lists
    // belong to the view, which destroys them; the list only shares them.
    HWND hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                                  WS_CHILD | WS_VISIBLE | LVS_SHAREIMAGELISTS | LVS_OWNERDATA, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(AFX_IDW_PANE_FIRST), ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd) m_dpi = win::DpiForWindow(hwnd);
    return hwnd && Subclass(hwnd);
}

void CBriskoView::OnInitialUpdate(const std::function<void()>& showFrame) {
    SetUpList();
    ApplyStoredPlacement();
    if (showFrame) showFrame();
    // The findings of a Standard scan show right after start. A second start
    // with a file name runs this again, and may come while a clean works
    // through the rows, or while the Advance dialog's worker adds rows: the
    // list is then left to them.
    if (!m_bBusy && !m_bAdvanceOpen) RunMode(MODE_STANDARD);
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
        return m_types.Name(item.tag);
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
    if (item.mask & LVIF_IMAGE) item.iImage = m_items[item.iItem].folder ? kFolderImage : kDocumentImage;
}

namespace {
// Copies `text` into a caller's buffer of `room` characters; the characters copied.
template <typename Char>
LRESULT CopyText(const std::wstring& text, Char* buffer, int room) {
    if (!buffer || room <= 0) return 0;
    if constexpr (sizeof(Char) == sizeof(wchar_t)) {
        ::lstrcpynW(reinterpret_cast<wchar_t*>(buffer), text.c_str(), room);
        return static_cast<LRESULT>(std::min<size_t>(text.size(), room - 1));
    } else {
        int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, room, nullptr, nullptr);
        if (bytes == 0) buffer[room - 1] = 0;
        return static_cast<LRESULT>(lstrlenA(buffer));
    }
}

template <typename Item, typename Original>
bool AnswerItemRequest(const CBriskoView& view, WPARAM wp, Item* item, LRESULT& result, bool textOnly,
                       Original original) {
    if (!item) return false;
    int row = textOnly ? static_cast<int>(wp) : item->iItem;
    if (row < 0 || static_cast<size_t>(row) >= view.Items().Count()) return false;
    if (textOnly) {
        result = CopyText(view.CellText(row, item->iSubItem), item->pszText, item->cchTextMax);
        return true;
    }
    result = original();
    if (item->mask & LVIF_TEXT) CopyText(view.CellText(row, item->iSubItem), item->pszText, item->cchTextMax);
    if (item->mask & LVIF_IMAGE) item->iImage = view.Items()[row].folder ? kFolderImage : kDocumentImage;
    return true;
}
}  // namespace

bool CBriskoView::AnswerTextRequest(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    // Another window of this or another process asks for a row's texts:
    // the same texts the control draws, whether or not its notifications
    // reach this view.
    auto original = [&] { return DefaultProc(msg, wp, lp); };
    switch (msg) {
    case LVM_GETITEMTEXTW:
        return AnswerItemRequest(*this, wp, reinterpret_cast<LVITEMW*>(lp), result, true, original);
    case LVM_GETITEMTEXTA:
        return AnswerItemRequest(*this, wp, reinterpret_cast<LVITEMA*>(lp), result, true, original);
    case LVM_GETITEMW:
        return AnswerItemRequest(*this, wp, reinterpret_cast<LVITEMW*>(lp), result, false, original);
    case LVM_GETITEMA:
        return AnswerItemRequest(*this, wp, reinterpret_cast<LVITEMA*>(lp), result, false, original);
    }
    return false;
}

void CBriskoView::CommandStateChanged() {
    if (m_commandStateChanged) m_commandStateChanged(Snapshot());
}

UINT ModeCommand(BYTE mode) {
    switch (mode) {
    case MODE_COOKIES_KILLER:
        return ID_OPTIONS_COOKIES;
    case MODE_OFFLINE_TEMP:
        return ID_OPTIONS_OFFLINE_TEMP;
    default:
        return ID_OPTIONS_STANDARD;
    }
}

CommandState CBriskoView::Snapshot() const {
    CommandState state;
    state.scanning = m_scanJob ? m_scanJob->mode.load() : BYTE{0};
    win::CListCtrl list = List();
    state.rows = list.GetItemCount();
    state.selected = list.GetSelectedCount();
    state.busy = m_bBusy;
    state.cookiesAvailable = m_bCookiesAvailable;
    std::shared_ptr<const Policies> policies = CurrentPolicies();
    state.recycleOnly = policies->recycleOnly;
    state.privacyDisabled = policies->privacyDisabled;
    state.rulesByPolicy = policies->rulesFile.has_value();
    return state;
}

bool CBriskoView::IsCommandEnabled(UINT id) const { return IsCommandAvailable(id, Snapshot()); }

bool CBriskoView::OnCommand(UINT id) {
    if (!IsCommandEnabled(id)) return true;  // an unavailable command does nothing, whatever sent it
    // While a scan runs, its mode's own command stops it, as Escape does.
    if (m_scanJob && (id == ID_EDIT_STOP || id == ModeCommand(m_scanJob->mode))) {
        StopScan();
        return true;
    }
    switch (id) {
    case ID_EDIT_STOP:
        m_cleanJob.Stop();  // after the row in hand
        return true;
    case ID_OPTIONS_STANDARD:
        RunMode(MODE_STANDARD);
        return true;
    case ID_OPTIONS_COOKIES:
        RunMode(MODE_COOKIES_KILLER);
        return true;
    case ID_OPTIONS_OFFLINE_TEMP:
        RunMode(MODE_OFFLINE_TEMP);
        return true;
    case ID_OPTIONS_RULES:
        if (ChooseRulesFile(m_hWnd, m_app, m_doc.System())) RunMode(MODE_STANDARD);
        return true;
    case ID_OPTIONS_BROWSERS:
        ShowBrowsersDialog(m_hWnd, m_app, browsers::PolicyKeepList());
        return true;
    case ID_EDIT_DELETE:
        // Shift+Del, the menu, the toolbar and the context menu all come here.
        if (!IsCleaning() && m_shell.confirmPermanent(m_hWnd, m_app, SelectedAmountNow())) StartClean(true);
        return true;
    case ID_EDIT_RECYCLE:
        StartClean(false);
        return true;
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
    win::CHeaderCtrl header(List().GetHeader());
    for (int i = 0, count = header.GetItemCount(); i < count; ++i)
        header.SetItemFormat(i, SortedHeaderFormat(header.GetItemFormat(i), i == column, ascending));
    m_bSortAscending[column] = !ascending;
}

std::vector<int> CBriskoView::SelectedRows() const {
    std::vector<int> rows;
    win::CListCtrl list = List();
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
        OnItemChanged();
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
    OnItemChanged();
    if (command == ID_EDIT_UNSELECT_ALL) SetMainTitle(CompletedTitle(m_strTitle));
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
    if (IsCleaning()) return;
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
    // The mode's name in the title and the idle status follow the new language at once.
    m_strTitle = ModeTitle(m_nMode);
    if (!m_bBusy) SetMainTitle(m_strTitle);
    UpdateSelectionStatus();
    m_shell.messageBox(m_app.MainWindow(), CultureName(GetLangString(LangId::Culture)),
                       win::LoadResString(AFX_IDS_APP_TITLE), MB_OK);
}

std::wstring ColumnHeading(int column) {
    std::wstring text = GetLangString(LangIdAfter(LangId::Column1, column));
    if (text.size() > 259) text.resize(259);
    return text;
}

std::wstring CultureName(const std::wstring& value) {
    size_t comment = value.find(L" //");
    return comment == std::wstring::npos ? value : value.substr(0, comment + 1);
}

ViewShell RealViewShell() {
    ViewShell shell;
    shell.messageBox = [](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
        return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
    };
    shell.open = [](const std::wstring& path) { win::OpenWithShell(path); };
    shell.trackPopup = [](HMENU popup, POINT at, HWND owner) {
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    };
    shell.confirmPermanent = &ConfirmPermanentClean;
    return shell;
}

std::wstring ModeName(BYTE mode) {
    switch (mode) {
    case MODE_COOKIES_KILLER:
        return GetLangString(LangId::TitleCookies);
    case MODE_OFFLINE_TEMP:
        return GetLangString(LangId::TitleOfflineTemp);
    default:
        return GetLangString(LangId::TitleStandard);
    }
}

std::wstring ModeTitle(BYTE mode) { return ModeName(mode) + L" - " + win::LoadResString(AFX_IDS_APP_TITLE); }

void CBriskoView::RunMode(BYTE mode) {
    if (m_scanJob) return;  // one scan at a time
    std::shared_ptr<const Policies> policies = RefreshPolicies();
    if (policies->privacyDisabled) mode = MODE_STANDARD;  // also the next mode after a clean
    if (!std::exchange(m_bKeepCleanSummary, false)) {
        m_cleanSummary.clear();
        ShowCleanSummary();
    }
    // Busy before the title changes: who watches the window sees the mode's
    // title with the list enabled only once the scan is over.
    m_bBusy = true;
    EnterBusyState();
    m_strTitle = ModeTitle(mode);
    SetMainTitle(m_strTitle);
    auto job = std::make_shared<ScanJob>(win::JobNotice{m_hWnd, 0, WM_SCANDONE, 0});
    job->mode = mode;
    job->requested = mode;
    std::swap(job->retired, m_items);
    List().DeleteAllItems();
    std::optional<RulesFile> rules = mode == MODE_STANDARD ? LoadRulesInForce(m_app) : std::nullopt;
    if (policies->rulesFile && mode == MODE_STANDARD && !rules) job->unreadableRules = *policies->rulesFile;
    StartScan(job, std::move(rules));
}

void CBriskoView::StartScan(const std::shared_ptr<ScanJob>& job, std::optional<RulesFile> rules) {
    // The list waits, disabled and empty, with the commands of a clean
    // greyed; the mode's own command and Escape stop the scan.
    m_scanJob = job;
    CommandStateChanged();  // the mode's own command stops the scan
    const CBriskoDoc& doc = m_doc;
    CTypeNames& types = m_types;
    std::function<void()> scan = [job, &doc, &types, rules = std::move(rules)] {
        win::ComInit com;  // the shell names the types
        RunScanJob(doc, rules, types, *job);
    };
    m_scan = win::Job::Start(job, scan, L"scan worker");
    if (m_scan) {
        m_scanTitleShown = SIZE_MAX;
        ::SetTimer(m_hWnd, kScanTitleTimer, kScanTitleInterval, nullptr);
        return;
    }
    scan();  // no thread: the scan runs here, as it once did
    OnScanDone();
}

void CBriskoView::ShowScanProgress() {
    if (!m_scanJob) return;
    const size_t found = m_scanJob->Progress().done;
    if (found == m_scanTitleShown) return;
    m_scanTitleShown = found;
    SetMainTitle(ScanningTitle(ModeName(m_scanJob->mode), found));
}

void CBriskoView::OnScanDone() {
    ::KillTimer(m_hWnd, kScanTitleTimer);
    m_scan.Wait(kScanStopWait);  // it has posted its end
    m_scan.Reset();
    std::shared_ptr<ScanJob> job = std::exchange(m_scanJob, nullptr);
    if (!job) return;
    m_bBusy = false;
    LeaveBusyState();
    const BYTE listed = job->listed;
    if (listed != job->requested) m_bCookiesAvailable = false;  // an empty Cookies Killer scan gave way
    m_strTitle = ModeTitle(listed);
    SetMainTitle(m_strTitle);
    std::swap(m_items, job->items);  // sorted on the scan's thread
    job->retired = std::move(job->items);
    SyncRowCount(false);
    Invalidate();
    UpdateSelectionStatus();
    std::shared_ptr<const Policies> policies = CurrentPolicies();
    if (job->unreadableRules) ShowStatusText(L"policy RulesFile: cannot read " + *job->unreadableRules);
    for (const std::wstring& problem : UntoldPolicyProblems(*policies)) ShowStatusText(problem);
    m_bSortAscending[0] = false;  // the next click on File Name sorts the other way
    m_nMode = listed;
    if (listed == MODE_STANDARD) m_bCookiesAvailable = true;
    CommandStateChanged();
    // A scan the user stopped ends there: no Advance dialog after it.
    if (listed == MODE_OFFLINE_TEMP && !job->stopped && m_showAdvanceDialog) {
        m_bAdvanceOpen = true;
        m_showAdvanceDialog(m_doc);
        m_bAdvanceOpen = false;
    }
}

void CBriskoView::StopScan() {
    if (m_scanJob) m_scanJob->Stop();
}

void CBriskoView::StopScanAndWait() {
    // The scan reads the document and the type names of this object.
    m_scan.StopAndWait(kScanStopWait);
    m_scanJob.reset();
}

void CBriskoView::EnterBusyState() {
    CommandStateChanged();
    // The frame keeps the keys while the list is disabled, so that Escape
    // reaches the accelerators.
    HWND frame = m_app.MainWindow().GetSafeHwnd();
    if (frame && (::GetFocus() == m_hWnd || !::GetFocus())) ::SetFocus(frame);
    EnableWindow(false);
}

void CBriskoView::LeaveBusyState() {
    EnableWindow(true);
    HWND frame = m_app.MainWindow().GetSafeHwnd();
    if (frame && ::GetFocus() == frame) ::SetFocus(m_hWnd);
    CommandStateChanged();
}

bool CBriskoView::StartClean(bool permanent) {
    if (m_cleanJob) return false;  // one clean at a time
    if (permanent && RefreshPolicies()->recycleOnly) return false;
    m_nCleanMode = permanent ? 1 : 0;
    m_bBusy = true;
    EnterBusyState();  // the selection must not change but by Unselect All
    CleanRequest request;
    request.control = MakeCleanControl(m_hWnd);
    request.permanent = permanent;
    request.remove = m_removeItem;
    // The worker gets the records of the selected rows, from the last up,
    // and asks the shared selection about each when it gets there.
    std::vector<int> selected = SelectedRows();
    std::vector<CleanCandidate> candidates;
    candidates.reserve(selected.size());
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) candidates.push_back({*row, &m_items[*row]});
    request.control->rowCount = static_cast<int>(m_items.Count());
    request.control->store = m_items.Share();
    request.control->SetCandidates(std::move(candidates));
    m_cleanControl = request.control;
    m_leftReasons.clear();
    m_cleanSummary.clear();
    ShowCleanSummary();
    if (!selected.empty()) ShowProgress(0);
    SuspendDrawing(true);
    m_cleanJob = StartCleanJob(std::move(request));
    if (!m_cleanJob) {
        // No worker, so no end report would undo the start.
        m_cleanControl.reset();
        m_bBusy = false;
        SuspendDrawing(false);
        LeaveBusyState();
        SetMainTitle(m_strTitle);
        return false;
    }
    return true;
}

void CBriskoView::StopWorker() {
    // The worker stops after its row; it shares nothing with this object but
    // the control block, so a worker still busy after the wait is harmless.
    m_cleanJob.StopAndWait(10000);
}

LRESULT CBriskoView::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOW:
        OnGetDispInfo(const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)));
        return 0;
    case LVN_ITEMCHANGED:
        OnSelectionNotice(reinterpret_cast<const NMLISTVIEW&>(header));
        if (!m_bBulkSelection) OnItemChanged();
        return 0;
    case LVN_ODSTATECHANGED:
        OnRangeSelected(reinterpret_cast<const NMLVODSTATECHANGE&>(header));
        if (!m_bBulkSelection) OnItemChanged();
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
    switch (msg) {
    case WM_SYNCROWCOUNT:
        return 0;
    case WM_CLEANITEM:
        TakeFinishedRows();
        return 0;
    case WM_CLEANDONE:
        OnCleanDone();
        return 0;
    case WM_ADDFOUNDITEM:
        AddFoundItem(*reinterpret_cast<const std::wstring*>(wp), *reinterpret_cast<const WIN32_FIND_DATAW*>(lp));
        return 0;
    case LVM_DELETEALLITEMS:
        m_items.Clear();
        m_leftReasons.clear();
        m_selectedSize = SelectionSize();
        return DefaultProc(msg, wp, lp);
    case LVM_SETITEMSTATE:
        // The worker asks the shared selection, not the control: a change
        // during a clean (Unselect All) goes to both.
        answer = DefaultProc(msg, wp, lp);
        if (m_cleanControl && lp) {
            const auto& state = *reinterpret_cast<const LVITEMW*>(lp);
            if (state.stateMask & LVIS_SELECTED) {
                bool selected = (state.state & LVIS_SELECTED) != 0;
                if (static_cast<int>(wp) == -1) m_cleanControl->SetAllSelected(selected);
                else m_cleanControl->SetRowSelected(static_cast<int>(wp), selected);
            }
        }
        return answer;
    case WM_SCANDONE:
        OnScanDone();
        return 0;
    case WM_TIMER:
        if (wp == kScanTitleTimer) ShowScanProgress();
        else if (wp == kRepaintTimer) RepaintDuringClean();
        else break;
        return 0;
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

void CBriskoView::OnDestroy() {
    StopWorker();
    StopScanAndWait();
    // The language setting is kept per Windows user.
    m_app.Profile().WriteString(m_app.UserName(), L"src", m_app.Language());
}
