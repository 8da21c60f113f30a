#pragma once
// Numbers typed into a page: the usual rule for decimal text. Leading white
// space is skipped, an optional sign follows, then digits up to the first
// other character; a text without digits there gives 0. A value beyond the
// 32-bit range is clamped to its nearest end, so it never wraps into range.

#include <cstdint>
#include <limits>
#include <string_view>

namespace qm47 {

constexpr std::int32_t ParseDecimal(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';

    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    std::int64_t magnitude = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        magnitude = magnitude * 10 + (text[at] - '0');
        if (magnitude > -kMin) magnitude = -kMin; // stays bounded however long the text
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<std::int32_t>(value > kMax ? kMax : value < kMin ? kMin : value);
}

// The low 8 bits of a number, as a one-byte field keeps it.
constexpr std::uint8_t LowByte(std::int32_t value)
{
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}

} // namespace qm47
