#include "sim/Printout.h"

#include "sim/Text.h"

#include <utility>

namespace sim {

int Width(std::string_view utf8)
{
    int width = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
    return width;
}

void Printout::Line(std::string_view text)
{
    m_text += text;
    m_text += '\n';
}

void Printout::Centered(std::string_view text)
{
    const int width = Width(text);
    Line(std::string(width < kPaperColumns ? (kPaperColumns - width) / 2 : 0, ' ') + std::string(text));
}

void Printout::Columns(std::string_view left, std::string_view right)
{
    const int gap = kPaperColumns - Width(left) - Width(right);
    Line(std::string(left) + std::string(gap > 1 ? gap : 1, ' ') + std::string(right));
}

void Printout::Rule(char c) { Line(std::string(kPaperColumns, c)); }

void Printout::MazoviaText(std::string_view bytes)
{
    std::string line;
    bool doubleWidth = false;
    const auto endLine = [&] {
        // Double-width letters leave a blank behind them; empty lines are
        // not printed.
        while (!line.empty() && line.back() == ' ') line.pop_back();
        if (!line.empty()) Line(line);
        line.clear();
        doubleWidth = false;
    };
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0x0D) {
            endLine();
        } else if (byte == 0x0E) {
            doubleWidth = !doubleWidth;
        } else {
            line += MazoviaToUtf8(byte);
            if (doubleWidth) line += ' ';
        }
    }
    endLine();
}

std::string Printout::Take() { return std::exchange(m_text, {}); }

} // namespace sim
