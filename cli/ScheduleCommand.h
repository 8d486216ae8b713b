#pragma once
// "brisko-cli schedule add|list|remove" on a task store: the Task Scheduler,
// or a recording one in tests.
#include "cli/Console.h"
#include "cli/Options.h"
#include "cli/TaskDefinition.h"
#include "cli/TaskScheduler.h"
#include "policy/Policies.h"

// Carries out `options.schedule`; returns the exit status (0 done, 1 the
// Task Scheduler failed, 2 bad usage or refused by a policy: nothing registered).
int RunScheduleCommand(const CliOptions& options, CConsole& console, ITaskStore& store, const Policies& policies,
                       const TaskIdentity& identity);
