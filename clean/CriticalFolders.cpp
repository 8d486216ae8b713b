#include "clean/CriticalFolders.h"

#include <shlobj.h>

#include <functional>
#include <vector>

#include "catalog/SystemInfo.h"
#include "win/Path.h"

namespace {

// The folders the entries of the list below stand in, each as the machine names it.
enum class Base { Windows, System, ProgramFiles, CommonFiles, ProgramData, Profile, Roaming };

enum class Reach {
    Tree,       // nothing at or below it: no rule walks it, no removal takes a folder in it
    RulesTree,  // to rules a tree; to a removal the folder itself, as a protected folder
    Closed,     // the folder and every folder directly inside it
};

struct CriticalFolder {
    Base base;
    const wchar_t* relative;  // "" for the base folder itself
    Reach reach;
};

// The list. Windows' own system folders are trees: what lies in them keeps
// the system running, and nothing there is a rule's junk. Logs and caches of
// the Windows folder (Temp, Logs, Prefetch, Minidump, SoftwareDistribution)
// stand beside them and stay within reach.
const CriticalFolder kCriticalFolders[] = {
    {Base::System, L"", Reach::RulesTree},
    {Base::System, L"drivers", Reach::Tree},
    {Base::System, L"DriverStore", Reach::Tree},
    {Base::System, L"config", Reach::Tree},
    {Base::System, L"catroot", Reach::Tree},
    {Base::System, L"CodeIntegrity", Reach::Tree},
    {Base::System, L"spool", Reach::Tree},
    {Base::System, L"Tasks", Reach::Tree},
    {Base::System, L"GroupPolicy", Reach::Tree},
    {Base::System, L"WindowsPowerShell", Reach::Tree},
    {Base::System, L"wbem\\Repository", Reach::Tree},
    {Base::System, L"Microsoft\\Protect", Reach::Tree},
    {Base::Windows, L"SysWOW64", Reach::Tree},
    {Base::Windows, L"SysArm32", Reach::Tree},
    {Base::Windows, L"WinSxS", Reach::Tree},
    {Base::Windows, L"servicing", Reach::Tree},
    {Base::Windows, L"Fonts", Reach::Tree},
    {Base::Windows, L"INF", Reach::Tree},
    {Base::Windows, L"assembly", Reach::Tree},
    {Base::Windows, L"Boot", Reach::Tree},
    {Base::Windows, L"Microsoft.NET", Reach::Tree},
    {Base::Windows, L"Installer", Reach::Tree},  // what repairs and removes installed programs
    {Base::Windows, L"PolicyDefinitions", Reach::Tree},
    {Base::Windows, L"Registration", Reach::Tree},
    {Base::Windows, L"SystemApps", Reach::Tree},
    {Base::Windows, L"SystemResources", Reach::Tree},
    {Base::Windows, L"ShellComponents", Reach::Tree},
    {Base::Windows, L"ShellExperiences", Reach::Tree},
    {Base::Windows, L"apppatch", Reach::Tree},
    {Base::Windows, L"Globalization", Reach::Tree},
    {Base::Windows, L"IME", Reach::Tree},
    {Base::Windows, L"Speech", Reach::Tree},
    {Base::Windows, L"Speech_OneCore", Reach::Tree},
    {Base::Windows, L"schemas", Reach::Tree},
    {Base::Windows, L"Resources", Reach::Tree},
    {Base::Windows, L"Media", Reach::Tree},
    {Base::Windows, L"Cursors", Reach::Tree},
    {Base::Windows, L"Branding", Reach::Tree},
    {Base::Windows, L"ImmersiveControlPanel", Reach::Tree},
    {Base::Windows, L"Containers", Reach::Tree},
    {Base::Windows, L"WaaS", Reach::Tree},
    // Programs: each folder in Program Files is an installed program. A rule
    // may clean a cache or log folder inside one, never the program.
    {Base::ProgramFiles, L"", Reach::Closed},
    {Base::CommonFiles, L"", Reach::Closed},
    {Base::ProgramData, L"", Reach::Closed},
    {Base::ProgramFiles, L"WindowsApps", Reach::Tree},
    {Base::ProgramFiles, L"Windows Defender", Reach::Tree},
    {Base::ProgramData, L"Microsoft\\Windows Defender", Reach::Tree},
    {Base::ProgramData, L"Microsoft\\Crypto", Reach::Tree},
    // A profile's top-level folders (Contacts, Favorites, Links, Saved
    // Games, AppData, ...), and the keys and certificates of its user.
    {Base::Profile, L"", Reach::Closed},
    {Base::Roaming, L"Microsoft\\Protect", Reach::Tree},
    {Base::Roaming, L"Microsoft\\Crypto", Reach::Tree},
    {Base::Roaming, L"Microsoft\\SystemCertificates", Reach::Tree},
};

// Each spelling by which the machine names a base folder; the same folder may come more than once.
std::vector<std::wstring> BaseFolders(Base base, const ISystemInfo& system) {
    struct Source {
        std::vector<int> csidls;
        std::vector<const wchar_t*> variables;
    };
    Source source;
    std::vector<std::wstring> folders;
    std::wstring windows = system.WindowsFolder();
    switch (base) {
    case Base::Windows:
        if (!windows.empty()) folders.push_back(windows);
        source = {{CSIDL_WINDOWS}, {L"SystemRoot", L"windir"}};
        break;
    case Base::System:
        if (!windows.empty()) folders.push_back(JoinPath(windows, L"System32"));
        source = {{CSIDL_SYSTEM}, {}};
        break;
    case Base::ProgramFiles:
        source = {{CSIDL_PROGRAM_FILES, CSIDL_PROGRAM_FILESX86}, {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432"}};
        break;
    case Base::CommonFiles:
        source = {{CSIDL_PROGRAM_FILES_COMMON, CSIDL_PROGRAM_FILES_COMMONX86},
                  {L"CommonProgramFiles", L"CommonProgramFiles(x86)", L"CommonProgramW6432"}};
        break;
    case Base::ProgramData:
        source = {{CSIDL_COMMON_APPDATA}, {L"ProgramData", L"ALLUSERSPROFILE"}};
        break;
    case Base::Profile:
        source = {{CSIDL_PROFILE}, {L"USERPROFILE"}};
        break;
    case Base::Roaming:
        source = {{CSIDL_APPDATA}, {L"APPDATA"}};
        break;
    }
    for (int csidl : source.csidls) folders.push_back(system.SpecialFolder(csidl));
    for (const wchar_t* name : source.variables)
        if (auto value = system.Environment(name)) folders.push_back(*value);
    return folders;
}

void ForEachCritical(const ISystemInfo& system, const std::function<void(const std::wstring&, Reach)>& visit) {
    for (const CriticalFolder& entry : kCriticalFolders)
        for (const std::wstring& base : BaseFolders(entry.base, system))
            if (IsFullPath(base)) visit(*entry.relative ? JoinPath(base, entry.relative) : base, entry.reach);
}

// The user's own files and the public ones. Downloads has no folder number;
// it stands in the profile (and the public profile) unless moved.
void AddUserContent(const ISystemInfo& system, FolderSet& content) {
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_MYMUSIC, CSIDL_MYPICTURES, CSIDL_MYVIDEO,
                      CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_MUSIC,
                      CSIDL_COMMON_PICTURES, CSIDL_COMMON_VIDEO})
        if (std::wstring folder = system.SpecialFolder(csidl); IsFullPath(folder)) content.Add(folder);
    std::vector<std::wstring> profiles{system.SpecialFolder(CSIDL_PROFILE)};
    if (auto value = system.Environment(L"PUBLIC")) profiles.push_back(*value);
    for (const std::wstring& profile : profiles)
        if (IsFullPath(profile)) content.Add(JoinPath(profile, L"Downloads"));
}

}  // namespace

void CriticalFolders::Merge(const CriticalFolders& other) {
    ruleTrees.Merge(other.ruleTrees);
    closed.Merge(other.closed);
    profileHolders.Merge(other.profileHolders);
    userContent.Merge(other.userContent);
}

bool CriticalFolders::IsClosed(const std::wstring& canonicalFolder) const {
    return IsVolumeRoot(canonicalFolder) || closed.ContainsCanonical(canonicalFolder) ||
           profileHolders.ContainsCanonical(ParentOf(canonicalFolder));
}

CriticalFolders CollectCriticalFolders(const ISystemInfo& system) {
    CriticalFolders critical;
    ForEachCritical(system, [&critical](const std::wstring& folder, Reach reach) {
        if (reach == Reach::Closed) critical.closed.Add(folder);
        else critical.ruleTrees.AddTree(folder);
    });
    for (const std::wstring& profile : BaseFolders(Base::Profile, system))
        if (IsFullPath(profile)) critical.profileHolders.Add(ParentOf(NormaliseFolderPath(profile)));
    AddUserContent(system, critical.userContent);
    return critical;
}

void AddRemovalTrees(const ISystemInfo& system, FolderSet& folders) {
    ForEachCritical(system, [&folders](const std::wstring& folder, Reach reach) {
        if (reach == Reach::Tree) folders.AddTree(folder);
    });
}

const CriticalFolders& MachineCriticalFolders() {
    static const CriticalFolders critical = [] {
        CriticalFolders found = CollectCriticalFolders(RealSystemInfo());
        for (const KNOWNFOLDERID& id : {FOLDERID_Downloads, FOLDERID_PublicDownloads}) {
            PWSTR path = nullptr;
            if (SUCCEEDED(::SHGetKnownFolderPath(id, 0, nullptr, &path))) found.userContent.Add(path);
            ::CoTaskMemFree(path);
        }
        return found;
    }();
    return critical;
}
