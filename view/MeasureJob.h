#pragma once
// What the folder rows of the list hold, measured as a job after a scan:
// the window goes on answering, each folder's measure is handed over as it
// is done, and a clean or a new scan stops the job after the entry in hand.
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "scan/FoundItems.h"
#include "win/Job.h"

struct MeasureJob : win::JobControl {
    using JobControl::JobControl;
    // The folders to measure, by their record in the list: set before the start.
    std::vector<std::pair<FoundItems::Id, std::wstring>> folders;
    win::JobResults<std::pair<FoundItems::Id, FolderContents>> measured;
};

// Measures the job's folders one after the other, on the calling thread,
// telling the watcher after each; returns when all are done or it is stopped.
void RunMeasureJob(MeasureJob& job);

// Starts the job at a priority below the clean's and the window's; an empty
// job when no thread could start.
win::Job StartMeasureJob(const std::shared_ptr<MeasureJob>& job);
