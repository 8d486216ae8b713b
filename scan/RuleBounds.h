#pragma once
// Where a rule may go on a machine, decided on the folder each of its steps
// actually expands to. A rule never walks a drive root, a protected folder
// or anything in the system's critical trees, never takes a folder directly
// inside a drive root, a folder of programs or a profile, and a wildcard
// step never lists what lies directly inside any of these. The folders of
// the machine a scan is told of and of the one it runs on both hold.
#include <string>
#include <vector>

#include "item/CriticalFolders.h"
#include "item/Guards.h"

class ISystemInfo;

class CRuleBounds {
public:
    explicit CRuleBounds(const ISystemInfo& system);

    // Why a wildcard step may not list the folders in the canonical
    // `folder`; empty when it may.
    std::wstring WhyNoWildcardIn(const std::wstring& folder) const;
    // Why a rule may not walk the canonical `folder`; empty when it may.
    std::wstring WhyNotWalked(const std::wstring& folder) const;
    // True when the canonical `folder` is or lies in the user's own files,
    // where no folder is one whole item.
    bool InUserContent(const std::wstring& folder) const;
    // True when something a rule may not take lies below the canonical
    // `folder`: it is walked file by file, never taken whole.
    bool HoldsKept(const std::wstring& folder) const;
    // True when the canonical `folder`, named by TMP or TEMP, may be
    // cleaned: the Windows folder's Temp, or a folder of the current user's
    // own profile that is none of its content or protected folders (directly
    // in the profile only one named Temp or Tmp).
    bool CleansTemp(const std::wstring& folder) const;

private:
    // A drive root or a protected folder, the fences aside.
    bool Listed(const std::wstring& folder) const;

    FolderSet m_protected;
    CriticalFolders m_critical;
    std::vector<std::wstring> m_windowsTemp;  // canonical
    std::wstring m_profile;                   // the current user's, canonical; empty when unknown
};
