#pragma once
// Real user input from outside the program, and what its window thread shows
// of the keyboard. Clicks of Window::Click are posted BM_CLICK messages; these
// go through the system's input queue as a mouse's do, so the system makes
// double-clicks of them and the program sees them arrive while it is busy.

#include "tests/e2e/Driver.h"

namespace qm47::e2e {

// Moves the mouse to the middle of `control` and presses and releases the
// left button there (SendInput). `time` stamps both events, 0 leaves them to
// the system: the system takes two presses for a double-click by their
// stamps, so a test can make one whatever the program took in between. Fails
// the test if the control is missing, hidden or disabled.
void ClickWithMouse(const Window& control, DWORD time = 0);

// The active window and the window with the keyboard focus of the thread
// that runs `window` (GetGUIThreadInfo), or nulls when it cannot be read.
struct KeyboardState {
    HWND active = nullptr;
    HWND focus = nullptr;
};
KeyboardState KeyboardStateOf(const Window& window);

} // namespace qm47::e2e
