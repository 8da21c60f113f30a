#include "framework/LibraryCallGuard.h"

#include "framework/win32/UserInput.h"

#include <windows.h>

namespace fw {

namespace {
// The call running now: a hook procedure is given no context of its own.
LibraryCallGuard* g_runningCall = nullptr;

bool Usable(HWND window)
{
    return window && IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window);
}

BOOL CALLBACK DisableProgramWindow(HWND window, LPARAM disabled)
{
    if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return TRUE;
    EnableWindow(window, FALSE);
    reinterpret_cast<std::vector<void*>*>(disabled)->push_back(window);
    return TRUE;
}
} // namespace

// Sees every window the thread creates during the call.
struct LibraryWindowHook {
    static LRESULT CALLBACK OnWindowEvent(int code, WPARAM window, LPARAM event)
    {
        LibraryCallGuard* call = g_runningCall;
        if (code == HCBT_CREATEWND && call) {
            const CREATESTRUCTW& created = *reinterpret_cast<CBT_CREATEWNDW*>(event)->lpcs;
            if (!(created.style & WS_CHILD)) {
                call->m_libraryWindow = true;
                // The owner is taken as the window is made; the hook's copy
                // of the creation parameters no longer sets it.
                if (!created.hwndParent && call->m_active)
                    SetWindowLongPtrW(reinterpret_cast<HWND>(window), GWLP_HWNDPARENT,
                                      reinterpret_cast<LONG_PTR>(call->m_active));
            }
        }
        return CallNextHookEx(nullptr, code, window, event);
    }
};

LibraryCallGuard::LibraryCallGuard()
    : m_active(GetActiveWindow()), m_focus(GetFocus()), m_outer(g_runningCall)
{
    EnumThreadWindows(GetCurrentThreadId(), &DisableProgramWindow, reinterpret_cast<LPARAM>(&m_disabled));
    m_hook = SetWindowsHookExW(WH_CBT, &LibraryWindowHook::OnWindowEvent, nullptr, GetCurrentThreadId());
    g_runningCall = this;
}

LibraryCallGuard::~LibraryCallGuard()
{
    g_runningCall = m_outer;
    if (m_hook) UnhookWindowsHookEx(static_cast<HHOOK>(m_hook));
    // Dropped while the windows still take no input, so that none of it acts.
    win32::DiscardQueuedInput();
    for (auto window = m_disabled.rbegin(); window != m_disabled.rend(); ++window)
        EnableWindow(static_cast<HWND>(*window), TRUE);
    HWND active = static_cast<HWND>(m_active);
    if (Usable(active) && GetActiveWindow() != active) SetActiveWindow(active);
    HWND focus = static_cast<HWND>(m_focus);
    if (Usable(focus) && GetFocus() != focus) SetFocus(focus);
}

bool LibraryCallGuard::LibraryShowedWindow() const
{
    return m_libraryWindow;
}

} // namespace fw
