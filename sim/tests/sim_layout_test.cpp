// The documented record layouts the 32-bit simulated printer checks callers
// against, and the comparison itself on hand-made record bytes (the check of
// real records needs 32-bit pointers: tests/i686 and the 32-bit end-to-end
// run).

#include "sim/RecordLayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using sim::LayoutDifferences;

TEST(RecordLayouts, EachTableCoversItsRecordByteByByteInOrder)
{
    std::set<std::string_view> records;
    for (const sim::RecordLayout* layout : sim::AllLayouts()) {
        SCOPED_TRACE(std::string(layout->name));
        EXPECT_TRUE(records.insert(layout->name).second) << "listed twice";
        std::size_t next = 0;
        std::set<std::string_view> names;
        for (const sim::LayoutField& field : layout->fields) {
            EXPECT_EQ(field.offset, next) << field.name << " leaves a gap or overlaps";
            EXPECT_TRUE(field.width == 1 || field.width == 4) << field.name << " is " << field.width << " bytes";
            EXPECT_TRUE(names.insert(field.name).second) << field.name << " twice";
            next = field.offset + field.width;
        }
        EXPECT_EQ(next, layout->size);
    }
    EXPECT_EQ(records.size(), 16u);
}

TEST(RecordLayouts, FieldsAreReadLittleEndianAtTheirOwnWidth)
{
    const unsigned char bytes[] = {0xAA, 0x78, 0x56, 0x34, 0x12, 0xBB};
    EXPECT_EQ(sim::ReadField(bytes, {"word", 1, 4}), 0x12345678u);
    EXPECT_EQ(sim::ReadField(bytes, {"byte", 1, 1}), 0x78u);
    EXPECT_EQ(sim::ReadField(bytes, {"byte", 5, 1}), 0xBBu);
}

// SetClockRequest bytes: six date and time bytes, then two 32-bit pointers.
std::vector<unsigned char> ClockBytes(std::size_t pointerOffset, std::size_t size, std::uint32_t registerNumber,
                                      std::uint32_t cashier)
{
    std::vector<unsigned char> bytes(size, 0);
    for (unsigned char i = 0; i < 6; ++i) bytes[i] = static_cast<unsigned char>(i + 1);
    std::memcpy(bytes.data() + pointerOffset, &registerNumber, 4);
    std::memcpy(bytes.data() + pointerOffset + 4, &cashier, 4);
    return bytes;
}

TEST(RecordLayouts, DifferencesNameEachFieldTheStructPlacesElsewhere)
{
    const std::vector<std::uint32_t> values = {1, 2, 3, 4, 5, 6, 0x00401000, 0x00402000};
    struct Case {
        const char* label;
        std::vector<unsigned char> bytes;
        std::size_t structSize;
        std::vector<std::uint32_t> values;
        std::vector<std::string> expected;
    };
    auto swapped = values;
    std::swap(swapped[1], swapped[2]);
    const Case cases[] = {
        {"as documented", ClockBytes(6, 14, 0x00401000, 0x00402000), 14, values, {}},
        // Not packed: the pointers aligned to 4 bytes.
        {"pointers aligned",
         ClockBytes(8, 16, 0x00401000, 0x00402000),
         16,
         values,
         {"size(16!=14)", "registerNumber@6", "cashier@10"}},
        {"month and day swapped", ClockBytes(6, 14, 0x00401000, 0x00402000), 14, swapped, {"month@1", "day@2"}},
        {"a field missing", ClockBytes(6, 14, 0x00401000, 0x00402000), 10,
         std::vector<std::uint32_t>(values.begin(), values.end() - 1), {"size(10!=14)", "cashier@10"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(LayoutDifferences(sim::SetClockRequestLayout(), c.bytes.data(), c.structSize, c.values), c.expected);
    }
    // The prefix names the array element of a record that another points to.
    const unsigned char entry[8] = {0, 0, 0, 0, 0x00, 0x30, 0x40, 0x00};
    const std::vector<std::uint32_t> entryValues = {0, 0x00403001};
    EXPECT_EQ(LayoutDifferences(sim::PtuRateEntryLayout(), entry, 8, entryValues, "entries[3]."),
              (std::vector<std::string>{"entries[3].rateText@4"}));
}

TEST(RecordLayouts, VerdictIsOkOrBadWithTheDifferences)
{
    EXPECT_EQ(sim::LayoutVerdict({}), "ok");
    EXPECT_EQ(sim::LayoutVerdict({"size(16!=14)", "cashier@10"}), "BAD:size(16!=14),cashier@10");
}

} // namespace
