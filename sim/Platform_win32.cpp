#include "sim/Platform.h"

#include <windows.h>
#include <excpt.h>

#include <utility>

namespace {
// The code the clean-up of RaiseTwice's frame raises while the frame is
// unwound, once: the second exception is unwound through it too.
DWORD g_raiseWhileUnwound = 0;
} // namespace

// The handler of RaiseTwice's frame, for unwinding only: its clean-up raises
// another exception. Named in assembly, so not mangled.
extern "C" EXCEPTION_DISPOSITION qm47sim_RaiseWhileUnwound(EXCEPTION_RECORD* record, void*, CONTEXT*, void*)
{
    if ((record->ExceptionFlags & EXCEPTION_UNWINDING) && g_raiseWhileUnwound)
        RaiseException(std::exchange(g_raiseWhileUnwound, 0), 0, 0, nullptr);
    return ExceptionContinueSearch;
}

namespace sim {

namespace {

std::wstring Utf16(const std::string& utf8)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

#if defined(__i386__)
// The handler of the library's own exception registration record: the
// exception is dealt with, RaiseException returns.
EXCEPTION_DISPOSITION __cdecl ContinueAfterRaise(EXCEPTION_RECORD*, void*, CONTEXT*, void*)
{
    return ExceptionContinueExecution;
}

// Raises `code` under a registration record of the library's own with
// `handler`, linked at the head of the thread's chain (FS:[0]) for the
// duration.
__attribute__((noinline)) void RaiseUnder(void* handler, DWORD code)
{
    struct Registration {
        Registration* next;
        void* handler;
    } record{nullptr, handler};
    asm volatile("movl %%fs:0, %0" : "=r"(record.next));
    asm volatile("movl %0, %%fs:0" : : "r"(&record) : "memory");
    RaiseException(code, 0, 0, nullptr);
    asm volatile("movl %0, %%fs:0" : : "r"(record.next) : "memory");
}

void RaiseHandledInside(DWORD code)
{
    RaiseUnder(reinterpret_cast<void*>(&ContinueAfterRaise), code);
}

// The record's handler raises `code` + 1 while the record's frame is unwound.
void RaiseTwice(DWORD code)
{
    g_raiseWhileUnwound = code + 1;
    RaiseUnder(reinterpret_cast<void*>(&qm47sim_RaiseWhileUnwound), code);
}
#else
} // namespace
} // namespace sim

// The filter of the library's own handler: the exception is dealt with,
// RaiseException returns. Named in assembly, so not mangled.
extern "C" LONG qm47sim_ContinueAfterRaise(EXCEPTION_POINTERS*, void*)
{
    return EXCEPTION_CONTINUE_EXECUTION;
}

namespace sim {
namespace {

// Raises `code` inside a scope of the library's own unwind information: the
// C runtime's handler asks qm47sim_ContinueAfterRaise, which lets
// RaiseException return. Written out rather than with __try1, whose ".text"
// would leave the function's own code section; .seh_code goes back to it.
__attribute__((noinline)) void RaiseHandledInside(DWORD code)
{
    asm volatile(".Lhandled_start:\n\t"
                 ".seh_handler __C_specific_handler, @except\n\t"
                 ".seh_handlerdata\n\t"
                 ".long 1\n\t"
                 ".rva .Lhandled_start, .Lhandled_end, qm47sim_ContinueAfterRaise, .Lhandled_end\n\t"
                 ".seh_code");
    RaiseException(code, 0, 0, nullptr);
    asm volatile("nop\n.Lhandled_end:\n\tnop");
}

// Raises `code` in a frame whose unwind information names a handler for
// unwinding, which raises `code` + 1 while the frame is unwound.
__attribute__((noinline)) void RaiseTwice(DWORD code)
{
    asm volatile(".seh_handler qm47sim_RaiseWhileUnwound, @unwind");
    g_raiseWhileUnwound = code + 1;
    RaiseException(code, 0, 0, nullptr);
    asm volatile("nop");
}
#endif

} // namespace

void RaiseFault(const FaultSetting& fault)
{
    switch (fault.kind) {
    case FaultSetting::Kind::Raised:
        RaiseException(fault.code, 0, 0, nullptr);
        break;
    case FaultSetting::Kind::Handled:
        RaiseHandledInside(fault.code);
        break;
    case FaultSetting::Kind::RaisedTwice:
        RaiseTwice(fault.code);
        break;
    case FaultSetting::Kind::NullWrite:
    {
        // Through a pointer the compiler cannot see is null, so that a real
        // store is made (not a trap instruction in its place).
        volatile int* volatile target = nullptr;
        *target = 1;
    }
        break;
    }
}

DateTime LocalNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

void Pause(std::int32_t milliseconds)
{
    Sleep(static_cast<DWORD>(milliseconds));
}

namespace {

// The moments that matter while the library's windows come and go: the
// window active when the call began, and whether it took input at each
// moment, in order ("enabled" or "disabled", comma-separated). Windows picks
// the window to activate next when a window is hidden: then the program's
// window must take input.
HWND g_caller = nullptr;
std::string g_moments;

void RecordCaller()
{
    g_moments.append(g_moments.empty() ? "" : ",").append(IsWindowEnabled(g_caller) ? "enabled" : "disabled");
}

void BeginMoments()
{
    g_caller = GetActiveWindow();
    g_moments.clear();
}

LRESULT CALLBACK LibraryWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGING && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW))
        RecordCaller();
    return DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window of the library's own, owned by `owner` or by none.
HWND MakeLibraryWindow(const wchar_t* title, DWORD style, HWND owner = nullptr)
{
    static const ATOM registered = [] {
        const WNDCLASSW windowClass{.lpfnWndProc = &LibraryWindowProcedure, .hInstance = GetModuleHandleW(nullptr),
                                    .lpszClassName = kLibraryWindowClass};
        return RegisterClassW(&windowClass);
    }();
    return CreateWindowExW(0, registered ? kLibraryWindowClass : L"STATIC", title, style, 100, 100, 320, 80, owner,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

} // namespace

bool ShowNotice(std::int32_t milliseconds)
{
    BeginMoments();
    HWND notice = MakeLibraryWindow(L"Symulator drukarki: proszę czekać", WS_POPUP | WS_CAPTION | WS_VISIBLE);
    const DWORD started = GetTickCount();
    for (DWORD passed = 0; passed < static_cast<DWORD>(milliseconds); passed = GetTickCount() - started) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds) - passed, QS_ALLINPUT);
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
    }
    DestroyWindow(notice);
    return !g_moments.starts_with("disabled");
}

std::string ShowProgress()
{
    BeginMoments();
    // The library's hidden main window owns what it shows: the progress
    // window's owner is no window of the program.
    HWND owner = MakeLibraryWindow(L"", WS_POPUP);
    HWND progress = MakeLibraryWindow(L"Symulator drukarki: postęp", WS_POPUP | WS_CAPTION | WS_VISIBLE, owner);
    MessageBoxW(progress, L"Symulator drukarki: okno nad oknem postępu", L"Symulator drukarki", MB_OK);
    RecordCaller();
    ShowWindow(progress, SW_HIDE);
    ShowWindow(progress, SW_SHOWNORMAL);
    RecordCaller();
    DestroyWindow(progress);
    DestroyWindow(owner);
    return g_moments;
}

void* ShowStatusWindow()
{
    return MakeLibraryWindow(L"Symulator drukarki: stan", WS_POPUP | WS_CAPTION | WS_VISIBLE);
}

std::string LookAtStatusWindow(void* window)
{
    const HWND status = static_cast<HWND>(window);
    return std::string(IsWindowEnabled(status) ? "enabled" : "disabled") + (GetWindow(status, GW_OWNER) ? "-owned" : "-unowned");
}

void* MakeHelperWindow()
{
    return MakeLibraryWindow(L"", WS_POPUP);
}

bool WindowExists(void* window)
{
    return IsWindow(static_cast<HWND>(window));
}

void ShowErrorBox(const std::string& caption, const std::string& text, bool owned)
{
    MessageBoxW(owned ? GetActiveWindow() : nullptr, Utf16(text).c_str(), Utf16(caption).c_str(), MB_OK | MB_ICONERROR);
}

} // namespace sim
