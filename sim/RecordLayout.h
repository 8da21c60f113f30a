#pragma once
// The records of the device library as the maker lays them out for 32-bit
// Windows, field by field at fixed byte offsets, and a run-time check of this
// build's record structs (app/Records.h) against them.
//
// The check reads every field of a record the caller passes straight from its
// bytes, at the documented offset and width (independently of the struct),
// and compares it with what the struct's member holds. Where pointers are 32
// bits, every call with a record is checked: the journal gets `layout=ok`, or
// `layout=BAD:<field>@<offset>,...` and the call is refused (kLayoutMismatch),
// so a program whose records are laid out otherwise cannot pass for one that
// works. Where pointers are wider the documented offsets do not apply and
// nothing is checked.

#include "app/Records.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

inline constexpr bool kChecksRecordLayouts = sizeof(void*) == 4;

// One field: `width` bytes (1 or 4, little-endian) at `offset`.
struct LayoutField {
    std::string_view name;
    std::size_t offset;
    std::size_t width;
};

// A record's documented layout: its size and every byte of it as a field.
struct RecordLayout {
    std::string_view name;
    std::size_t size;
    std::span<const LayoutField> fields;
};

// The documented layouts: the records, one rate entry of SetPtuRequest, and
// the array of three text pointers that ReceiptEndRequest points to.
const RecordLayout& PrinterStatusLayout();
const RecordLayout& CashRegisterStatusLayout();
const RecordLayout& DeviceIdentityLayout();
const RecordLayout& FiscalStatusLayout();
const RecordLayout& ClockTimeLayout();
const RecordLayout& SetClockRequestLayout();
const RecordLayout& PtuRateEntryLayout();
const RecordLayout& SetPtuRequestLayout();
const RecordLayout& DailyReportRequestLayout();
const RecordLayout& NumberReportRequestLayout();
const RecordLayout& DateReportRequestLayout();
const RecordLayout& GoodsQueryResultLayout();
const RecordLayout& GoodsPrintRequestLayout();
const RecordLayout& SaleLineRequestLayout();
const RecordLayout& ReceiptEndTextsLayout();
const RecordLayout& ReceiptEndRequestLayout();
std::span<const RecordLayout* const> AllLayouts();

// The field `field` read from the record bytes at `raw`.
std::uint32_t ReadField(const void* raw, const LayoutField& field);

// Compares the record bytes at `raw`, read by `layout`, with `values`: the
// same fields as a record struct of `structSize` bytes holds them, in the
// layout's order. Answers each disagreement as "<prefix><field>@<offset>",
// and "<prefix>size(<struct>!=<documented>)" for a struct of another size;
// nothing when all agree.
std::vector<std::string> LayoutDifferences(const RecordLayout& layout, const void* raw, std::size_t structSize,
                                           std::span<const std::uint32_t> values, std::string_view prefix = {});

// The differences of a record that a caller passed (or that the library is
// about to hand back) from its documented layout, arrays it points to
// included (the rate entries of SetPtuRequest, up to seven; the three texts
// of ReceiptEndRequest). Meaningful only where kChecksRecordLayouts holds.
std::vector<std::string> CheckLayout(const qm47::PrinterStatus& record);
std::vector<std::string> CheckLayout(const qm47::CashRegisterStatus& record);
std::vector<std::string> CheckLayout(const qm47::DeviceIdentity& record);
std::vector<std::string> CheckLayout(const qm47::FiscalStatus& record);
std::vector<std::string> CheckLayout(const qm47::ClockTime& record);
std::vector<std::string> CheckLayout(const qm47::SetClockRequest& record);
std::vector<std::string> CheckLayout(const qm47::SetPtuRequest& record);
std::vector<std::string> CheckLayout(const qm47::DailyReportRequest& record);
std::vector<std::string> CheckLayout(const qm47::NumberReportRequest& record);
std::vector<std::string> CheckLayout(const qm47::DateReportRequest& record);
std::vector<std::string> CheckLayout(const qm47::GoodsQueryResult& record);
std::vector<std::string> CheckLayout(const qm47::GoodsPrintRequest& record);
std::vector<std::string> CheckLayout(const qm47::SaleLineRequest& record);
std::vector<std::string> CheckLayout(const qm47::ReceiptEndRequest& record);

// The journal's verdict: "ok", or "BAD:" and the differences joined by commas.
std::string LayoutVerdict(const std::vector<std::string>& differences);

} // namespace sim
