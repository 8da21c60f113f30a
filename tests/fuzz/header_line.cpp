// One header line from any text and either flag. What holds:
// - a double-width line is the rest enclosed in two SO bytes (0x0E), a
//   normal line has no SO added;
// - inside, a centred text shorter than its width (20 double, 40 normal) is
//   preceded by half the free room, rounded down, in spaces, and the free
//   room behind it is that or one more; any other text gets no spaces;
// - the text itself follows whole, nothing behind it.

#include "FuzzCheck.h"

#include "pages/HeaderRules.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const bool doubleWidth = data[0] & 1;
    const bool centred = data[0] & 2;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::string line = qm47::BuildHeaderLine(text, doubleWidth, centred);

    const std::size_t width = doubleWidth ? 20 : 40;
    std::string_view inside = line;
    if (doubleWidth) {
        FUZZ_CHECK(line.size() >= 2 && line.front() == '\x0E' && line.back() == '\x0E');
        inside = inside.substr(1, inside.size() - 2);
    }
    FUZZ_CHECK(inside.size() >= text.size());
    FUZZ_CHECK(inside.substr(inside.size() - text.size()) == text);
    const std::size_t spaces = inside.size() - text.size();
    FUZZ_CHECK(inside.substr(0, spaces) == std::string(spaces, ' '));

    if (centred && text.size() < width) {
        const std::size_t freeRoom = width - text.size();
        FUZZ_CHECK(spaces * 2 == freeRoom || spaces * 2 + 1 == freeRoom);
        FUZZ_CHECK(inside.size() <= width);
    } else {
        FUZZ_CHECK(spaces == 0);
    }
    return 0;
}
