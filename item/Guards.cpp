#include "item/Guards.h"

#include <shlobj.h>

#include <vector>

#include "win/SystemInfo.h"
#include "item/CriticalFolders.h"
#include "item/ItemPath.h"
#include "win/Path.h"
#include "win/Text.h"

namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail) {
    return text.size() >= tail.size() && win::EqualNoCase(text.substr(text.size() - tail.size()), tail);
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
    return win::EqualNoCase(WithoutLongPrefix(a), WithoutLongPrefix(b));
}
