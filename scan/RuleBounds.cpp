#include "scan/RuleBounds.h"

#include <shlobj.h>

#include "win/SystemInfo.h"
#include "item/ItemPath.h"
#include "win/Path.h"

namespace {

const wchar_t kOutsideJunk[] =
    L"lies in the Windows folder or the store apps' data, outside their folders of logs, caches and temporary files";

std::wstring CanonicalForm(const std::wstring& path) {
    if (!IsFullPath(path)) return {};
    std::optional<CanonicalItem> item = CanonicalItemPath(path);
    return item && item->exists ? item->path : NormaliseFolderPath(path);
}

}  // namespace

CRuleBounds::CRuleBounds(const ISystemInfo& system)
    : m_protected(CollectProtectedFolders(system)), m_critical(CollectCriticalFolders(system)),
      m_profile(CanonicalForm(system.SpecialFolder(CSIDL_PROFILE))) {
    m_protected.Merge(MachineGuards().protectedFolders);
    m_critical.Merge(MachineCriticalFolders());
    std::wstring windows = system.WindowsFolder();
    if (IsFullPath(windows)) m_windowsTemp.push_back(CanonicalForm(JoinPath(windows, L"Temp")));
}

bool CRuleBounds::Listed(const std::wstring& folder) const {
    return folder.empty() || IsVolumeRoot(folder) || m_protected.ListsCanonical(folder);
}

std::wstring CRuleBounds::WhyNoWildcardIn(const std::wstring& folder) const {
    // The folders it lists are each looked at again as the rule goes on.
    if (!Listed(folder) && m_protected.OpenBelowEachFolder(folder)) return {};
    if (Listed(folder) || m_critical.IsClosed(folder))
        return L"a wildcard step directly inside a drive root, a protected folder, the folders of programs or a "
               L"profile";
    if (m_protected.FencedCanonical(folder)) return kOutsideJunk;
    if (m_critical.ruleTrees.ContainsCanonical(folder)) return L"lies in one of the system's own folders";
    return {};
}

std::wstring CRuleBounds::WhyNotWalked(const std::wstring& folder) const {
    if (Listed(folder)) return L"is a drive root or a protected folder";
    if (m_protected.FencedCanonical(folder)) return kOutsideJunk;
    if (m_critical.ruleTrees.ContainsCanonical(folder)) return L"lies in one of the system's own folders";
    if (m_critical.IsClosed(ParentOf(folder)))
        return L"lies directly inside a drive root, the folders of programs or a profile";
    return {};
}

bool CRuleBounds::InUserContent(const std::wstring& folder) const {
    return m_critical.userContent.ContainsCanonical(folder) || m_critical.userContent.HoldsCanonical(folder);
}

bool CRuleBounds::HoldsKept(const std::wstring& folder) const {
    return m_protected.AnyBelowCanonical(folder) || m_critical.ruleTrees.AnyBelowCanonical(folder) ||
           m_critical.userContent.AnyBelowCanonical(folder);
}

bool CRuleBounds::CleansTemp(const std::wstring& folder) const {
    for (const std::wstring& temp : m_windowsTemp)
        if (SamePathText(folder, temp)) return true;
    if (m_profile.empty() || !LiesBelow(folder, m_profile) || InUserContent(folder)) return false;
    // The profile's own folders (Contacts, Favorites, Links, Saved Games, ...)
    // are closed to rules; a temporary folder may still stand beside them.
    if (SamePathText(ParentOf(folder), m_profile)) {
        const std::wstring name = folder.substr(m_profile.size() + 1);
        return (_wcsicmp(name.c_str(), L"Temp") == 0 || _wcsicmp(name.c_str(), L"Tmp") == 0) && !Listed(folder);
    }
    return WhyNotWalked(folder).empty();
}
