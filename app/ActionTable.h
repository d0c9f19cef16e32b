// The rows of the program's action table: every user command with its
// caption, its hint and whether it starts enabled. The commands themselves
// are bound in CommandBindings.
#pragma once

#include <vector>

#include "preview/ActionIds.h"
#include "win/ActionList.h"

std::vector<win::TAction> ActionTableRows();
