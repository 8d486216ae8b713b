#include "win/FileDialog.h"

#include <commdlg.h>

namespace win {

std::optional<std::wstring> AskFileToOpen(HWND owner, const std::wstring& title, const std::wstring& filter,
                                          const std::wstring& folder, DWORD flags) {
    std::wstring pairs = filter;
    for (wchar_t& c : pairs)
        if (c == L'|') c = L'\0';
    pairs.push_back(L'\0');
    wchar_t file[MAX_PATH * 4] = {};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = pairs.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = static_cast<DWORD>(std::size(file));
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = flags | OFN_EXPLORER;
    if (!::GetOpenFileNameW(&ofn)) return std::nullopt;
    return std::wstring(file);
}

}  // namespace win
