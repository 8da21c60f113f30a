#include "framework/LibraryCallGuard.h"

#include "framework/win32/DialogWindow.h"
#include "framework/win32/UserInput.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace fw {

namespace {

bool Contains(const std::vector<HWND>& windows, HWND window)
{
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

bool TakesInput(HWND window)
{
    return window && IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window);
}

// A top-level window of the thread that the program did not make: the
// library's, whenever the library made it. A child belongs to its parent, a
// message-only window is never seen, and tooltips and the input method's
// windows are the system's.
bool IsLibraryWindow(HWND window)
{
    if (GetAncestor(window, GA_PARENT) != GetDesktopWindow() || win32::IsRunningDialog(window)) return false;
    for (const wchar_t* system : {L"tooltips_class32", L"ime", L"msctfime ui"})
        if (win32::HasClassName(window, system)) return false;
    return true;
}

BOOL CALLBACK CollectProgramWindow(HWND window, LPARAM found)
{
    if (win32::IsRunningDialog(window) && IsWindowVisible(window) && IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

} // namespace

// One guarded call: the program's windows it keeps waiting, the library's
// windows it follows through the thread's hooks, and what it gives back.
struct LibraryCallGuard::State {
    State();
    ~State();
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    void LibraryWindowShows(HWND window);
    void LibraryWindowHides(HWND window);
    void ProgramWaitsAgain();
    void ProgramTakesInputAgain();

    static LRESULT CALLBACK OnWindowEvent(int code, WPARAM window, LPARAM event);
    static LRESULT CALLBACK OnSentMessage(int code, WPARAM sentByThread, LPARAM message);

    // The call running now, innermost first: a hook procedure is given no
    // context of its own. Only the window thread touches it.
    static State* running;
    State* outer = running;

    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    std::vector<HWND> disabled; // the program's windows that took input, disabled for the call
    // The program's window the activation goes back to when the library's
    // last window hides: the one active when the call began, or, while the
    // page that makes the call is not shown yet, the innermost one shown.
    HWND handBack = nullptr;
    bool handBackHeld = false;     // handBack was kept waiting by a page's modal run, not by the guard
    bool tookInputAgain = false;   // the program's windows take input: no library window is up
    std::vector<HWND> shown;       // the library's windows shown during the call
    std::vector<HWND> up;          // of those, the ones up now
    std::vector<HWND> lent;        // given handBack as owner for the call
    win32::HookHandle windowEvents;
    win32::HookHandle sentMessages;
};

LibraryCallGuard::State* LibraryCallGuard::State::running = nullptr;

LibraryCallGuard::State::State()
{
    handBack = win32::IsRunningDialog(active) && IsWindowVisible(active) ? active : win32::InnermostVisibleDialogWindow();
    handBackHeld = handBack && !IsWindowEnabled(handBack);
    EnumThreadWindows(GetCurrentThreadId(), &CollectProgramWindow, reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled) EnableWindow(window, FALSE);
    const DWORD thread = GetCurrentThreadId();
    windowEvents.reset(SetWindowsHookExW(WH_CBT, &OnWindowEvent, nullptr, thread));
    sentMessages.reset(SetWindowsHookExW(WH_CALLWNDPROC, &OnSentMessage, nullptr, thread));
    running = this;
}

LibraryCallGuard::State::~State()
{
    running = outer;
    sentMessages.reset();
    windowEvents.reset();
    // Dropped while the windows still take no input, so that none of it acts.
    win32::DiscardQueuedInput();
    // A window the library keeps open after the call is its own again.
    for (HWND window : lent)
        if (IsWindow(window) && GetWindow(window, GW_OWNER) == handBack) SetWindowLongPtrW(window, GWLP_HWNDPARENT, 0);
    for (auto window = disabled.rbegin(); window != disabled.rend(); ++window) EnableWindow(*window, TRUE);
    if (handBackHeld) EnableWindow(handBack, FALSE);
    // A library window still up keeps the activation where the library left
    // it: raising the program's window would hide the library's behind it.
    if (std::any_of(up.begin(), up.end(), [](HWND window) { return IsWindowVisible(window); })) return;
    if (TakesInput(active) && GetActiveWindow() != active) SetActiveWindow(active);
    if (TakesInput(focus) && GetFocus() != focus) SetFocus(focus);
}

// A hidden window of the library's becomes visible: the program waits (again).
// Without an owner it is lent the program's window, so that it stays above it.
void LibraryCallGuard::State::LibraryWindowShows(HWND window)
{
    if (IsWindowVisible(window) || !IsLibraryWindow(window)) return;
    if (!Contains(shown, window)) shown.push_back(window);
    if (!Contains(up, window)) up.push_back(window);
    ProgramWaitsAgain();
    if (handBack && !GetWindow(window, GW_OWNER)) {
        SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(handBack));
        if (!Contains(lent, window)) lent.push_back(window);
    }
}

// The system is about to take the activation from `window`. When it is the
// library's last window up, the program's windows take input again first:
// the system then gives the activation to the program, not to another one (a
// box ended by EndDialog enables its owner itself, a window hidden or
// destroyed otherwise does not, and the owner may be a window of the library).
void LibraryCallGuard::State::LibraryWindowHides(HWND window)
{
    if (!Contains(up, window)) return;
    std::erase(up, window);
    if (up.empty()) ProgramTakesInputAgain();
}

void LibraryCallGuard::State::ProgramWaitsAgain()
{
    if (!tookInputAgain) return;
    tookInputAgain = false;
    for (HWND window : disabled) EnableWindow(window, FALSE);
    if (handBackHeld) EnableWindow(handBack, FALSE);
}

void LibraryCallGuard::State::ProgramTakesInputAgain()
{
    tookInputAgain = true;
    for (auto window = disabled.rbegin(); window != disabled.rend(); ++window) EnableWindow(*window, TRUE);
    if (handBackHeld) EnableWindow(handBack, TRUE);
}

LRESULT CALLBACK LibraryCallGuard::State::OnWindowEvent(int code, WPARAM window, LPARAM event)
{
    if (running && code == HCBT_DESTROYWND) running->LibraryWindowHides(reinterpret_cast<HWND>(window));
    return CallNextHookEx(nullptr, code, window, event);
}

// Sent messages, before the window's procedure sees them: a window is about
// to be shown or hidden.
LRESULT CALLBACK LibraryCallGuard::State::OnSentMessage(int code, WPARAM sentByThread, LPARAM message)
{
    const CWPSTRUCT& sent = *reinterpret_cast<CWPSTRUCT*>(message);
    if (running && code == HC_ACTION && sent.message == WM_WINDOWPOSCHANGING) {
        const UINT flags = reinterpret_cast<const WINDOWPOS*>(sent.lParam)->flags;
        if (flags & SWP_SHOWWINDOW) running->LibraryWindowShows(sent.hwnd);
        if (flags & SWP_HIDEWINDOW) running->LibraryWindowHides(sent.hwnd);
    }
    return CallNextHookEx(nullptr, code, sentByThread, message);
}

LibraryCallGuard::LibraryCallGuard() : m_state(std::make_unique<State>()) {}

LibraryCallGuard::~LibraryCallGuard() = default;

bool LibraryCallGuard::Running()
{
    return State::running != nullptr;
}

bool LibraryCallGuard::LibraryShowedWindow() const
{
    return !m_state->shown.empty();
}

} // namespace fw
