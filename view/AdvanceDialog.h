#pragma once
// The Advance dialog: the user picks which kinds of history traces to clear.
// Clean runs the chosen routines once as a job while a progress bar
// advances, and the dialog closes by itself when the job has ended; Escape
// stops it after the routine in hand. The history files the routines find go
// to the result list.
#include <windows.h>

#include <atomic>
#include <functional>

#include "catalog/BriskoDoc.h"
#include "privacy/HistoryCleaning.h"
#include "scan/FoundItemSink.h"
#include "win/Dialog.h"
#include "win/Job.h"

class CIETDlg : public win::CDialog {
public:
    // `list` receives the files the routines find; it is called from the
    // worker thread, and must reach the list only by synchronous messages.
    explicit CIETDlg(IFoundItemSink& list);
    ~CIETDlg() override;

    // The options in the order their routines run.
    static constexpr int kOptions = 6;
    static const int kOptionIds[kOptions];

    const CBriskoDoc* m_pDoc = nullptr;  // set by the opener before the dialog is shown
    int m_nWeight[kOptions] = {};
    int m_nProgressTotal = 1;
    int m_nProgress = 0;  // the steps done, as last shown
    bool m_bRun[kOptions] = {};
    // The routines a clean runs; tests put a recording one in.
    std::function<void(const CHistoryOptions&, IFoundItemSink&, IHistoryProgress&)> m_runRoutines;

    bool IsOptionOn(int index) const;
    // Escape or Alt+F4 asked the running routines to stop.
    bool StopAsked() const { return m_control && m_control->Stopping(); }
    // The progress bar's position: steps done of the total, at most 100.
    int ProgressPercent() const;

protected:
    bool OnInit() override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    void OnCancel() override;
    void OnDpiChanged(UINT dpi) override { SetOptionIcons(dpi); }
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void ApplyLanguage();
    void SetOptionIcons(UINT dpi);
    void OnOptionClicked();
    void OnClean();
    void ShowProgress();
    void OnCleanDone();
    CHistoryOptions ChosenOptions() const;
    void RunRoutines(win::JobControl& control);

    IFoundItemSink& m_list;
    std::shared_ptr<win::JobControl> m_control;
    win::Job m_job;
};
