#pragma once
// Whether a command is available, as a pure function of a small snapshot of
// the view's state. Menus, toolbar and accelerators all ask this one place.
#include <windows.h>

#include <optional>

struct CommandState {
    int rows = 0;
    int selected = 0;
    bool busy = false;
    bool cookiesAvailable = true;
    // What the policies in force take away.
    bool recycleOnly = false;      // permanent removal
    bool privacyDisabled = false;  // Cookies Killer, Offline Temp and the Advance dialog
    bool rulesByPolicy = false;    // the choice of the rules file
};

// Whether a command of the program may run; nothing for an id that no
// part of the program handles.
std::optional<bool> CommandRule(UINT id, const CommandState& state);

// True when the command may run; a command that nothing handles never does.
inline bool IsCommandAvailable(UINT id, const CommandState& state) { return CommandRule(id, state).value_or(false); }
