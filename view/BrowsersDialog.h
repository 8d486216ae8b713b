#pragma once
// Options > Browsers: the browser profiles found with their state, the kinds
// of traces to clean, the sites whose cookies to keep, a Preview that counts
// without changing anything and a Clean that asks first (with the counts of
// a preview, unless the user said not to ask again), each a job over the
// profiles that Escape stops after the profile in hand; after a clean each
// profile tells what went or why it was left. The dialog answers throughout.
// The kinds and the sites are remembered per Windows user; the sites are
// the user's one keep-list.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "privacy/browsers/BrowserCleaning.h"
#include "privacy/browsers/KeepList.h"
#include "privacy/browsers/Profiles.h"
#include "win/Dialog.h"
#include "win/Job.h"
#include "win/Profile.h"

class IListViewHost;

class CBrowsersDlg : public win::CDialog {
public:
    // `settings` and `userSection` hold the remembered choices; `roots` are
    // where the profiles are looked for.
    CBrowsersDlg(const win::CProfile& settings, std::wstring userSection, browsers::BrowserRoots roots);
    ~CBrowsersDlg() override;

    // Hosts kept on top of the user's own list (a policy's); not shown.
    browsers::CKeepList m_extraKeep;

    bool Running() const { return static_cast<bool>(m_job); }
    // A preview or a clean ran to its end (a clean declined at its question too).
    bool Finished() const { return m_finished; }
    // Escape or Alt+F4 asked the running job to stop.
    bool StopAsked() const { return m_control && m_control->Stopping(); }

protected:
    bool OnInit() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnCancel() override;
    void OnDpiChanged(UINT) override { SizeColumns(); }
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyTexts();
    void SizeColumns();
    void FillList();
    browsers::TraceKinds ChosenKinds() const;
    browsers::CKeepList ChosenKeepList() const;
    void EnableControls();
    // What a job runs: a preview, a preview whose end asks before the
    // clean, or the clean.
    enum class Run { Preview, Ask, Clean };
    // Runs a preview or a clean of every profile as a job.
    bool StartJob(Run run);
    void TakeProfileReports();
    void OnJobDone();
    void ShowTotals(const std::vector<browsers::ProfileReport>& reports, browsers::TraceKinds kinds);
    void SaveChoices() const;

    const win::CProfile& m_settings;
    std::wstring m_section;
    browsers::BrowserRoots m_roots;
    std::vector<browsers::BrowserProfile> m_profiles;
    std::vector<browsers::ProfileReport> m_reports;  // of the last preview or clean, filled in as it goes
    browsers::TraceKinds m_runKinds;
    browsers::CKeepList m_runKeep;
    Run m_run = Run::Preview;  // the job running or last run
    struct ProfileDone {
        size_t index = 0;
        browsers::ProfileReport report;
    };
    struct ProfilesJob : win::JobControl {
        using JobControl::JobControl;
        win::JobResults<ProfileDone> done;
    };
    std::shared_ptr<ProfilesJob> m_control;
    win::Job m_job;
    bool m_finished = false;
};

// The texts of the dialog, pure so that they are tested without a window.
// "History: 12,480 visits", "Cookies: 1,204 (37 kept)", "Cache: 340 KB".
std::wstring KindCountText(browsers::TraceKind kind, const browsers::KindCount& count);
// A profile's State column: "ready", "in use: close the browser", "refused:
// ...", the counts of a preview, "cleaned: ..." or "left: why".
std::wstring ProfileStateText(const browsers::ProfileReport& report, browsers::TraceKinds kinds, bool cleaned);
// The question before a clean: "Clean 1,700 visits, 105 cookies (28 kept)
// from 2 profiles? This cannot be undone."
std::wstring CleanQuestion(const std::vector<browsers::ProfileReport>& previews, browsers::TraceKinds kinds);
// The totals of the Cookies line, with the kept sites no cookie matched:
// "Cookies: 3 (2 kept); kept sites with no cookie: other.example".
std::wstring CookiesTotalText(const browsers::KindCount& total, const std::vector<std::string>& unmatched);

// Opens the dialog modally for the program's user.
void ShowBrowsersDialog(HWND owner, const IListViewHost& host, const browsers::CKeepList& extraKeep = {});
