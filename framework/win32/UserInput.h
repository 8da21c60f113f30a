#pragma once
// Mouse and keyboard input that reaches the program's windows: one press of
// a push button runs its command once.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace fw::win32 {

struct HookDeleter {
    void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
};
using HookHandle = std::unique_ptr<std::remove_pointer_t<HHOOK>, HookDeleter>;

// While the handle lives, two kinds of input reach no window of the calling
// thread:
// - the second press of a double-click on a push button: the button would
//   take it for a second click and run its command again; also when a box
//   that the first press opened puts another button under the mouse (a
//   question's Yes under the button that asked it);
// - a character typed without Alt while the keyboard is on a push button,
//   check box or radio button (of a dialog or a message box): the dialog
//   manager would take it for the mnemonic of a button and press it, a
//   letter meant for a field becoming a command. Space, Enter, Tab, Escape
//   and the arrows are keys of their own and work as usual, and Alt with a
//   letter comes as WM_SYSCHAR, which is left alone.
HookHandle FilterButtonInput();

// Drops the mouse, keyboard, touch and pen input queued for the calling
// thread until now, presses on title bars and close boxes included.
// What the user did while a command kept the window busy was aimed at a window
// that could not answer; it is not replayed once the window can, nor taken
// by a message box that opens afterwards.
void DiscardQueuedInput();

} // namespace fw::win32
