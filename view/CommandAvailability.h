#pragma once
// Whether a command is available, as a pure function of a small snapshot of
// the view's state. Menus, toolbar and accelerators all ask this one place.
#include <windows.h>

#include <optional>

struct Policies;

struct CommandState {
    int rows = 0;
    int selected = 0;
    bool busy = false;
    bool cookiesAvailable = true;
    BYTE scanning = 0;  // the mode whose scan runs, which its own command stops; 0 for none
    // What the policies in force take away.
    bool recycleOnly = false;      // permanent removal
    bool privacyDisabled = false;  // Cookies Killer, Offline Temp and the Advance dialog
    bool rulesByPolicy = false;    // the choice of the rules file
};

// The snapshot's part that the policies in force give, the rest left as is.
void ApplyPolicies(CommandState& state, const Policies& policies);

// True when a policy, whatever the list's state, takes the command away.
bool TurnedOffByPolicy(UINT id, const CommandState& state);

// Whether a command of the program may run; nothing for an id that no
// part of the program handles.
std::optional<bool> CommandRule(UINT id, const CommandState& state);

// True when the command may run; a command that nothing handles never does.
inline bool IsCommandAvailable(UINT id, const CommandState& state) { return CommandRule(id, state).value_or(false); }
