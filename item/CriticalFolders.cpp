#include "item/CriticalFolders.h"

#include <shlobj.h>

#include <functional>
#include <vector>

#include "item/ItemPath.h"
#include "win/SystemInfo.h"
#include "win/Path.h"
#include "win/Text.h"

namespace {

// The folders the entries of the list below stand in, each as the machine names it.
enum class Base { Windows, System, ProgramFiles, CommonFiles, ProgramData, Profile, Roaming, Local, Documents };

enum class Reach {
    Tree,       // nothing at or below it: no rule walks it, no removal takes a folder in it
    RulesTree,  // to rules a tree; to a removal the folder itself, as a protected folder
    Closed,     // the folder and every folder directly inside it
    Folder,     // the folder itself: nothing walks it or takes it whole; the folders in it stay within reach
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
    // What a profile keeps of its user beside the caches, temporary files
    // and logs that rules may reach: data protection, credentials and
    // vaults, the registry hive of its classes (the folder that holds
    // UsrClass.dat keeps its caches in folders of their own), the Start
    // Menu, mail and the data of store apps.
    {Base::Roaming, L"Microsoft\\Credentials", Reach::Tree},
    {Base::Roaming, L"Microsoft\\Vault", Reach::Tree},
    {Base::Roaming, L"Microsoft\\Windows\\Start Menu", Reach::Tree},
    {Base::Roaming, L"Microsoft\\Outlook", Reach::Tree},
    {Base::Roaming, L"Microsoft\\Signatures", Reach::Tree},
    {Base::Local, L"Microsoft\\Credentials", Reach::Tree},
    {Base::Local, L"Microsoft\\Vault", Reach::Tree},
    {Base::Local, L"Microsoft\\Windows", Reach::Folder},
    {Base::Local, L"Microsoft\\Outlook", Reach::Tree},
    {Base::Local, L"Microsoft\\Windows Mail", Reach::Tree},
    {Base::Local, L"Comms", Reach::Tree},
    {Base::Local, L"Microsoft\\WindowsApps", Reach::Tree},
    {Base::Documents, L"Outlook Files", Reach::Tree},
    {Base::ProgramData, L"Microsoft\\Windows\\Start Menu", Reach::Tree},
};

// The folders of the Windows folder that hold only throw-away files: logs,
// dumps, temporary files, downloaded updates, the catalogue's own targets.
// Everywhere else in the Windows folder no rule walks and no removal takes a
// folder; these stand open with all they hold (critical trees in them stay closed).
const wchar_t* const kWindowsJunkFolders[] = {
    L"Temp", L"Logs", L"Minidump", L"LiveKernelReports", L"Prefetch", L"Debug", L"ModemLogs", L"PLA\\Reports",
    L"Log", L"tracing", L"SoftwareDistribution\\Download",
    L"SoftwareDistribution\\DataStore\\Logs", L"SoftwareDistribution\\DeliveryOptimization", L"Security\\Logs",
    L"ServiceProfiles\\*\\AppData\\Local\\Temp",
    L"ServiceProfiles\\*\\AppData\\Local\\Microsoft\\Windows\\DeliveryOptimization\\Cache",
    L"ServiceProfiles\\*\\AppData\\Local\\Microsoft\\Windows\\DeliveryOptimization\\Logs", L"Downloaded Program Files",
    L"Pchealth\\ErrorRep", L"Pchealth\\HelpCtr\\Logs", L"Pchealth\\HelpCtr\\OfflineCache", L"Pchealth\\HelpCtr\\Temp",
    L"Pchealth\\Helpctr\\Config\\Cache", L"System32\\AdCache", L"System32\\cache", L"System32\\cache632",
    L"System32\\wbem\\Logs", L"System32\\LogFiles", L"System32\\dtclog", L"System32\\Msdtc\\Trace",
    L"System\\Wbem\\Logs",
    // The catalogue's own folders of old installers and caches.
    L"Applog", L"msapps", L"Options", L"Repair", L"ServicePackFiles", L"Printhood", L"Amcdl", L"Connection Wizard",
    L"Csc", L"Driver Cache", L"History", L"Application Compatibility Scripts", L"Downloaded Installations",
    L"IIS Temporary Compressed Files", L"Offline Web Pages", L"Windows Update Setup Files",
};

// The store apps' data, each app's in a folder of Packages: only their
// caches and temporary files stand open.
const wchar_t* const kStoreAppJunkFolders[] = {L"*\\AC\\INetCache", L"*\\AC\\INetHistory", L"*\\AC\\Temp",
                                               L"*\\TempState"};

// The files of a registry hive, wherever they lie: the user's own and that
// of the user's classes, with their logs.
const wchar_t* const kHiveFilePatterns[] = {L"NTUSER.DAT*", L"ntuser.ini", L"ntuser.pol", L"UsrClass.dat*"};

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
    case Base::Local:
        source = {{CSIDL_LOCAL_APPDATA}, {L"LOCALAPPDATA"}};
        break;
    case Base::Documents:
        source = {{CSIDL_PERSONAL}, {}};
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
        else if (reach != Reach::Folder) critical.ruleTrees.AddTree(folder);  // a Folder is protected (Guards.h)
    });
    for (const std::wstring& profile : BaseFolders(Base::Profile, system))
        if (IsFullPath(profile)) critical.profileHolders.Add(ParentOf(NormaliseFolderPath(profile)));
    AddUserContent(system, critical.userContent);
    return critical;
}

void AddRemovalTrees(const ISystemInfo& system, FolderSet& folders) {
    ForEachCritical(system, [&folders](const std::wstring& folder, Reach reach) {
        if (reach == Reach::Tree) folders.AddTree(folder);
        if (reach == Reach::Folder) folders.Add(folder);
    });
    const std::vector<std::wstring> windowsJunk = WindowsJunkFolders();
    for (const std::wstring& windows : BaseFolders(Base::Windows, system))
        if (IsFullPath(windows)) folders.AddFence(windows, windowsJunk);
    const std::vector<std::wstring> storeAppJunk{std::begin(kStoreAppJunkFolders), std::end(kStoreAppJunkFolders)};
    for (const std::wstring& local : BaseFolders(Base::Local, system))
        if (IsFullPath(local)) folders.AddFence(JoinPath(local, L"Packages"), storeAppJunk);
}

std::vector<std::wstring> WindowsJunkFolders() { return {std::begin(kWindowsJunkFolders), std::end(kWindowsJunkFolders)}; }

bool IsHiveFileName(const std::wstring& name) {
    for (const wchar_t* pattern : kHiveFilePatterns)
        if (win::WildcardMatch(pattern, name)) return true;
    return false;
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
