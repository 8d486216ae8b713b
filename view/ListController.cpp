#include "view/ListController.h"

#include <commctrl.h>

#include <utility>

#include "catalog/BriskoDoc.h"
#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "policy/Policies.h"
#include "privacy/browsers/CookiesKillerRow.h"
#include "privacy/browsers/SavedKeepList.h"
#include "res/resource.h"
#include "scan/FoundItemOrder.h"
#include "view/BrowsersDialog.h"
#include "view/MeasureJob.h"
#include "privacy/RuleKeys.h"
#include "view/RulesChoice.h"
#include "view/RulesDialog.h"
#include "view/ScanJob.h"
#include "view/StatusTexts.h"
#include "win/ComInit.h"
#include "win/Text.h"

namespace {
// The culture name of a language file's value: the text up to and with the
// blank that begins a " //" comment.
std::wstring CultureName(const std::wstring& value) {
    size_t comment = value.find(L" //");
    return comment == std::wstring::npos ? value : value.substr(0, comment + 1);
}
}  // namespace

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

CListController::~CListController() {
    StopMeasuring();
    StopClean();
    StopScanAndWait();
}

void CListController::OnInitialUpdate(const std::function<void()>& showFrame) {
    SetUpList();
    ApplyStoredPlacement();
    if (showFrame) showFrame();
    // The findings of a Standard scan show right after start. A second start
    // with a file name runs this again, and may come while a clean works
    // through the rows, or while the Advance dialog's worker adds rows: the
    // list is then left to them.
    if (!m_bBusy && !m_bAdvanceOpen) RunMode(MODE_STANDARD);
}

void CListController::RunMode(BYTE mode) {
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
    StopMeasuring();  // its folders are the listing's that goes
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
    if (rules) job->ruleNames = RuleEntryNames(*rules);
    m_ruleNames = job->ruleNames;  // the rows shown while the scan runs name their entries too
    StartScan(job, std::move(rules));
}

void CListController::StartScan(const std::shared_ptr<ScanJob>& job, std::optional<RulesFile> rules) {
    // The list waits, disabled, showing the first rows as they are found,
    // with the commands of a clean greyed; the mode's own command and
    // Escape stop the scan.
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

void CListController::ShowScanProgress() {
    if (!m_scanJob) return;
    TakeShownRows();
    const size_t found = m_scanJob->Progress().done;
    if (found == m_scanTitleShown) return;
    m_scanTitleShown = found;
    SetMainTitle(ScanningTitle(ModeName(m_scanJob->mode), found));
}

void CListController::TakeShownRows() {
    std::vector<FoundItem> rows = m_scanJob->shown.Take();
    if (rows.empty()) return;
    for (FoundItem& row : rows) m_items.Add(std::move(row));
    SyncRowCount(true);
}

void CListController::OnScanDone() {
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
    m_ruleNames = std::move(job->ruleNames);
    SyncRowCount(false);
    Invalidate();
    UpdateSelectionStatus();
    StartMeasuring();
    std::shared_ptr<const Policies> policies = CurrentPolicies();
    if (job->unreadableRules) ShowStatusText(FillInLangText(LangId::NoticeRulesUnreadable, {*job->unreadableRules}));
    for (const std::wstring& problem : UntoldPolicyProblems(*policies)) ShowStatusText(problem);
    std::wstring notices;  // one pane: each told once, side by side
    for (const std::wstring& notice : job->notices) notices += (notices.empty() ? L"" : L"; ") + notice;
    if (!notices.empty()) ShowStatusText(notices);
    ShowSortArrow(kColumnName, true);  // the scan sorted the rows by name
    m_bSortAscending[kColumnName] = false;  // the next click on File Name sorts the other way
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

void CListController::StopScan() {
    if (m_scanJob) m_scanJob->Stop();
}

void CListController::StopScanAndWait() {
    // The scan reads the document and the type names of this object.
    m_scan.StopAndWait(kScanStopWait);
    m_scanJob.reset();
}

void CListController::EnterBusyState() {
    CommandStateChanged();
    // The frame keeps the keys while the list is disabled, so that Escape
    // reaches the accelerators.
    HWND frame = m_app.MainWindow().GetSafeHwnd();
    if (frame && (::GetFocus() == m_hWnd || !::GetFocus())) ::SetFocus(frame);
    EnableWindow(false);
}

void CListController::LeaveBusyState() {
    EnableWindow(true);
    HWND frame = m_app.MainWindow().GetSafeHwnd();
    if (frame && ::GetFocus() == frame) ::SetFocus(m_hWnd);
    CommandStateChanged();
}

bool CListController::StartClean(bool permanent) {
    if (m_cleanJob) return false;  // one clean at a time
    if (permanent && RefreshPolicies()->recycleOnly) return false;
    m_nCleanMode = permanent ? 1 : 0;
    m_bBusy = true;
    StopMeasuring();  // the clean's walk comes first; what stays is measured after it
    EnterBusyState();  // the selection must not change but by Unselect All
    CleanRequest request;
    request.control = MakeCleanControl(m_hWnd);
    request.permanent = permanent;
    request.remove = m_removeItem;
    // Cookies Killer keeps the sites of the user's keep-list: a cookie
    // database the browser cleaning understands is cleaned around them.
    if (m_nMode == MODE_COOKIES_KILLER) {
        browsers::CKeepList keep = browsers::UserKeepList(m_app.Profile(), m_app.UserName());
        if (!keep.Empty())
            request.cleanInstead = [keep](const std::wstring& path, IRemovalReport& report) {
                return browsers::CleanCookieRow(path, keep, report);
            };
    } else if (m_nMode == MODE_STANDARD) {
        // The keys and values a rules entry listed go through the registry's routines.
        request.cleanInstead = [permanent](const std::wstring& path, IRemovalReport& report) {
            return CleanRegistryRuleRow(path, permanent, report);
        };
    }
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
    ForgetLeftReasons();
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

void CListController::StopClean() {
    // The worker stops after its row; it shares nothing with this object but
    // the control block, so a worker still busy after the wait is harmless.
    m_cleanJob.StopAndWait(10000);
}

bool CListController::OnCommand(UINT id) {
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
        if (ShowRulesChooser(m_hWnd, m_app, m_doc.System())) RunMode(MODE_STANDARD);
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
    case ID_EDIT_UNSELECT_ALL:
        CBriskoView::OnCommand(id);
        SetMainTitle(CompletedTitle(m_strTitle));
        return true;
    default:
        return CBriskoView::OnCommand(id);
    }
}

CommandState CListController::Snapshot() const {
    CommandState state = CBriskoView::Snapshot();
    state.scanning = m_scanJob ? m_scanJob->mode.load() : BYTE{0};
    state.cookiesAvailable = m_bCookiesAvailable;
    return state;
}

bool CListController::OnJobMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_CLEANITEM:
        TakeFinishedRows();
        return true;
    case WM_CLEANDONE:
        OnCleanDone();
        return true;
    case WM_SCANDONE:
        OnScanDone();
        return true;
    case WM_FOLDERSMEASURED:
        TakeMeasures();
        return true;
    case WM_ADDFOUNDITEM: {
        const auto& findData = *reinterpret_cast<const WIN32_FIND_DATAW*>(lp);
        AddFoundItem(*reinterpret_cast<const std::wstring*>(wp), findData);
        if (IsFolderEntry(findData)) StartMeasuring();
        result = 0;
        return true;
    }
    case WM_TIMER:
        if (wp == kScanTitleTimer) ShowScanProgress();
        else if (wp == kRepaintTimer) RepaintDuringClean();
        else return false;
        return true;
    case WM_PAINT:
        // While a clean keeps the list from drawing, a part uncovered (a
        // dialog closed over it) is only erased: the next tick paints the rows.
        if (m_cleanControl) m_firstRowChanged = 0;
        return false;
    case LVM_SETITEMSTATE:
        // The worker asks the shared selection, not the control: a change
        // during a clean (Unselect All) goes to both.
        result = DefaultProc(msg, wp, lp);
        if (m_cleanControl && lp) {
            const auto& state = *reinterpret_cast<const LVITEMW*>(lp);
            if (state.stateMask & LVIS_SELECTED) {
                bool selected = (state.state & LVIS_SELECTED) != 0;
                if (static_cast<int>(wp) == -1) m_cleanControl->SetAllSelected(selected);
                else m_cleanControl->SetRowSelected(static_cast<int>(wp), selected);
            }
        }
        return true;
    case WM_DESTROY:
        StopMeasuring();
        StopClean();
        StopScanAndWait();
        return false;  // the list goes on with its own end
    }
    return false;
}

void CListController::OnSelectionChanged() {
    if (m_bBusy) {
        // During a clean every row it removes changes: the commands and the
        // selection's size follow a few times a second, and at its end.
        ULONGLONG now = ::GetTickCount64();
        if (m_lastWaitCursor != 0 && now - m_lastWaitCursor < kStatusInterval) return;
        m_lastWaitCursor = now;
        win::ShowWaitCursor();
    }
    CBriskoView::OnSelectionChanged();
}

void CListController::OnLangChanged() {
    CBriskoView::OnLangChanged();
    // The mode's name in the title and the idle status follow the new language at once.
    m_strTitle = ModeTitle(m_nMode);
    if (!m_bBusy) SetMainTitle(m_strTitle);
    UpdateSelectionStatus();
    m_shell.messageBox(m_app.MainWindow(), CultureName(GetLangString(LangId::Culture)),
                       win::LoadResString(AFX_IDS_APP_TITLE), MB_OK);
}
