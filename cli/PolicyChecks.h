#pragma once
// What the policies in force allow a command line to do. A refused command
// changes nothing and ends with exit status 2.
#include <string>

#include "cli/Options.h"
#include "policy/Policies.h"

// Why `options` may not run under `policies`, naming the policy; "" when they may.
std::wstring PolicyRefusal(const CliOptions& options, const Policies& policies);
