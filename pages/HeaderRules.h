#pragma once
// The receipt header's text as the header page builds it from its lines,
// the warnings a line gives as it is typed, and whether the printer takes a
// header whole.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qm47 {

// The characters a line holds: double width, and normal.
inline constexpr std::size_t kDoubleWidthChars = 20;
inline constexpr std::size_t kNormalWidthChars = 40;

// One line of the page: its text as typed and its two flags.
struct HeaderLine {
    std::string text;
    bool doubleWidth = false;
    bool centred = false;
};

// One header line as the printer takes it. A double-width line is enclosed in
// SO bytes (0x0E) and is 20 characters wide, a normal one 40. A centred line
// gets half the room its text leaves free (rounded down) as leading spaces;
// nothing is added behind the text, and a text longer than its width is kept
// whole.
std::string BuildHeaderLine(std::string_view text, bool doubleWidth, bool centred);

// The whole header: every line built, each followed by CR (0x0D).
std::string BuildHeaderText(std::span<const HeaderLine> lines);

// The warnings typing into line `line` (0 for line 1) gives, in the order
// they are shown. Only line 1 warns, and only warns, the text staying as
// typed: beyond 20 characters when it is double width, beyond 40 in any case.
std::vector<std::string_view> LineWarnings(std::size_t line, const HeaderLine& typed);

// Whether the printer takes `header` whole: at most 199 bytes, centring
// spaces and line ends included. A longer one is refused, since cut its last
// line would stand shortened on every receipt.
bool FitsThePrinter(std::string_view header);

} // namespace qm47
