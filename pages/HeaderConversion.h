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

// One row per Polish letter, Ą ą Ć ć Ę ę Ł ł Ń ń Ó ó Ś ś Ź ź Ż ż; each row holds
// the letter's code in CP852, Mazovia, Windows-1250 and ISO 8859-2, in that
// order. The conversion looks up the Windows-1250 column and writes the
// Mazovia one.
enum PolishLetterColumn : std::size_t { kCp852 = 0, kMazovia = 1, kWindows1250 = 2, kIso8859_2 = 3 };
inline constexpr std::array<std::array<unsigned char, 4>, 18> PolishLetterTable = {{
    {0xA4, 0x8F, 0xA5, 0xA1}, // Ą
    {0xA5, 0x86, 0xB9, 0xB1}, // ą
    {0x8F, 0x95, 0xC6, 0xC6}, // Ć
    {0x86, 0x8D, 0xE6, 0xE6}, // ć
    {0xA8, 0x90, 0xCA, 0xCA}, // Ę
    {0xA9, 0x91, 0xEA, 0xEA}, // ę
    {0x9D, 0x9C, 0xA3, 0xA3}, // Ł
    {0x88, 0x92, 0xB3, 0xB3}, // ł
    {0xE3, 0xA5, 0xD1, 0xD1}, // Ń
    {0xE4, 0xA4, 0xF1, 0xF1}, // ń
    {0xE0, 0xA3, 0xD3, 0xD3}, // Ó
    {0xA2, 0xA2, 0xF3, 0xF3}, // ó
    {0x97, 0x98, 0x8C, 0xA6}, // Ś
    {0x98, 0x9E, 0x9C, 0xB6}, // ś
    {0x8D, 0xA0, 0x8F, 0xAC}, // Ź
    {0xAB, 0xA6, 0x9F, 0xBC}, // ź
    {0xBD, 0xA1, 0xAF, 0xAF}, // Ż
    {0xBE, 0xA7, 0xBF, 0xBF}, // ż
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
