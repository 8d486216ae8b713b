#include "view/MeasureJob.h"

#include "clean/FolderMeasure.h"
#include "policy/PolicyGuards.h"

void RunMeasureJob(MeasureJob& job) {
    const RemovalGuards guards = GuardsUnderPolicy();
    job.SetTotal(job.folders.size());
    for (const auto& [id, path] : job.folders) {
        std::optional<FolderContents> contents = MeasureFolder(path, guards, &job.StopFlag());
        if (!contents) return;  // stopped
        job.measured.Add({id, *contents});
        job.Advance();
        job.Tell();
    }
}

win::Job StartMeasureJob(const std::shared_ptr<MeasureJob>& job) {
    return win::Job::Start(job, [job] { RunMeasureJob(*job); }, L"measure worker", THREAD_PRIORITY_BELOW_NORMAL);
}
