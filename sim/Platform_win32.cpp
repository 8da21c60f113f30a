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

constexpr wchar_t kNoticeClass[] = L"QM47SimNotice";

// The notice's state, for its window procedure: the window that was active
// when the call began, and whether it was enabled when the notice was first
// hidden (unset until then).
struct Notice {
    HWND caller = nullptr;
    int callerEnabledAtHide = -1;
};

LRESULT CALLBACK NoticeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* notice = reinterpret_cast<Notice*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_WINDOWPOSCHANGING && notice && notice->callerEnabledAtHide < 0 &&
        (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW))
        notice->callerEnabledAtHide = notice->caller && IsWindowEnabled(notice->caller) ? 1 : 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

HINSTANCE ThisLibrary()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&NoticeProcedure), &module);
    return module;
}

// The class of the library's own windows, registered at the first use.
const wchar_t* NoticeClass()
{
    static const ATOM atom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &NoticeProcedure;
        windowClass.hInstance = ThisLibrary();
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kNoticeClass;
        return RegisterClassW(&windowClass);
    }();
    return atom ? kNoticeClass : nullptr;
}

} // namespace

bool ShowNotice(std::int32_t milliseconds)
{
    Notice notice{GetActiveWindow()};
    HWND window = CreateWindowExW(0, NoticeClass(), L"Symulator drukarki: proszę czekać",
                                  WS_POPUP | WS_CAPTION, 100, 100, 320, 80, nullptr, nullptr, ThisLibrary(), nullptr);
    if (!window) return true;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&notice));
    ShowWindow(window, SW_SHOW);
    const DWORD started = GetTickCount();
    for (DWORD passed = 0; passed < static_cast<DWORD>(milliseconds); passed = GetTickCount() - started) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(milliseconds) - passed, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    DestroyWindow(window);
    return notice.callerEnabledAtHide != 0;
}

void* MakeHelperWindow()
{
    return CreateWindowExW(0, NoticeClass(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           ThisLibrary(), nullptr);
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
