#pragma once
#include <windows.h>
#include <string>

#include "win/SystemInfo.h"

// The program that grants access, by its full path in `systemFolder`, and
// its command line.
struct AccessCommand {
    std::wstring program;
    std::wstring commandLine;
};

// The command that grants `user` access to the System Volume Information
// folder of `root` (which ends in a backslash): cacls up to major version 5,
// icacls from version 6 on. The user's name is quoted: names with blanks
// are common.
AccessCommand VolumeInfoAccessCommand(const std::wstring& systemFolder, const std::wstring& root,
                                      const std::wstring& user, DWORD majorVersion);

// Volume and file-system names of a drive root; both empty when the drive
// does not answer, so that no drive inherits the answer of another.
void GetVolumeInfo(const ISystemInfo& system, const std::wstring& root, std::wstring& volumeName,
                   std::wstring& fileSystemName);
// Starts, hidden and without waiting, the command that grants the current
// user access to the root's System Volume Information (not on 9x).
void GrantVolumeInfoAccess(const ISystemInfo& system, const std::wstring& root);
