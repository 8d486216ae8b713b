#pragma once
// What the result list needs of the program around it: the main window, the
// status bar, the per-user settings, the Windows user and the language
// setting, and the program's keys. The application hands it in, so that the
// list knows nothing of the application's own classes.
#include <windows.h>

#include <string>

#include "win/Controls.h"
#include "win/Profile.h"
#include "win/Window.h"

class IListViewHost {
public:
    virtual ~IListViewHost() = default;

    virtual win::CWnd MainWindow() const = 0;
    // None while the frame has no status bar.
    virtual win::CStatusBar* StatusBar() const = 0;

    // The settings of the current user.
    virtual const win::CProfile& Profile() const = 0;

    // The Windows user's name: the settings section of the language and rules files.
    virtual std::wstring UserName() const = 0;
    // "Default" or the path of the language file in use.
    virtual std::wstring Language() const = 0;

    // The program's keys on a message of a loop the list runs itself (while
    // a scan works): true when the message was a key the program took.
    virtual bool TranslateProgramKeys(MSG& msg) = 0;
};
