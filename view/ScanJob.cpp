#include "view/ScanJob.h"

#include "scan/FoundItemOrder.h"
#include "scan/Modes.h"
#include "win/Path.h"

namespace {
struct ScanStopped {};

// Takes the listable matches into the job's listing; a stop request ends
// the walk at the next match.
class CScanCollector : public IFoundItemSink {
public:
    CScanCollector(CTypeNames& types, ScanJob& job) : m_types(types), m_job(job) {}
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
        if (m_job.Stopping()) throw ScanStopped();
        std::uint32_t tag = m_types.TagOf(path, IsFolderEntry(findData));
        FoundItem item = FoundItems::MakeItem(std::move(path), findData, m_job.mode, tag);
        item.rule = m_rule;
        std::optional<FoundItem> shown;
        if (m_shown < kRowsShownWhileScanning) shown = item;
        if (!m_job.items.Add(std::move(item))) return;
        m_job.Advance();
        if (!shown) return;
        m_job.shown.Add(std::move(*shown));
        ++m_shown;
    }
    void FromRuleEntry(std::uint16_t entry) override { m_rule = entry; }

private:
    CTypeNames& m_types;
    ScanJob& m_job;
    std::uint16_t m_rule = 0;
    size_t m_shown = 0;  // rows handed to the window so far
};

// Keeps what the scan leaves out for the window to tell; refused rules are
// told where the rules are chosen.
class CScanNotices : public IRuleReport {
public:
    explicit CScanNotices(ScanJob& job) : m_job(job) {}
    void Refused(const RuleEntry&, const std::wstring&, const std::wstring&) override {}
    void Notice(const std::wstring& text) override { m_job.notices.push_back(text); }

private:
    ScanJob& m_job;
};
}  // namespace

void RunScanJob(const CBriskoDoc& doc, const std::optional<RulesFile>& rules, CTypeNames& types, ScanJob& job) {
    job.retired = FoundItems();  // the last listing's records go here, not on the window's thread
    CScanCollector collector(types, job);
    CScanNotices notices(job);
    const BYTE mode = job.mode;
    try {
        job.listed = RunModeScan(
            doc, mode, collector, [&job](BYTE starting) { job.mode = starting; }, rules ? &*rules : nullptr,
            &notices);
    } catch (const ScanStopped&) {
        // What was found so far is listed, as the mode it was found by.
        job.stopped = true;
        job.listed = job.mode;
    }
    // The list shows a scan's findings by name; a million rows take a while.
    SortFoundItems(job.items, kColumnName, true);
}
