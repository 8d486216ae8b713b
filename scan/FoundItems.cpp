#include "scan/FoundItems.h"

#include "item/ItemPath.h"
#include "win/Path.h"
#include "win/Text.h"

FoundItems::FoundItems() : m_store(std::make_shared<FoundItemStore>()) {}

FoundItem FoundItems::MakeItem(std::wstring path, const WIN32_FIND_DATAW& find, BYTE scan, std::uint32_t tag) {
    FoundItem item;
    item.path = std::move(path);
    item.folder = IsFolderEntry(find);
    if (!item.folder) item.size = (static_cast<ULONGLONG>(find.nFileSizeHigh) << 32) | find.nFileSizeLow;
    item.modified = find.ftLastWriteTime;
    item.scan = scan;
    item.tag = tag;
    return item;
}

bool FoundItems::IsListedAlready(const std::wstring& key, std::uint64_t hash) const {
    auto first = m_keys.find(hash);
    if (first == m_keys.end()) return false;
    if (ItemKey((*m_store)[first->second].path) == key) return true;
    // Two keys with one hash: rare enough to look through every record.
    for (const FoundItem& item : *m_store)
        if (item.keyHash == hash && ItemKey(item.path) == key) return true;
    return false;
}

bool FoundItems::Add(FoundItem item, bool atTop) {
    std::wstring key = ItemKey(item.path);
    item.keyHash = win::TextHash(key);
    if (IsListedAlready(key, item.keyHash)) return false;
    const Id id = static_cast<Id>(m_store->size());
    m_store->push_back(std::move(item));
    m_keys.try_emplace(m_store->back().keyHash, id);
    Flatten();
    if (atTop) m_rows.insert(m_rows.begin(), id);
    else m_rows.push_back(id);
    return true;
}

void FoundItems::KeepBelow(size_t row) {
    for (size_t below = m_rows.size(); below > row; --below) m_keptBelow.push_back(m_rows[below - 1]);
    m_rows.resize(row);
}

void FoundItems::RemoveRow(size_t row) {
    if (row >= Count()) return;
    if (row < m_rows.size()) {
        KeepBelow(row + 1);
        m_rows.pop_back();
        return;
    }
    m_keptBelow.erase(m_keptBelow.end() - 1 - static_cast<std::ptrdiff_t>(row - m_rows.size()));
}

void FoundItems::Flatten() {
    m_rows.insert(m_rows.end(), m_keptBelow.rbegin(), m_keptBelow.rend());
    m_keptBelow.clear();
}

void FoundItems::Clear() {
    // A reader may still hold the old records: they go with its last share.
    m_store = std::make_shared<FoundItemStore>();
    m_rows = {};
    m_keptBelow = {};
    m_keys = {};
    m_contents = {};
}

ItemAmount FoundItems::AmountOf(Id id) const {
    const FoundItem& item = ById(id);
    if (!item.folder) return {1, item.size, 0};
    auto measured = m_contents.find(id);
    if (measured == m_contents.end()) return {1, 0, 1};
    return {1 + measured->second.items, measured->second.bytes, 0};
}

std::vector<FoundItems::Id> FoundItems::UnmeasuredFolders() const {
    std::vector<Id> folders;
    for (size_t row = 0; row < Count(); ++row) {
        const Id id = IdAt(row);
        if (ById(id).folder && !IsMeasured(id)) folders.push_back(id);
    }
    return folders;
}
