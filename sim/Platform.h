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

// Shows a notice window without an owner for `milliseconds`, its messages
// handled meanwhile, and destroys it with DestroyWindow, as a library says
// "please wait" during a long command. Answers whether the window that was
// active when it began was enabled when the notice was first hidden: the
// system then gives the activation to the next window that takes input.
// True where there are no windows (Linux).
bool ShowNotice(std::int32_t milliseconds);

// A hidden top-level window without an owner that the library makes once
// and keeps (for its timers), and whether it still exists. Null and true
// where there are no windows (Linux).
void* MakeHelperWindow();
bool WindowExists(void* window);

} // namespace sim
