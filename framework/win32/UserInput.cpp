#include "framework/win32/UserInput.h"

#include "framework/win32/DialogWindow.h"

namespace fw::win32 {

namespace {

bool IsPushButton(HWND window)
{
    if (!HasClassName(window, L"button")) return false;
    const LONG type = GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// Called with every message the thread takes from its queue. The system makes
// WM_LBUTTONDBLCLK of a second press only within the double-click time and
// distance of the first, on the same window; a press later or elsewhere is a
// plain press and clicks as usual.
LRESULT CALLBACK DropDoubleClickOnPushButton(int code, WPARAM removal, LPARAM message)
{
    MSG& taken = *reinterpret_cast<MSG*>(message);
    if (code == HC_ACTION && taken.message == WM_LBUTTONDBLCLK && IsPushButton(taken.hwnd)) taken.message = WM_NULL;
    return CallNextHookEx(nullptr, code, removal, message);
}

} // namespace

HookHandle IgnoreDoubleClicksOnPushButtons()
{
    return HookHandle(SetWindowsHookExW(WH_GETMESSAGE, &DropDoubleClickOnPushButton, nullptr, GetCurrentThreadId()));
}

void DiscardQueuedInput()
{
    // Only what came from the mouse and the keyboard (PM_QS_INPUT): posted
    // and sent messages stay. Every queued input event is older than this
    // call, so no time check is needed; one would miss events, as the
    // program's tick count lags the stamps the system gives them.
    MSG queued{};
    while (PeekMessageW(&queued, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    }
}

} // namespace fw::win32
