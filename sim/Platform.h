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
// The window class of every window the simulated printer shows or keeps.
inline constexpr wchar_t kLibraryWindowClass[] = L"QM47SimWindow";

// A hidden ownerless window a library keeps for its timers; whether it lives.
void* MakeHelperWindow();
bool WindowExists(void* window);
// A progress window owned by a hidden window of the library's, a box over it
// that waits for OK, then the progress window hidden, shown again and
// destroyed. Answers whether the window active when it began took input at
// each of these moments: the box answered, the progress window hidden, shown
// again and destroyed ("enabled" or "disabled", comma-separated; empty on
// Linux, where nothing is shown).
std::string ShowProgress();
// An ownerless status window, shown and left up; and whether it takes input
// and has an owner: "enabled-unowned", "disabled-owned" ... (empty on Linux).
void* ShowStatusWindow();
std::string LookAtStatusWindow(void* window);

} // namespace sim
