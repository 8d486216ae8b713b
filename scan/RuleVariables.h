#pragma once
// The %Variables% a rules file's folders start with, and the folders they
// stand for on a machine. These folders are the only roots a rule may lead
// below.
#include <string>
#include <vector>

#include "catalog/SystemInfo.h"

bool IsRuleVariable(const std::wstring& name);  // without the '%' signs, any letter case

// The folders `name` stands for on `system`: one, or two for the folders of
// programs; none for an unknown name or one the machine has no folder for.
std::vector<std::wstring> RuleVariableFolders(const std::wstring& name, const ISystemInfo& system);

// Every folder a variable stands for on `system` but a drive root: a folder
// written without a variable must lie below one of these, not merely on a drive.
std::vector<std::wstring> RuleRoots(const ISystemInfo& system);
