#include "pages/HeaderRules.h"

namespace qm47 {

namespace {
constexpr char kShiftOut = '\x0E'; // switches double width on and off
constexpr char kLineEnd = '\r';
} // namespace

std::string BuildHeaderLine(std::string_view text, bool doubleWidth, bool centred)
{
    const std::size_t width = doubleWidth ? kDoubleWidthChars : kNormalWidthChars;
    const std::size_t padding = centred && text.size() < width ? (width - text.size()) / 2 : 0;
    std::string line;
    if (doubleWidth) line += kShiftOut;
    line.append(padding, ' ');
    line += text;
    if (doubleWidth) line += kShiftOut;
    return line;
}

std::string BuildHeaderText(std::span<const HeaderLine> lines)
{
    std::string header;
    for (const HeaderLine& line : lines) {
        header += BuildHeaderLine(line.text, line.doubleWidth, line.centred);
        header += kLineEnd;
    }
    return header;
}

} // namespace qm47
