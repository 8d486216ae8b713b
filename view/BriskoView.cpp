#include "view/BriskoView.h"

#include <shellapi.h>
#include <windowsx.h>

#include <iterator>

#include "app/BriskoApp.h"
#include "catalog/BriskoDoc.h"
#include "clean/ItemPath.h"
#include "clean/Listing.h"
#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "policy/Policies.h"
#include "res/resource.h"
#include "view/ItemText.h"
#include "view/ListLayout.h"
#include "view/Placement.h"
#include "view/BrowsersDialog.h"
#include "view/RulesChoice.h"
#include "view/Sorting.h"
#include "view/StatusTexts.h"
#include "win/Path.h"
#include "win/ShellOpen.h"
#include "win/Text.h"

namespace {
constexpr int kFolderImage = 0;
constexpr int kDocumentImage = 1;

// Waits for a worker that may still send to windows of this thread.
void WaitForThread(HANDLE thread, DWORD milliseconds) {
    DWORD start = ::GetTickCount();
    for (;;) {
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        DWORD woken = ::MsgWaitForMultipleObjects(1, &thread, FALSE, milliseconds - elapsed, QS_SENDMESSAGE);
        if (woken != WAIT_OBJECT_0 + 1) return;
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);  // serves the sent messages
    }
}

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

CBriskoView::CBriskoView(CBriskoApp& app, CBriskoDoc& doc) : m_app(app), m_doc(doc) {}

CBriskoView::~CBriskoView() {
    StopWorker();
    if (m_app.m_pListView == this) m_app.m_pListView = nullptr;
}

bool CBriskoView::Create(HWND parent) {
    // The border of a view is drawn as a sunken client edge. The image lists
    // belong to the view, which destroys them; the list only shares them.
    HWND hwnd = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_SHAREIMAGELISTS, 0, 0,
                                  0, 0, parent,
                                  reinterpret_cast<HMENU>(AFX_IDW_PANE_FIRST), ::GetModuleHandleW(nullptr), nullptr);
    if (hwnd) m_dpi = win::DpiForWindow(hwnd);
    return hwnd && Subclass(hwnd);
}

void CBriskoView::OnInitialUpdate() {
    m_app.m_pListView = this;
    SetUpList();
    ApplyStoredPlacement();
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
    RECT rc = ChooseWindowPlacement(m_app.GetProfileInt(section, L"Top", 0), m_app.GetProfileInt(section, L"Left", 0),
                                    m_app.GetProfileInt(section, L"Width", 0),
                                    m_app.GetProfileInt(section, L"Height", 0), m_dpi);
    m_app.m_pMainWnd.MoveWindow(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, true);
}

void CBriskoView::AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) {
    if (IsListable(path, findData)) InsertFoundRow(path, findData);
}

void CBriskoView::InsertFoundRow(const std::wstring& path, const WIN32_FIND_DATAW& findData) {
    // One row per item, however many catalogue entries name it.
    if (!m_listedItems.insert(ItemKey(path)).second) return;
    bool folder = (findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    win::CListCtrl list = List();
    int row = list.InsertItem(0, path, folder ? kFolderImage : kDocumentImage);
    if (row < 0) return;
    list.SetItemText(row, 1, GetFileTypeText(path, folder));
    // An empty size marks a folder row for the clean and the Open command.
    list.SetItemText(row, 2, folder ? std::wstring() : FormatSizeText(FoundItemSize(findData)));
    list.SetItemText(row, 3, FormatDateText(findData.ftLastWriteTime));
}

void CBriskoView::CommandStateChanged() {
    if (m_commandStateChanged) m_commandStateChanged(Snapshot());
}

CommandState CBriskoView::Snapshot() const {
    CommandState state;
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
    switch (id) {
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
        if (!IsCleaning() && m_shell.confirmPermanent(m_hWnd, m_app, SelectedAmount(List()))) StartClean(true);
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
    SortByColumn(List(), column, ascending);
    win::CHeaderCtrl header(List().GetHeader());
    for (int i = 0, count = header.GetItemCount(); i < count; ++i)
        header.SetItemFormat(i, SortedHeaderFormat(header.GetItemFormat(i), i == column, ascending));
    m_bSortAscending[column] = !ascending;
}

void CBriskoView::ChangeSelection(UINT command) {
    ::SetFocus(m_hWnd);
    win::CListCtrl list = List();
    for (int row = list.GetItemCount() - 1; row >= 0; --row) {
        bool selected = (list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
        bool select = command == ID_EDIT_SELECT_ALL || (command == ID_EDIT_INVERT_SELECTION && !selected);
        list.SetItemState(row, select ? LVIS_SELECTED : 0, LVIS_SELECTED);
    }
    if (command == ID_EDIT_UNSELECT_ALL) SetMainTitle(CompletedTitle(m_strTitle));
}

void CBriskoView::OpenSelectedItems() {
    win::CListCtrl list = List();
    if (list.GetSelectedCount() > 1 &&
        m_shell.messageBox(m_hWnd, GetLangString(LangId::StatusOpenQuestion), GetLangString(LangId::StatusOpenCaption),
                           MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    for (int row = list.GetItemCount() - 1; row >= 0; --row) {
        if (!(list.GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED)) continue;
        std::wstring path = list.GetItemText(row, 0);
        // A folder row (no size) may name a folder that is gone by now.
        if (!list.GetItemText(row, 2).empty() || FullPathExists(path)) m_shell.open(path);
    }
}

void CBriskoView::OnContextMenu(LPARAM screenPoint) {
    if (IsCleaning()) return;
    HMENU edit = ::GetSubMenu(::GetMenu(m_app.m_pMainWnd), 1);
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
    m_shell.messageBox(m_app.m_pMainWnd, CultureName(GetLangString(LangId::Culture)),
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

std::wstring ModeTitle(BYTE mode) {
    std::wstring text;
    switch (mode) {
    case MODE_COOKIES_KILLER:
        text = GetLangString(LangId::TitleCookies);
        break;
    case MODE_OFFLINE_TEMP:
        text = GetLangString(LangId::TitleOfflineTemp);
        break;
    default:
        text = GetLangString(LangId::TitleStandard);
        break;
    }
    return text + L" - " + win::LoadResString(AFX_IDS_APP_TITLE);
}

void CBriskoView::RunMode(BYTE mode) {
    // The mode's scan has applied the listing test to what it hands on.
    class CRowInserter : public IFoundItemSink {
    public:
        explicit CRowInserter(CBriskoView& view) : m_view(view) {}
        void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
            m_view.InsertFoundRow(path, findData);
        }

    private:
        CBriskoView& m_view;
    } rows(*this);
    std::shared_ptr<const Policies> policies = RefreshPolicies();
    if (policies->privacyDisabled) mode = MODE_STANDARD;  // also the next mode after a clean
    win::CListCtrl list = List();
    // The list is drawn once, when the command is over.
    SendMessage(WM_SETREDRAW, FALSE);
    m_bFilling = true;
    std::optional<RulesFile> rules = mode == MODE_STANDARD ? LoadRulesInForce(m_app) : std::nullopt;
    BYTE listed = RunModeScan(
        m_doc, mode, rows,
        [this, &list](BYTE starting) {
            m_strTitle = ModeTitle(starting);
            SetMainTitle(m_strTitle);
            list.DeleteAllItems();
            m_listedItems.clear();
        },
        rules ? &*rules : nullptr);
    if (listed != mode) m_bCookiesAvailable = false;  // an empty Cookies Killer scan gave way
    SortByColumn(list, 0, true);
    m_bFilling = false;
    SendMessage(WM_SETREDRAW, TRUE);
    Invalidate();
    UpdateSelectionStatus();
    if (policies->rulesFile && mode == MODE_STANDARD && !rules)
        ShowStatusText(L"policy RulesFile: cannot read " + *policies->rulesFile);
    for (const std::wstring& problem : UntoldPolicyProblems(*policies)) ShowStatusText(problem);
    m_bSortAscending[0] = false;  // the next click on File Name sorts the other way
    m_nMode = listed;
    if (listed == MODE_STANDARD) m_bCookiesAvailable = true;
    CommandStateChanged();
    if (listed == MODE_OFFLINE_TEMP && m_showAdvanceDialog) {
        m_bAdvanceOpen = true;
        m_showAdvanceDialog(m_doc);
        m_bAdvanceOpen = false;
    }
}

bool CBriskoView::StartClean(bool permanent) {
    if (m_pCleanThread) return false;  // one clean at a time
    if (permanent && RefreshPolicies()->recycleOnly) return false;
    m_nCleanMode = permanent ? 1 : 0;
    m_bBusy = true;
    CommandStateChanged();
    EnableWindow(false);  // the selection must not change while the worker reads it
    auto request = std::make_unique<CleanRequest>();
    request->list = m_hWnd;
    request->reportTo = m_hWnd;
    request->permanent = permanent;
    request->remove = m_removeItem;
    request->app = &m_app;
    if (m_app.m_pStatusBar) request->statusBar = m_app.m_pStatusBar->GetSafeHwnd();
    m_cleanControl = request->control;
    if (List().GetSelectedCount() > 0) ShowProgress(0);
    SuspendDrawing(true);
    m_pCleanThread = StartCleanWorker(std::move(request));
    if (!m_pCleanThread) {
        // No worker, so no end report would undo the start.
        m_bBusy = false;
        CommandStateChanged();
        SuspendDrawing(false);
        EnableWindow(true);
        SetMainTitle(m_strTitle);
        return false;
    }
    return true;
}

void CBriskoView::StopWorker() {
    if (!m_pCleanThread) return;
    // The worker stops after its row; it shares nothing with this object but
    // the control block, so a worker still busy after the wait is harmless.
    m_cleanControl->keepGoing = false;
    WaitForThread(m_pCleanThread.Get(), 10000);
    m_pCleanThread.Reset();
}

LRESULT CBriskoView::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case LVN_ITEMCHANGED:
        OnItemChanged();
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
    switch (msg) {
    case WM_CLEANITEM:
        OnCleanItem(static_cast<int>(wp), lp);
        return 0;
    case WM_CLEANDONE:
        OnCleanDone();
        return 0;
    case WM_ADDFOUNDITEM:
        AddFoundItem(*reinterpret_cast<const std::wstring*>(wp), *reinterpret_cast<const WIN32_FIND_DATAW*>(lp));
        return 0;
    case WM_READCLEANROWS: {
        auto& batch = *reinterpret_cast<CleanRowBatch*>(lp);
        batch.selectionChanges = m_cleanControl ? m_cleanControl->selectionChanges.load() : 0;
        ReadCleanRows(m_hWnd, batch);
        return 0;
    }
    case LVM_SETITEMSTATE:
    case LVM_SETITEMW:
        // A row's state may change during a clean (Unselect All): the
        // worker's rows read before are then read again.
        if (m_cleanControl) ++m_cleanControl->selectionChanges;
        break;
    case WM_TIMER:
        if (wp != kRepaintTimer) break;
        RepaintDuringClean();
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
    // The language setting is kept per Windows user.
    m_app.WriteProfileString(m_app.m_szUserName, L"src", m_app.m_strLanguage);
}
