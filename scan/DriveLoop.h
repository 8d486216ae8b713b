#pragma once
#include <functional>
#include <string>

#include "win/SystemInfo.h"

class IRuleReport;

// Calls `visit` for every fixed drive whose root is the root of a volume, in
// letter order, with its root (such as D:\ ) and the folder that stands for
// that root on this machine. A letter that stands for a folder (a subst, a
// mount point onto a folder) is passed over: its root's files are some
// folder's. `report`, when given, hears of each such letter once.
void ForEachFixedDrive(const ISystemInfo& system,
                       const std::function<void(const std::wstring& root, const std::wstring& folder)>& visit,
                       IRuleReport* report = nullptr);
