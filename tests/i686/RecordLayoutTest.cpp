// The records of app/Records.h as this 32-bit build lays them out, read back
// by the documented offsets that the 32-bit simulated printer checks every
// call against: every byte of each record holds a value of its own, so a
// field at another offset, of another width or missing cannot agree by
// chance. And the mistake the check is there for, a record left unpacked,
// is found and named.

#include "app/Records.h"
#include "sim/RecordLayout.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

static_assert(sim::kChecksRecordLayouts, "a 32-bit build checks the record layouts");

// Gives every byte of `record` its own value, counting from `first`.
template <class Record>
void FillDistinct(Record& record, unsigned char first)
{
    std::array<unsigned char, sizeof(Record)> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(first + i);
    std::memcpy(&record, bytes.data(), bytes.size());
}

// A record with every byte its own value agrees with its documented offsets.
template <class Record>
void ExpectAgrees()
{
    Record record;
    FillDistinct(record, 1);
    EXPECT_EQ(sim::CheckLayout(record), std::vector<std::string>{}) << typeid(Record).name();
}

template <class... Records>
void ExpectEachAgrees()
{
    (ExpectAgrees<Records>(), ...);
}

TEST(RecordLayout32, EveryRecordAgreesWithTheDocumentedOffsets)
{
    ExpectEachAgrees<qm47::PrinterStatus, qm47::CashRegisterStatus, qm47::DeviceIdentity, qm47::FiscalStatus,
                     qm47::ClockTime, qm47::SetClockRequest, qm47::DailyReportRequest, qm47::NumberReportRequest,
                     qm47::DateReportRequest, qm47::GoodsQueryResult, qm47::GoodsPrintRequest,
                     qm47::SaleLineRequest>();
}

// The records that point to arrays: the arrays are checked too.
TEST(RecordLayout32, ArraysThatRecordsPointToAgreeToo)
{
    qm47::PtuRateEntry entries[7];
    for (std::size_t i = 0; i < 7; ++i) FillDistinct(entries[i], static_cast<unsigned char>(100 + 8 * i));
    qm47::SetPtuRequest rates;
    FillDistinct(rates, 1);
    rates.count = 7;
    rates.entries = entries;
    EXPECT_EQ(sim::CheckLayout(rates), std::vector<std::string>{});

    const char* texts[3] = {"a", "b", "c"};
    qm47::ReceiptEndRequest end;
    FillDistinct(end, 1);
    end.texts3 = texts;
    EXPECT_EQ(sim::CheckLayout(end), std::vector<std::string>{});
}

// SetClockRequest as a compiler lays it out without packing: the pointers
// on 4-byte boundaries.
struct UnpackedClockRequest {
    std::uint8_t year, month, day, hour, minute, second;
    const char* registerNumber;
    const char* cashier;
};

TEST(RecordLayout32, AnUnpackedRecordIsFoundAndItsMisplacedFieldsNamed)
{
    UnpackedClockRequest record;
    std::memset(&record, 0, sizeof record); // the padding too
    record.year = 3;
    record.month = 7;
    record.day = 2;
    record.hour = 9;
    record.minute = 5;
    record.registerNumber = "001";
    record.cashier = "SERWIS";
    const std::vector<std::uint32_t> values = {
        record.year,   record.month,  record.day, record.hour, record.minute, record.second,
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(record.registerNumber)),
        static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(record.cashier))};
    EXPECT_EQ(sim::LayoutDifferences(sim::SetClockRequestLayout(), &record, sizeof record, values),
              (std::vector<std::string>{"size(16!=14)", "registerNumber@6", "cashier@10"}));
}

} // namespace
