#include "item/PathExclusions.h"

#include <optional>

#include "item/ItemPath.h"
#include "win/Handle.h"
#include "win/HandleNames.h"
#include "win/LocalSpelling.h"
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

// The place the platform reaches at a canonical path, links followed.
std::wstring ReachedPlace(const std::wstring& canonicalPath) {
    win::FileHandle entry(::CreateFileW(ApiPath(canonicalPath).c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return entry ? WithoutLongPrefix(FinalPathOfHandle(entry.Get())) : std::wstring();
}

// The forms an existing local path has: the drive spelling and, where a link
// lies on its way or is its last step, the place the platform reaches
// through it. Nothing when the spelling names no local drive.
std::optional<std::vector<std::wstring>> LocalForms(const std::wstring& spelling) {
    std::optional<std::wstring> drive = LocalDriveSpelling(spelling);
    if (!drive) return std::nullopt;
    std::vector<std::wstring> forms{*drive};
    std::optional<CanonicalItem> item = CanonicalItemPath(*drive);
    if (!item) return forms;
    // The deepest existing folder on the way holds the links that matter; a
    // missing last step keeps its name below the place that folder reaches.
    std::wstring reached = ReachedPlace(item->exists ? item->path : ParentOf(item->path));
    if (!reached.empty() && !item->exists) reached = JoinPath(reached, item->Name());
    if (!reached.empty() && _wcsicmp(reached.c_str(), item->path.c_str()) != 0) forms.push_back(reached);
    return forms;
}

}  // namespace

PathExclusions::Added PathExclusions::Add(const std::wstring& spelling) {
    std::wstring text = spelling;
    for (wchar_t& c : text)
        if (c == L'/') c = L'\\';
    // Every item a scan or a removal compares is a local drive path: an
    // entry that names no local place could never hold.
    std::optional<std::wstring> local = LocalDriveSpelling(text);
    if (!local) return text.rfind(L"\\\\", 0) == 0 ? Added::Unresolved : Added::Refused;
    text = *local;
    if (!IsFullPath(text)) return Added::Refused;  // "C:Data" stands wherever drive C:'s current folder is
    while (text.size() > 3 && text.back() == L'\\') text.pop_back();
    size_t last = text.rfind(L'\\');
    if (last == std::wstring::npos) return Added::Refused;
    std::wstring name = text.substr(last + 1);
    std::wstring folder = text.substr(0, last + 1);
    if (HasWildcard(folder)) return Added::Refused;
    // A pattern's folder is resolved; the pattern stays as it is.
    const std::wstring pattern = HasWildcard(name) ? name : std::wstring();
    size_t before = m_entries.size();
    for (const std::wstring& form : LocalForms(pattern.empty() ? text : folder).value_or(std::vector<std::wstring>{})) {
        std::wstring key = ItemKey(form);
        if (!key.empty()) m_entries.push_back({std::move(key), pattern});
    }
    return m_entries.size() > before ? Added::Resolved : Added::Refused;
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
