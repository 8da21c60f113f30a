#include "pages/HeaderRules.h"

#include "pages/HeaderConversion.h"
#include "res/Texts.h"

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

std::vector<std::string_view> LineWarnings(std::size_t line, const HeaderLine& typed)
{
    std::vector<std::string_view> warnings;
    if (line != 0) return warnings;
    const std::size_t length = typed.text.size();
    if (typed.doubleWidth && length > kDoubleWidthChars) warnings.push_back(text::kHeaderDoubleWidthLimit);
    if (length > kNormalWidthChars) warnings.push_back(text::kHeaderLineLimit);
    return warnings;
}

bool FitsThePrinter(std::string_view header)
{
    return header.size() <= kMaxConvertedHeaderBytes;
}

} // namespace qm47
