// The one calling place of the device library, as the native and 64-bit
// builds use it (a direct call), and the rule that tells a 32-bit export's
// calling convention from the bytes it removed. The 32-bit call itself is
// tested under Wine (tests/i686).

#include "app/LibraryCall.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

using qm47::CallingConvention;
using qm47::ConventionOf;
using qm47::LibraryCall;

TEST(LibraryCallTest, ConventionFollowsFromTheBytesTheExportRemoved)
{
    struct Row {
        std::uint32_t popped;
        std::uint32_t argumentCount;
        CallingConvention expected;
    };
    const Row rows[] = {
        {0, 0, CallingConvention::Unknown}, // no arguments: both conventions look alike
        {4, 0, CallingConvention::Unknown},
        {4, 1, CallingConvention::CalleeCleans},
        {0, 1, CallingConvention::CallerCleans},
        {12, 3, CallingConvention::CalleeCleans},
        {0, 3, CallingConvention::CallerCleans},
        {8, 3, CallingConvention::Unknown}, // the export takes other arguments than it was given
        {4, 3, CallingConvention::Unknown},
        {16, 3, CallingConvention::Unknown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "popped " << row.popped << ", arguments " << row.argumentCount);
        EXPECT_EQ(ConventionOf(row.popped, row.argumentCount), row.expected);
    }
}

std::int32_t TextByteRecord(const char* name, unsigned char letter, std::int32_t* record)
{
    *record = static_cast<std::int32_t>(std::strlen(name));
    return letter * 1000 + *record;
}

TEST(LibraryCallTest, DirectCallPassesTheArgumentsAndAnswersTheResult)
{
    std::int32_t record = 0;
    const qm47::LibraryCallOutcome outcome = LibraryCall(&TextByteRecord).Call("MLEKO", 0xFF, &record);
    EXPECT_EQ(outcome.result, 255 * 1000 + 5);
    EXPECT_EQ(outcome.calleePoppedBytes, 0u);
    EXPECT_EQ(record, 5);
    EXPECT_EQ(LibraryCall(&TextByteRecord)("", 'A', &record), 'A' * 1000);
}

} // namespace
