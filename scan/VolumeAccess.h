#pragma once
#include <windows.h>
#include <string>

// The command line that grants `user` access to the System Volume Information
// folder of `root` (which ends in a backslash): cacls up to major version 5,
// icacls from version 6 on.
std::wstring VolumeInfoAccessCommand(const std::wstring& root, const std::wstring& user, DWORD majorVersion);
