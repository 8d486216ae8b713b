#include "win/ShellOpen.h"

#include <shellapi.h>

namespace win {

namespace {

DWORD RunShellVerb(const wchar_t* verb, const std::wstring& path) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    // "open" stays silent when the type has no program, so that the choice
    // can follow; "openas" is a verb of the item's context menu.
    bool openAs = wcscmp(verb, L"openas") == 0;
    info.fMask = openAs ? SEE_MASK_INVOKEIDLIST : SEE_MASK_FLAG_NO_UI;
    info.lpVerb = verb;
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (::ShellExecuteExW(&info)) return 0;
    DWORD error = ::GetLastError();
    return error ? error : ERROR_NO_ASSOCIATION;
}

}  // namespace

void OpenWithShell(const std::wstring& path, const ShellVerbRunner& run) {
    DWORD error = run(L"open", path);
    if (error == ERROR_NO_ASSOCIATION || error == SE_ERR_NOASSOC) run(L"openas", path);
}

void OpenWithShell(const std::wstring& path) { OpenWithShell(path, &RunShellVerb); }

}  // namespace win
