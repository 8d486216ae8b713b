#pragma once
// Options > Browsers: the browser profiles found with their state, the kinds
// of traces to clean, the sites whose cookies to keep, a Preview that counts
// without changing anything and a Clean that runs on a worker thread, after
// which each profile tells what went or why it was left. The kinds and the
// sites are remembered per Windows user.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "privacy/browsers/BrowserCleaning.h"
#include "privacy/browsers/KeepList.h"
#include "privacy/browsers/Profiles.h"
#include "win/Dialog.h"
#include "win/Handle.h"
#include "win/Profile.h"

class CBriskoApp;

class CBrowsersDlg : public win::CDialog {
public:
    // `settings` and `userSection` hold the remembered choices; `roots` are
    // where the profiles are looked for.
    CBrowsersDlg(const win::CProfile& settings, std::wstring userSection, browsers::BrowserRoots roots);
    ~CBrowsersDlg() override;

    // Hosts kept on top of the user's own list (a policy's); not shown.
    browsers::CKeepList m_extraKeep;

    bool Running() const { return static_cast<bool>(m_thread); }
    bool Finished() const { return m_finished; }

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnInitDialog();
    void ApplyTexts();
    void FillList();
    void OnCommand(UINT id);
    browsers::TraceKinds ChosenKinds() const;
    browsers::CKeepList ChosenKeepList() const;
    void EnableControls();
    void OnPreview();
    void OnClean();
    void OnProfileCleaned(int index);
    void OnCleanDone();
    void ShowTotals(const std::vector<browsers::ProfileReport>& reports, browsers::TraceKinds kinds);
    void SaveChoices() const;
    static DWORD WINAPI Worker(void* parameter);

    const win::CProfile& m_settings;
    std::wstring m_section;
    browsers::BrowserRoots m_roots;
    std::vector<browsers::BrowserProfile> m_profiles;
    std::vector<browsers::ProfileReport> m_reports;  // written by the worker, each read after its message
    browsers::TraceKinds m_runKinds;
    browsers::CKeepList m_runKeep;
    win::KernelHandle m_thread;
    bool m_finished = false;
};

// The texts of the dialog, pure so that they are tested without a window.
// "History: 12,480 visits", "Cookies: 1,204 (37 kept)", "Cache: 340 KB".
std::wstring KindCountText(browsers::TraceKind kind, const browsers::KindCount& count);
// A profile's State column: "ready", "in use: close the browser", the
// counts of a preview, "cleaned: ..." or "left: why".
std::wstring ProfileStateText(const browsers::ProfileReport& report, browsers::TraceKinds kinds, bool cleaned);

// Opens the dialog modally for the program's user.
void ShowBrowsersDialog(HWND owner, const CBriskoApp& app, const browsers::CKeepList& extraKeep = {});
