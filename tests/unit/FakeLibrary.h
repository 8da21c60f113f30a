#pragma once
// A recording fake of the device library for the native tests: every export
// records its call (scalar arguments, texts, and the record's bytes as
// received), answers a configurable result, and fills output records through
// a configurable hook.

#include "app/DeviceLibrary.h"
#include "framework/testing/SoleInstance.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qm47::testing {

struct RecordedCall {
    std::string name;
    std::vector<std::int64_t> numbers;      // scalar arguments, in order
    std::vector<std::string> texts;         // text arguments, then the texts a record points to, in field order
    std::vector<unsigned char> recordBytes; // the record as received (pointers included)
    int waitCursorDepth = 0;                // wait cursors active during the call
};

class FakeLibrary : public fw::testing::SoleInstance<FakeLibrary> {
public:
    static constexpr const char* kName = "FakeLibrary";

    // A table with every export, less those named.
    DeviceLibrary Bind(std::initializer_list<std::string_view> without = {}) const;
    DeviceLibrary Bind(const std::vector<std::string_view>& without) const;

    // The names of the calls so far, in order.
    std::vector<std::string> Names() const;
    // The calls of one export.
    std::vector<RecordedCall> CallsOf(std::string_view name) const;
    void Clear() { calls.clear(); }

    std::vector<RecordedCall> calls;
    std::map<std::string, std::int32_t, std::less<>> results; // by export; 0 when absent

    // GetStatus_Printer: `onl` answers taken in order (the last repeats);
    // empty: `onl`. `printerFills` false leaves the record untouched.
    std::deque<std::int32_t> onlAnswers;
    std::int32_t onl = 1, pe = 0, err = 0;
    bool printerFills = true;
    CashRegisterStatus cashRegister{0, 0, 0, 0};
    bool cashRegisterFills = true;

    // Output records: hooks that fill them (none: left as received).
    std::function<void(DeviceIdentity&)> fillIdentity;
    std::function<void(FiscalStatus&)> fillFiscalStatus;
    std::function<void(ClockTime&)> fillClock;
    std::function<void(GoodsQueryResult&)> fillGoods;

    // Called during every call, after it is recorded.
    std::function<void(const RecordedCall&)> during;

    // Records a call (used by the fake exports).
    std::int32_t Record(RecordedCall call);
};

std::string TextOrNull(const char* text);

template <class Record>
std::vector<unsigned char> BytesOf(const Record& record)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    return {bytes, bytes + sizeof(Record)};
}

} // namespace qm47::testing
