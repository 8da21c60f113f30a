// The display page's text from any two lines. What holds: line 1, the byte
// 0x0D, line 2, byte for byte and nothing else (no conversion, no CR after
// the second line); two lines of at most 20 bytes make at most 41.

#include "FuzzCheck.h"

#include "app/Requests.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = data[0] % (rest.size() + 1);
    const std::string_view line1 = rest.substr(0, split);
    const std::string_view line2 = rest.substr(split);

    const std::string text = qm47::DisplayText(line1, line2);
    FUZZ_CHECK(text.size() == line1.size() + 1 + line2.size());
    FUZZ_CHECK(std::string_view(text).substr(0, line1.size()) == line1);
    FUZZ_CHECK(text[line1.size()] == '\r');
    FUZZ_CHECK(std::string_view(text).substr(line1.size() + 1) == line2);
    if (line1.size() <= 20 && line2.size() <= 20) FUZZ_CHECK(text.size() <= 41);
    return 0;
}
