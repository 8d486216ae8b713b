#pragma once
// The platform's file-open dialog.
#include <windows.h>

#include <optional>
#include <string>

namespace win {

// The file the user chose, or nothing when the dialog was cancelled.
// `filter` is written with bars: "description|pattern|...||".
std::optional<std::wstring> AskFileToOpen(HWND owner, const std::wstring& title, const std::wstring& filter,
                                          const std::wstring& folder, DWORD flags);

}  // namespace win
