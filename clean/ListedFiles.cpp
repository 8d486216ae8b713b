#include "clean/ListedFiles.h"

#include <algorithm>

#include "clean/EntryHandle.h"
#include "win/Text.h"

CListedFiles CListedFiles::Of(HANDLE folder) {
    CListedFiles listed;
    VisitChildren(folder, [&](const ChildEntry& child) {
        listed.m_entries.push_back({win::TextHash(child.name), child.size, child.attributes, false});
    });
    auto byKey = [](const Entry& a, const Entry& b) { return a.key < b.key; };
    std::sort(listed.m_entries.begin(), listed.m_entries.end(), byKey);
    for (size_t i = 1; i < listed.m_entries.size(); ++i)
        if (listed.m_entries[i].key == listed.m_entries[i - 1].key)
            listed.m_entries[i].shared = listed.m_entries[i - 1].shared = true;
    listed.m_entries.shrink_to_fit();
    return listed;
}

std::optional<ListedFile> CListedFiles::Find(const std::wstring& name) const {
    const uint64_t key = win::TextHash(name);
    auto found = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                  [](const Entry& entry, uint64_t wanted) { return entry.key < wanted; });
    if (found == m_entries.end() || found->key != key || found->shared) return std::nullopt;
    return ListedFile{found->attributes, found->size};
}
