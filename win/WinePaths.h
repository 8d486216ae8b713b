#pragma once
// What Wine tells of the host under this program's paths. Wine keeps a
// handle by the host's path with its links resolved, and its host has
// names that differ in letter case only; the program asks where that
// matters. Everything here answers "nothing" off Wine.
#include <string>

namespace win {

bool UnderWine();

// The host's path (UTF-8) of a path of this program's, as Wine looks it up:
// a name spelled exactly as given comes first, before one that differs in
// letter case. Empty off Wine.
std::string HostPathOf(const std::wstring& path);

// This program's path for a host path; empty off Wine.
std::wstring PathOfHost(const std::string& hostPath);

}  // namespace win
