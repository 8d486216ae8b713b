// The controller's side of the folder rows' measure: one job at a time,
// its findings kept in the listing and counted in the selection's size.
#include "view/ListController.h"
#include "view/MeasureJob.h"

void CListController::StartMeasuring() {
    if (m_scanJob || m_cleanJob) return;  // each starts it again at its end
    if (m_measure) {
        m_bMeasureAgain = true;
        return;
    }
    m_bMeasureAgain = false;
    std::vector<FoundItems::Id> folders = m_items.UnmeasuredFolders();
    if (folders.empty()) return;
    auto job = std::make_shared<MeasureJob>(win::JobNotice{m_hWnd, WM_FOLDERSMEASURED, WM_FOLDERSMEASURED, 250});
    job->folders.reserve(folders.size());
    for (FoundItems::Id id : folders) job->folders.emplace_back(id, m_items.ById(id).path);
    m_measure = StartMeasureJob(job);
    if (m_measure) m_measureJob = std::move(job);
}

void CListController::StopMeasuring() {
    // The job owns all it reads: it is left to end by itself after the
    // entry in hand, and what it still hands over is not taken.
    m_measure.Stop();
    m_measure.Reset();
    m_measureJob.reset();
}

void CListController::TakeMeasures() {
    if (!m_measureJob) return;
    m_measureJob->Taken();
    bool any = false;
    for (const auto& [id, contents] : m_measureJob->measured.Take()) {
        m_items.SetContents(id, contents);
        any = true;
    }
    if (any && List().GetSelectedCount() > 0) {
        RecountSelection();
        ShowSelectionSize();
    }
    if (!m_measureJob->Ended()) return;
    m_measure.Reset();
    m_measureJob.reset();
    if (m_bMeasureAgain) StartMeasuring();
}
