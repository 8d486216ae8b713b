#include "view/ViewShell.h"

#include "win/ShellOpen.h"

ViewShell RealViewShell() {
    ViewShell shell;
    shell.messageBox = [](HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
        return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
    };
    shell.open = [](const std::wstring& path) { win::OpenWithShell(path); };
    shell.trackPopup = [](HMENU popup, POINT at, HWND owner) {
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    };
    shell.confirmPermanent = &ConfirmPermanentClean;
    return shell;
}
