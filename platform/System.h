#pragma once
// What the system says about itself and its errors, for a diagnostic log.
// Texts are Windows-1250 bytes.

#include <cstdint>
#include <string>

namespace platform {

// Appends `value` in decimal.
inline void AppendDecimal(std::string& text, std::uint32_t value)
{
    char digits[10];
    std::size_t first = sizeof digits;
    do {
        digits[--first] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    text.append(digits + first, sizeof digits - first);
}

// The system's name and version, e.g. "Windows 10.0.19045 (Wine 8.0)".
std::string SystemVersion();

// The system's text for an error code (GetLastError), without a line end.
std::string SystemErrorText(unsigned long code);

// The full path of the loaded module that holds `address`; empty when none does.
std::string ModuleNameAt(const void* address);

// Ends the process at once with `exitCode`: no module's clean-up runs, nor
// the program's own.
[[noreturn]] void EndProcessNow(std::uint32_t exitCode);

} // namespace platform
