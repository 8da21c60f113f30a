#include "sim/Platform.h"

#include <windows.h>
#include <excpt.h>

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

// Raises `code` under a registration record of the library's own, linked at
// the head of the thread's chain (FS:[0]) for the duration.
__attribute__((noinline)) void RaiseHandledInside(DWORD code)
{
    struct Registration {
        Registration* next;
        void* handler;
    } record{nullptr, reinterpret_cast<void*>(&ContinueAfterRaise)};
    asm volatile("movl %%fs:0, %0" : "=r"(record.next));
    asm volatile("movl %0, %%fs:0" : : "r"(&record) : "memory");
    RaiseException(code, 0, 0, nullptr);
    asm volatile("movl %0, %%fs:0" : : "r"(record.next) : "memory");
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

// The notice's moment: the window active when its call began, and whether
// it was enabled when the notice was first hidden (-1 until then).
HWND g_noticeCaller = nullptr;
int g_callerEnabledAtHide = -1;

LRESULT CALLBACK LibraryWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGING && g_callerEnabledAtHide < 0 &&
        (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW))
        g_callerEnabledAtHide = IsWindowEnabled(g_noticeCaller) ? 1 : 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window of the library's own, without an owner.
HWND MakeLibraryWindow(const wchar_t* title, DWORD style)
{
    static const ATOM registered = [] {
        const WNDCLASSW windowClass{.lpfnWndProc = &LibraryWindowProcedure, .hInstance = GetModuleHandleW(nullptr),
                                    .lpszClassName = L"QM47SimWindow"};
        return RegisterClassW(&windowClass);
    }();
    return CreateWindowExW(0, registered ? L"QM47SimWindow" : L"STATIC", title, style, 100, 100, 320, 80, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

} // namespace

bool ShowNotice(std::int32_t milliseconds)
{
    g_noticeCaller = GetActiveWindow();
    g_callerEnabledAtHide = -1;
    HWND notice = MakeLibraryWindow(L"Symulator drukarki: proszę czekać", WS_POPUP | WS_CAPTION | WS_VISIBLE);
    const DWORD started = GetTickCount();
    for (DWORD passed = 0; passed < static_cast<DWORD>(milliseconds); passed = GetTickCount() - started) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds) - passed, QS_ALLINPUT);
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
    }
    DestroyWindow(notice);
    return g_callerEnabledAtHide != 0;
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
