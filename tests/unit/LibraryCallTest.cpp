// The one calling place of the device library, as the native and 64-bit
// builds use it (a direct call). The 32-bit call itself is tested under Wine
// (tests/i686).

#include "app/LibraryCall.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

using qm47::LibraryCall;

std::int32_t TextByteRecord(const char* name, unsigned char letter, std::int32_t* record)
{
    *record = static_cast<std::int32_t>(std::strlen(name));
    return letter * 1000 + *record;
}

TEST(LibraryCallTest, DirectCallPassesTheArgumentsAndAnswersTheResult)
{
    std::int32_t record = 0;
    qm47::LibraryFault fault;
    EXPECT_EQ(LibraryCall(&TextByteRecord, fault)("MLEKO", 0xFF, &record), 255 * 1000 + 5);
    EXPECT_EQ(record, 5);
    EXPECT_EQ(LibraryCall(&TextByteRecord, fault)("", 'A', &record), 'A' * 1000);
    EXPECT_EQ(fault.raised, 0u);
}

} // namespace
