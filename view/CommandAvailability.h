#pragma once
// Whether a command is available, as a pure function of a small snapshot of
// the view's state. Menus, toolbar and accelerators all ask this one place.
#include <windows.h>

struct CommandState {
    int rows = 0;
    int selected = 0;
    bool busy = false;
    bool cookiesAvailable = true;
};

// True when the command may run; commands the view does not rule are available.
bool IsCommandAvailable(UINT id, const CommandState& state);
