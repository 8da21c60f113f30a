#include "platform/System.h"

#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform {

std::string SystemVersion()
{
    // GetVersionEx answers what the program's manifest declares, not the
    // system it runs on; ntdll's RtlGetVersion answers the truth.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return "Windows";
    using GetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto getVersion =
        reinterpret_cast<GetVersionFunction>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!getVersion || getVersion(&info) != 0) return "Windows";
    std::string text = "Windows ";
    const DWORD parts[] = {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
    for (const DWORD part : parts) {
        AppendDecimal(text, part);
        text += '.';
    }
    text.pop_back();
    if (info.szCSDVersion[0]) text.append(" ").append(win32::Narrow(info.szCSDVersion));
    // Wine says so, since it behaves otherwise than Windows in places.
    using WineVersionFunction = const char* (*)();
    const auto wineVersion =
        reinterpret_cast<WineVersionFunction>(reinterpret_cast<void*>(GetProcAddress(ntdll, "wine_get_version")));
    if (wineVersion) text.append(" (Wine ").append(wineVersion()).append(")");
    return text;
}

std::string SystemErrorText(unsigned long code)
{
    wchar_t text[512];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, static_cast<DWORD>(std::size(text)), nullptr);
    std::wstring_view message(text, length);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
        message.remove_suffix(1);
    return win32::Narrow(message);
}

std::string ModuleNameAt(const void* address)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module))
        return {};
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    return win32::Narrow(std::wstring_view(path, length < MAX_PATH ? length : 0));
}

void EndProcessNow(std::uint32_t exitCode)
{
    // Not ExitProcess: that would run the detach code of every module, a
    // faulted library's included.
    TerminateProcess(GetCurrentProcess(), exitCode);
    for (;;) Sleep(INFINITE);
}

} // namespace platform
