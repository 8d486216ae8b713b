#pragma once
// What an organisation's Group Policy (or a device-management service that
// writes the same keys) sets for Brisko: read-only values below
// SOFTWARE\Policies of the machine, then of the user, the machine's winning
// value by value. The window and the command line read them at start and
// again before each scan and each clean; a value of the wrong type or out of
// range is ignored and told once.
#include <windows.h>

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "item/PathExclusions.h"

// The key below HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
inline constexpr const wchar_t* kPolicyKey = L"SOFTWARE\\Policies\\Brisko\\Brisko .NET";

// Each value the program reads, and the registry form it must have.
enum class PolicyForm { Text, Flag, List };  // REG_SZ/REG_EXPAND_SZ, REG_DWORD 0|1, REG_MULTI_SZ
struct PolicyValue {
    const wchar_t* name;
    PolicyForm form;
};
std::span<const PolicyValue> PolicyValues();

struct Policies {
    std::optional<std::wstring> rulesFile;  // the rules file of every Standard scan
    bool recycleOnly = false;               // no permanent removal
    bool privacyDisabled = false;           // no Cookies Killer, Offline Temp, Advance or browser cleaning
    PathExclusions excluded;                // never listed, never removed
    std::vector<std::wstring> keepCookies;  // sites (lower case) whose cookies every browser cleaning keeps
    std::vector<std::wstring> problems;     // each value or entry ignored, in words
};

// The policies as the two keys hold them now. Environment variables in the
// rules file and the excluded paths are expanded.
Policies ReadPolicies(HKEY machine = HKEY_LOCAL_MACHINE, HKEY user = HKEY_CURRENT_USER);

// The policies in force in this process: read on first use and again by
// RefreshPolicies. Safe from any thread.
std::shared_ptr<const Policies> CurrentPolicies();
std::shared_ptr<const Policies> RefreshPolicies();

// The problems of `policies` that this process has not told yet; each is
// returned once.
std::vector<std::wstring> UntoldPolicyProblems(const Policies& policies);
