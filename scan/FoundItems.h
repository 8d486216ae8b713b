#pragma once
// The found items of one listing: one record per item, one row per record,
// de-duplicated by the item's canonical key. The window draws its list from
// it and the command line prints it; the scans fill it through the sink.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "scan/FoundItemSink.h"

struct FoundItem {
    std::wstring path;          // as the scan handed it in
    ULONGLONG size = 0;         // in bytes; 0 for a folder, whose contents are measured apart (FolderContents)
    FILETIME modified{};        // last write, UTC
    std::uint64_t keyHash = 0;  // of the canonical key (ItemKey), which the path gives again
    std::uint32_t tag = 0;      // a number the window keeps with the item (its type name)
    std::uint16_t rule = 0;     // the rules entry that found it (its index + 1), 0 for the program's own scans
    BYTE scan = 0;              // the mode whose scan found it
    bool folder = false;
};

// What a folder item holds, as a clean would walk it: its files, folders
// and links (each link one item of no bytes), and the files' bytes.
struct FolderContents {
    size_t items = 0;
    ULONGLONG bytes = 0;
};

// What the removal of items would take: the items themselves and all their
// folders hold, their bytes, and how many of those folders are not measured
// yet (each then counts as one item of no bytes).
struct ItemAmount {
    size_t items = 0;
    ULONGLONG bytes = 0;
    size_t measuring = 0;
    ItemAmount& operator+=(const ItemAmount& other) {
        items += other.items;
        bytes += other.bytes;
        measuring += other.measuring;
        return *this;
    }
    ItemAmount& operator-=(const ItemAmount& other) {
        items -= other.items;
        bytes -= other.bytes;
        measuring -= other.measuring;
        return *this;
    }
};

// Records never move or change once added, so a reader on another thread
// may hold them while the rows change (see Share).
using FoundItemStore = std::deque<FoundItem>;

class FoundItems {
public:
    using Id = std::uint32_t;

    FoundItems();

    // A record of the item from its find record.
    static FoundItem MakeItem(std::wstring path, const WIN32_FIND_DATAW& find, BYTE scan, std::uint32_t tag = 0);

    // Adds the item as the last row (or the first), unless an item of the
    // same canonical key has been added since the last Clear. False then.
    bool Add(FoundItem item, bool atTop = false);

    size_t Count() const { return m_rows.size() + m_keptBelow.size(); }
    bool Empty() const { return Count() == 0; }
    const FoundItem& operator[](size_t row) const { return (*m_store)[IdAt(row)]; }
    Id IdAt(size_t row) const {
        return row < m_rows.size() ? m_rows[row] : m_keptBelow[m_keptBelow.size() - 1 - (row - m_rows.size())];
    }
    const FoundItem& ById(Id id) const { return (*m_store)[id]; }

    // What a folder record holds, once measured; kept until Clear.
    void SetContents(Id id, FolderContents contents) { m_contents[id] = contents; }
    bool IsMeasured(Id id) const { return m_contents.count(id) != 0; }
    // What removing the record's item takes: a file itself, a folder with
    // what it holds.
    ItemAmount AmountOf(Id id) const;
    ItemAmount AmountAt(size_t row) const { return AmountOf(IdAt(row)); }
    // The folder rows not measured yet, in row order.
    std::vector<Id> UnmeasuredFolders() const;

    // Drops one row; its record stays (and keeps its key) until Clear.
    // Dropping rows from the last upwards, as a clean does, costs a constant
    // time per row however many rows stay below.
    void RemoveRow(size_t row);
    void Clear();

    // Orders the rows by `less` on their records; equal records keep their order.
    template <typename Less>
    void StableSort(Less less) {
        Flatten();
        const FoundItemStore& store = *m_store;
        std::stable_sort(m_rows.begin(), m_rows.end(), [&](Id a, Id b) { return less(store[a], store[b]); });
    }

    // Hands the rows and the records to `arrange`, which puts the rows in a
    // new order (and must keep them all).
    template <typename Arrange>
    void ArrangeRows(Arrange arrange) {
        Flatten();
        arrange(m_rows, static_cast<const FoundItemStore&>(*m_store));
    }

    // Orders the rows by a number that `keyOf` gives each record, computed
    // once per row; equal keys keep their order.
    template <typename KeyOf>
    void StableSortByKey(KeyOf keyOf, bool ascending) {
        Flatten();
        const FoundItemStore& store = *m_store;
        std::vector<std::uint64_t> keys(store.size());
        for (Id id : m_rows) keys[id] = keyOf(store[id]);
        if (ascending)
            std::stable_sort(m_rows.begin(), m_rows.end(), [&](Id a, Id b) { return keys[a] < keys[b]; });
        else
            std::stable_sort(m_rows.begin(), m_rows.end(), [&](Id a, Id b) { return keys[b] < keys[a]; });
    }

    // The records, kept alive for a reader that outlives this listing.
    std::shared_ptr<const FoundItemStore> Share() const { return m_store; }

private:
    // Moves the rows below `row` into m_keptBelow.
    void KeepBelow(size_t row);
    void Flatten();
    bool IsListedAlready(const std::wstring& key, std::uint64_t hash) const;

    std::shared_ptr<FoundItemStore> m_store;
    std::vector<Id> m_rows;
    // The rows after m_rows, the last first: a clean that works upwards
    // leaves the rows it passed here without moving the others.
    std::vector<Id> m_keptBelow;
    std::unordered_map<std::uint64_t, Id> m_keys;  // hash of the canonical key -> first item with it
    std::unordered_map<Id, FolderContents> m_contents;  // the folder records measured so far
};

// Hands every match to a listing, as found.
class CFoundItemCollector : public IFoundItemSink {
public:
    CFoundItemCollector(FoundItems& items, BYTE scan) : m_items(items), m_scan(scan) {}
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override {
        FoundItem item = FoundItems::MakeItem(std::move(path), findData, m_scan);
        item.rule = m_rule;
        m_items.Add(std::move(item));
    }
    void FromRuleEntry(std::uint16_t entry) override { m_rule = entry; }
    void SetScan(BYTE scan) { m_scan = scan; }

private:
    FoundItems& m_items;
    BYTE m_scan;
    std::uint16_t m_rule = 0;
};
