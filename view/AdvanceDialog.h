#pragma once
// The Advance dialog: the user picks which kinds of history traces to clear.
// Clean runs the chosen routines once on a worker thread while a progress bar
// advances, and the dialog closes by itself when the worker has ended. The
// history files the routines find go to the result list.
#include <windows.h>

#include <atomic>
#include <functional>

#include "catalog/BriskoDoc.h"
#include "privacy/HistoryCleaning.h"
#include "scan/FoundItemSink.h"
#include "win/Dialog.h"
#include "win/Handle.h"
#include "win/Thread.h"

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
    std::atomic<int> m_nProgress{0};
    bool m_bRun[kOptions] = {};
    win::Thread m_pThread;
    // The routines a clean runs; tests put a recording one in.
    std::function<void(const CHistoryOptions&, IFoundItemSink&, IHistoryProgress&)> m_runRoutines;

    bool IsOptionOn(int index) const;
    // The progress bar's position: steps done of the total, at most 100.
    int ProgressPercent() const;

protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    void OnInitDialog();
    void ApplyLanguage();
    void OnCommand(UINT id);
    void OnOptionClicked();
    void OnClean();
    void ShowProgress();
    void OnCleanDone();
    CHistoryOptions ChosenOptions() const;
    void RunWorker();

    IFoundItemSink& m_list;
};
