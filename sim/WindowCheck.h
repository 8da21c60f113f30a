#pragma once
// The windows' texts measured from inside the program's process, with the
// font each control really got: whether that font holds every Polish letter
// and whether each text (and a check box's square) is whole in its control.
// Chosen by file: WindowCheck_win32.cpp and WindowCheck_posix.cpp.

#include <string>

namespace sim {

inline constexpr const char* kWindowCheckFileName = "qm47sim.windows.txt";

// Once the calling thread is idle again (the call that asked has returned and
// the program has shown what follows it), measures the windows the user
// works in (the visible, enabled ones) and appends the report to
// kWindowCheckFileName, headed "after <after>: ". From then on it also
// measures whenever those windows change (a page opened or closed), headed
// "after windows changed: ". Nothing on Linux.
void MeasureWindowsWhenIdle(const std::string& after);

// The report of the calling thread's visible, enabled windows now: a head line
// "windows dpi=<n> codepage=<n> controls=<n> problems=<n>", then one line
// per control:
//   <window> id=<n> <kind> face="<face>" letters=ok|missing:"<letters>"
//   fit=ok|cut|tight need=<w>x<h> room=<w>x<h> text="<text>"
// `cut`: the text or the square is not whole; `tight`: a one-line label
// whole but with less than a twentieth of its width to spare. Texts are UTF-8.
std::string MeasureWindows();

} // namespace sim
