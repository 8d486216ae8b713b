#pragma once
// What the scan of one rules entry found and refused, kept on the thread
// that scanned it until it is handed on in the entries' order, and the run
// of many entries on two threads that hands them on so. Each folder a walk
// opens costs a round trip to the system, and two threads make twice as
// many trips at once; the receivers still see the entries one after
// another, in file order, from the thread that runs the scan.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scan/FoundItemSink.h"
#include "scan/RulesScan.h"

class CEntryFindings : public IFoundItemSink, public IRuleReport {
public:
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override;
    void AddCheckedItem(std::wstring path, const WIN32_FIND_DATAW& findData) override;
    void Refused(const RuleEntry& entry, const std::wstring& folder, const std::wstring& why) override;
    void Notice(const std::wstring& text) override;

    // Hands each item to `sink` and each refusal and notice to `report`,
    // when there is one, in the order they were found.
    void HandOn(IFoundItemSink& sink, IRuleReport* report);

private:
    struct Item {
        std::wstring path;
        WIN32_FIND_DATAW findData;
        bool checked;
    };
    struct Told {
        const RuleEntry* entry;  // nothing for a notice
        std::wstring folder;     // or the notice's text
        std::wstring why;
    };
    std::vector<Item> m_items;
    std::vector<Told> m_told;
};

// Scans entries on one thread; made on the thread it scans on, for what
// that thread keeps of its own (the folders it resolved and checked).
class IEntryScanner {
public:
    virtual ~IEntryScanner() = default;
    virtual void Scan(size_t entry, CEntryFindings& findings) = 0;
};

// Scans the entries 0 to `count` - 1 on the calling thread and one more,
// each through a scanner `makeScanner` makes on that thread, and calls
// `handOn` on the calling thread for each entry in order as soon as it and
// every entry before it are scanned. An exception from a scanner or from
// `handOn` (a stop) ends the run: the other thread ends after its entry in
// hand, and the exception reaches the caller. Without a second thread the
// calling thread scans every entry.
void ScanEntriesInOrder(size_t count, const std::function<std::unique_ptr<IEntryScanner>()>& makeScanner,
                        const std::function<void(size_t entry, CEntryFindings&)>& handOn);
