#pragma once
// What the fuzz targets share: a property check that ends the run with a
// message when it does not hold (libFuzzer then keeps the input as a
// finding), and the usual rule for decimal text written a second way, for
// comparison.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::fuzz::Fail(#condition, __FILE__, __LINE__))

namespace fuzz {

[[noreturn]] inline void Fail(const char* property, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, property);
    std::abort();
}

// The C library's reading of a decimal text (white space, sign, digits),
// clamped to the 32-bit range.
inline std::int32_t StrtolClamped(std::string_view text)
{
    const std::string copy(text); // zero-terminated; a zero byte ends the number as any other non-digit
    errno = 0;
    const long long value = std::strtoll(copy.c_str(), nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

// Whether the text is an unsigned decimal number written without leading
// zeros ("0" itself included).
inline bool IsPlainDecimal(std::string_view digits)
{
    if (digits.empty() || (digits.size() > 1 && digits[0] == '0')) return false;
    for (const char c : digits)
        if (c < '0' || c > '9') return false;
    return true;
}

// The parts of a text between its separators.
inline std::vector<std::string> Split(std::string_view text, char separator)
{
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator) parts.emplace_back();
        else parts.back() += c;
    }
    return parts;
}

} // namespace fuzz
