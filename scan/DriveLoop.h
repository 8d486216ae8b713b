#pragma once
#include <functional>
#include <string>

#include "catalog/SystemInfo.h"

// Calls `visit` for every fixed drive in letter order, with its root (such as
// D:\ ) and the folder that stands for that root on this machine.
void ForEachFixedDrive(const ISystemInfo& system,
                       const std::function<void(const std::wstring& root, const std::wstring& folder)>& visit);
