#pragma once
// A call into a library that is not the program's own runs on the window
// thread, and the library may show a window of its own (a message box, a
// notice while it works) whose message loop would hand the user's clicks and
// keys, and commands posted by other programs, to the program's windows too:
// a command would start inside the call. While a LibraryCallGuard lives:
// - the program's windows that were visible and enabled are disabled, as a
//   modal box would do; at the end exactly those are enabled again, the
//   window that was active is active again and the control that had the
//   keyboard has it again;
// - every command that reaches one of the program's dialogs is dropped
//   (Running(); fw::CDialog asks it);
// - a top-level window the library makes during the call becomes the
//   library's own window when it is first shown or activated. Only then is
//   it counted (LibraryShowedWindow), and, when it has no owner, it is lent
//   the active window as owner, so that it stays above it. A window the
//   library makes and keeps hidden (a helper window for its timers) is left
//   alone: owned by a page it would die with the page. Every owner lent is
//   taken back at the end, and message-only windows are never touched;
// - when the library's window is first hidden or destroyed, its owner and
//   the window that was active are enabled again, so that the system gives
//   the activation back to the program and not to another program (a box
//   ended by EndDialog does that itself, a window destroyed by DestroyWindow
//   does not); they are disabled again if the library makes another window;
// - at the end the mouse and keyboard input that came meanwhile is dropped:
//   it was aimed at windows that could not answer, and must neither run a
//   command nor answer the next box unread.

#include <vector>

namespace fw {

class LibraryCallGuard {
public:
    LibraryCallGuard();
    ~LibraryCallGuard();
    LibraryCallGuard(const LibraryCallGuard&) = delete;
    LibraryCallGuard& operator=(const LibraryCallGuard&) = delete;

    // Whether a guarded call runs now: no command may start.
    static bool Running();

    // Whether the library showed a top-level window of its own so far.
    bool LibraryShowedWindow() const;

private:
    friend struct LibraryWindowHooks;

    // The backend's handles, untyped: this header is portable.
    std::vector<void*> m_disabled;  // the program's windows the guard disabled
    std::vector<void*> m_enabledEarly; // of those, enabled again when a library window went
    std::vector<void*> m_made;      // top-level windows the library made during the call
    std::vector<void*> m_shown;     // of those, shown or activated: the library's own windows
    std::vector<void*> m_lent;      // windows given the active window as owner
    void* m_active = nullptr;
    void* m_focus = nullptr;
    void* m_creationHook = nullptr;
    void* m_messageHook = nullptr;
    LibraryCallGuard* m_outer = nullptr;
};

} // namespace fw
