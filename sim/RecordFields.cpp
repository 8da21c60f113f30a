#include "sim/RecordFields.h"

#include <algorithm>
#include <cstddef>

// Elements of a record's array field (packed fields cannot bind to the
// references std::size takes).
#define CountOf(field) (sizeof(field) / sizeof((field)[0]))

namespace sim {

void WriteFields(JournalLine& line, const qm47::PrinterStatus& status)
{
    line.Integer("onl", status.onl);
    line.Integer("pe", status.pe);
    line.Integer("err", status.err);
}

void WriteFields(JournalLine& line, const qm47::CashRegisterStatus& status)
{
    line.Integer("fsk", status.fsk);
    line.Integer("cmd", status.cmd);
    line.Integer("par", status.par);
    line.Integer("trf", status.trf);
}

void WriteFields(JournalLine& line, const qm47::DeviceIdentity& identity)
{
    line.Text("namePart1", identity.namePart1);
    line.Text("namePart2", identity.namePart2);
}

void WriteFields(JournalLine& line, const qm47::FiscalStatus& status)
{
    line.Byte("unused0", status.unused0);
    line.Byte("fiscalFlag", status.fiscalFlag);
    line.Byte("unused2", status.unused2);
    line.Byte("unused3", status.unused3);
    line.Byte("unused4", status.unused4);
    line.Byte("ramResets", status.ramResets);
    line.Byte("lastFmYear", status.lastFmYear);
    line.Byte("lastFmMonth", status.lastFmMonth);
    line.Byte("lastFmDay", status.lastFmDay);
    for (std::size_t i = 0; i < CountOf(status.ptuRate); ++i) line.Text(Indexed("ptuRate", i), status.ptuRate[i]);
    line.Integer("receiptCount", status.receiptCount);
    for (std::size_t i = 0; i < CountOf(status.totalizer); ++i) line.Text(Indexed("totalizer", i), status.totalizer[i]);
    line.Text("unused69", status.unused69);
    line.Text("uniqueNumber", status.uniqueNumber);
}

void WriteFields(JournalLine& line, const qm47::ClockTime& clock)
{
    line.Byte("year", clock.year);
    line.Byte("month", clock.month);
    line.Byte("day", clock.day);
    line.Byte("hour", clock.hour);
    line.Byte("minute", clock.minute);
    line.Byte("second", clock.second);
}

void WriteFields(JournalLine& line, const qm47::SetClockRequest& request)
{
    line.Byte("year", request.year);
    line.Byte("month", request.month);
    line.Byte("day", request.day);
    line.Byte("hour", request.hour);
    line.Byte("minute", request.minute);
    line.Byte("second", request.second);
    line.Text("registerNumber", request.registerNumber);
    line.Text("cashier", request.cashier);
}

void WriteFields(JournalLine& line, const qm47::SetPtuRequest& request)
{
    line.Byte("count", request.count);
    line.Byte("reserved1", request.reserved1);
    for (std::size_t i = 0; i < CountOf(request.reserved2); ++i) line.Byte(Indexed("reserved2", i), request.reserved2[i]);
    if (!request.entries) {
        line.Null("entries");
    } else {
        // The record carries seven entries; a larger count is not followed
        // past them.
        const std::size_t count = std::min<std::size_t>(request.count, kRateCount);
        for (std::size_t i = 0; i < count; ++i) {
            line.Integer(Indexed("entries", i, "reserved"), request.entries[i].reserved);
            line.Text(Indexed("entries", i, "rateText"), request.entries[i].rateText);
        }
    }
    line.Text("registerNumber", request.registerNumber);
    line.Text("cashier", request.cashier);
}

void WriteFields(JournalLine& line, const qm47::DailyReportRequest& request)
{
    line.Byte("kind", request.kind);
    for (std::size_t i = 0; i < CountOf(request.reserved); ++i) line.Byte(Indexed("reserved", i), request.reserved[i]);
    line.Text("registerNumber", request.registerNumber);
    line.Text("cashier", request.cashier);
}

void WriteFields(JournalLine& line, const qm47::NumberReportRequest& request)
{
    line.Byte("kind", request.kind);
    line.Integer("firstNumber", request.firstNumber);
    line.Integer("lastNumber", request.lastNumber);
    line.Text("registerNumber", request.registerNumber);
    line.Text("cashier", request.cashier);
}

void WriteFields(JournalLine& line, const qm47::DateReportRequest& request)
{
    line.Byte("firstYear", request.firstYear);
    line.Byte("firstMonth", request.firstMonth);
    line.Byte("firstDay", request.firstDay);
    line.Byte("lastYear", request.lastYear);
    line.Byte("lastMonth", request.lastMonth);
    line.Byte("lastDay", request.lastDay);
    line.Byte("kind", request.kind);
    line.Text("registerNumber", request.registerNumber);
    line.Text("cashier", request.cashier);
}

void WriteFields(JournalLine& line, const qm47::GoodsQueryResult& result)
{
    line.Byte("blocked", result.blocked);
    line.Text("rateText", result.rateText);
}

void WriteFields(JournalLine& line, const qm47::GoodsPrintRequest& request)
{
    line.Byte("step", request.step);
    line.Text("goodsName", request.goodsName);
    line.Text("rateLetter", request.rateLetter);
    line.Text("registerNumber", request.registerNumber);
    line.Text("cashier", request.cashier);
}

void WriteFields(JournalLine& line, const qm47::SaleLineRequest& request)
{
    line.Byte("lineByteA", request.lineByteA);
    line.Byte("lineByteB", request.lineByteB);
    line.Text("name", request.name);
    line.Integer("slot6", request.slot6);
    line.Text("quantity", request.quantity);
    line.Byte("rateLetter", request.rateLetter);
    line.Integer("slot15", request.slot15);
    line.Text("price", request.price);
    line.Integer("slot23", request.slot23);
    line.Text("value", request.value);
    line.Integer("slot31", request.slot31);
    line.Text("lastText", request.lastText);
}

void WriteFields(JournalLine& line, const qm47::ReceiptEndRequest& request)
{
    line.Byte("endByte", request.endByte);
    for (std::size_t i = 0; i < CountOf(request.fields); ++i) line.Byte(Indexed("fields", i), request.fields[i]);
    line.Text("code", request.code);
    if (!request.texts3) {
        line.Null("texts3");
    } else {
        for (std::size_t i = 0; i < 3; ++i) line.Text(Indexed("texts3", i), request.texts3[i]);
    }
    line.Text("text19", request.text19);
    line.Text("text23", request.text23);
    line.Text("text27", request.text27);
    line.Integer("slot31", request.slot31);
    line.Text("amount", request.amount);
    for (std::size_t i = 0; i < CountOf(request.pairs); ++i) {
        line.Integer(Indexed("pairs", i, "slot"), request.pairs[i].slot);
        line.Text(Indexed("pairs", i, "text"), request.pairs[i].text);
    }
}

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
    for (std::size_t i = 0; i < kRateCount; ++i) {
        status.ptuRate[i] = nullptr;
        status.totalizer[i] = nullptr;
    }
    status.unused69 = nullptr;
    status.uniqueNumber = nullptr;
}

void ClearTexts(qm47::GoodsQueryResult& result) { result.rateText = nullptr; }

} // namespace sim
