#pragma once
// What the list asks of the user and the shell: message boxes, opening an
// item, the context menu and the question before a permanent clean.
#include <windows.h>

#include <functional>
#include <string>

#include "view/ConfirmDelete.h"
#include "view/ListViewHost.h"

// What the view asks of the user and the shell: the real calls unless tests
// put recording ones in.
struct ViewShell {
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)> messageBox;
    std::function<void(const std::wstring& path)> open;
    std::function<void(HMENU popup, POINT at, HWND owner)> trackPopup;
    // Asked before a permanent clean; true to go on.
    std::function<bool(HWND owner, IListViewHost& host, const SelectionAmount& amount)> confirmPermanent;
};
ViewShell RealViewShell();
