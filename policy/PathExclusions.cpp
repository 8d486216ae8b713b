#include "policy/PathExclusions.h"

#include "item/ItemPath.h"
#include "win/Path.h"
#include "win/Text.h"

namespace {

bool HasWildcard(const std::wstring& text) { return text.find_first_of(L"*?") != std::wstring::npos; }

// True when `path` is `folder` itself or lies below it (both in ItemKey form).
bool IsAtOrBelow(const std::wstring& path, const std::wstring& folder) {
    if (path.size() < folder.size() || path.compare(0, folder.size(), folder) != 0) return false;
    return path.size() == folder.size() || path[folder.size()] == L'\\' || folder.back() == L'\\';
}

// The step of `path` right after `folder`, which `path` lies below.
std::wstring StepAfter(const std::wstring& path, const std::wstring& folder) {
    size_t start = folder.size() + (folder.back() == L'\\' ? 0 : 1);
    size_t end = path.find(L'\\', start);
    return path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}

}  // namespace

bool PathExclusions::Add(const std::wstring& spelling) {
    std::wstring text = spelling;
    for (wchar_t& c : text)
        if (c == L'/') c = L'\\';
    text = WithoutLongPrefix(text);
    while (text.size() > 3 && text.back() == L'\\') text.pop_back();
    if (!IsFullPath(text)) return false;
    size_t last = text.rfind(L'\\');
    std::wstring name = text.substr(last + 1);
    std::wstring folder = text.substr(0, last + 1);
    if (HasWildcard(folder)) return false;
    Entry entry{ItemKey(HasWildcard(name) ? folder : text), HasWildcard(name) ? name : std::wstring()};
    if (entry.folder.empty()) return false;
    m_entries.push_back(std::move(entry));
    return true;
}

bool PathExclusions::Covers(const std::wstring& path) const {
    if (m_entries.empty()) return false;
    std::wstring key = ItemKey(path);
    for (const Entry& entry : m_entries) {
        if (entry.pattern.empty()) {
            if (IsAtOrBelow(key, entry.folder)) return true;
        } else if (key.size() > entry.folder.size() && IsAtOrBelow(key, entry.folder) &&
                   win::WildcardMatch(entry.pattern, StepAfter(key, entry.folder))) {
            return true;
        }
    }
    return false;
}

bool PathExclusions::HoldsExcluded(const std::wstring& path) const {
    if (m_entries.empty()) return false;
    std::wstring key = ItemKey(path);
    for (const Entry& entry : m_entries)
        if (IsAtOrBelow(entry.folder, key) && (entry.folder.size() > key.size() || !entry.pattern.empty()))
            return true;
    return false;
}
