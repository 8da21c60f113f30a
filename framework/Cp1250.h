#pragma once
// Fixed texts are written in the sources as readable UTF-8 and turned into
// Windows-1250 bytes at compile time, so the program only ever holds CP1250.
//
//     inline constexpr auto kConnect = "Połąc&z"_cp1250;
//     kConnect.c_str()  ->  "Po\xB3\xB9" "c&z"
//
// A character that Windows-1250 cannot hold is a compile error.

#include <cstddef>
#include <string>
#include <string_view>

namespace fw {

namespace detail {

// Windows-1250 code of a Unicode code point, or -1 when it has none.
// Covers ASCII, the Polish letters and the other letters and signs of the
// code page's upper half that a Polish interface may use.
constexpr int Cp1250Code(char32_t c)
{
    if (c < 0x80) return static_cast<int>(c);
    struct Pair { char32_t unicode; unsigned char code; };
    constexpr Pair table[] = {
        {U'\u20AC', 0x80}, {U'\u201A', 0x82}, {U'\u201E', 0x84}, {U'\u2026', 0x85},
        {U'\u2013', 0x96}, {U'\u2014', 0x97}, {U'\u2018', 0x91}, {U'\u2019', 0x92},
        {U'\u201C', 0x93}, {U'\u201D', 0x94}, {U'\u2022', 0x95},
        {U'Ś', 0x8C}, {U'Ť', 0x8D}, {U'Ž', 0x8E}, {U'Ź', 0x8F},
        {U'ś', 0x9C}, {U'ť', 0x9D}, {U'ž', 0x9E}, {U'ź', 0x9F},
        {U'\u00A0', 0xA0}, {U'Ł', 0xA3}, {U'Ą', 0xA5}, {U'§', 0xA7}, {U'©', 0xA9},
        {U'Ş', 0xAA}, {U'«', 0xAB}, {U'Ż', 0xAF}, {U'°', 0xB0}, {U'ł', 0xB3},
        {U'ą', 0xB9}, {U'ş', 0xBA}, {U'»', 0xBB}, {U'ż', 0xBF},
        {U'Á', 0xC1}, {U'Â', 0xC2}, {U'Ä', 0xC4}, {U'Ć', 0xC6}, {U'Č', 0xC8},
        {U'É', 0xC9}, {U'Ę', 0xCA}, {U'Ë', 0xCB}, {U'Í', 0xCD}, {U'Ń', 0xD1},
        {U'Ó', 0xD3}, {U'Ô', 0xD4}, {U'Ö', 0xD6}, {U'×', 0xD7}, {U'Ü', 0xDC},
        {U'Ú', 0xDA}, {U'ß', 0xDF}, {U'á', 0xE1}, {U'â', 0xE2}, {U'ä', 0xE4},
        {U'ć', 0xE6}, {U'č', 0xE8}, {U'é', 0xE9}, {U'ę', 0xEA}, {U'ë', 0xEB},
        {U'í', 0xED}, {U'ń', 0xF1}, {U'ó', 0xF3}, {U'ô', 0xF4}, {U'ö', 0xF6},
        {U'÷', 0xF7}, {U'ú', 0xFA}, {U'ü', 0xFC},
    };
    for (const Pair& p : table)
        if (p.unicode == c) return p.code;
    return -1;
}

} // namespace detail

// A UTF-8 string literal, usable as a template argument.
template <std::size_t N>
struct Utf8Literal {
    char bytes[N]{};
    constexpr Utf8Literal(const char (&s)[N])
    {
        for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
    }
};

// A fixed text held as zero-terminated Windows-1250 bytes.
template <std::size_t Capacity>
class Cp1250Text {
public:
    constexpr explicit Cp1250Text(const char* utf8)
    {
        std::size_t in = 0;
        while (utf8[in] != '\0') {
            const auto lead = static_cast<unsigned char>(utf8[in]);
            char32_t code = 0;
            int follow = 0;
            if (lead < 0x80) { code = lead; }
            else if ((lead & 0xE0) == 0xC0) { code = lead & 0x1F; follow = 1; }
            else if ((lead & 0xF0) == 0xE0) { code = lead & 0x0F; follow = 2; }
            else throw "text holds a character outside the Basic Multilingual Plane";
            ++in;
            for (int i = 0; i < follow; ++i, ++in)
                code = (code << 6) | (static_cast<unsigned char>(utf8[in]) & 0x3F);
            const int byte = detail::Cp1250Code(code);
            if (byte < 0) throw "text holds a character that Windows-1250 cannot hold";
            m_bytes[m_size++] = static_cast<char>(byte);
        }
        m_bytes[m_size] = '\0';
    }

    constexpr const char* c_str() const { return m_bytes; }
    constexpr std::size_t size() const { return m_size; }
    constexpr std::string_view view() const { return {m_bytes, m_size}; }
    std::string str() const { return std::string(m_bytes, m_size); }
    constexpr operator std::string_view() const { return view(); }

private:
    char m_bytes[Capacity]{};
    std::size_t m_size = 0;
};

// The bytes of a fixed text in static storage, for tables of constants:
//     fw::cp1250<"Połąc&z">()  ->  const char* to "Po\xB3\xB9" "c&z"
template <Utf8Literal S>
inline constexpr Cp1250Text<sizeof(S.bytes)> kCp1250Storage{S.bytes};

template <Utf8Literal S>
consteval const char* cp1250()
{
    return kCp1250Storage<S>.c_str();
}

inline namespace literals {
template <Utf8Literal S>
consteval auto operator""_cp1250()
{
    return Cp1250Text<sizeof(S.bytes)>(S.bytes);
}
} // namespace literals

} // namespace fw
