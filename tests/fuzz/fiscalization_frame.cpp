// The fiscalization frame around any NIP, and the check sum of any text.
// What holds: the frame is ESC "P" "1$fNIP " <the NIP byte for byte> 0xFF
// <check sum> ESC "\", 14 bytes longer than the NIP, with no byte but these;
// the check sum is two lowercase hexadecimal digits, high digit first, of
// 0xFF exclusive-or every byte of the body ("1" up to 0xFF), which comes to
// the exclusive-or of "1$fNIP " and the NIP.

#include "FuzzCheck.h"

#include "serial/FiscalizationFrame.h"
#include "serial/SerialLink.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1; // capitals and everything else are not the check sum's digits
}

int CheckSumValue(std::string_view sum)
{
    if (sum.size() != 2 || HexDigit(sum[0]) < 0 || HexDigit(sum[1]) < 0) return -1;
    return HexDigit(sum[0]) * 16 + HexDigit(sum[1]);
}

unsigned Xor(std::string_view text, unsigned start)
{
    for (const char c : text) start ^= static_cast<unsigned char>(c);
    return start;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view nip(reinterpret_cast<const char*>(data), size);

    FUZZ_CHECK(CheckSumValue(qm47::CSerialLink::CheckSum(nip)) == static_cast<int>(Xor(nip, 0xFF)));

    const std::string frame = qm47::FiscalizationFrame(nip);
    const std::size_t n = nip.size();
    FUZZ_CHECK(frame.size() == 14 + n);
    FUZZ_CHECK(std::string_view(frame).substr(0, 9) == std::string_view("\x1B" "P1$fNIP "));
    FUZZ_CHECK(std::string_view(frame).substr(9, n) == nip);
    FUZZ_CHECK(frame[9 + n] == '\xFF');
    FUZZ_CHECK(std::string_view(frame).substr(12 + n) == std::string_view("\x1B\\"));

    const std::string_view body = std::string_view(frame).substr(2, 8 + n);
    const int sum = CheckSumValue(std::string_view(frame).substr(10 + n, 2));
    FUZZ_CHECK(sum >= 0);
    FUZZ_CHECK(sum == static_cast<int>(Xor(body, 0xFF)));
    FUZZ_CHECK(sum == static_cast<int>(Xor(nip, Xor("1$fNIP ", 0))));
    return 0;
}
