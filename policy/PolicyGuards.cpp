#include "policy/PolicyGuards.h"

#include "policy/Policies.h"

RemovalGuards GuardsUnderPolicy() {
    RemovalGuards guards = MachineGuards();
    guards.excluded = CurrentPolicies()->excluded;
    return guards;
}
