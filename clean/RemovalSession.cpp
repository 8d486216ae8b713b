#include "clean/RemovalSession.h"

#include "clean/DeleteItem.h"
#include "clean/FolderRemoval.h"
#include "clean/ItemPath.h"
#include "win/Path.h"

namespace {

// Where the name of the item begins after its folder's spelling.
size_t NameStart(const std::wstring& path) {
    size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring::npos : separator + 1;
}

}  // namespace

bool IsNameKeptAsSpelled(const std::wstring& name) {
    // A trailing dot or blank also rules out the dot steps.
    if (name.empty() || name.size() > 255 || name.back() == L'.' || name.back() == L' ') return false;
    if (name.find(L'~') != std::wstring::npos || _wcsicmp(name.c_str(), L"index.dat") == 0) return false;
    for (wchar_t c : name)
        if (c < 32 || wcschr(L"*?\"<>|:\\/", c)) return false;
    return !IsDeviceName(name);
}

bool CRemovalSession::RemovePermanently(const std::wstring& path, const RemovalContext& removal) {
    const size_t start = NameStart(path);
    std::wstring name = start == std::wstring::npos ? std::wstring() : path.substr(start);
    if (start != std::wstring::npos && IsNameKeptAsSpelled(name)) {
        if (FolderFor(path.substr(0, start - 1)))
            if (std::optional<bool> removed = RemoveFileOfHeldFolder(name, removal)) return *removed;
    } else {
        // Whatever this spelling names may be the held folder or hold it:
        // no handle of ours may keep it from going.
        m_folder.reset();
        m_spelling.clear();
    }
    return DeleteFoundItem(path, true, removal);
}

const HeldEntry* CRemovalSession::FolderFor(const std::wstring& spelling) {
    if (spelling == m_spelling) return m_folder ? &*m_folder : nullptr;
    m_folder.reset();
    m_spelling = spelling;
    std::optional<CanonicalItem> folder = CanonicalItemPath(spelling);
    if (!folder || !folder->IsFolder() || (folder->attributes & FILE_ATTRIBUTE_REPARSE_POINT) || folder->viaReparse)
        return nullptr;
    m_folder = HoldFolderAt(folder->path);
    return m_folder ? &*m_folder : nullptr;
}

std::optional<bool> CRemovalSession::RemoveFileOfHeldFolder(const std::wstring& name, const RemovalContext& removal) {
    // What stays, and why, is told by the whole way: it tells every reason
    // the same for a row, whichever way the row went.
    if (removal.guards.excluded.Covers(JoinPath(m_folder->path, name))) return std::nullopt;
    const RemovalContext looking{removal.guards, SilentReport()};
    std::optional<HeldEntry> file = HoldChild(*m_folder, ChildEntry{name}, looking);
    if (!file || file->facts.IsFolder()) return std::nullopt;
    return RemoveHeldFile(std::move(*file), removal);
}
