#include "sim/Platform.h"

#include <windows.h>

namespace sim {

namespace {

std::wstring Utf16(const std::string& utf8)
{
    const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
}

} // namespace

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

void ShowErrorBox(const std::string& caption, const std::string& text, bool owned)
{
    MessageBoxW(owned ? GetActiveWindow() : nullptr, Utf16(text).c_str(), Utf16(caption).c_str(), MB_OK | MB_ICONERROR);
}

} // namespace sim
