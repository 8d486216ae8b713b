#include "scan/Walk.h"

#include <shlwapi.h>

#include "win/Path.h"
#include "win/Handle.h"

namespace {


// Hands one found entry on if it still exists. Looking changes nothing: a
// read-only file keeps its attribute until the clean removes it.
void HandOn(IFoundItemSink& sink, const std::wstring& folder, const WIN32_FIND_DATAW& entry, bool first) {
    std::wstring path = JoinPath(folder, entry.cFileName);
    if (first && IsFolderEntry(entry)) return;
    if (::PathFileExistsW(path.c_str())) sink.AddFoundItem(std::move(path), entry);
}

std::wstring WithoutTrailingBackslashes(const std::wstring& path) {
    size_t end = path.find_last_not_of(L'\\');
    return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

bool IsDriveRoot(const std::wstring& pathWithoutTrailingBackslash) {
    return pathWithoutTrailingBackslash.size() == 2 && pathWithoutTrailingBackslash[1] == L':';
}

// The directory entry of an existing file or folder, whatever the form of its
// path (a trailing backslash, "." and ".." steps).
bool ReadEntry(const std::wstring& path, WIN32_FIND_DATAW& entry) {
    std::wstring plain = WithoutTrailingBackslashes(path);
    win::FindHandle find(::FindFirstFileW(plain.c_str(), &entry));
    if (find) return true;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    entry = WIN32_FIND_DATAW{};
    entry.dwFileAttributes = data.dwFileAttributes;
    entry.ftCreationTime = data.ftCreationTime;
    entry.ftLastAccessTime = data.ftLastAccessTime;
    entry.ftLastWriteTime = data.ftLastWriteTime;
    entry.nFileSizeHigh = data.nFileSizeHigh;
    entry.nFileSizeLow = data.nFileSizeLow;
    std::wstring name = plain.substr(plain.rfind(L'\\') + 1);
    wcsncpy(entry.cFileName, name.c_str(), MAX_PATH - 1);
    return true;
}

}  // namespace

void WalkFolder(IFoundItemSink& sink, const std::wstring& pattern, const std::wstring& folder,
                const std::wstring& excluded) {
    if (!FullPathExists(folder)) return;
    WIN32_FIND_DATAW entry;
    win::FindHandle find(::FindFirstFileW(JoinPath(folder, pattern).c_str(), &entry));
    if (!find) return;
    HandOn(sink, folder, entry, true);
    while (::FindNextFileW(find.Get(), &entry)) {
        if (IsDotEntry(entry.cFileName) || excluded == entry.cFileName) continue;
        HandOn(sink, folder, entry, false);
    }
}

void WalkSubfolder(IFoundItemSink& sink, const std::wstring& base, const std::wstring& relative,
                   const std::wstring& pattern, const std::wstring& excluded) {
    WalkFolder(sink, pattern, JoinPath(base, relative), excluded);
}

void WalkPatternList(IFoundItemSink& sink, const std::wstring& folder, const CTargetList& patterns) {
    for (const wchar_t* pattern : patterns) WalkFolder(sink, pattern, folder);
}

void WalkTargetPairs(IFoundItemSink& sink, const std::wstring& base, const CTargetPairList& pairs) {
    for (const CTargetPair& pair : pairs) WalkSubfolder(sink, base, pair.folder, pair.pattern);
}

void WalkSubfolderList(IFoundItemSink& sink, const std::wstring& base, const CTargetList& folders,
                       const std::wstring& pattern) {
    for (const wchar_t* folder : folders) WalkSubfolder(sink, base, folder, pattern);
}

void AddNamedItem(IFoundItemSink& sink, const std::wstring& folder, const std::wstring& name) {
    // The folder must exist itself: ".." steps of the name are resolved by
    // text, and would otherwise climb out of a folder that leads nowhere.
    if (!FullPathExists(folder)) return;
    std::wstring path = JoinPath(folder, name);
    if (path.size() >= MAX_PATH || !::PathFileExistsW(path.c_str())) return;
    wchar_t canonical[MAX_PATH] = {};
    if (!::PathCanonicalizeW(canonical, path.c_str())) return;
    WIN32_FIND_DATAW entry;
    if (!ReadEntry(path, entry)) return;
    sink.AddFoundItem(canonical, entry);
}

void AddNamedItemList(IFoundItemSink& sink, const std::wstring& folder, const CTargetList& names) {
    for (const wchar_t* name : names) AddNamedItem(sink, folder, name);
}

void AddFolderItem(IFoundItemSink& sink, const std::wstring& folder) {
    if (!IsFullPath(folder) || IsDriveRoot(WithoutTrailingBackslashes(folder))) return;
    WIN32_FIND_DATAW entry;
    if (!::PathFileExistsW(folder.c_str()) || !ReadEntry(folder, entry)) return;
    sink.AddFoundItem(folder, entry);
}
