#pragma once
// A call into a library that is not the program's own runs on the window
// thread, and the library may show windows of its own (a message box, a
// progress or status window) whose message loops would hand the user's clicks
// and keys, and commands posted by other programs, to the program's windows
// too: a command would start inside the call. While a LibraryCallGuard lives:
// - the program's own windows wait, as they would behind a modal box: they
//   take no input and run no command (Running(); fw::CDialog asks it);
// - the library's windows take input as the library wants, above the
//   program's window they belong with;
// - when the library's last window goes, the program takes the activation
//   back, so that the system does not give it to another program;
// - at the end the program's windows are as they were, and what the user did
//   meanwhile is dropped: it was aimed at windows that could not answer.
// What a guard follows, and what it cannot (windows of another thread), is
// told in docs/diagnostic-log.md.

#include <memory>

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
    // What the backend keeps for one call.
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace fw
