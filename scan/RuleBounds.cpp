#include "scan/RuleBounds.h"

#include "catalog/SystemInfo.h"
#include "win/Path.h"

CRuleBounds::CRuleBounds(const ISystemInfo& system)
    : m_protected(CollectProtectedFolders(system)), m_critical(CollectCriticalFolders(system)) {
    m_protected.Merge(MachineGuards().protectedFolders);
    m_critical.Merge(MachineCriticalFolders());
}

std::wstring CRuleBounds::WhyNoWildcardIn(const std::wstring& folder) const {
    if (IsProtectedCanonical(folder, m_protected) || m_critical.IsClosed(folder))
        return L"a wildcard step directly inside a drive root, a protected folder, the folders of programs or a "
               L"profile";
    if (m_critical.ruleTrees.ContainsCanonical(folder)) return L"lies in one of the system's own folders";
    return {};
}

std::wstring CRuleBounds::WhyNotWalked(const std::wstring& folder) const {
    if (IsProtectedCanonical(folder, m_protected)) return L"is a drive root or a protected folder";
    if (m_critical.ruleTrees.ContainsCanonical(folder)) return L"lies in one of the system's own folders";
    if (m_critical.IsClosed(ParentOf(folder)))
        return L"lies directly inside a drive root, the folders of programs or a profile";
    return {};
}

bool CRuleBounds::InUserContent(const std::wstring& folder) const {
    return m_critical.userContent.ContainsCanonical(folder) || m_critical.userContent.HoldsCanonical(folder);
}
