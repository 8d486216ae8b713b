#pragma once
// The extra rules file of the window: chosen through Options > Extra Rules,
// kept per Windows user beside the language setting, and read afresh by
// every Standard scan so that an edited file counts at once.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "scan/RulesFile.h"

class CBriskoApp;
class ISystemInfo;

// The chosen file's path, "" for none.
std::wstring StoredRulesFile(const CBriskoApp& app);
void StoreRulesFile(const CBriskoApp& app, const std::wstring& path);

// The entries of the chosen file; nothing when none is chosen or it cannot be read.
std::optional<RulesFile> LoadChosenRules(const CBriskoApp& app);

// The rules file a policy sets, else the user's choice.
std::optional<RulesFile> LoadRulesInForce(const CBriskoApp& app);

// What the choice asks of the user: the real dialogs unless tests put others in.
struct RulesDialogs {
    // With a file chosen: IDYES to pick another, IDNO for none, IDCANCEL to keep it.
    std::function<int(HWND owner, const std::wstring& current)> askChange;
    // The file picked, or nothing when the user cancelled.
    std::function<std::optional<std::wstring>(HWND owner, const std::wstring& current)> pickFile;
    std::function<void(HWND owner, const std::wstring& text)> tell;
};
RulesDialogs RealRulesDialogs();

// Lets the user pick a rules file or none. With a file chosen, the user is
// first asked whether to pick another, use none, or keep it; cancelling the
// file dialog keeps the choice as it was, and so does a file that cannot be
// read. The lines the new file leaves out and the folders of its rules
// refused on `system` are shown. True when the choice changed.
bool ChooseRulesFile(HWND owner, CBriskoApp& app, const ISystemInfo& system,
                     const RulesDialogs& dialogs = RealRulesDialogs());
