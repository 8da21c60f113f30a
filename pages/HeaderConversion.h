#pragma once
// Conversion of the receipt header from Windows-1250 to the printer's code
// page (Mazovia) for its Polish letters, done through two working files in
// the current directory: the text is written to "naglowek_we.txt", converted
// byte by byte into "naglowek.txt", and read back from there.
// "naglowek_we.txt" is deleted afterwards; "naglowek.txt" stays.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qm47 {

// The Polish letters, Ą ą Ć ć Ę ę Ł ł Ń ń Ó ó Ś ś Ź ź Ż ż: each letter's
// Windows-1250 code, which the conversion looks up, and its Mazovia code,
// which it writes.
struct PolishLetterCodes {
    unsigned char windows1250;
    unsigned char mazovia;
};
inline constexpr std::array<PolishLetterCodes, 18> PolishLetterTable = {{
    {0xA5, 0x8F}, // Ą
    {0xB9, 0x86}, // ą
    {0xC6, 0x95}, // Ć
    {0xE6, 0x8D}, // ć
    {0xCA, 0x90}, // Ę
    {0xEA, 0x91}, // ę
    {0xA3, 0x9C}, // Ł
    {0xB3, 0x92}, // ł
    {0xD1, 0xA5}, // Ń
    {0xF1, 0xA4}, // ń
    {0xD3, 0xA3}, // Ó
    {0xF3, 0xA2}, // ó
    {0x8C, 0x98}, // Ś
    {0x9C, 0x9E}, // ś
    {0x8F, 0xA0}, // Ź
    {0x9F, 0xA6}, // ź
    {0xAF, 0xA1}, // Ż
    {0xBF, 0xA7}, // ż
}};

// The longest converted header the printer is given.
inline constexpr std::size_t kMaxConvertedHeaderBytes = 199;

// Converts `text` (Windows-1250): every Polish letter becomes its Mazovia
// code, every other byte stays as it is. Returns at most the first 199
// converted bytes, and stops after the first line feed (0x0A), which it keeps.
// When a file cannot be created, opened or written, shows a message (owned by
// no window, caption "Błąd") and returns nothing.
std::optional<std::string> ConvertHeaderText(std::string_view text);

} // namespace qm47
