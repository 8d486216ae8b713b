#pragma once
// "brisko-cli browsers": the browser profiles of this user, what a clean of
// each kind would remove, and the clean itself.
#include "cli/Console.h"
#include "cli/Options.h"

// The exit status: 0 all done, 1 something was left (a browser runs, a
// database is damaged), 2 a keep-list file cannot be read.
int RunBrowsersCommand(const CliOptions& options, CConsole& console);
