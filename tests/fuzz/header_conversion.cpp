// The header text conversion on any bytes, through its working files in a
// folder of its own. What holds for every text:
// - the result is the text converted byte for byte, up to and including its
//   first line feed, and never longer than 199 bytes;
// - every one of the 18 Windows-1250 Polish letters became its Mazovia code,
//   every other byte is unchanged; so a byte of the letters' Windows-1250
//   side is left in the result only where it is itself the Mazovia code of
//   the letter that stood there (0x8F of Ą, 0x9C of Ł, 0xA3 of Ó, 0xA5 of Ń);
// - "naglowek.txt" holds the whole converted text, "naglowek_we.txt" is gone,
//   and no message was shown.

#include "FuzzCheck.h"

#include "framework/testing/TestBackend.h"
#include "pages/HeaderConversion.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

namespace {

// Windows-1250 code and Mazovia code of each Polish letter, written out here
// rather than taken from the conversion's own table.
constexpr std::array<std::pair<unsigned char, unsigned char>, 18> kLetters = {{
    {0xA5, 0x8F}, {0xB9, 0x86}, {0xC6, 0x95}, {0xE6, 0x8D}, {0xCA, 0x90}, {0xEA, 0x91},
    {0xA3, 0x9C}, {0xB3, 0x92}, {0xD1, 0xA5}, {0xF1, 0xA4}, {0xD3, 0xA3}, {0xF3, 0xA2},
    {0x8C, 0x98}, {0x9C, 0x9E}, {0x8F, 0xA0}, {0x9F, 0xA6}, {0xAF, 0xA1}, {0xBF, 0xA7},
}};

std::optional<unsigned char> MazoviaOf(unsigned char byte)
{
    for (const auto& [windows1250, mazovia] : kLetters)
        if (windows1250 == byte) return mazovia;
    return std::nullopt;
}

bool IsWindows1250Letter(unsigned char byte)
{
    return MazoviaOf(byte).has_value();
}

std::optional<std::string> ReadFile(const char* name)
{
    std::ifstream file(name, std::ios::binary);
    if (!file) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool Exists(const char* name)
{
    return access(name, F_OK) == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The conversion works in the current directory: give it an empty one.
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/qm47-fuzz-header-XXXXXX";
    if (!mkdtemp(folder.data()) || chdir(folder.c_str()) != 0) {
        std::perror("fuzz_header_conversion: working folder");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    fw::testing::TestUi ui;
    const std::optional<std::string> converted = qm47::ConvertHeaderText(text);

    FUZZ_CHECK(ui.messages.empty());
    FUZZ_CHECK(converted.has_value());
    FUZZ_CHECK(converted->size() <= qm47::kMaxConvertedHeaderBytes);
    FUZZ_CHECK(qm47::kMaxConvertedHeaderBytes == 199);

    std::string whole;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        whole += static_cast<char>(MazoviaOf(byte).value_or(byte));
    }
    std::size_t end = std::min<std::size_t>(whole.size(), 199);
    const std::size_t lineFeed = whole.find('\n');
    if (lineFeed != std::string::npos) end = std::min(end, lineFeed + 1);
    FUZZ_CHECK(*converted == whole.substr(0, end));

    for (std::size_t i = 0; i < converted->size(); ++i) {
        const auto out = static_cast<unsigned char>((*converted)[i]);
        if (!IsWindows1250Letter(out)) continue;
        const auto in = static_cast<unsigned char>(text[i]);
        FUZZ_CHECK(MazoviaOf(in) == out);
    }

    FUZZ_CHECK(ReadFile("naglowek.txt") == whole);
    FUZZ_CHECK(!Exists("naglowek_we.txt"));
    return 0;
}
