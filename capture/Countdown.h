// The delay before a capture: seconds counted on the message loop, so the
// program stays responsive and the user can open the menu or tool tip to be
// captured meanwhile. No window of ours is shown for it.
#pragma once

#include <functional>

// Counts seconds down, calling show(n) with the whole seconds left (seconds,
// ..., 1) as each begins. Returns true when the time is up; false when it was
// cancelled: cancelled() turned true, Escape was pressed (in any program:
// the key is watched, not taken), or the program is ending (WM_QUIT is posted
// again for the outer loop).
bool RunCountdown(int seconds, const std::function<void(int)>& show, const std::function<bool()>& cancelled);
