#pragma once
// The records of the device library as journal fields, under the field
// names of app/Records.h and in their order, and the null_texts fault that
// clears an output record's text pointers.

#include "app/Records.h"
#include "sim/Journal.h"

#include <string>

namespace sim {

// Appends every field of a record under its name, `prefix` before each.
#define QM47_SIM_DECLARE_WRITE_FIELDS(Type, size32, role) \
    void WriteFields(JournalLine& line, const qm47::Type& record, const std::string& prefix = {});
QM47_RECORDS(QM47_SIM_DECLARE_WRITE_FIELDS)
#undef QM47_SIM_DECLARE_WRITE_FIELDS

// Sets every text pointer of an output record to null.
void ClearTexts(qm47::PrinterStatus&);
void ClearTexts(qm47::CashRegisterStatus&);
void ClearTexts(qm47::DeviceIdentity& identity);
void ClearTexts(qm47::FiscalStatus& status);
void ClearTexts(qm47::ClockTime&);
void ClearTexts(qm47::GoodsQueryResult& result);

} // namespace sim
