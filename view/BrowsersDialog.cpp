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

// Profiles looked at or cleaned since the dialog last took them, and the job's end.
constexpr UINT WM_BROWSERS_PROGRESS = WM_APP + 301;
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
    // A profile's databases change in one transaction each: the job ends
    // after the profile in hand, never in the middle of one.
    m_job.StopAndWait(INFINITE);
}

INT_PTR CBrowsersDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_BROWSERS_PROGRESS:
        TakeProfileReports();
        return TRUE;
    case WM_BROWSERS_DONE:
        OnJobDone();
        return TRUE;
    }
    return FALSE;
}

bool CBrowsersDlg::OnInit() {
    ApplyTexts();
    win::CListCtrl list(GetItem(IDC_BROWSERS_LIST));
    // A long State shows whole in a tip over the row.
    const DWORD styles = LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP;
    list.SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, styles, styles);
    list.InsertColumn(0, GetUiText(LangId::BrowsersColumnBrowser), LVCFMT_LEFT, 0);
    list.InsertColumn(1, GetUiText(LangId::BrowsersColumnProfile), LVCFMT_LEFT, 0);
    list.InsertColumn(2, GetUiText(LangId::BrowsersColumnState), LVCFMT_LEFT, 0);
    SizeColumns();
    TraceKinds kinds = TraceKinds::FromMask(
        static_cast<unsigned>(m_settings.GetInt(m_section, kKindsEntry, static_cast<int>(TraceKinds::Default().Mask()))));
    for (TraceKind kind : kAllTraceKinds) SetChecked(IDC_BROWSERS_KIND_FIRST + KindIndex(kind), kinds.Has(kind));
    SetItemText(IDC_BROWSERS_KEEP, SavedKeepListText(m_settings, m_section));
    ShowItem(IDC_BROWSERS_PROGRESS, false);
    m_profiles = FindBrowserProfiles(m_roots);
    m_reports.assign(m_profiles.size(), ProfileReport{});
    FillList();
    EnableControls();
    return true;
}

void CBrowsersDlg::SizeColumns() {
    // Browser, profile and state share the list's width 22 : 18 : 60.
    win::CListCtrl list(GetItem(IDC_BROWSERS_LIST));
    RECT area = list.GetClientRect();
    const int width = area.right - area.left;
    const int shares[] = {22, 18, 60};
    for (int column = 0; column < 3; ++column) list.SetColumnWidth(column, width * shares[column] / 100);
}

void CBrowsersDlg::ApplyTexts() {
    SetWindowText(GetUiText(LangId::TitleBrowsers) + L" - " + win::LoadResString(AFX_IDS_APP_TITLE));
    const LangId kinds[kTraceKinds] = {LangId::BrowsersHistory, LangId::BrowsersDownloads, LangId::BrowsersCookies,
                                       LangId::BrowsersForms,   LangId::BrowsersSessions,  LangId::BrowsersCache};
    for (int i = 0; i < kTraceKinds; ++i) SetItemText(IDC_BROWSERS_KIND_FIRST + i, GetUiText(kinds[i]));
    SetItemText(IDC_BROWSERS_KEEP_LABEL, GetUiText(LangId::BrowsersKeepLabel));
    SetItemText(IDC_BROWSERS_PREVIEW, GetUiText(LangId::BrowsersPreview));
    SetItemText(IDC_BROWSERS_CLEAN, GetUiText(LangId::BrowsersClean));
    SetItemText(IDCANCEL, GetUiText(LangId::BrowsersClose));
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
    for (TraceKind kind : kAllTraceKinds) kinds.Set(kind, IsChecked(IDC_BROWSERS_KIND_FIRST + KindIndex(kind)));
    return kinds;
}

CKeepList CBrowsersDlg::ChosenKeepList() const {
    CKeepList keep(ItemText(IDC_BROWSERS_KEEP));
    keep.Add(m_extraKeep);
    return keep;
}

void CBrowsersDlg::EnableControls() {
    bool idle = !m_job;
    bool any = !ChosenKinds().Empty();
    EnableItem(IDC_BROWSERS_PREVIEW, idle && any && !m_profiles.empty());
    EnableItem(IDC_BROWSERS_CLEAN, idle && any && !m_profiles.empty());
    EnableItem(IDCANCEL, idle);
    EnableItem(IDC_BROWSERS_KEEP, idle);
    for (int i = 0; i < kTraceKinds; ++i) EnableItem(IDC_BROWSERS_KIND_FIRST + i, idle);
}

bool CBrowsersDlg::OnCommand(UINT id, UINT code, HWND control) {
    if (id >= IDC_BROWSERS_KIND_FIRST && id < IDC_BROWSERS_KIND_FIRST + kTraceKinds) {
        EnableControls();
        return true;
    }
    switch (id) {
    case IDC_BROWSERS_PREVIEW:
        StartJob(Run::Preview);
        return true;
    case IDC_BROWSERS_CLEAN:
        // Without a question nothing needs counting first.
        StartJob(m_settings.GetInt(m_section, kAskEntry, 1) != 0 ? Run::Ask : Run::Clean);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CBrowsersDlg::OnCancel() {
    // Escape and Alt+F4 stop a running job after the profile in hand; the
    // dialog closes once none runs.
    if (m_job) return m_job.Stop();
    SaveChoices();
    EndDialog(IDCANCEL);
}

void CBrowsersDlg::ShowTotals(const std::vector<ProfileReport>& reports, TraceKinds kinds) {
    for (TraceKind kind : kAllTraceKinds) {
        KindCount total = TotalOf(reports, kind);
        std::wstring text = !kinds.Has(kind)             ? std::wstring()
                            : kind == TraceKind::Cookies ? CookiesTotalText(total, UnmatchedKeepEntries(m_runKeep, reports))
                                                         : KindCountText(kind, total);
        SetItemText(IDC_BROWSERS_COUNT_FIRST + KindIndex(kind), text);
    }
}

bool CBrowsersDlg::StartJob(Run run) {
    if (m_job) return false;  // one job at a time
    if (!(run == Run::Clean && m_run == Run::Ask)) {  // a clean after its question keeps what was asked
        m_runKinds = ChosenKinds();
        m_runKeep = ChosenKeepList();
    }
    if (m_runKinds.Empty() || m_profiles.empty()) return false;
    if (run != Run::Preview) SaveChoices();
    m_run = run;
    const bool clean = run == Run::Clean;
    m_finished = false;
    if (clean) {
        HWND progress = GetItem(IDC_BROWSERS_PROGRESS);
        ::SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(m_profiles.size()));
        ::SendMessageW(progress, PBM_SETPOS, 0, 0);
        ShowItem(IDC_BROWSERS_PROGRESS, true);
    }
    m_reports.assign(m_profiles.size(), ProfileReport{});
    m_control = std::make_shared<ProfilesJob>(win::JobNotice{m_hWnd, WM_BROWSERS_PROGRESS, WM_BROWSERS_DONE, 0});
    m_control->SetTotal(m_profiles.size());
    // The job works on copies: it never reads the dialog.
    auto work = [control = m_control, profiles = m_profiles, kinds = m_runKinds, keep = m_runKeep, clean] {
        for (size_t i = 0; i < profiles.size() && !control->Stopping(); ++i) {
            ProfileReport report;
            try {
                report = clean ? CleanProfile(profiles[i], kinds, keep) : PreviewProfile(profiles[i], kinds, keep);
            } catch (const std::exception& error) {
                report.left.push_back({profiles[i].folder, LeftWhy::Failed, win::ToWide(error.what())});
            }
            control->done.Add({i, std::move(report)});
            control->Advance();
            control->Tell();
        }
    };
    m_job = win::Job::Start(m_control, std::move(work), clean ? L"browsers clean" : L"browsers preview");
    if (!m_job) {
        m_control.reset();
        ShowItem(IDC_BROWSERS_PROGRESS, false);
    }
    EnableControls();
    return static_cast<bool>(m_job);
}

void CBrowsersDlg::TakeProfileReports() {
    if (!m_control) return;
    m_control->Taken();
    win::CListCtrl list(GetItem(IDC_BROWSERS_LIST));
    for (ProfileDone& done : m_control->done.Take()) {
        if (done.index >= m_reports.size()) continue;
        m_reports[done.index] = std::move(done.report);
        list.SetItemText(static_cast<int>(done.index), 2,
                         ProfileStateText(m_reports[done.index], m_runKinds, m_run == Run::Clean));
        if (m_run == Run::Clean) ::SendMessageW(GetItem(IDC_BROWSERS_PROGRESS), PBM_SETPOS, done.index + 1, 0);
    }
}

void CBrowsersDlg::OnJobDone() {
    m_job.Wait(5000);  // it has posted its last word
    TakeProfileReports();
    // A preview stopped by Escape asks nothing: its counts are not the whole.
    const bool stopped = m_control && m_control->Stopping();
    m_job.Reset();
    m_control.reset();
    ShowTotals(m_reports, m_runKinds);
    EnableControls();
    if (m_run == Run::Ask && !stopped &&
        ConfirmUnlessToldNotTo(m_hWnd, m_settings, m_section, kAskEntry, CleanQuestion(m_reports, m_runKinds),
                               GetUiText(LangId::TitleBrowsers))) {
        StartJob(Run::Clean);
        return;
    }
    m_finished = true;
}

void CBrowsersDlg::SaveChoices() const {
    m_settings.WriteInt(m_section, kKindsEntry, static_cast<int>(ChosenKinds().Mask()));
    SaveKeepListText(m_settings, m_section, ItemText(IDC_BROWSERS_KEEP));
}

void ShowBrowsersDialog(HWND owner, const IListViewHost& host, const CKeepList& extraKeep) {
    CBrowsersDlg dialog(host.Profile(), host.UserName(), UserBrowserRoots());
    dialog.m_extraKeep = extraKeep;
    dialog.DoModal(owner);
}
