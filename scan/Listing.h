#pragma once
// What a scan's match must be to be listed for removal: a file that nobody
// holds, a folder that is neither protected nor among the user's own files.
#include <windows.h>

#include <string>

#include "scan/FoundItemSink.h"

// Nothing that a policy excludes is listed either. A `checked` item was
// just checked by the walk that found it (IFoundItemSink::AddCheckedItem).
bool IsListable(const std::wstring& path, const WIN32_FIND_DATAW& findData, bool checked = false);

// Hands on to another receiver only the listable matches, and counts them.
class CListingFilter : public IFoundItemSink {
public:
    explicit CListingFilter(IFoundItemSink& next) : m_next(next) {}
    void AddFoundItem(std::wstring path, const WIN32_FIND_DATAW& findData) override;
    void AddCheckedItem(std::wstring path, const WIN32_FIND_DATAW& findData) override;
    void FromRuleEntry(std::uint16_t entry) override { m_next.FromRuleEntry(entry); }
    size_t Count() const { return m_count; }

private:
    void HandOn(std::wstring path, const WIN32_FIND_DATAW& findData, bool checked);
    IFoundItemSink& m_next;
    size_t m_count = 0;
};
