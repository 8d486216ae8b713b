#include "view/CommandAvailability.h"

#include "policy/Policies.h"
#include "res/resource.h"
#include "scan/Modes.h"

void ApplyPolicies(CommandState& state, const Policies& policies) {
    state.recycleOnly = policies.recycleOnly;
    state.privacyDisabled = policies.privacyDisabled;
    state.rulesByPolicy = policies.rulesFile.has_value();
}

bool TurnedOffByPolicy(UINT id, const CommandState& s) {
    switch (id) {
    case ID_OPTIONS_RULES:
        return s.rulesByPolicy;
    case ID_OPTIONS_OFFLINE_TEMP:
    case ID_OPTIONS_BROWSERS:
    case ID_OPTIONS_COOKIES:
        return s.privacyDisabled;
    case ID_EDIT_DELETE:
        return s.recycleOnly;
    default:
        return false;
    }
}

std::optional<bool> CommandRule(UINT id, const CommandState& s) {
    const bool allowed = !TurnedOffByPolicy(id, s);
    switch (id) {
    case ID_OPTIONS_STANDARD:
        return !s.busy || s.scanning == MODE_STANDARD;
    case ID_VIEW_LANGUAGE:
        return !s.busy;
    case ID_EDIT_STOP:
        // Escape: stops a scan, or a clean after the row in hand.
        return s.busy;
    case ID_OPTIONS_RULES:
        return !s.busy && allowed;
    case ID_OPTIONS_OFFLINE_TEMP:
        return (!s.busy && allowed) || s.scanning == MODE_OFFLINE_TEMP;
    case ID_OPTIONS_BROWSERS:
        return !s.busy && allowed;
    case ID_OPTIONS_COOKIES:
        return (s.cookiesAvailable && !s.busy && allowed) || s.scanning == MODE_COOKIES_KILLER;
    case ID_EDIT_DELETE:
        return s.selected > 0 && !s.busy && allowed;
    case ID_EDIT_RECYCLE:
    case ID_FILE_OPEN:
        return s.selected > 0 && !s.busy;
    case ID_EDIT_SELECT_ALL:
        return s.rows > 0 && s.rows != s.selected && !s.busy;
    case ID_EDIT_UNSELECT_ALL:
        // Stays available during a clean: rows unselected meanwhile are skipped.
        return s.selected > 0;
    case ID_EDIT_INVERT_SELECTION:
        return s.rows > 0 && !s.busy;
    // The frame's and the application's own commands are always there.
    case ID_APP_EXIT:
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_APP_ABOUT:
    case ID_HELP_ONLINE:
    case ID_HELP_UPDATE:
        return true;
    default:
        return std::nullopt;
    }
}
