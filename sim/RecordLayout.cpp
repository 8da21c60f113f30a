#include "sim/RecordLayout.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sim {

namespace {

// The documented tables, offsets as the maker gives them (decimal).

constexpr LayoutField kPrinterStatus[] = {
    {"onl", 0, 4},
    {"pe", 4, 4},
    {"err", 8, 4},
};

constexpr LayoutField kCashRegisterStatus[] = {
    {"fsk", 0, 4},
    {"cmd", 4, 4},
    {"par", 8, 4},
    {"trf", 12, 4},
};

constexpr LayoutField kDeviceIdentity[] = {
    {"namePart1", 0, 4},
    {"namePart2", 4, 4},
};

constexpr LayoutField kFiscalStatus[] = {
    {"unused0", 0, 1},
    {"fiscalFlag", 1, 1},
    {"unused2", 2, 1},
    {"unused3", 3, 1},
    {"unused4", 4, 1},
    {"ramResets", 5, 1},
    {"lastFmYear", 6, 1},
    {"lastFmMonth", 7, 1},
    {"lastFmDay", 8, 1},
    {"ptuRate[0]", 9, 4},
    {"ptuRate[1]", 13, 4},
    {"ptuRate[2]", 17, 4},
    {"ptuRate[3]", 21, 4},
    {"ptuRate[4]", 25, 4},
    {"ptuRate[5]", 29, 4},
    {"ptuRate[6]", 33, 4},
    {"receiptCount", 37, 4},
    {"totalizer[0]", 41, 4},
    {"totalizer[1]", 45, 4},
    {"totalizer[2]", 49, 4},
    {"totalizer[3]", 53, 4},
    {"totalizer[4]", 57, 4},
    {"totalizer[5]", 61, 4},
    {"totalizer[6]", 65, 4},
    {"unused69", 69, 4},
    {"uniqueNumber", 73, 4},
};

constexpr LayoutField kClockTime[] = {
    {"year", 0, 1}, {"month", 1, 1}, {"day", 2, 1}, {"hour", 3, 1}, {"minute", 4, 1}, {"second", 5, 1},
};

constexpr LayoutField kSetClockRequest[] = {
    {"year", 0, 1},
    {"month", 1, 1},
    {"day", 2, 1},
    {"hour", 3, 1},
    {"minute", 4, 1},
    {"second", 5, 1},
    {"registerNumber", 6, 4},
    {"cashier", 10, 4},
};

constexpr LayoutField kPtuRateEntry[] = {
    {"reserved", 0, 4},
    {"rateText", 4, 4},
};

constexpr LayoutField kSetPtuRequest[] = {
    {"count", 0, 1},
    {"reserved1", 1, 1},
    {"reserved2[0]", 2, 1},
    {"reserved2[1]", 3, 1},
    {"reserved2[2]", 4, 1},
    {"entries", 5, 4},
    {"registerNumber", 9, 4},
    {"cashier", 13, 4},
};

constexpr LayoutField kDailyReportRequest[] = {
    {"kind", 0, 1},
    {"reserved[0]", 1, 1},
    {"reserved[1]", 2, 1},
    {"reserved[2]", 3, 1},
    {"registerNumber", 4, 4},
    {"cashier", 8, 4},
};

constexpr LayoutField kNumberReportRequest[] = {
    {"kind", 0, 1},
    {"firstNumber", 1, 4},
    {"lastNumber", 5, 4},
    {"registerNumber", 9, 4},
    {"cashier", 13, 4},
};

constexpr LayoutField kDateReportRequest[] = {
    {"firstYear", 0, 1},
    {"firstMonth", 1, 1},
    {"firstDay", 2, 1},
    {"lastYear", 3, 1},
    {"lastMonth", 4, 1},
    {"lastDay", 5, 1},
    {"kind", 6, 1},
    {"registerNumber", 7, 4},
    {"cashier", 11, 4},
};

constexpr LayoutField kGoodsQueryResult[] = {
    {"blocked", 0, 1},
    {"rateText", 1, 4},
};

constexpr LayoutField kGoodsPrintRequest[] = {
    {"step", 0, 1},
    {"goodsName", 1, 4},
    {"rateLetter", 5, 4},
    {"registerNumber", 9, 4},
    {"cashier", 13, 4},
};

constexpr LayoutField kSaleLineRequest[] = {
    {"lineByteA", 0, 1},
    {"lineByteB", 1, 1},
    {"name", 2, 4},
    {"slot6", 6, 4},
    {"quantity", 10, 4},
    {"rateLetter", 14, 1},
    {"slot15", 15, 4},
    {"price", 19, 4},
    {"slot23", 23, 4},
    {"value", 27, 4},
    {"slot31", 31, 4},
    {"lastText", 35, 4},
};

constexpr LayoutField kReceiptEndTexts[] = {
    {"[0]", 0, 4},
    {"[1]", 4, 4},
    {"[2]", 8, 4},
};

constexpr LayoutField kReceiptEndRequest[] = {
    {"endByte", 0, 1},
    {"fields[0]", 1, 1},
    {"fields[1]", 2, 1},
    {"fields[2]", 3, 1},
    {"fields[3]", 4, 1},
    {"fields[4]", 5, 1},
    {"fields[5]", 6, 1},
    {"fields[6]", 7, 1},
    {"fields[7]", 8, 1},
    {"fields[8]", 9, 1},
    {"fields[9]", 10, 1},
    {"code", 11, 4},
    {"texts3", 15, 4},
    {"text19", 19, 4},
    {"text23", 23, 4},
    {"text27", 27, 4},
    {"slot31", 31, 4},
    {"amount", 35, 4},
    {"pairs[0].slot", 39, 4},
    {"pairs[0].text", 43, 4},
    {"pairs[1].slot", 47, 4},
    {"pairs[1].text", 51, 4},
    {"pairs[2].slot", 55, 4},
    {"pairs[2].text", 59, 4},
    {"pairs[3].slot", 63, 4},
    {"pairs[3].text", 67, 4},
    {"pairs[4].slot", 71, 4},
    {"pairs[4].text", 75, 4},
    {"pairs[5].slot", 79, 4},
    {"pairs[5].text", 83, 4},
    {"pairs[6].slot", 87, 4},
    {"pairs[6].text", 91, 4},
    {"pairs[7].slot", 95, 4},
    {"pairs[7].text", 99, 4},
};

constexpr RecordLayout kLayouts[] = {
    {"PrinterStatus", 12, kPrinterStatus},
    {"CashRegisterStatus", 16, kCashRegisterStatus},
    {"DeviceIdentity", 8, kDeviceIdentity},
    {"FiscalStatus", 77, kFiscalStatus},
    {"ClockTime", 6, kClockTime},
    {"SetClockRequest", 14, kSetClockRequest},
    {"PtuRateEntry", 8, kPtuRateEntry},
    {"SetPtuRequest", 17, kSetPtuRequest},
    {"DailyReportRequest", 12, kDailyReportRequest},
    {"NumberReportRequest", 17, kNumberReportRequest},
    {"DateReportRequest", 15, kDateReportRequest},
    {"GoodsQueryResult", 5, kGoodsQueryResult},
    {"GoodsPrintRequest", 17, kGoodsPrintRequest},
    {"SaleLineRequest", 39, kSaleLineRequest},
    {"ReceiptEndRequest.texts3", 12, kReceiptEndTexts},
    {"ReceiptEndRequest", 103, kReceiptEndRequest},
};

constexpr std::array kLayoutList = {&kLayouts[0], &kLayouts[1], &kLayouts[2],  &kLayouts[3],
                                    &kLayouts[4], &kLayouts[5], &kLayouts[6],  &kLayouts[7],
                                    &kLayouts[8], &kLayouts[9], &kLayouts[10], &kLayouts[11],
                                    &kLayouts[12], &kLayouts[13], &kLayouts[14], &kLayouts[15]};

// --- The same fields as this build's structs hold them ---------------------

std::uint32_t Word(const void* pointer) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer)); }
std::uint32_t Word(std::int32_t value) { return static_cast<std::uint32_t>(value); }
std::uint32_t Word(std::uint32_t value) { return value; }
std::uint32_t Word(std::uint8_t value) { return value; }

using Values = std::vector<std::uint32_t>;

Values StructValues(const qm47::PrinterStatus& r) { return {Word(r.onl), Word(r.pe), Word(r.err)}; }

Values StructValues(const qm47::CashRegisterStatus& r) { return {Word(r.fsk), Word(r.cmd), Word(r.par), Word(r.trf)}; }

Values StructValues(const qm47::DeviceIdentity& r) { return {Word(r.namePart1), Word(r.namePart2)}; }

Values StructValues(const qm47::FiscalStatus& r)
{
    Values values = {Word(r.unused0),   Word(r.fiscalFlag), Word(r.unused2),    Word(r.unused3),  Word(r.unused4),
                     Word(r.ramResets), Word(r.lastFmYear), Word(r.lastFmMonth), Word(r.lastFmDay)};
    for (std::size_t i = 0; i < 7; ++i) values.push_back(Word(r.ptuRate[i]));
    values.push_back(Word(r.receiptCount));
    for (std::size_t i = 0; i < 7; ++i) values.push_back(Word(r.totalizer[i]));
    values.push_back(Word(r.unused69));
    values.push_back(Word(r.uniqueNumber));
    return values;
}

Values StructValues(const qm47::ClockTime& r)
{
    return {Word(r.year), Word(r.month), Word(r.day), Word(r.hour), Word(r.minute), Word(r.second)};
}

Values StructValues(const qm47::SetClockRequest& r)
{
    return {Word(r.year),   Word(r.month),  Word(r.day),            Word(r.hour),
            Word(r.minute), Word(r.second), Word(r.registerNumber), Word(r.cashier)};
}

Values StructValues(const qm47::PtuRateEntry& r) { return {Word(r.reserved), Word(r.rateText)}; }

Values StructValues(const qm47::SetPtuRequest& r)
{
    return {Word(r.count),   Word(r.reserved1),      Word(r.reserved2[0]), Word(r.reserved2[1]), Word(r.reserved2[2]),
            Word(r.entries), Word(r.registerNumber), Word(r.cashier)};
}

Values StructValues(const qm47::DailyReportRequest& r)
{
    return {Word(r.kind), Word(r.reserved[0]), Word(r.reserved[1]), Word(r.reserved[2]), Word(r.registerNumber),
            Word(r.cashier)};
}

Values StructValues(const qm47::NumberReportRequest& r)
{
    return {Word(r.kind), Word(r.firstNumber), Word(r.lastNumber), Word(r.registerNumber), Word(r.cashier)};
}

Values StructValues(const qm47::DateReportRequest& r)
{
    return {Word(r.firstYear), Word(r.firstMonth), Word(r.firstDay), Word(r.lastYear),      Word(r.lastMonth),
            Word(r.lastDay),   Word(r.kind),       Word(r.registerNumber), Word(r.cashier)};
}

Values StructValues(const qm47::GoodsQueryResult& r) { return {Word(r.blocked), Word(r.rateText)}; }

Values StructValues(const qm47::GoodsPrintRequest& r)
{
    return {Word(r.step), Word(r.goodsName), Word(r.rateLetter), Word(r.registerNumber), Word(r.cashier)};
}

Values StructValues(const qm47::SaleLineRequest& r)
{
    return {Word(r.lineByteA), Word(r.lineByteB),  Word(r.name),   Word(r.slot6),
            Word(r.quantity),  Word(r.rateLetter), Word(r.slot15), Word(r.price),
            Word(r.slot23),    Word(r.value),      Word(r.slot31), Word(r.lastText)};
}

Values StructValues(const qm47::ReceiptEndRequest& r)
{
    Values values = {Word(r.endByte)};
    for (std::size_t i = 0; i < 10; ++i) values.push_back(Word(r.fields[i]));
    values.insert(values.end(), {Word(r.code), Word(r.texts3), Word(r.text19), Word(r.text23), Word(r.text27),
                                 Word(r.slot31), Word(r.amount)});
    for (std::size_t i = 0; i < 8; ++i) {
        values.push_back(Word(r.pairs[i].slot));
        values.push_back(Word(r.pairs[i].text));
    }
    return values;
}

template <class Record>
std::vector<std::string> Check(const RecordLayout& layout, const Record& record, std::string_view prefix = {})
{
    return LayoutDifferences(layout, &record, sizeof(Record), StructValues(record), prefix);
}

void Append(std::vector<std::string>& to, std::vector<std::string> more)
{
    to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

} // namespace

const RecordLayout& PrinterStatusLayout() { return kLayouts[0]; }
const RecordLayout& CashRegisterStatusLayout() { return kLayouts[1]; }
const RecordLayout& DeviceIdentityLayout() { return kLayouts[2]; }
const RecordLayout& FiscalStatusLayout() { return kLayouts[3]; }
const RecordLayout& ClockTimeLayout() { return kLayouts[4]; }
const RecordLayout& SetClockRequestLayout() { return kLayouts[5]; }
const RecordLayout& PtuRateEntryLayout() { return kLayouts[6]; }
const RecordLayout& SetPtuRequestLayout() { return kLayouts[7]; }
const RecordLayout& DailyReportRequestLayout() { return kLayouts[8]; }
const RecordLayout& NumberReportRequestLayout() { return kLayouts[9]; }
const RecordLayout& DateReportRequestLayout() { return kLayouts[10]; }
const RecordLayout& GoodsQueryResultLayout() { return kLayouts[11]; }
const RecordLayout& GoodsPrintRequestLayout() { return kLayouts[12]; }
const RecordLayout& SaleLineRequestLayout() { return kLayouts[13]; }
const RecordLayout& ReceiptEndTextsLayout() { return kLayouts[14]; }
const RecordLayout& ReceiptEndRequestLayout() { return kLayouts[15]; }
std::span<const RecordLayout* const> AllLayouts() { return kLayoutList; }

std::uint32_t ReadField(const void* raw, const LayoutField& field)
{
    unsigned char bytes[4] = {};
    std::memcpy(bytes, static_cast<const unsigned char*>(raw) + field.offset, std::min<std::size_t>(field.width, 4));
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::vector<std::string> LayoutDifferences(const RecordLayout& layout, const void* raw, std::size_t structSize,
                                           std::span<const std::uint32_t> values, std::string_view prefix)
{
    std::vector<std::string> differences;
    if (structSize != layout.size) {
        differences.push_back(std::string(prefix) + "size(" + std::to_string(structSize) +
                              "!=" + std::to_string(layout.size) + ")");
    }
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        const LayoutField& field = layout.fields[i];
        // A struct of fewer fields than documented differs at the first one it lacks.
        if (i >= values.size() || ReadField(raw, field) != values[i]) {
            differences.push_back(std::string(prefix) + std::string(field.name) + "@" + std::to_string(field.offset));
        }
    }
    return differences;
}

std::vector<std::string> CheckLayout(const qm47::PrinterStatus& record) { return Check(PrinterStatusLayout(), record); }
std::vector<std::string> CheckLayout(const qm47::CashRegisterStatus& record)
{
    return Check(CashRegisterStatusLayout(), record);
}
std::vector<std::string> CheckLayout(const qm47::DeviceIdentity& record) { return Check(DeviceIdentityLayout(), record); }
std::vector<std::string> CheckLayout(const qm47::FiscalStatus& record) { return Check(FiscalStatusLayout(), record); }
std::vector<std::string> CheckLayout(const qm47::ClockTime& record) { return Check(ClockTimeLayout(), record); }
std::vector<std::string> CheckLayout(const qm47::SetClockRequest& record)
{
    return Check(SetClockRequestLayout(), record);
}

// The rate entries are followed only when the record itself agrees, so that
// the entry pointer read is the one the caller meant.
std::vector<std::string> CheckLayout(const qm47::SetPtuRequest& record)
{
    auto differences = Check(SetPtuRequestLayout(), record);
    const qm47::PtuRateEntry* entries = record.entries;
    if (!differences.empty() || !entries) return differences;
    const auto* entryBytes = reinterpret_cast<const unsigned char*>(entries);
    const std::size_t count = std::min<std::size_t>(record.count, 7);
    const std::size_t stride = PtuRateEntryLayout().size;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string prefix = "entries[" + std::to_string(i) + "].";
        Append(differences, LayoutDifferences(PtuRateEntryLayout(), entryBytes + i * stride,
                                              sizeof(qm47::PtuRateEntry), StructValues(entries[i]), prefix));
    }
    return differences;
}

std::vector<std::string> CheckLayout(const qm47::DailyReportRequest& record)
{
    return Check(DailyReportRequestLayout(), record);
}
std::vector<std::string> CheckLayout(const qm47::NumberReportRequest& record)
{
    return Check(NumberReportRequestLayout(), record);
}
std::vector<std::string> CheckLayout(const qm47::DateReportRequest& record)
{
    return Check(DateReportRequestLayout(), record);
}
std::vector<std::string> CheckLayout(const qm47::GoodsQueryResult& record)
{
    return Check(GoodsQueryResultLayout(), record);
}
std::vector<std::string> CheckLayout(const qm47::GoodsPrintRequest& record)
{
    return Check(GoodsPrintRequestLayout(), record);
}
std::vector<std::string> CheckLayout(const qm47::SaleLineRequest& record)
{
    return Check(SaleLineRequestLayout(), record);
}

std::vector<std::string> CheckLayout(const qm47::ReceiptEndRequest& record)
{
    auto differences = Check(ReceiptEndRequestLayout(), record);
    const char* const* texts = record.texts3;
    if (!differences.empty() || !texts) return differences;
    const Values values = {Word(texts[0]), Word(texts[1]), Word(texts[2])};
    Append(differences, LayoutDifferences(ReceiptEndTextsLayout(), texts, 3 * sizeof(const char*), values, "texts3"));
    return differences;
}

std::string LayoutVerdict(const std::vector<std::string>& differences)
{
    if (differences.empty()) return "ok";
    std::string verdict = "BAD:";
    for (std::size_t i = 0; i < differences.size(); ++i) {
        if (i > 0) verdict += ',';
        verdict += differences[i];
    }
    return verdict;
}

} // namespace sim
