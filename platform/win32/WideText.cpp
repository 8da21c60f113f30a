#include "platform/win32/WideText.h"

#include <windows.h>

namespace platform::win32 {

namespace {
constexpr UINT kCodePage = 1250;
}

std::wstring Widen(std::string_view cp1250)
{
    if (cp1250.empty()) return {};
    const int size = static_cast<int>(cp1250.size());
    const int wide = MultiByteToWideChar(kCodePage, 0, cp1250.data(), size, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(kCodePage, 0, cp1250.data(), size, result.data(), wide);
    return result;
}

std::string Narrow(std::wstring_view utf16)
{
    if (utf16.empty()) return {};
    const int size = static_cast<int>(utf16.size());
    const int bytes = WideCharToMultiByte(kCodePage, 0, utf16.data(), size, nullptr, 0, "?", nullptr);
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(kCodePage, 0, utf16.data(), size, result.data(), bytes, "?", nullptr);
    return result;
}

} // namespace platform::win32
