#pragma once
#include <windows.h>
#include <string>

#include "catalog/SystemInfo.h"

// The command line that grants `user` access to the System Volume Information
// folder of `root` (which ends in a backslash): cacls up to major version 5,
// icacls from version 6 on.
std::wstring VolumeInfoAccessCommand(const std::wstring& root, const std::wstring& user, DWORD majorVersion);

// Volume and file-system names of a drive root; both empty when the drive
// does not answer, so that no drive inherits the answer of another.
void GetVolumeInfo(const ISystemInfo& system, const std::wstring& root, std::wstring& volumeName,
                   std::wstring& fileSystemName);
// Starts, hidden and without waiting, the command that grants the current
// user access to the root's System Volume Information (not on 9x).
void GrantVolumeInfoAccess(const ISystemInfo& system, const std::wstring& root);
