#pragma once
// What the main frame needs of the program that owns it, beyond what the
// list needs: its title, the activation message of a second start, the
// language setting and the Help menu. The application hands itself in, so
// that the frame knows nothing of the application's own class.
#include <windows.h>

#include <string>

#include "view/ListViewHost.h"
#include "win/Controls.h"

class IFrameHost : public IListViewHost {
public:
    // The program's title, the frame's caption.
    virtual std::wstring AppName() const = 0;
    // True when `msg` is the activation message of a second start; the
    // running copy is then woken.
    virtual bool TakeActivation(const MSG& msg) = 0;
    // The bar the list writes its texts to; none while the frame has none.
    virtual void SetStatusBar(win::CStatusBar* bar) = 0;
    // The Windows user whose section holds the language setting.
    virtual void SetUserName(const std::wstring& name) = 0;
    // "Default" or the path of the language file the texts now come from.
    virtual void SetLanguageFile(const std::wstring& path) = 0;
    // The Help menu's About, Online Help and Update.
    virtual void OnHelpCommand(UINT id) = 0;
};
