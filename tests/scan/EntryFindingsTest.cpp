// The entries of a rules scan run on two threads and reach the receivers in
// file order, each entry's items and refusals as its scanner found them.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "scan/EntryFindings.h"

namespace {

WIN32_FIND_DATAW FileOfSize(DWORD size) {
    WIN32_FIND_DATAW data{};
    data.nFileSizeLow = size;
    return data;
}

// Entry i finds "i-a" and "i-b" (the second as checked) and refuses "i";
// entries on `slowFrom` and later take a while, so the other thread runs ahead.
class CFakeScanner : public IEntryScanner {
public:
    struct Seen {
        std::atomic<int> scanned{0};
        std::atomic<int> made{0};
        std::set<DWORD> threads;  // the threads scanners were made on, under `lock`
        SRWLOCK lock = SRWLOCK_INIT;
    };
    CFakeScanner(Seen& seen, const RuleEntry& entry, size_t throwAt, size_t slowFrom)
        : m_seen(seen), m_entry(entry), m_throwAt(throwAt), m_slowFrom(slowFrom) {
        ::AcquireSRWLockExclusive(&seen.lock);
        seen.threads.insert(::GetCurrentThreadId());
        ::ReleaseSRWLockExclusive(&seen.lock);
        ++seen.made;
    }
    void Scan(size_t entry, CEntryFindings& findings) override {
        if (entry == m_throwAt) throw std::runtime_error("scanner failed");
        if (entry >= m_slowFrom && entry % 2 == 0) ::Sleep(20);
        const std::wstring name = std::to_wstring(entry);
        findings.AddFoundItem(name + L"-a", FileOfSize(static_cast<DWORD>(entry)));
        findings.AddCheckedItem(name + L"-b", FileOfSize(static_cast<DWORD>(entry)));
        findings.Refused(m_entry, name, L"why " + name);
        ++m_seen.scanned;
    }

private:
    Seen& m_seen;
    const RuleEntry& m_entry;
    size_t m_throwAt, m_slowFrom;
};

// Keeps what reaches it, in order.
struct Receiver : IFoundItemSink, IRuleReport {
    std::vector<std::wstring> items;
    std::vector<std::wstring> refused;
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& data) override {
        items.push_back(path + L" found " + std::to_wstring(data.nFileSizeLow));
    }
    void AddCheckedItem(std::wstring path, const WIN32_FIND_DATAW& data) override {
        items.push_back(path + L" checked " + std::to_wstring(data.nFileSizeLow));
    }
    void Refused(const RuleEntry&, const std::wstring& folder, const std::wstring& why) override {
        refused.push_back(folder + L": " + why);
    }
};

constexpr size_t kNone = static_cast<size_t>(-1);

}  // namespace

TEST(EntriesInOrder, EachEntryReachesTheReceiversInFileOrderWhicheverThreadFoundItFirst) {
    for (size_t slowFrom : {size_t{0}, size_t{7}, kNone}) {
        SCOPED_TRACE(slowFrom);
        constexpr size_t kEntries = 40;
        RuleEntry entry;
        CFakeScanner::Seen seen;
        Receiver receiver;
        std::vector<size_t> handed;
        ScanEntriesInOrder(
            kEntries, [&] { return std::make_unique<CFakeScanner>(seen, entry, kNone, slowFrom); },
            [&](size_t index, CEntryFindings& findings) {
                handed.push_back(index);
                findings.HandOn(receiver, &receiver);
            });
        ASSERT_EQ(handed.size(), kEntries);
        ASSERT_EQ(receiver.items.size(), 2 * kEntries);
        ASSERT_EQ(receiver.refused.size(), kEntries);
        for (size_t i = 0; i < kEntries; ++i) {
            const std::wstring name = std::to_wstring(i);
            EXPECT_EQ(handed[i], i);
            EXPECT_EQ(receiver.items[2 * i], name + L"-a found " + name);
            EXPECT_EQ(receiver.items[2 * i + 1], name + L"-b checked " + name);
            EXPECT_EQ(receiver.refused[i], name + L": why " + name);
        }
        // Each thread scans through a scanner of its own, made there.
        EXPECT_EQ(seen.made, 2);
        EXPECT_EQ(seen.threads.size(), 2u);
    }
}

// A scanner that fails, on either thread, or a receiver that stops the run
// (as a stop request does) ends it: the failure reaches the caller, no entry
// after it is handed on, and the other thread stops after its entry in hand.
TEST(EntriesInOrder, AFailureOrAStopEndsTheRunOnBothThreadsAndReachesTheCaller) {
    struct Stop {};
    const struct {
        const char* name;
        size_t throwAt;  // the scanner fails there
        size_t stopAt;   // the receiver stops there
    } cases[] = {
        {"the first entry fails", 0, kNone},
        {"an entry fails later", 13, kNone},
        {"the receiver stops", kNone, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        constexpr size_t kEntries = 400;
        RuleEntry entry;
        CFakeScanner::Seen seen;
        std::vector<size_t> handed;
        bool failed = false, stopped = false;
        try {
            ScanEntriesInOrder(
                kEntries, [&] { return std::make_unique<CFakeScanner>(seen, entry, c.throwAt, 0); },
                [&](size_t index, CEntryFindings&) {
                    if (index == c.stopAt) throw Stop();
                    handed.push_back(index);
                });
        } catch (const std::runtime_error&) {
            failed = true;
        } catch (const Stop&) {
            stopped = true;
        }
        EXPECT_EQ(failed, c.throwAt != kNone);
        EXPECT_EQ(stopped, c.stopAt != kNone);
        const size_t end = std::min(c.throwAt, c.stopAt);
        ASSERT_LE(handed.size(), end);
        for (size_t i = 0; i < handed.size(); ++i) EXPECT_EQ(handed[i], i);
        // Every other entry takes 20 ms: all 400 would take seconds.
        EXPECT_LT(seen.scanned.load(), static_cast<int>(kEntries) / 2);
    }
}
