#include "view/AdvanceDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "i18n/Lang.h"
#include "i18n/LangTexts.h"
#include "res/resource.h"
#include "win/ComInit.h"
#include "win/Dpi.h"
#include "win/Log.h"
#include "win/Text.h"

namespace {

// The job's end, posted to the dialog.
constexpr UINT WM_ADVANCEDONE = WM_APP + 257;
constexpr UINT_PTR kProgressTimer = 1;

const int kOptionIcons[CIETDlg::kOptions] = {IDI_URL_HISTORY, IDI_AUTOCOMPLETE, IDI_RUN_HISTORY,
                                             IDI_FIND_HISTORY, IDI_TYPED_URL, IDI_RECENT_DOCUMENTS};

// The job's progress, which the routines advance and the dialog's timer reads.
class CProgressCounter : public IHistoryProgress {
public:
    explicit CProgressCounter(win::JobControl& control) : m_control(control) {}
    void Advance(int steps) override { m_control.Advance(static_cast<size_t>(steps)); }

private:
    win::JobControl& m_control;
};

}  // namespace

const int CIETDlg::kOptionIds[kOptions] = {IDC_URL_HISTORY, IDC_AUTOCOMPLETE, IDC_RUN_HISTORY,
                                           IDC_FIND_HISTORY, IDC_TYPED_URL, IDC_RECENT_DOCUMENTS};

CIETDlg::CIETDlg(IFoundItemSink& list) : win::CDialog(IDD_ADVANCE), m_list(list) {}

CIETDlg::~CIETDlg() {
    // The job uses this object until its end: never leave before it.
    m_job.StopAndWait(INFINITE);
}

bool CIETDlg::IsOptionOn(int index) const { return IsChecked(kOptionIds[index]); }

int CIETDlg::ProgressPercent() const {
    return std::min(100, m_nProgress * 100 / std::max(1, m_nProgressTotal));
}

INT_PTR CIETDlg::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_TIMER:
        if (wp == kProgressTimer) ShowProgress();
        return TRUE;
    case WM_ADVANCEDONE:
        OnCleanDone();
        return TRUE;
    }
    return FALSE;
}

bool CIETDlg::OnInit() {
    ShowItem(IDC_ADVANCE_PROGRESS, false);
    ::SendMessageW(GetItem(IDC_ADVANCE_PROGRESS), PBM_SETRANGE32, 0, 100);
    int findKeys = m_pDoc ? static_cast<int>(m_pDoc->m_listFindHistoryKeys.size()) : 0;
    int recentKeys = m_pDoc ? static_cast<int>(m_pDoc->m_listRecentDocKeys.size()) : 0;
    const int weights[kOptions] = {16, 3, 1, findKeys + 1, 1, recentKeys + 3};
    std::copy(weights, weights + kOptions, m_nWeight);
    if (!IsDefaultLanguage()) ApplyLanguage();
    SetOptionIcons(Dpi());
    for (int id : kOptionIds) SetChecked(id, false);
    SetChecked(IDC_URL_HISTORY, true);
    SetChecked(IDC_RECENT_DOCUMENTS, true);
    m_nProgressTotal = m_nWeight[0] + m_nWeight[5];
    ::SetTimer(m_hWnd, kProgressTimer, 5, nullptr);
    return true;
}

void CIETDlg::SetOptionIcons(UINT dpi) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // The icons at the size the system gives large icons at the dialog's scale.
    const int iconSize = win::SystemMetricForDpi(SM_CXICON, dpi);
    for (int i = 0; i < kOptions; ++i) {
        auto icon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kOptionIcons[i]), IMAGE_ICON, iconSize,
                                                    iconSize, LR_SHARED));
        ::SendMessageW(GetItem(kOptionIds[i]), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
    }
}

void CIETDlg::ApplyLanguage() {
    SetWindowText(GetLangString(LangId::TitleAdvance) + L" - " + win::LoadResString(AFX_IDS_APP_TITLE));
    for (int i = 0; i < kOptions; ++i) SetItemText(IDC_AUTOCOMPLETE + i, GetLangString(LangIdAfter(LangId::Label1, i)));
    SetItemText(IDC_CLEAN, GetLangString(LangId::ButtonClean));
    SetItemText(IDC_ADVANCE_CANCEL, GetLangString(LangId::ButtonCancel));
}

bool CIETDlg::OnCommand(UINT id, UINT code, HWND control) {
    switch (id) {
    case IDC_AUTOCOMPLETE:
    case IDC_FIND_HISTORY:
    case IDC_RECENT_DOCUMENTS:
    case IDC_RUN_HISTORY:
    case IDC_TYPED_URL:
    case IDC_URL_HISTORY:
        OnOptionClicked();
        return true;
    case IDC_CLEAN:
        OnClean();
        return true;
    case IDC_ADVANCE_CANCEL:
        OnCancel();
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

void CIETDlg::OnCancel() {
    // Escape and Alt+F4 stop a running job after the routine in hand; its
    // end closes the dialog.
    if (m_job) m_job.Stop();
    else EndDialog(IDCANCEL);
}

void CIETDlg::OnOptionClicked() {
    // The total follows the options that are on, so that the bar ends near 100.
    int total = 0;
    for (int i = 0; i < kOptions; ++i)
        if (IsOptionOn(i)) total += m_nWeight[i];
    m_nProgressTotal = std::max(1, total);
    if (!m_job) EnableItem(IDC_CLEAN, total > 0);
}

CHistoryOptions CIETDlg::ChosenOptions() const {
    CHistoryOptions options;
    options.urlHistory = m_bRun[0];
    options.autoComplete = m_bRun[1];
    options.runHistory = m_bRun[2];
    options.findHistory = m_bRun[3];
    options.typedUrl = m_bRun[4];
    options.recentDocuments = m_bRun[5];
    return options;
}

void CIETDlg::OnClean() {
    if (m_job) return;  // once per opening
    for (int i = 0; i < kOptions; ++i) m_bRun[i] = IsOptionOn(i);
    // The steps the chosen routines make stand for 100 percent.
    if (m_pDoc) m_nProgressTotal = std::max(1, HistoryCleaningSteps(*m_pDoc, ChosenOptions()));
    m_nProgress = 1;
    ShowItem(IDC_ADVANCE_PROGRESS, true);
    EnableItem(IDC_CLEAN, false);
    EnableItem(IDC_ADVANCE_CANCEL, false);
    m_control = std::make_shared<win::JobControl>(win::JobNotice{m_hWnd, 0, WM_ADVANCEDONE, 0});
    m_control->Advance(1);
    m_job = win::Job::Start(m_control, [this, control = m_control] { RunRoutines(*control); }, L"Advance worker");
    if (!m_job) EndDialog(IDCANCEL);  // nothing runs, so nothing would close the dialog
}

void CIETDlg::RunRoutines(win::JobControl& control) {
    // A failing routine ends the run (the job logs it); the dialog still closes.
    win::ComInit com;  // the URL history object lives on this thread
    CProgressCounter progress(control);
    CHistoryOptions options = ChosenOptions();
    if (m_runRoutines) m_runRoutines(options, m_list, progress);
    else if (m_pDoc) RunHistoryCleaning(CHistoryCleaning{*m_pDoc, m_list, progress, L"", &control.StopFlag()}, options);
}

void CIETDlg::ShowProgress() {
    if (m_control) m_nProgress = static_cast<int>(m_control->Progress().done);
    if (m_nProgress == 0) return;
    ::SendMessageW(GetItem(IDC_ADVANCE_PROGRESS), PBM_SETPOS, ProgressPercent(), 0);
    ::UpdateWindow(m_hWnd);
}

void CIETDlg::OnCleanDone() {
    ::KillTimer(m_hWnd, kProgressTimer);
    m_job.Wait(5000);  // it has posted its last word
    ShowProgress();
    m_job.Reset();
    EndDialog(IDOK);
}
