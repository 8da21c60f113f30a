#include "tests/e2e/UserInput.h"

#include <array>

namespace qm47::e2e {

namespace {

// A screen position as SendInput's absolute coordinates: 0 to 65535 across
// the primary screen.
LONG Normalised(LONG pixel, int screenPixels)
{
    return static_cast<LONG>((pixel * 65536LL + screenPixels / 2) / screenPixels);
}

} // namespace

void ClickWithMouse(const Window& control, DWORD time)
{
    if (!control.Visible() || !control.Enabled()) {
        ADD_FAILURE() << "mouse click on control " << GetDlgCtrlID(control.Handle())
                      << (control ? " that is hidden or disabled" : " that does not exist");
        return;
    }
    RECT place{};
    GetWindowRect(control.Handle(), &place);
    const LONG x = Normalised((place.left + place.right) / 2, GetSystemMetrics(SM_CXSCREEN));
    const LONG y = Normalised((place.top + place.bottom) / 2, GetSystemMetrics(SM_CYSCREEN));
    std::array<INPUT, 2> events{};
    const DWORD buttons[2] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (std::size_t i = 0; i < events.size(); ++i) {
        events[i].type = INPUT_MOUSE;
        events[i].mi = {x, y, 0, MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | buttons[i], time, 0};
    }
    EXPECT_EQ(SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT)), events.size())
        << "the system refused the mouse input";
}

KeyboardState KeyboardStateOf(const Window& window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window.Handle(), nullptr), &info)) return {};
    return {info.hwndActive, info.hwndFocus};
}

} // namespace qm47::e2e
