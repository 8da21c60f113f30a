#include "sim/Text.h"

#include <cstdio>

namespace sim {

namespace {

// Unicode of the Windows-1250 bytes 0x80..0xFF; 0 where the code page has no
// character.
constexpr char16_t kCp1250Upper[128] = {
    0x20AC, 0,      0x201A, 0,      0x201E, 0x2026, 0x2020, 0x2021, 0,      0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// The Polish letters of the Mazovia code page.
struct MazoviaLetter {
    unsigned char byte;
    char16_t unicode;
};
constexpr MazoviaLetter kMazoviaLetters[] = {
    {0x8F, u'Ą'}, {0x86, u'ą'}, {0x95, u'Ć'}, {0x8D, u'ć'}, {0x90, u'Ę'}, {0x91, u'ę'},
    {0x9C, u'Ł'}, {0x92, u'ł'}, {0xA5, u'Ń'}, {0xA4, u'ń'}, {0xA3, u'Ó'}, {0xA2, u'ó'},
    {0x98, u'Ś'}, {0x9E, u'ś'}, {0xA0, u'Ź'}, {0xA6, u'ź'}, {0xA1, u'Ż'}, {0xA7, u'ż'},
};

void AppendUtf8(std::string& out, char16_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendEscaped(std::string& out, unsigned char byte)
{
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    out += escaped;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::string Cp1250ToUtf8(std::string_view bytes)
{
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out += c;
        else if (const char16_t unicode = kCp1250Upper[byte - 0x80]; unicode != 0)
            AppendUtf8(out, unicode);
        else
            AppendEscaped(out, byte);
    }
    return out;
}

std::string MazoviaToUtf8(unsigned char byte)
{
    std::string out;
    if (byte >= 0x20 && byte <= 0x7E) {
        out += static_cast<char>(byte);
        return out;
    }
    for (const MazoviaLetter& letter : kMazoviaLetters) {
        if (letter.byte == byte) {
            AppendUtf8(out, letter.unicode);
            return out;
        }
    }
    AppendEscaped(out, byte);
    return out;
}

std::optional<std::int64_t> ParseHundredths(std::string_view text)
{
    const std::size_t dot = text.find('.');
    const std::string_view whole = text.substr(0, dot);
    const std::string_view fraction = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
    if (whole.empty() || whole.size() > 12) return std::nullopt;
    if (dot != std::string_view::npos && (fraction.empty() || fraction.size() > 2)) return std::nullopt;
    std::int64_t value = 0;
    for (const char c : whole) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    std::int64_t cents = 0;
    for (std::size_t i = 0; i < 2; ++i) {
        const char c = i < fraction.size() ? fraction[i] : '0';
        if (!IsDigit(c)) return std::nullopt;
        cents = cents * 10 + (c - '0');
    }
    return value * 100 + cents;
}

std::string FormatHundredths(std::int64_t hundredths, int wholeDigits)
{
    const bool negative = hundredths < 0;
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(hundredths) : static_cast<std::uint64_t>(hundredths);
    char text[40];
    std::snprintf(text, sizeof text, "%s%0*llu.%02llu", negative ? "-" : "", wholeDigits,
                  static_cast<unsigned long long>(magnitude / 100), static_cast<unsigned long long>(magnitude % 100));
    return text;
}

} // namespace sim
