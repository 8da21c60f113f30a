#pragma once
// The program keeps every text as Windows-1250 bytes; the wide Win32 API
// wants UTF-16. Texts cross between the two only here, so Polish letters show
// on a Windows of any language.

#include <string>
#include <string_view>

namespace platform::win32 {

std::wstring Widen(std::string_view cp1250);
// Characters that Windows-1250 cannot hold become '?'.
std::string Narrow(std::wstring_view utf16);

} // namespace platform::win32
