// The usual rule for decimal text on any bytes, against the C library's
// reading of the same text clamped to 32 bits; and the one-byte cut of the
// result. With the sanitizers on, an overflow on a long run of digits ends
// the run as a finding.

#include "FuzzCheck.h"

#include "app/NumberText.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::int32_t value = qm47::ParseDecimal(text);
    FUZZ_CHECK(value == fuzz::StrtolClamped(text));

    const std::int64_t modulo = ((static_cast<std::int64_t>(value) % 256) + 256) % 256;
    FUZZ_CHECK(qm47::LowByte(value) == modulo);
    return 0;
}
