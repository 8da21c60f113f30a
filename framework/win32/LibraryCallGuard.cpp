#include "framework/LibraryCallGuard.h"

#include "framework/win32/UserInput.h"

#include <windows.h>

#include <algorithm>

namespace fw {

namespace {
// The call running now: a hook procedure is given no context of its own.
LibraryCallGuard* g_runningCall = nullptr;

bool Usable(HWND window)
{
    return window && IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window);
}

bool Holds(const std::vector<void*>& windows, HWND window)
{
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

BOOL CALLBACK DisableProgramWindow(HWND window, LPARAM disabled)
{
    if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    EnableWindow(window, FALSE);
    reinterpret_cast<std::vector<void*>*>(disabled)->push_back(window);
    return TRUE;
}
} // namespace

// Follow the windows the thread makes, shows, hides and destroys during the call.
struct LibraryWindowHooks {
    static void Made(LibraryCallGuard& call, HWND window, const CREATESTRUCTW& created)
    {
        // A child belongs to its parent; a message-only window is never seen.
        if ((created.style & WS_CHILD) || created.hwndParent == HWND_MESSAGE) return;
        call.m_made.push_back(window);
        // A further window of the library: the program waits again.
        for (void* enabled : call.m_enabledEarly) EnableWindow(static_cast<HWND>(enabled), FALSE);
        call.m_enabledEarly.clear();
    }

    static void Shown(LibraryCallGuard& call, HWND window)
    {
        if (!Holds(call.m_made, window) || Holds(call.m_shown, window)) return;
        call.m_shown.push_back(window);
        if (!GetWindow(window, GW_OWNER) && call.m_active) {
            SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(call.m_active));
            call.m_lent.push_back(window);
        }
    }

    // The system is about to give the activation away from `window`: to its
    // owner, or the window that was active, only where they take input.
    static void Going(LibraryCallGuard& call, HWND window)
    {
        if (!Holds(call.m_made, window) || !IsWindowVisible(window)) return;
        for (HWND program : {GetWindow(window, GW_OWNER), static_cast<HWND>(call.m_active)}) {
            if (!Holds(call.m_disabled, program) || IsWindowEnabled(program)) continue;
            EnableWindow(program, TRUE);
            call.m_enabledEarly.push_back(program);
        }
    }

    static LRESULT CALLBACK OnCreationEvent(int code, WPARAM window, LPARAM event)
    {
        if (LibraryCallGuard* call = g_runningCall) {
            const HWND hwnd = reinterpret_cast<HWND>(window);
            switch (code) {
            case HCBT_CREATEWND: Made(*call, hwnd, *reinterpret_cast<CBT_CREATEWNDW*>(event)->lpcs); break;
            case HCBT_ACTIVATE: Shown(*call, hwnd); break;
            case HCBT_DESTROYWND: Going(*call, hwnd); break;
            default: break;
            }
        }
        return CallNextHookEx(nullptr, code, window, event);
    }

    // Sent messages, before the window's procedure sees them.
    static LRESULT CALLBACK OnSentMessage(int code, WPARAM sentByThread, LPARAM message)
    {
        const CWPSTRUCT& sent = *reinterpret_cast<CWPSTRUCT*>(message);
        if (LibraryCallGuard* call = g_runningCall; call && code == HC_ACTION && sent.message == WM_WINDOWPOSCHANGING) {
            const UINT flags = reinterpret_cast<const WINDOWPOS*>(sent.lParam)->flags;
            if (flags & SWP_SHOWWINDOW) Shown(*call, sent.hwnd);
            if (flags & SWP_HIDEWINDOW) Going(*call, sent.hwnd);
        }
        return CallNextHookEx(nullptr, code, sentByThread, message);
    }
};

LibraryCallGuard::LibraryCallGuard()
    : m_active(GetActiveWindow()), m_focus(GetFocus()), m_outer(g_runningCall)
{
    EnumThreadWindows(GetCurrentThreadId(), &DisableProgramWindow, reinterpret_cast<LPARAM>(&m_disabled));
    const DWORD thread = GetCurrentThreadId();
    m_creationHook = SetWindowsHookExW(WH_CBT, &LibraryWindowHooks::OnCreationEvent, nullptr, thread);
    m_messageHook = SetWindowsHookExW(WH_CALLWNDPROC, &LibraryWindowHooks::OnSentMessage, nullptr, thread);
    g_runningCall = this;
}

LibraryCallGuard::~LibraryCallGuard()
{
    g_runningCall = m_outer;
    for (void* hook : {m_messageHook, m_creationHook})
        if (hook) UnhookWindowsHookEx(static_cast<HHOOK>(hook));
    // Dropped while the windows still take no input, so that none of it acts.
    win32::DiscardQueuedInput();
    // A window the library keeps open after the call is its own again.
    for (void* window : m_lent)
        if (IsWindow(static_cast<HWND>(window))) SetWindowLongPtrW(static_cast<HWND>(window), GWLP_HWNDPARENT, 0);
    for (auto window = m_disabled.rbegin(); window != m_disabled.rend(); ++window)
        EnableWindow(static_cast<HWND>(*window), TRUE);
    HWND active = static_cast<HWND>(m_active);
    if (Usable(active) && GetActiveWindow() != active) SetActiveWindow(active);
    HWND focus = static_cast<HWND>(m_focus);
    if (Usable(focus) && GetFocus() != focus) SetFocus(focus);
}

bool LibraryCallGuard::Running()
{
    return g_runningCall != nullptr;
}

bool LibraryCallGuard::LibraryShowedWindow() const
{
    return !m_shown.empty();
}

} // namespace fw
