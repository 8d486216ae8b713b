#pragma once
// What the system calls an open file or folder: the names every layer asks
// of a handle, the removal's checks and the exclusions' link forms alike.
#include <windows.h>

#include <string>

// The name the system keeps for the open object, in its own form (Wine
// "\??\C:\...", Windows "\Device\HarddiskVolume3\..."), so comparable only
// with another object's name; empty when it tells none. One question to the
// system, where a final path asks several.
std::wstring ObjectNameOf(HANDLE entry);

// The path the platform reports for the open entry ("\\?\C:\..."); empty
// when it tells none.
std::wstring FinalPathOfHandle(HANDLE entry);
