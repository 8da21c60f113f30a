// Modal runs of dialogs: one dialog procedure for every dialog of the
// program. The per-run DialogWindow travels through DialogBoxIndirectParamW's
// last argument and is kept in DWLP_USER from WM_INITDIALOG until the window
// is destroyed.

#include "framework/Dialog.h"
#include "framework/LibraryCallGuard.h"
#include "framework/win32/DialogWindow.h"
#include "framework/win32/TemplateBuilder.h"
#include "framework/win32/UserInput.h"
#include "framework/win32/WideText.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>
#include <vector>

namespace fw {

namespace {
// One per process, like the application name: the terminate handler has no
// dialog to ask for it.
std::string_view g_faultText;
} // namespace

void SetFaultText(std::string_view text)
{
    g_faultText = text;
}

namespace win32 {

INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Tells the user of a fault that ends a window or the program.
void ShowFault(HWND owner, const char* description)
{
    std::string text(g_faultText);
    if (description && *description) text.append(text.empty() ? "" : "\n").append(description);
    const std::wstring wideText = Widen(text);
    const std::wstring caption = Widen(ApplicationName());
    MessageBoxW(owner, wideText.c_str(), caption.c_str(), MB_OK | MB_ICONERROR | (owner ? 0 : MB_TASKMODAL));
    // Written down like every other box.
    detail::NotifyMessageClosed(text, ApplicationName(), MessageAnswer::Ok);
}

namespace {

DialogWindow* WindowOf(HWND hwnd)
{
    return reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
}

// A dialog of ours still running: made by this procedure, not yet ended.
DialogWindow* RunningDialog(HWND hwnd)
{
    wchar_t className[16] = {};
    if (GetClassNameW(hwnd, className, 16) == 0 || std::wstring_view(className) != L"#32770") return nullptr;
    if (GetWindowLongPtrW(hwnd, DWLP_DLGPROC) != reinterpret_cast<LONG_PTR>(&DialogProcedure)) return nullptr;
    DialogWindow* window = WindowOf(hwnd);
    return window && !window->Ended() ? window : nullptr;
}

BOOL CALLBACK CollectRunningDialog(HWND hwnd, LPARAM found)
{
    if (RunningDialog(hwnd)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(hwnd);
    return TRUE;
}

// The innermost dialog running on this thread: the one of ours that owns
// none of the others. Modal runs nest, so the running dialogs form one chain
// of owners; the windows themselves record it.
HWND InnermostRunningDialog()
{
    std::vector<HWND> running;
    EnumThreadWindows(GetCurrentThreadId(), &CollectRunningDialog, reinterpret_cast<LPARAM>(&running));
    for (HWND candidate : running) {
        const bool ownsAnother = std::any_of(running.begin(), running.end(), [candidate](HWND other) {
            return GetWindow(other, GW_OWNER) == candidate;
        });
        if (!ownsAnother) return candidate;
    }
    return nullptr;
}

void CentreOnOwner(HWND hwnd)
{
    HWND owner = GetWindow(hwnd, GW_OWNER);
    if (!owner) return;
    RECT ownerRect{}, rect{};
    GetWindowRect(owner, &ownerRect);
    GetWindowRect(hwnd, &rect);
    const LONG width = rect.right - rect.left;
    const LONG height = rect.bottom - rect.top;
    LONG x = ownerRect.left + (ownerRect.right - ownerRect.left - width) / 2;
    LONG y = ownerRect.top + (ownerRect.bottom - ownerRect.top - height) / 2;
    // Keep the whole box on the owner's monitor.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        x = std::max(work.left, std::min(x, work.right - width));
        y = std::max(work.top, std::min(y, work.bottom - height));
    }
    SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FillComboBoxes(const DialogWindow& window)
{
    for (const ControlTemplate& control : window.Template().controls) {
        if (control.kind != ControlKind::ComboBox) continue;
        HWND combo = GetDlgItem(window.Handle(), control.id);
        for (const char* item : control.items) {
            const std::wstring wide = Widen(item);
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
        }
    }
}

// While minimised, the window shows its icon centred in the client area.
bool PaintIconic(HWND hwnd, HICON icon)
{
    if (!icon || !IsIconic(hwnd)) return false;
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client{};
    GetClientRect(hwnd, &client);
    const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, icon);
    EndPaint(hwnd, &paint);
    return true;
}

INT_PTR InitDialog(HWND hwnd, DialogWindow& window)
{
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(&window));
    window.Attach(hwnd);
    if (window.Template().frame == DialogFrame::About) CentreOnOwner(hwnd);
    FillComboBoxes(window);
    return window.Dialog().HandleInitDialog(window) ? TRUE : FALSE;
}

void Destroy(HWND hwnd, DialogWindow& window)
{
    // Let go of the object first, so nothing reaches it once it is done with.
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    struct DetachOnExit {
        DialogWindow& window;
        ~DetachOnExit() { window.Detach(); }
    } detach{window};
    window.Dialog().HandleDestroy();
}

INT_PTR Dispatch(HWND hwnd, DialogWindow& window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_COMMAND:
        window.Dialog().HandleCommand(LOWORD(wParam), HIWORD(wParam));
        // Clicks and keys that came while the command ran are not replayed
        // now. A press dropped during a library call ran nothing: what is
        // queued then is the library's box's, and the call's end drops the rest.
        if (HIWORD(wParam) == BN_CLICKED && !LibraryCallGuard::Running()) DiscardQueuedInput();
        return TRUE;
    case WM_SYSCOMMAND:
        return window.Dialog().HandleSysCommand(static_cast<int>(wParam)) ? TRUE : FALSE;
    case WM_PAINT:
        return PaintIconic(hwnd, window.LargeIcon()) ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(window.LargeIcon());
    case WM_DESTROY:
        Destroy(hwnd, window);
        return FALSE;
    default:
        return FALSE;
    }
}

// A fault escaped a dialog's handler: the user is told and the window ends.
void ReportFault(HWND hwnd, DialogWindow* window, const char* description)
{
    ShowFault(hwnd, description);
    if (window && window->Handle())
        window->End(-1);
    else
        EndDialog(hwnd, -1);
}

} // namespace

INT_PTR CALLBACK DialogProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogWindow* window = message == WM_INITDIALOG ? reinterpret_cast<DialogWindow*>(lParam) : WindowOf(hwnd);
    if (!window) return FALSE;
    // No exception may cross into the system's code that called us.
    try {
        if (message == WM_INITDIALOG) return InitDialog(hwnd, *window);
        return Dispatch(hwnd, *window, message, wParam, lParam);
    } catch (const std::exception& fault) {
        ReportFault(hwnd, window, fault.what());
    } catch (...) {
        ReportFault(hwnd, window, nullptr);
    }
    return FALSE;
}

} // namespace win32

const CDialog* InnermostDialog()
{
    const HWND innermost = win32::InnermostRunningDialog();
    const win32::DialogWindow* window = innermost ? win32::RunningDialog(innermost) : nullptr;
    return window ? &window->Dialog() : nullptr;
}

bool win32::IsRunningDialog(HWND window)
{
    return window && RunningDialog(window);
}

HWND win32::InnermostVisibleDialogWindow()
{
    HWND dialog = InnermostRunningDialog();
    while (dialog && !IsWindowVisible(dialog)) dialog = GetWindow(dialog, GW_OWNER);
    return dialog && RunningDialog(dialog) ? dialog : nullptr;
}

const CDialog* InnermostVisibleDialog()
{
    const HWND dialog = win32::InnermostVisibleDialogWindow();
    return dialog ? &win32::RunningDialog(dialog)->Dialog() : nullptr;
}

int RunModal(CDialog& dialog)
{
    const std::vector<std::uint16_t> image = win32::BuildDialogTemplate(dialog.Template());
    win32::DialogWindow window(dialog, dialog.Template());
    HWND owner = win32::InnermostRunningDialog();
    // The outermost run filters double-clicks and plain letters on buttons
    // for every window of the thread, message boxes included.
    const win32::HookHandle buttonInput = owner ? nullptr : win32::FilterButtonInput();
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(image.data()), owner,
                                &win32::DialogProcedure, reinterpret_cast<LPARAM>(&window));
    if (!window.Created())
        throw std::runtime_error("dialog " + std::to_string(dialog.Template().id) + " could not be created, error " +
                                 std::to_string(GetLastError()));
    return static_cast<int>(result);
}

} // namespace fw

// An exception that nothing caught ends the program. The runtime's own handler
// for it writes to a console this windowed program does not have, and it
// brings the C++ name demangler and the whole printf machinery into the exe
// (a seventh of its size). This one tells the user instead, then ends the
// process the same way.
namespace __gnu_cxx {

void __verbose_terminate_handler()
{
    const char* description = nullptr;
    try {
        if (const std::exception_ptr fault = std::current_exception()) std::rethrow_exception(fault);
    } catch (const std::exception& fault) {
        description = fault.what();
    } catch (...) {
    }
    fw::win32::ShowFault(nullptr, description);
    std::abort();
}

} // namespace __gnu_cxx
