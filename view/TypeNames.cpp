#include "view/TypeNames.h"

#include <algorithm>
#include <numeric>

#include "i18n/LangTexts.h"
#include "item/RegistryRow.h"
#include "scan/FoundItemOrder.h"
#include "view/ItemText.h"

std::uint32_t CTypeNames::TagOf(const std::wstring& path, bool folder) {
    if (std::optional<RegistryRow> row = ParseRegistryRow(path))
        return TagOfName(GetUiText(row->wholeKey ? LangId::ListRegistryKey : LangId::ListRegistryValue));
    std::wstring extension = folder ? std::wstring() : TypeExtensionKey(path);
    if (extension.empty()) return TagOfName(GetFileTypeText(path, folder));
    ::AcquireSRWLockShared(&m_lock);
    auto known = m_byExtension.find(extension);
    const bool found = known != m_byExtension.end();
    const std::uint32_t tag = found ? known->second : 0;
    ::ReleaseSRWLockShared(&m_lock);
    if (found) return tag;
    const std::uint32_t named = TagOfName(GetFileTypeText(path, false));
    ::AcquireSRWLockExclusive(&m_lock);
    m_byExtension.emplace(extension, named);
    ::ReleaseSRWLockExclusive(&m_lock);
    return named;
}

std::uint32_t CTypeNames::TagOfName(const std::wstring& name) {
    ::AcquireSRWLockExclusive(&m_lock);
    auto [at, added] = m_tags.try_emplace(name, static_cast<std::uint32_t>(m_names.size()));
    if (added) m_names.push_back(name);
    const std::uint32_t tag = at->second;
    ::ReleaseSRWLockExclusive(&m_lock);
    return tag;
}

std::wstring CTypeNames::Name(std::uint32_t tag) const {
    ::AcquireSRWLockShared(&m_lock);
    std::wstring name = tag < m_names.size() ? m_names[tag] : std::wstring();
    ::ReleaseSRWLockShared(&m_lock);
    return name;
}

std::vector<std::uint32_t> CTypeNames::Ranks() const {
    ::AcquireSRWLockShared(&m_lock);
    std::vector<std::uint32_t> order(m_names.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return CompareFoldedText(m_names[a], m_names[b]) < 0; });
    // Names that compare equal share a rank, as their texts did.
    std::vector<std::uint32_t> ranks(m_names.size());
    for (size_t i = 0, rank = 0; i < order.size(); ++i) {
        if (i > 0 && CompareFoldedText(m_names[order[i - 1]], m_names[order[i]]) != 0) rank = i;
        ranks[order[i]] = static_cast<std::uint32_t>(rank);
    }
    ::ReleaseSRWLockShared(&m_lock);
    return ranks;
}
