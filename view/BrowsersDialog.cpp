#include "view/BrowsersDialog.h"

#include <commctrl.h>

#include "view/ConfirmDelete.h"
#include "view/ListViewHost.h"
#include "privacy/browsers/SavedKeepList.h"
#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "res/resource.h"
#include "view/ItemText.h"
#include "win/Controls.h"
#include "win/Text.h"

using namespace browsers;

namespace {

// One profile cleaned (its index in the word parameter), and the worker's end.
constexpr UINT WM_BROWSER_CLEANED = WM_APP + 301;
constexpr UINT WM_BROWSERS_DONE = WM_APP + 302;

constexpr const wchar_t* kKindsEntry = L"browserKinds";
constexpr const wchar_t* kAskEntry = L"askBrowsersClean";

std::wstring Filled(std::wstring text, const std::wstring& first, const std::wstring& second = {}) {
    for (auto [mark, value] : {std::pair{L"%1", first}, std::pair{L"%2", second}}) {
        size_t at = text.find(mark);
        if (at != std::wstring::npos) text.replace(at, 2, value);
    }
    return text;
}

int KindIndex(TraceKind kind) { return static_cast<int>(kind); }

std::wstring LeftText(const LeftItem& item) {
    switch (item.why) {
    case LeftWhy::NotADatabase: return GetUiText(LangId::BrowsersNotADatabase);
    case LeftWhy::IntegrityFailed: return GetUiText(LangId::BrowsersDamaged);
    case LeftWhy::Failed: return GetUiText(LangId::BrowsersFailed);
    case LeftWhy::ItemLeft: return GetUiText(LangId::BrowsersItemLeft);
    case LeftWhy::Unsafe: return GetUiText(LangId::BrowsersUnsafe);
    case LeftWhy::Excluded: return GetUiText(LangId::BrowsersExcludedItem);
    }
    return {};
}

// "1,700 visits", "105 cookies (28 kept)", "cache (340 KB)".
std::wstring AskPart(TraceKind kind, const KindCount& count) {
    std::wstring rows = win::GroupedNumber(static_cast<ULONGLONG>(count.rows));
    switch (kind) {
    case TraceKind::History: return FillInLangText(LangId::BrowsersAskVisits, {rows});
    case TraceKind::Downloads: return FillInLangText(LangId::BrowsersAskDownloads, {rows});
    case TraceKind::Cookies:
        return FillInLangText(LangId::BrowsersAskCookies, {rows, win::GroupedNumber(static_cast<ULONGLONG>(count.kept))});
    case TraceKind::Forms: return FillInLangText(LangId::BrowsersAskForms, {rows});
    case TraceKind::Sessions: return FillInLangText(LangId::BrowsersAskSessions, {FormatSizeText(count.bytes)});
    case TraceKind::Cache: return FillInLangText(LangId::BrowsersAskCache, {FormatSizeText(count.bytes)});
    }
    return {};
}

KindCount TotalOf(const std::vector<ProfileReport>& reports, TraceKind kind) {
    KindCount total;
    for (const ProfileReport& report : reports) {
        total.rows += report.Of(kind).rows;
        total.kept += report.Of(kind).kept;
        total.bytes += report.Of(kind).bytes;
    }
    return total;
}

}  // namespace

std::wstring KindCountText(TraceKind kind, const KindCount& count) {
    std::wstring rows = win::GroupedNumber(static_cast<ULONGLONG>(count.rows));
    switch (kind) {
    case TraceKind::History: return Filled(GetUiText(LangId::BrowsersCountHistory), rows);
    case TraceKind::Downloads: return Filled(GetUiText(LangId::BrowsersCountDownloads), rows);
    case TraceKind::Cookies:
        return Filled(GetUiText(LangId::BrowsersCountCookies), rows, win::GroupedNumber(static_cast<ULONGLONG>(count.kept)));
    case TraceKind::Forms: return Filled(GetUiText(LangId::BrowsersCountForms), rows);
    case TraceKind::Sessions: return Filled(GetUiText(LangId::BrowsersCountSessions), FormatSizeText(count.bytes));
    case TraceKind::Cache: return Filled(GetUiText(LangId::BrowsersCountCache), FormatSizeText(count.bytes));
    }
    return {};
}

std::wstring ProfileStateText(const ProfileReport& report, TraceKinds kinds, bool cleaned) {
    if (report.refused == Refusal::Outside) return GetUiText(LangId::BrowsersRefused);
    if (report.refused == Refusal::Excluded) return GetUiText(LangId::BrowsersExcluded);
    if (report.inUse) return GetUiText(LangId::BrowsersInUse);
    if (!report.left.empty()) {
        std::wstring whys;
        for (const LeftItem& item : report.left) {
            std::wstring name = item.path.substr(item.path.rfind(L'\\') + 1);
            whys += (whys.empty() ? L"" : L"; ") + name + L" " + LeftText(item);
        }
        return Filled(GetUiText(LangId::BrowsersLeft), whys);
    }
    std::wstring counts;
    for (TraceKind kind : kAllTraceKinds)
        if (kinds.Has(kind)) counts += (counts.empty() ? L"" : L"; ") + KindCountText(kind, report.Of(kind));
    if (!cleaned) return counts.empty() ? GetUiText(LangId::BrowsersReady) : counts;
    return GetUiText(LangId::BrowsersCleaned) + (counts.empty() ? L"" : L": " + counts);
}

std::wstring CleanQuestion(const std::vector<ProfileReport>& previews, TraceKinds kinds) {
    // What the clean would reach: the profiles neither in use nor refused.
    std::vector<ProfileReport> reached;
    for (const ProfileReport& preview : previews)
        if (!preview.inUse && preview.refused == Refusal::None) reached.push_back(preview);
    std::wstring some, all;
    for (TraceKind kind : kAllTraceKinds) {
        if (!kinds.Has(kind)) continue;
        KindCount total = TotalOf(reached, kind);
        std::wstring part = AskPart(kind, total);
        all += (all.empty() ? L"" : L", ") + part;
        if (total.rows != 0 || total.bytes != 0) some += (some.empty() ? L"" : L", ") + part;
    }
    const std::wstring& what = some.empty() ? all : some;
    return reached.size() == 1 ? FillInLangText(LangId::BrowsersAskOne, {what})
                               : FillInLangText(LangId::BrowsersAsk, {what, win::GroupedNumber(reached.size())});
}

std::wstring CookiesTotalText(const KindCount& total, const std::vector<std::string>& unmatched) {
    std::wstring text = KindCountText(TraceKind::Cookies, total);
    std::wstring sites;
    for (const std::string& host : unmatched) sites += (sites.empty() ? L"" : L", ") + win::ToWide(host);
    if (!sites.empty()) text += L"; " + FillInLangText(LangId::BrowsersUnmatched, {sites});
    return text;
}

CBrowsersDlg::CBrowsersDlg(const win::CProfile& settings, std::wstring userSection, BrowserRoots roots)
    : win::CDialog(IDD_BROWSERS), m_settings(settings), m_section(std::move(userSection)), m_roots(std::move(roots)) {}

CBrowsersDlg::~CBrowsersDlg() {
    // The worker uses this object until its end: never leave before it.
    if (m_thread) ::WaitForSingleObject(m_thread.Get(), INFINITE);
}

INT_PTR CBrowsersDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return TRUE;
    case WM_BROWSER_CLEANED:
        OnProfileDone(static_cast<int>(wp));
        return TRUE;
    case WM_BROWSERS_DONE:
        OnRunDone();
        return TRUE;
    case WM_CLOSE:
        OnCommand(IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

void CBrowsersDlg::OnInitDialog() {
    ApplyTexts();
    win::CListCtrl list(GetItem(IDC_BROWSERS_LIST));
    // A long State shows whole in a tip over the row.
    const DWORD styles = LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;
    list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    RECT area = list.GetClientRect();
    int width = area.right - area.left;
    list.InsertColumn(0, GetUiText(LangId::BrowsersColumnBrowser), LVCFMT_LEFT, width * 22 / 100);
    list.InsertColumn(1, GetUiText(LangId::BrowsersColumnProfile), LVCFMT_LEFT, width * 18 / 100);
    list.InsertColumn(2, GetUiText(LangId::BrowsersColumnState), LVCFMT_LEFT, width * 60 / 100);
    TraceKinds kinds = TraceKinds::FromMask(
        static_cast<unsigned>(m_settings.GetInt(m_section, kKindsEntry, static_cast<int>(TraceKinds::Default().Mask()))));
    for (TraceKind kind : kAllTraceKinds)
        ::SendMessageW(GetItem(IDC_BROWSERS_KIND_FIRST + KindIndex(kind)), BM_SETCHECK,
                       kinds.Has(kind) ? BST_CHECKED : BST_UNCHECKED, 0);
    ::SetWindowTextW(GetItem(IDC_BROWSERS_KEEP), SavedKeepListText(m_settings, m_section).c_str());
    ::ShowWindow(GetItem(IDC_BROWSERS_PROGRESS), SW_HIDE);
    m_profiles = FindBrowserProfiles(m_roots);
    m_reports.assign(m_profiles.size(), ProfileReport{});
    FillList();
    EnableControls();
}

void CBrowsersDlg::ApplyTexts() {
    SetWindowText(GetUiText(LangId::TitleBrowsers) + L" - " + win::LoadResString(AFX_IDS_APP_TITLE));
    const LangId kinds[kTraceKinds] = {LangId::BrowsersHistory, LangId::BrowsersDownloads, LangId::BrowsersCookies,
                                       LangId::BrowsersForms,   LangId::BrowsersSessions,  LangId::BrowsersCache};
    for (int i = 0; i < kTraceKinds; ++i) ::SetWindowTextW(GetItem(IDC_BROWSERS_KIND_FIRST + i), GetUiText(kinds[i]).c_str());
    ::SetWindowTextW(GetItem(IDC_BROWSERS_KEEP_LABEL), GetUiText(LangId::BrowsersKeepLabel).c_str());
    ::SetWindowTextW(GetItem(IDC_BROWSERS_PREVIEW), GetUiText(LangId::BrowsersPreview).c_str());
    ::SetWindowTextW(GetItem(IDC_BROWSERS_CLEAN), GetUiText(LangId::BrowsersClean).c_str());
    ::SetWindowTextW(GetItem(IDCANCEL), GetUiText(LangId::BrowsersClose).c_str());
}

void CBrowsersDlg::FillList() {
    win::CListCtrl list(GetItem(IDC_BROWSERS_LIST));
    list.DeleteAllItems();
    for (size_t i = 0; i < m_profiles.size(); ++i) {
        int row = list.InsertItem(static_cast<int>(i), m_profiles[i].browser, -1);
        list.SetItemText(row, 1, m_profiles[i].name);
        // The state a clean would meet: refused, in use (its lock or one of its databases held), or ready.
        list.SetItemText(row, 2, ProfileStateText(ProfileState(m_profiles[i]), TraceKinds(), false));
    }
}

TraceKinds CBrowsersDlg::ChosenKinds() const {
    TraceKinds kinds;
    for (TraceKind kind : kAllTraceKinds)
        kinds.Set(kind, ::SendMessageW(GetItem(IDC_BROWSERS_KIND_FIRST + KindIndex(kind)), BM_GETCHECK, 0, 0) == BST_CHECKED);
    return kinds;
}

CKeepList CBrowsersDlg::ChosenKeepList() const {
    CKeepList keep(win::CWnd(GetItem(IDC_BROWSERS_KEEP)).GetWindowText());
    keep.Add(m_extraKeep);
    return keep;
}

void CBrowsersDlg::EnableControls() {
    bool idle = !m_thread;
    bool any = !ChosenKinds().Empty();
    ::EnableWindow(GetItem(IDC_BROWSERS_PREVIEW), idle && any && !m_profiles.empty());
    ::EnableWindow(GetItem(IDC_BROWSERS_CLEAN), idle && any && !m_profiles.empty());
    ::EnableWindow(GetItem(IDCANCEL), idle);
    ::EnableWindow(GetItem(IDC_BROWSERS_KEEP), idle);
    for (int i = 0; i < kTraceKinds; ++i) ::EnableWindow(GetItem(IDC_BROWSERS_KIND_FIRST + i), idle);
}

void CBrowsersDlg::OnCommand(UINT id) {
    if (id >= IDC_BROWSERS_KIND_FIRST && id < IDC_BROWSERS_KIND_FIRST + kTraceKinds) {
        EnableControls();
        return;
    }
    switch (id) {
    case IDC_BROWSERS_PREVIEW:
        StartRun(Run::Preview);
        break;
    case IDC_BROWSERS_CLEAN:
        // Without a question nothing needs counting first.
        StartRun(m_settings.GetInt(m_section, kAskEntry, 1) != 0 ? Run::Ask : Run::Clean);
        break;
    case IDCANCEL:
        // Escape and Alt+F4 wait for the worker, which uses this dialog.
        if (m_thread) break;
        SaveChoices();
        EndDialog(IDCANCEL);
        break;
    }
}

void CBrowsersDlg::ShowTotals(const std::vector<ProfileReport>& reports, TraceKinds kinds) {
    for (TraceKind kind : kAllTraceKinds) {
        KindCount total = TotalOf(reports, kind);
        std::wstring text = !kinds.Has(kind)             ? std::wstring()
                            : kind == TraceKind::Cookies ? CookiesTotalText(total, UnmatchedKeepEntries(m_runKeep, reports))
                                                         : KindCountText(kind, total);
        ::SetWindowTextW(GetItem(IDC_BROWSERS_COUNT_FIRST + KindIndex(kind)), text.c_str());
    }
}

void CBrowsersDlg::StartRun(Run run) {
    if (m_thread) return;  // one run at a time
    if (!(run == Run::Clean && m_run == Run::Ask)) {  // a clean after its question keeps what was asked
        m_runKinds = ChosenKinds();
        m_runKeep = ChosenKeepList();
    }
    if (m_runKinds.Empty() || m_profiles.empty()) return;
    if (run != Run::Preview) SaveChoices();
    m_run = run;
    m_finished = false;
    m_reports.assign(m_profiles.size(), ProfileReport{});
    HWND progress = GetItem(IDC_BROWSERS_PROGRESS);
    ::SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(m_profiles.size()));
    ::SendMessageW(progress, PBM_SETPOS, 0, 0);
    ::ShowWindow(progress, SW_SHOW);
    m_thread = win::KernelHandle(::CreateThread(nullptr, 0, &Worker, this, CREATE_SUSPENDED, nullptr));
    if (!m_thread) {
        ::ShowWindow(progress, SW_HIDE);
        return;
    }
    EnableControls();
    ::ResumeThread(m_thread.Get());
}

DWORD WINAPI CBrowsersDlg::Worker(void* parameter) {
    auto* dialog = static_cast<CBrowsersDlg*>(parameter);
    const bool clean = dialog->m_run == Run::Clean;
    for (size_t i = 0; i < dialog->m_profiles.size(); ++i) {
        const BrowserProfile& profile = dialog->m_profiles[i];
        try {
            dialog->m_reports[i] = clean ? CleanProfile(profile, dialog->m_runKinds, dialog->m_runKeep)
                                         : PreviewProfile(profile, dialog->m_runKinds, dialog->m_runKeep);
        } catch (const std::exception& error) {
            dialog->m_reports[i].left.push_back({profile.folder, LeftWhy::Failed, win::ToWide(error.what())});
        }
        ::PostMessageW(dialog->GetSafeHwnd(), WM_BROWSER_CLEANED, i, 0);
    }
    ::PostMessageW(dialog->GetSafeHwnd(), WM_BROWSERS_DONE, 0, 0);
    return 0;
}

void CBrowsersDlg::OnProfileDone(int index) {
    if (index < 0 || index >= static_cast<int>(m_reports.size())) return;
    win::CListCtrl(GetItem(IDC_BROWSERS_LIST))
        .SetItemText(index, 2, ProfileStateText(m_reports[index], m_runKinds, m_run == Run::Clean));
    ::SendMessageW(GetItem(IDC_BROWSERS_PROGRESS), PBM_SETPOS, index + 1, 0);
}

void CBrowsersDlg::OnRunDone() {
    if (m_thread) ::WaitForSingleObject(m_thread.Get(), 5000);  // it has posted its last word
    m_thread.Reset();
    ShowTotals(m_reports, m_runKinds);
    EnableControls();
    if (m_run == Run::Ask &&
        ConfirmUnlessToldNotTo(m_hWnd, m_settings, m_section, kAskEntry, CleanQuestion(m_reports, m_runKinds),
                               GetUiText(LangId::TitleBrowsers))) {
        StartRun(Run::Clean);
        return;
    }
    m_finished = true;
}

void CBrowsersDlg::SaveChoices() const {
    m_settings.WriteInt(m_section, kKindsEntry, static_cast<int>(ChosenKinds().Mask()));
    SaveKeepListText(m_settings, m_section, win::CWnd(GetItem(IDC_BROWSERS_KEEP)).GetWindowText());
}

void ShowBrowsersDialog(HWND owner, const IListViewHost& host, const CKeepList& extraKeep) {
    CBrowsersDlg dialog(host.Profile(), host.UserName(), UserBrowserRoots());
    dialog.m_extraKeep = extraKeep;
    dialog.DoModal(owner);
}
