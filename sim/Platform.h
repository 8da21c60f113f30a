#pragma once
// The operating-system services the simulated printer needs, chosen by file:
// Platform_win32.cpp and Platform_posix.cpp.

#include "sim/Calendar.h"
#include "sim/Config.h"

#include <cstdint>
#include <string>

namespace sim {

// The computer's local date and time.
DateTime LocalNow();

// Blocks the calling thread for `milliseconds`.
void Pause(std::int32_t milliseconds);

// Shows a modal message box with an error icon and an OK button, owned by the
// calling thread's active window, or with `owned` false by no window. Texts
// are UTF-8. Does nothing where there is no such box (Linux).
void ShowErrorBox(const std::string& caption, const std::string& text, bool owned = true);

// Raises the structured exception `fault` describes (Config.h). Nothing
// where there are none (Linux).
void RaiseFault(const FaultSetting& fault);

// Shows an ownerless "please wait" notice for `milliseconds`, handling
// messages, then destroys it with DestroyWindow; answers whether the window
// active when it began was enabled when the notice was first hidden.
bool ShowNotice(std::int32_t milliseconds);
// A hidden ownerless window a library keeps for its timers; whether it lives.
void* MakeHelperWindow();
bool WindowExists(void* window);

} // namespace sim
