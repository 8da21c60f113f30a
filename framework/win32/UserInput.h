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

// While the handle lives, the second press of a double-click on a push button
// of the calling thread's windows reaches no window: the button would take
// it for a second click and run its command again.
HookHandle IgnoreDoubleClicksOnPushButtons();

// Drops the mouse and keyboard input queued for the calling thread until now,
// presses on title bars and close boxes included.
// What the user did while a command kept the window busy was aimed at a window
// that could not answer; it is not replayed once the window can, nor taken
// by a message box that opens afterwards.
void DiscardQueuedInput();

} // namespace fw::win32
