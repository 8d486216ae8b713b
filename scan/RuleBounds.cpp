#include "scan/RuleBounds.h"

#include <shlobj.h>

#include "catalog/SystemInfo.h"
#include "clean/ItemPath.h"
#include "win/Path.h"

namespace {

const wchar_t kOutsideJunk[] = L"lies in the Windows folder outside its folders of logs, caches and temporary files";

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

std::wstring CRuleBounds::WhyNoWildcardIn(const std::wstring& folder) const {
    if (m_protected.FencedCanonical(folder)) return kOutsideJunk;
    if (IsProtectedCanonical(folder, m_protected) || m_critical.IsClosed(folder))
        return L"a wildcard step directly inside a drive root, a protected folder, the folders of programs or a "
               L"profile";
    if (m_critical.ruleTrees.ContainsCanonical(folder)) return L"lies in one of the system's own folders";
    return {};
}

std::wstring CRuleBounds::WhyNotWalked(const std::wstring& folder) const {
    if (m_protected.FencedCanonical(folder)) return kOutsideJunk;
    if (IsProtectedCanonical(folder, m_protected)) return L"is a drive root or a protected folder";
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
    return !m_profile.empty() && LiesBelow(folder, m_profile) && WhyNotWalked(folder).empty() &&
           !InUserContent(folder);
}
