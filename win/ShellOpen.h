#pragma once
// Opening a file the way Explorer does: with the program its type has, and
// for a type without one the system's "Open with" choice.
#include <windows.h>

#include <functional>
#include <string>

namespace win {

// Runs one shell verb on a path; the platform's error when it fails, 0 when
// it succeeded.
using ShellVerbRunner = std::function<DWORD(const wchar_t* verb, const std::wstring& path)>;

// Opens `path`; when its type has no program, offers the "Open with"
// choice. Other failures (a file gone meanwhile) are left to the shell's
// own message.
void OpenWithShell(const std::wstring& path, const ShellVerbRunner& run);
void OpenWithShell(const std::wstring& path);

}  // namespace win
