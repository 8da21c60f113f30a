#include "sim/RecordFields.h"

#include "sim/ReplayLog.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <string>
#include <type_traits>

// Elements of a record's array field (packed fields cannot bind to the
// references std::size takes).
#define CountOf(field) (sizeof(field) / sizeof((field)[0]))

namespace sim {

namespace {

// How many elements a record's pointer field points to: the rate entries of
// a SetPtuRequest as many as its count says, never more than the seven
// rates; the three texts of a ReceiptEndRequest.
std::size_t PointedCount(const qm47::SetPtuRequest& request)
{
    return std::min<std::size_t>(request.count, qm47::kRateCount);
}
std::size_t PointedCount(const qm47::ReceiptEndRequest&) { return 3; }

// One element of an array field, or of what a pointer field points to,
// under `name`: a value, or an element record's fields as `name.field`.
template <class Element>
void WriteElement(JournalLine& line, const std::string& name, Element element)
{
    if constexpr (std::is_same_v<Element, std::uint8_t>) line.Byte(name, element);
    else if constexpr (std::is_same_v<Element, std::int32_t> || std::is_same_v<Element, std::uint32_t>)
        line.Integer(name, element);
    else if constexpr (std::is_same_v<Element, const char*>) line.Text(name, element);
    else WriteFields(line, element, name + ".");
}

} // namespace

// Each field as its record's list (app/Records.h) names and orders it, by
// its kind there; only what a pointer points to is counted by hand above.
#define QM47_SIM_WRITE_Byte(member) line.Byte(prefix + #member, record.member);
#define QM47_SIM_WRITE_Int32(member) line.Integer(prefix + #member, record.member);
#define QM47_SIM_WRITE_UInt32(member) line.Integer(prefix + #member, record.member);
#define QM47_SIM_WRITE_Text(member) line.Text(prefix + #member, record.member);
#define QM47_SIM_WRITE_Array(member)                                   \
    for (std::size_t i = 0; i < CountOf(record.member); ++i)           \
        WriteElement(line, Indexed(prefix + #member, i), record.member[i]);
#define QM47_SIM_WRITE_Pointer(member)                                 \
    if (!record.member) line.Null(prefix + #member);                   \
    else                                                               \
        for (std::size_t i = 0; i < PointedCount(record); ++i)         \
            WriteElement(line, Indexed(prefix + #member, i), record.member[i]);
#define QM47_SIM_WRITE_FIELD(member, offset, width, kind) QM47_SIM_WRITE_##kind(member)
#define QM47_SIM_WRITE_FIELDS(Type, size32, role)                                          \
    void WriteFields(JournalLine& line, const qm47::Type& record, const std::string& prefix) \
    {                                                                                      \
        QM47_FIELDS_##Type(QM47_SIM_WRITE_FIELD)                                           \
    }
QM47_RECORDS(QM47_SIM_WRITE_FIELDS)

namespace {

// A value as a log writes it, of the field's type.
template <class T>
std::optional<T> LoggedValue(std::string_view value, const TextKeeper& keep)
{
    if constexpr (std::is_same_v<T, const char*>) {
        if (value == "null") return static_cast<const char*>(nullptr);
        auto text = replay::TakeQuoted(value);
        if (!text || !value.empty()) return std::nullopt;
        return keep(std::move(*text));
    } else {
        T number{};
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
        return number;
    }
}

} // namespace

#define QM47_SIM_SET_VALUE(target, type)                  \
    {                                                     \
        const auto set = LoggedValue<type>(value, keep);  \
        if (set) target = *set;                           \
        return set.has_value();                           \
    }
#define QM47_SIM_SET_SCALAR(member) \
    if (name == #member) QM47_SIM_SET_VALUE(record.member, std::remove_cv_t<decltype(record.member)>)
#define QM47_SIM_SET_Byte(member) QM47_SIM_SET_SCALAR(member)
#define QM47_SIM_SET_Int32(member) QM47_SIM_SET_SCALAR(member)
#define QM47_SIM_SET_UInt32(member) QM47_SIM_SET_SCALAR(member)
#define QM47_SIM_SET_Text(member) QM47_SIM_SET_SCALAR(member)
#define QM47_SIM_SET_Array(member)                                 \
    for (std::size_t i = 0; i < CountOf(record.member); ++i)       \
        if (name == Indexed(#member, i))                           \
            QM47_SIM_SET_VALUE(record.member[i], std::remove_cv_t<std::remove_extent_t<decltype(record.member)>>)
#define QM47_SIM_SET_FIELD(member, offset, width, kind) QM47_SIM_SET_##kind(member)
#define QM47_SIM_DEFINE_SET_FIELD(Type)                                                                        \
    bool SetField(qm47::Type& record, std::string_view name, std::string_view value, const TextKeeper& keep) \
    {                                                                                                          \
        QM47_FIELDS_##Type(QM47_SIM_SET_FIELD) return false;                                                   \
    }
QM47_SIM_DEFINE_SET_FIELD(PrinterStatus)
QM47_SIM_DEFINE_SET_FIELD(CashRegisterStatus)
QM47_SIM_DEFINE_SET_FIELD(DeviceIdentity)
QM47_SIM_DEFINE_SET_FIELD(FiscalStatus)
QM47_SIM_DEFINE_SET_FIELD(ClockTime)
QM47_SIM_DEFINE_SET_FIELD(GoodsQueryResult)

void ClearTexts(qm47::PrinterStatus&) {}
void ClearTexts(qm47::CashRegisterStatus&) {}
void ClearTexts(qm47::ClockTime&) {}

void ClearTexts(qm47::DeviceIdentity& identity)
{
    identity.namePart1 = nullptr;
    identity.namePart2 = nullptr;
}

void ClearTexts(qm47::FiscalStatus& status)
{
    for (std::size_t i = 0; i < qm47::kRateCount; ++i) {
        status.ptuRate[i] = nullptr;
        status.totalizer[i] = nullptr;
    }
    status.unused69 = nullptr;
    status.uniqueNumber = nullptr;
}

void ClearTexts(qm47::GoodsQueryResult& result) { result.rateText = nullptr; }

} // namespace sim
