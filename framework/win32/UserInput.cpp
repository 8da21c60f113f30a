#include "framework/win32/UserInput.h"

#include "framework/win32/DialogWindow.h"

#include <utility>

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
    // By message range. Wine's PeekMessageW with PM_QS_INPUT leaves a click
    // queued now and then (seen under Wine 8 with a printer answering in
    // 2 s). Posted messages of these ranges go too: they come from keys as
    // well (the WM_CHAR of a key press translated before the command). A
    // press on a title bar or a close box is taken as a message of the
    // non-client range, which the client range does not match.
    MSG queued{};
    for (const auto& [first, last] : {std::pair<UINT, UINT>{WM_KEYFIRST, WM_KEYLAST},
                                      {WM_MOUSEFIRST, WM_MOUSELAST},
                                      {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK}})
        while (PeekMessageW(&queued, nullptr, first, last, PM_REMOVE)) {
        }
}

} // namespace fw::win32
