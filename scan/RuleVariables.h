#pragma once
// The %Variables% a rules file's folders start with, and the folders they
// stand for on a machine. These folders are the only roots a rule may lead
// below.
#include <optional>
#include <string>
#include <vector>

#include "win/SystemInfo.h"

bool IsRuleVariable(const std::wstring& name);  // without the '%' signs, any letter case

// A variable that may stand inside a folder's steps (%UserName%), rather
// than only at its start.
bool IsStepVariable(const std::wstring& name);

// `folder` with every step variable replaced by its value on `system`;
// nothing when the machine has no value for one, or a value that is no
// single name of a folder (empty, with a separator or a wildcard, "." or "..").
std::optional<std::wstring> ExpandStepVariables(const std::wstring& folder, const ISystemInfo& system);

// The folders `name` stands for on `system`: one, or two for the folders of
// programs; none for an unknown name or one the machine has no folder for.
std::vector<std::wstring> RuleVariableFolders(const std::wstring& name, const ISystemInfo& system);

// Every folder a variable stands for on `system` but a drive root: a folder
// written without a variable must lie below one of these, not merely on a drive.
std::vector<std::wstring> RuleRoots(const ISystemInfo& system);
