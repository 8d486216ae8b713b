#include "scan/EntryFindings.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>

#include "win/Thread.h"

void CEntryFindings::AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) {
    m_items.push_back({std::move(path), findData, false});
}

void CEntryFindings::AddCheckedItem(std::wstring path, const WIN32_FIND_DATAW& findData) {
    m_items.push_back({std::move(path), findData, true});
}

void CEntryFindings::Refused(const RuleEntry& entry, const std::wstring& folder, const std::wstring& why) {
    m_told.push_back({&entry, folder, why});
}

void CEntryFindings::Notice(const std::wstring& text) { m_told.push_back({nullptr, text, {}}); }

void CEntryFindings::HandOn(IFoundItemSink& sink, IRuleReport* report) {
    for (Item& item : m_items) {
        if (item.checked)
            sink.AddCheckedItem(std::move(item.path), item.findData);
        else
            sink.AddFoundItem(std::move(item.path), item.findData);
    }
    m_items.clear();
    if (report)
        for (const Told& told : m_told) {
            if (told.entry)
                report->Refused(*told.entry, told.folder, told.why);
            else
                report->Notice(told.folder);
        }
    m_told.clear();
}

namespace {

// The entries of one run: which thread takes which next, what each found,
// and which the calling thread has handed on.
class CEntryRun {
public:
    explicit CEntryRun(size_t count) : m_findings(count), m_scanned(count, false) {}

    // The next entry to scan; nothing once all are taken or the run is over.
    std::optional<size_t> Take() {
        if (m_over) return std::nullopt;
        size_t entry = m_next++;
        return entry < m_findings.size() ? std::optional<size_t>(entry) : std::nullopt;
    }
    CEntryFindings& FindingsOf(size_t entry) { return m_findings[entry]; }

    void Scanned(size_t entry) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_scanned[entry] = true;
        m_changed.notify_all();
    }
    void Failed(std::exception_ptr failure) {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_failure) m_failure = failure;
        m_over = true;
        m_changed.notify_all();
    }
    void End() { m_over = true; }

    // Hands on each entry scanned since the last that was, in order; with
    // `all`, waits for the rest. Rethrows a scanner's failure.
    void HandOnScanned(const std::function<void(size_t, CEntryFindings&)>& handOn, bool all) {
        while (m_handedOn < m_findings.size()) {
            {
                std::unique_lock<std::mutex> guard(m_lock);
                if (all) m_changed.wait(guard, [&] { return m_scanned[m_handedOn] || m_failure; });
                if (m_failure) std::rethrow_exception(m_failure);
                if (!m_scanned[m_handedOn]) return;
            }
            handOn(m_handedOn, m_findings[m_handedOn]);
            ++m_handedOn;
        }
    }

private:
    std::vector<CEntryFindings> m_findings;
    std::vector<bool> m_scanned;  // under the lock
    std::atomic<size_t> m_next{0};
    std::atomic<bool> m_over{false};
    std::exception_ptr m_failure;  // under the lock
    size_t m_handedOn = 0;         // the calling thread's alone
    std::mutex m_lock;
    std::condition_variable m_changed;
};

void ScanWhatIsLeft(CEntryRun& run, IEntryScanner& scanner) {
    while (std::optional<size_t> entry = run.Take()) {
        scanner.Scan(*entry, run.FindingsOf(*entry));
        run.Scanned(*entry);
    }
}

// The second thread, waited for when the run ends however it ends.
class CHelper {
public:
    CHelper(CEntryRun& run, const std::function<std::unique_ptr<IEntryScanner>()>& makeScanner) : m_run(run) {
        m_thread = win::Thread::Start(
            [&run, makeScanner] {
                try {
                    ScanWhatIsLeft(run, *makeScanner());
                } catch (...) {
                    run.Failed(std::current_exception());
                }
            },
            L"rules entries");
    }
    ~CHelper() {
        m_run.End();
        if (m_thread) m_thread.Wait(INFINITE);
    }

private:
    CEntryRun& m_run;
    win::Thread m_thread;
};

}  // namespace

void ScanEntriesInOrder(size_t count, const std::function<std::unique_ptr<IEntryScanner>()>& makeScanner,
                        const std::function<void(size_t entry, CEntryFindings&)>& handOn) {
    CEntryRun run(count);
    std::unique_ptr<IEntryScanner> scanner = makeScanner();
    CHelper helper(run, makeScanner);
    while (std::optional<size_t> entry = run.Take()) {
        scanner->Scan(*entry, run.FindingsOf(*entry));
        run.Scanned(*entry);
        run.HandOnScanned(handOn, false);
    }
    run.HandOnScanned(handOn, true);
}
