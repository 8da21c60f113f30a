#pragma once
// The records of the device library as journal fields, under the field
// names of app/Records.h and in their order, the null_texts fault that
// clears an output record's text pointers, and an output record's field set
// from a log.

#include "app/Records.h"
#include "sim/Journal.h"

#include <functional>
#include <string>
#include <string_view>

namespace sim {

// Appends every field of a record under its name, `prefix` before each.
#define QM47_SIM_DECLARE_WRITE_FIELDS(Type, size32, role) \
    void WriteFields(JournalLine& line, const qm47::Type& record, const std::string& prefix = {});
QM47_RECORDS(QM47_SIM_DECLARE_WRITE_FIELDS)
#undef QM47_SIM_DECLARE_WRITE_FIELDS

// Sets the field `name` of an output record (named as the journal names it:
// `onl`, `ptuRate[2]`) to `value` as a log writes it: a number, `null` or a
// quoted text, which `keep` keeps alive and points to. False, and the record
// unchanged, when it has no such field or the value does not fit it.
using TextKeeper = std::function<const char*(std::string)>;
#define QM47_SIM_DECLARE_SET_FIELD(Type) \
    bool SetField(qm47::Type& record, std::string_view name, std::string_view value, const TextKeeper& keep);
QM47_SIM_DECLARE_SET_FIELD(PrinterStatus)
QM47_SIM_DECLARE_SET_FIELD(CashRegisterStatus)
QM47_SIM_DECLARE_SET_FIELD(DeviceIdentity)
QM47_SIM_DECLARE_SET_FIELD(FiscalStatus)
QM47_SIM_DECLARE_SET_FIELD(ClockTime)
QM47_SIM_DECLARE_SET_FIELD(GoodsQueryResult)
#undef QM47_SIM_DECLARE_SET_FIELD

// Sets every text pointer of an output record to null.
void ClearTexts(qm47::PrinterStatus&);
void ClearTexts(qm47::CashRegisterStatus&);
void ClearTexts(qm47::DeviceIdentity& identity);
void ClearTexts(qm47::FiscalStatus& status);
void ClearTexts(qm47::ClockTime&);
void ClearTexts(qm47::GoodsQueryResult& result);

} // namespace sim
