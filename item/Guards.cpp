#include "item/Guards.h"

#include <shlobj.h>

#include <vector>

#include "win/SystemInfo.h"
#include "item/CriticalFolders.h"
#include "item/ItemPath.h"
#include "win/Path.h"
#include "win/Text.h"

namespace {

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
}

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && EqualNoCase(text.substr(text.size() - tail.size()), tail);
}

// The canonical form of an existing path, the normalised text of any other.
std::wstring ComparableForm(const std::wstring& path) {
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    return item && item->exists ? item->path : NormaliseFolderPath(path);
}

// The steps of a relative path, without empty ones.
std::vector<std::wstring> StepsOf(const std::wstring& relative) {
    std::vector<std::wstring> steps;
    for (size_t start = 0; start <= relative.size();) {
        size_t end = relative.find(L'\\', start);
        if (end == std::wstring::npos) end = relative.size();
        if (end > start) steps.push_back(relative.substr(start, end - start));
        start = end + 1;
    }
    return steps;
}

// True when `steps` begin with the steps of `tree`, each matched as a pattern.
bool LeadsInto(const std::vector<std::wstring>& steps, const std::vector<std::wstring>& tree) {
    if (steps.size() < tree.size()) return false;
    for (size_t i = 0; i < tree.size(); ++i)
        if (!win::WildcardMatch(tree[i], steps[i])) return false;
    return true;
}

// Every variable of this process's environment whose value is one existing folder.
std::vector<std::wstring> EnvironmentFolders() {
    std::vector<std::wstring> folders;
    wchar_t* block = ::GetEnvironmentStringsW();
    if (!block) return folders;
    for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
        const wchar_t* equals = wcschr(entry + 1, L'=');  // names of drive folders start with '='
        if (!equals) continue;
        std::optional<CanonicalItem> item = CanonicalItemPath(equals + 1);
        if (item && item->IsFolder()) folders.push_back(item->path);
    }
    ::FreeEnvironmentStringsW(block);
    return folders;
}

}  // namespace

void FolderSet::Add(const std::wstring& path) {
    if (path.empty()) return;
    std::wstring form = ComparableForm(path);
    if (!form.empty()) paths.push_back(form);
}

void FolderSet::AddTree(const std::wstring& path) {
    if (path.empty()) return;
    std::wstring form = ComparableForm(path);
    if (!form.empty()) trees.push_back(form);
}

void FolderSet::AddFence(const std::wstring& root, const std::vector<std::wstring>& openRelative) {
    if (root.empty()) return;
    fences.push_back({ComparableForm(root), openRelative});
}

void FolderSet::Merge(const FolderSet& other) {
    paths.insert(paths.end(), other.paths.begin(), other.paths.end());
    trees.insert(trees.end(), other.trees.begin(), other.trees.end());
    fences.insert(fences.end(), other.fences.begin(), other.fences.end());
}

bool FolderSet::Contains(const std::wstring& path) const { return ContainsCanonical(ComparableForm(path)); }

bool FolderSet::ContainsCanonical(const std::wstring& canonicalPath) const {
    return ListsCanonical(canonicalPath) || FencedCanonical(canonicalPath);
}

bool FolderSet::ListsCanonical(const std::wstring& canonicalPath) const {
    for (const std::wstring& folder : paths)
        if (EqualNoCase(canonicalPath, folder)) return true;
    for (const std::wstring& tree : trees)
        if (EqualNoCase(canonicalPath, tree) || LiesBelow(canonicalPath, tree)) return true;
    return false;
}

bool FolderSet::FencedCanonical(const std::wstring& canonicalPath) const {
    for (const Fence& fence : fences) {
        if (EqualNoCase(canonicalPath, fence.root)) return true;
        if (!LiesBelow(canonicalPath, fence.root)) continue;
        std::vector<std::wstring> steps = StepsOf(canonicalPath.substr(fence.root.size()));
        bool open = false;
        for (const std::wstring& tree : fence.open) open = open || LeadsInto(steps, StepsOf(tree));
        if (!open) return true;
    }
    return false;
}

bool FolderSet::OpenBelowEachFolder(const std::wstring& canonicalFolder) const {
    for (const Fence& fence : fences)
        if (EqualNoCase(canonicalFolder, fence.root))
            for (const std::wstring& tree : fence.open)
                if (StepsOf(tree)[0].find_first_of(L"*?") != std::wstring::npos) return true;
    return false;
}

bool FolderSet::AnyBelowCanonical(const std::wstring& canonicalFolder) const {
    for (const std::vector<std::wstring>* list : {&paths, &trees})
        for (const std::wstring& folder : *list)
            if (LiesBelow(folder, canonicalFolder)) return true;
    for (const Fence& fence : fences)
        if (EqualNoCase(fence.root, canonicalFolder) || LiesBelow(fence.root, canonicalFolder)) return true;
    return false;
}

bool FolderSet::HoldsCanonical(const std::wstring& canonicalPath) const {
    for (const std::vector<std::wstring>* list : {&paths, &trees})
        for (const std::wstring& folder : *list)
            if (LiesBelow(canonicalPath, folder)) return true;
    return false;
}

bool LiesBelow(const std::wstring& path, const std::wstring& folder) {
    if (folder.empty()) return false;
    size_t length = folder.back() == L'\\' ? folder.size() : folder.size() + 1;  // "X:\" ends in its backslash
    return path.size() > length && path[length - 1] == L'\\' &&
           EqualNoCase(path.substr(0, length - 1), folder.substr(0, length - 1));
}

bool IsVolumeRoot(const std::wstring& normalised) {
    if (normalised.size() == 3 && normalised[1] == L':' && normalised[2] == L'\\') return true;
    if (normalised.rfind(L"\\\\", 0) == 0) {
        // "\\server\share": at most one more backslash after the server name.
        size_t server = normalised.find(L'\\', 2);
        return server == std::wstring::npos || normalised.find(L'\\', server + 1) == std::wstring::npos;
    }
    return false;
}

bool IsProtectedFolder(const std::wstring& path, const FolderSet& folders) {
    std::wstring normal = NormaliseFolderPath(path);
    if (normal.empty() || IsVolumeRoot(normal)) return true;
    return folders.Contains(path);
}

bool IsProtectedCanonical(const std::wstring& canonicalPath, const FolderSet& folders) {
    return canonicalPath.empty() || IsVolumeRoot(canonicalPath) || folders.ContainsCanonical(canonicalPath);
}

FolderSet CollectProtectedFolders(const ISystemInfo& system) {
    FolderSet result;
    std::wstring windows = system.WindowsFolder();
    result.Add(windows);
    if (!windows.empty()) result.Add(windows + L"\\System32");
    const int shellFolders[] = {CSIDL_WINDOWS,       CSIDL_SYSTEM,          CSIDL_PROGRAM_FILES,
                                CSIDL_PROGRAM_FILESX86, CSIDL_PROFILE,      CSIDL_DESKTOPDIRECTORY,
                                CSIDL_PERSONAL,      CSIDL_MYMUSIC,         CSIDL_MYPICTURES,
                                CSIDL_MYVIDEO,       CSIDL_APPDATA,         CSIDL_LOCAL_APPDATA};
    for (int csidl : shellFolders) result.Add(system.SpecialFolder(csidl));
    const wchar_t* variables[] = {L"SystemRoot", L"windir", L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432",
                                  L"USERPROFILE", L"ALLUSERSPROFILE", L"PUBLIC", L"APPDATA", L"LOCALAPPDATA"};
    for (const wchar_t* name : variables)
        if (auto value = system.Environment(name)) result.Add(*value);
    std::wstring profile = system.SpecialFolder(CSIDL_PROFILE);
    if (profile.empty()) profile = system.Environment(L"USERPROFILE").value_or(L"");
    if (!profile.empty()) {
        std::wstring normal = NormaliseFolderPath(profile);
        result.Add(ParentOf(normal));  // the folder that holds every profile
        result.Add(normal + L"\\Downloads");
        result.Add(normal + L"\\AppData");
    }
    // AppData itself, above its Roaming folder, wherever the profile lies,
    // and LocalLow beside Local.
    std::wstring roaming = NormaliseFolderPath(system.SpecialFolder(CSIDL_APPDATA));
    if (EndsWithNoCase(roaming, L"\\Roaming")) result.Add(ParentOf(roaming));
    std::wstring local = NormaliseFolderPath(system.SpecialFolder(CSIDL_LOCAL_APPDATA));
    if (EndsWithNoCase(local, L"\\Local")) result.Add(ParentOf(local) + L"\\LocalLow");
    AddRemovalTrees(system, result);
    return result;
}

FolderSet CollectSystemFolders(const ISystemInfo& system) {
    FolderSet result;
    for (const wchar_t* name : {L"TMP", L"TEMP"})
        if (auto value = system.Environment(name)) result.Add(*value);
    std::wstring windows = system.WindowsFolder();
    if (!windows.empty()) result.Add(JoinPath(windows, L"Temp"));
    for (int csidl = 0; csidl <= CSIDL_COMPUTERSNEARME; ++csidl) result.Add(system.SpecialFolder(csidl));
    return result;
}

const RemovalGuards& MachineGuards() {
    static const RemovalGuards guards = [] {
        RemovalGuards found;
        found.protectedFolders = CollectProtectedFolders(RealSystemInfo());
        PWSTR downloads = nullptr;
        if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Downloads, 0, nullptr, &downloads)))
            found.protectedFolders.Add(downloads);
        ::CoTaskMemFree(downloads);
        found.systemFolders = CollectSystemFolders(RealSystemInfo());
        for (const std::wstring& folder : EnvironmentFolders()) found.systemFolders.Add(folder);
        return found;
    }();
    return guards;
}

bool IsProtectedOnThisMachine(const std::wstring& path) {
    return IsProtectedFolder(path, MachineGuards().protectedFolders);
}

bool FinalPathShowsLink(const std::wstring& folderFinalPath, const std::wstring& name,
                        const std::wstring& entryFinalPath) {
    std::wstring expected = folderFinalPath;
    if (expected.empty() || expected.back() != L'\\') expected += L'\\';
    expected += name;
    return !SamePathText(expected, entryFinalPath);
}

bool SamePathText(const std::wstring& a, const std::wstring& b) {
    return EqualNoCase(WithoutLongPrefix(a), WithoutLongPrefix(b));
}
