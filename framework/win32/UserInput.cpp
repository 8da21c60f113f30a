#include "framework/win32/UserInput.h"

#include "framework/win32/DialogWindow.h"

#include <cstdlib>
#include <utility>

namespace fw::win32 {

namespace {

LONG ButtonType(HWND window)
{
    return GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK;
}

bool IsPushButton(HWND window)
{
    if (!HasClassName(window, L"button")) return false;
    const LONG type = ButtonType(window);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// A push button, check box or radio button: what a mnemonic presses.
bool IsPressable(HWND window)
{
    if (!HasClassName(window, L"button")) return false;
    const LONG type = ButtonType(window);
    return type <= BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

// The last press of the left mouse button the thread took: when, where and
// on which window. Kept for the hook below, which has no other place for it;
// only the window thread touches it.
struct Press {
    DWORD time = 0;
    POINT point{};
    HWND window = nullptr;
};
Press g_lastPress;

// A press within the double-click time and distance of the last press the
// program took: the second half of a double-click with it.
bool PairsWithLastPress(const MSG& press)
{
    const Press& last = g_lastPress;
    return last.window && press.time - last.time <= GetDoubleClickTime() &&
           std::abs(press.pt.x - last.point.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(press.pt.y - last.point.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

// A press that the system would have paired with the last one into a
// double-click, had the last one been on the same window: the second half of
// a double-click aimed at a button that a box opened by the first half now
// covers.
bool SecondPressElsewhere(const MSG& press)
{
    return PairsWithLastPress(press) && press.hwnd != g_lastPress.window;
}

// Called with every message the thread takes from its queue. The system makes
// WM_LBUTTONDBLCLK of a second press only within the double-click time and
// distance of the first, on the same window; a press later or elsewhere is a
// plain press and clicks as usual, unless it lands on another push button
// (SecondPressElsewhere). The system pairs presses as they come, also with a
// first press that DiscardQueuedInput dropped unseen: a double-click is one
// only when its first half reached the program. A key's WM_CHAR is taken
// from the queue before the dialog manager looks for a mnemonic in it; below
// the blank are Tab, Enter, Escape and the control characters, none of them a
// mnemonic.
LRESULT CALLBACK FilterMessage(int code, WPARAM removal, LPARAM message)
{
    MSG& taken = *reinterpret_cast<MSG*>(message);
    if (code == HC_ACTION) {
        const bool press = taken.message == WM_LBUTTONDOWN || taken.message == WM_LBUTTONDBLCLK;
        const bool doubleClick =
            press && (taken.message == WM_LBUTTONDBLCLK ? PairsWithLastPress(taken) : SecondPressElsewhere(taken)) &&
            IsPushButton(taken.hwnd);
        const bool plainCharacter = taken.message == WM_CHAR && taken.wParam > L' ' && IsPressable(taken.hwnd);
        if (press && removal == PM_REMOVE) g_lastPress = {taken.time, taken.pt, taken.hwnd};
        if (doubleClick || plainCharacter) taken.message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, removal, message);
}

// Touch and pen messages, by their documented numbers: the system's headers
// name them only for Windows 7 and 8 and later, and the program runs on XP.
constexpr UINT kGesture = 0x0119;     // WM_GESTURE
constexpr UINT kTouch = 0x0240;       // WM_TOUCH, then WM_NCPOINTER* and WM_POINTER*
constexpr UINT kLastPointer = 0x024F; // WM_POINTERHWHEEL

// A touch or gesture message carries a handle that whoever takes it closes.
// The functions exist where the messages do (Windows 7 and later).
void CloseInputHandle(const MSG& dropped)
{
    const char* close = dropped.message == kTouch     ? "CloseTouchInputHandle"
                        : dropped.message == kGesture ? "CloseGestureInfoHandle"
                                                      : nullptr;
    if (!close) return;
    using CloseFunction = BOOL(WINAPI*)(HANDLE);
    const auto function = reinterpret_cast<CloseFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), close)));
    if (function) function(reinterpret_cast<HANDLE>(dropped.lParam));
}

} // namespace

HookHandle FilterButtonInput()
{
    return HookHandle(SetWindowsHookExW(WH_GETMESSAGE, &FilterMessage, nullptr, GetCurrentThreadId()));
}

void DiscardQueuedInput()
{
    // By message range. Wine's PeekMessageW with PM_QS_INPUT leaves a click
    // queued now and then (seen under Wine 8 with a printer answering in
    // 2 s). Posted messages of these ranges go too: they come from keys as
    // well (the WM_CHAR of a key press translated before the command). A
    // press on a title bar or a close box is taken as a message of the
    // non-client range, which the client range does not match.
    // The presses dropped here pass the filter above too; they reached no
    // window and are no first half of a double-click.
    // Touch and pen input comes as messages of its own (Windows 7 and later):
    // unhandled, they would become clicks.
    const Press lastDelivered = g_lastPress;
    MSG queued{};
    for (const auto& [first, last] : {std::pair<UINT, UINT>{WM_KEYFIRST, WM_KEYLAST},
                                      {WM_MOUSEFIRST, WM_MOUSELAST},
                                      {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
                                      {kGesture, kGesture},
                                      {kTouch, kLastPointer}})
        while (PeekMessageW(&queued, nullptr, first, last, PM_REMOVE)) CloseInputHandle(queued);
    g_lastPress = lastDelivered;
}

} // namespace fw::win32
