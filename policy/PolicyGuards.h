#pragma once
// The removal guards as they stand while the policies are in force.
#include "item/Guards.h"

// This machine's guards with the exclusions of the policies in force.
RemovalGuards GuardsUnderPolicy();
