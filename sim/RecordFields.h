#pragma once
// The records of the device library as journal fields, under the field
// names of app/Records.h and in their order, and the null_texts fault that
// clears an output record's text pointers.

#include "app/Records.h"
#include "sim/Journal.h"

namespace sim {

void WriteFields(JournalLine& line, const qm47::PrinterStatus& status);
void WriteFields(JournalLine& line, const qm47::CashRegisterStatus& status);
void WriteFields(JournalLine& line, const qm47::DeviceIdentity& identity);
void WriteFields(JournalLine& line, const qm47::FiscalStatus& status);
void WriteFields(JournalLine& line, const qm47::ClockTime& clock);
void WriteFields(JournalLine& line, const qm47::SetClockRequest& request);
void WriteFields(JournalLine& line, const qm47::SetPtuRequest& request);
void WriteFields(JournalLine& line, const qm47::DailyReportRequest& request);
void WriteFields(JournalLine& line, const qm47::NumberReportRequest& request);
void WriteFields(JournalLine& line, const qm47::DateReportRequest& request);
void WriteFields(JournalLine& line, const qm47::GoodsQueryResult& result);
void WriteFields(JournalLine& line, const qm47::GoodsPrintRequest& request);
void WriteFields(JournalLine& line, const qm47::SaleLineRequest& request);
void WriteFields(JournalLine& line, const qm47::ReceiptEndRequest& request);

// Sets every text pointer of an output record to null.
void ClearTexts(qm47::PrinterStatus&);
void ClearTexts(qm47::CashRegisterStatus&);
void ClearTexts(qm47::DeviceIdentity& identity);
void ClearTexts(qm47::FiscalStatus& status);
void ClearTexts(qm47::ClockTime&);
void ClearTexts(qm47::GoodsQueryResult& result);

// The most entries of a SetPtuRequest that are read: the seven rates.
inline constexpr std::size_t kRateCount = 7;

} // namespace sim
