#pragma once
// A call into a library that is not the program's own runs on the window
// thread, and the library may show a window of its own (a message box) whose
// message loop would hand the user's clicks and keys to the program's windows
// too: a command would start inside the call. While a LibraryCallGuard lives:
// - the program's windows that were visible and enabled are disabled, as a
//   modal box would do; at the end exactly those are enabled again, the
//   window that was active is active again and the control that had the
//   keyboard has it again;
// - a top-level window the library creates without an owner gets the active
//   window as its owner, so that it stays above it and the system gives the
//   activation back to it when the library's window closes;
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

    // Whether the library created a top-level window of its own so far.
    bool LibraryShowedWindow() const;

private:
    friend struct LibraryWindowHook;

    // The backend's handles, untyped: this header is portable.
    std::vector<void*> m_disabled;
    void* m_active = nullptr;
    void* m_focus = nullptr;
    void* m_hook = nullptr;
    LibraryCallGuard* m_outer = nullptr;
    bool m_libraryWindow = false;
};

} // namespace fw
