#pragma once
// What the main frame shows in the user's language: menu captions, the
// status-bar prompts of menu items and toolbar buttons, and tool tips. The
// captions follow the language file; the prompts and tool tips keep the
// resource texts while the setting is "Default".
#include <windows.h>

#include <optional>
#include <string>

// The caption of the top-level menu at `position` (0 File ... 4 Help).
std::wstring PopupCaption(int position);

// The caption of menu item `id` with its key text, or nothing for an item
// that is not relabelled.
std::optional<std::wstring> ItemCaption(UINT id);

// A command a policy turns off says so instead of what it does, in its
// prompts and its tool tip: "Turned off by your administrator", or for
// Extra Rules that a policy sets the rules file.
// The status-bar prompt of a highlighted menu item.
std::wstring MenuPrompt(UINT id);
// The status-bar prompt of the toolbar button under the mouse.
std::wstring ToolBarPrompt(UINT id);
// The tool tip of a toolbar button; empty for a command that has none.
std::wstring ToolTipText(UINT id);
