#include "clean/RemovalSession.h"

#include <algorithm>

#include "clean/DeleteItem.h"
#include "clean/FolderRemoval.h"
#include "item/Guards.h"
#include "item/ItemPath.h"
#include "win/Path.h"

namespace {

// Where the name of the item begins after its folder's spelling.
size_t NameStart(const std::wstring& path) {
    size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring::npos : separator + 1;
}

// Whether the system keeps an open file as `name` in the folder it keeps as
// `folder`. The name is matched case and all: it is spelled as the listing
// found it, and under Wine a link "f.tmp" to the folder's own "F.TMP" opens
// that other file.
bool IsPlacedIn(const std::wstring& placed, const std::wstring& folder, const std::wstring& name) {
    const size_t start = placed.size() - std::min(placed.size(), name.size());
    if (placed.compare(start, std::wstring::npos, name) != 0 || start == 0) return false;
    const bool atRoot = folder.back() == L'\\';
    if (!atRoot && placed[start - 1] != L'\\') return false;
    return SamePathText(placed.substr(0, atRoot ? start : start - 1), folder);
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
        ForgetFolder();
    }
    return DeleteFoundItem(path, true, removal);
}

void CRemovalSession::ForgetFolder() {
    m_folder.reset();
    m_spelling.clear();
    m_filesGone = 0;
    m_listing.reset();
    m_folderObjectName.clear();
}

const HeldEntry* CRemovalSession::FolderFor(const std::wstring& spelling) {
    if (spelling == m_spelling) return m_folder ? &*m_folder : nullptr;
    ForgetFolder();
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
    if (std::optional<bool> removed = RemoveListedFile(name, removal)) return removed;
    const RemovalContext looking{removal.guards, SilentReport()};
    std::optional<HeldEntry> file = HoldChild(*m_folder, ChildEntry{name, 0, 0, 0, false}, looking);
    if (!file || file->facts.IsFolder()) return std::nullopt;
    ++m_filesGone;
    return RemoveHeldFile(std::move(*file), removal);
}

std::optional<bool> CRemovalSession::RemoveListedFile(const std::wstring& name, const RemovalContext& removal) {
    if (m_filesGone < m_listAfter) return std::nullopt;
    if (!m_listing) {
        m_folderObjectName = ObjectNameOf(m_folder->handle.Get());
        m_listing = m_folderObjectName.empty() ? CListedFiles() : CListedFiles::Of(m_folder->handle.Get());
    }
    std::optional<ListedFile> listed = m_listing->Find(name);
    constexpr DWORD kNotPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY;
    if (!listed || (listed->attributes & kNotPlain)) return std::nullopt;
    OpenedEntry file = OpenChildFileToRemove(m_folder->handle.Get(), name);
    if (!file) return std::nullopt;
    // Wine opens the target of a link that stands under the name now, and
    // shows it only in the place it keeps for the handle.
    const std::wstring placed = ObjectNameOf(file.handle.Get());
    if (placed.empty()) return std::nullopt;
    const std::wstring path = JoinPath(m_folder->path, name);
    if (!IsPlacedIn(placed, m_folderObjectName, name)) {
        removal.report.Left(path, LeftReason::Link);
        return false;
    }
    if (!RemoveThroughHandle(file.handle.Get())) return std::nullopt;
    removal.report.RemovingMeasured(path, 1, listed->size);
    return true;
}
