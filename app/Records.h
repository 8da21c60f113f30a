#pragma once
// The records exchanged with the device library, byte-packed with the fields
// in the library's order. Texts are pointers to zero-terminated Windows-1250
// bytes. On 32-bit Windows every pointer is 4 bytes and the layout is the
// library's exactly; on 64-bit builds pointers are 8 bytes and later offsets
// shift, still without padding. Each record's field list (QM47_FIELDS_<Record>,
// see app/RecordFieldList.h) follows its struct and is checked against it at
// the end of this file.

#include "app/RecordFieldList.h"

#include <cstddef>
#include <cstdint>

namespace qm47 {

// The tax rates A to G.
inline constexpr std::size_t kRateCount = 7;

// What a status field holds when the library leaves it untouched: every
// field of the two status records is preset to it before each call.
inline constexpr std::int32_t kNoAnswer = 9;

// The year the printer's one-byte years count from: the fiscal memory's
// dates from it alone, the clock's and the reports' years up to 49 from it
// and the others from the century before.
inline constexpr int kFirstRegisterYear = 2000;
// The clock's and the reports' two-digit years: one below this is a year of
// kFirstRegisterYear's century, any other one of the century before, so that
// they stand for 1950 to 2049.
inline constexpr int kCenturyPivot = 50;

#pragma pack(push, 1)

// GetStatus_Printer. Every field preset to kNoAnswer before each call.
struct PrinterStatus {
    std::int32_t onl; // 1 on-line, 0 off-line, anything else no answer
    std::int32_t pe;
    std::int32_t err;
};
#define QM47_FIELDS_PrinterStatus(FIELD) \
    FIELD(onl, 0, 4, Int32)              \
    FIELD(pe, 4, 4, Int32)               \
    FIELD(err, 8, 4, Int32)

// GetStatus_CashRegister. Every field preset to kNoAnswer before each call.
struct CashRegisterStatus {
    std::int32_t fsk;
    std::int32_t cmd;
    std::int32_t par; // 1: the printer is in transaction mode
    std::int32_t trf;
};
#define QM47_FIELDS_CashRegisterStatus(FIELD) \
    FIELD(fsk, 0, 4, Int32)                   \
    FIELD(cmd, 4, 4, Int32)                   \
    FIELD(par, 8, 4, Int32)                   \
    FIELD(trf, 12, 4, Int32)

// LBIDRQ: the two parts of the device name.
struct DeviceIdentity {
    const char* namePart1;
    const char* namePart2;
};
#define QM47_FIELDS_DeviceIdentity(FIELD) \
    FIELD(namePart1, 0, 4, Text)          \
    FIELD(namePart2, 4, 4, Text)

// LBFSTRQ: the fiscal status.
struct FiscalStatus {
    std::uint8_t unused0;
    std::uint8_t fiscalFlag; // byte value 1: fiscal mode
    std::uint8_t unused2;
    std::uint8_t unused3;
    std::uint8_t unused4;
    std::uint8_t ramResets;
    std::uint8_t lastFmYear; // counted from kFirstRegisterYear
    std::uint8_t lastFmMonth;
    std::uint8_t lastFmDay;
    const char* ptuRate[kRateCount]; // A to G, "22.00"; "100.00" exempt, "101.00" inactive
    std::int32_t receiptCount;
    const char* totalizer[kRateCount]; // A to G
    const char* unused69;
    const char* uniqueNumber;
};
#define QM47_FIELDS_FiscalStatus(FIELD) \
    FIELD(unused0, 0, 1, Byte)          \
    FIELD(fiscalFlag, 1, 1, Byte)       \
    FIELD(unused2, 2, 1, Byte)          \
    FIELD(unused3, 3, 1, Byte)          \
    FIELD(unused4, 4, 1, Byte)          \
    FIELD(ramResets, 5, 1, Byte)        \
    FIELD(lastFmYear, 6, 1, Byte)       \
    FIELD(lastFmMonth, 7, 1, Byte)      \
    FIELD(lastFmDay, 8, 1, Byte)        \
    FIELD(ptuRate, 9, 28, Array)        \
    FIELD(receiptCount, 37, 4, Int32)   \
    FIELD(totalizer, 41, 28, Array)     \
    FIELD(unused69, 69, 4, Text)        \
    FIELD(uniqueNumber, 73, 4, Text)

// A FiscalStatus to hand to LBFSTRQ: numbers 0 and every text "0", so that a
// field the library leaves alone reads as such.
inline FiscalStatus PresetFiscalStatus()
{
    static constexpr const char* kZero = "0";
    FiscalStatus status{};
    // Indexed, not by reference: the record is packed and its pointers unaligned.
    for (std::size_t i = 0; i < kRateCount; ++i) {
        status.ptuRate[i] = kZero;
        status.totalizer[i] = kZero;
    }
    status.unused69 = kZero;
    status.uniqueNumber = kZero;
    return status;
}

// LBSENDCK: the printer's clock.
struct ClockTime {
    std::uint8_t year; // within the century
    std::uint8_t month;
    std::uint8_t day;
    std::uint8_t hour;
    std::uint8_t minute;
    std::uint8_t second;
};
#define QM47_FIELDS_ClockTime(FIELD) \
    FIELD(year, 0, 1, Byte)          \
    FIELD(month, 1, 1, Byte)         \
    FIELD(day, 2, 1, Byte)           \
    FIELD(hour, 3, 1, Byte)          \
    FIELD(minute, 4, 1, Byte)        \
    FIELD(second, 5, 1, Byte)

// LBSETCK.
struct SetClockRequest {
    std::uint8_t year;
    std::uint8_t month;
    std::uint8_t day;
    std::uint8_t hour;
    std::uint8_t minute;
    std::uint8_t second;
    const char* registerNumber;
    const char* cashier;
};
#define QM47_FIELDS_SetClockRequest(FIELD) \
    FIELD(year, 0, 1, Byte)                \
    FIELD(month, 1, 1, Byte)               \
    FIELD(day, 2, 1, Byte)                 \
    FIELD(hour, 3, 1, Byte)                \
    FIELD(minute, 4, 1, Byte)              \
    FIELD(second, 5, 1, Byte)              \
    FIELD(registerNumber, 6, 4, Text)      \
    FIELD(cashier, 10, 4, Text)

// One rate of SetPtuRequest.
struct PtuRateEntry {
    std::uint32_t reserved;
    const char* rateText; // exactly as typed
};
#define QM47_FIELDS_PtuRateEntry(FIELD) \
    FIELD(reserved, 0, 4, UInt32)       \
    FIELD(rateText, 4, 4, Text)

// LBSETPTU.
struct SetPtuRequest {
    std::uint8_t count; // kRateCount
    std::uint8_t reserved1;
    std::uint8_t reserved2[3];
    PtuRateEntry* entries; // `count` entries, A to G
    const char* registerNumber;
    const char* cashier;
};
#define QM47_FIELDS_SetPtuRequest(FIELD) \
    FIELD(count, 0, 1, Byte)             \
    FIELD(reserved1, 1, 1, Byte)         \
    FIELD(reserved2, 2, 3, Array)        \
    FIELD(entries, 5, 4, Pointer)        \
    FIELD(registerNumber, 9, 4, Text)    \
    FIELD(cashier, 13, 4, Text)

// LBDAYREP. Its text pointers sit after three reserved bytes.
struct DailyReportRequest {
    std::uint8_t kind; // 0
    std::uint8_t reserved[3];
    const char* registerNumber;
    const char* cashier;
};
#define QM47_FIELDS_DailyReportRequest(FIELD) \
    FIELD(kind, 0, 1, Byte)                   \
    FIELD(reserved, 1, 3, Array)              \
    FIELD(registerNumber, 4, 4, Text)         \
    FIELD(cashier, 8, 4, Text)

// LBFSKREP_R.
struct NumberReportRequest {
    std::uint8_t kind; // 0x10 full, 0x11 short
    std::int32_t firstNumber;
    std::int32_t lastNumber;
    const char* registerNumber;
    const char* cashier;
};
#define QM47_FIELDS_NumberReportRequest(FIELD) \
    FIELD(kind, 0, 1, Byte)                    \
    FIELD(firstNumber, 1, 4, Int32)            \
    FIELD(lastNumber, 5, 4, Int32)             \
    FIELD(registerNumber, 9, 4, Text)          \
    FIELD(cashier, 13, 4, Text)

// LBFSKREP_D: periodic report by dates, and the monthly report.
struct DateReportRequest {
    std::uint8_t firstYear; // two digits
    std::uint8_t firstMonth;
    std::uint8_t firstDay;
    std::uint8_t lastYear;
    std::uint8_t lastMonth;
    std::uint8_t lastDay;
    std::uint8_t kind; // 0 full periodic, 1 short periodic, 6 full monthly, 7 short monthly
    const char* registerNumber;
    const char* cashier;
};
#define QM47_FIELDS_DateReportRequest(FIELD) \
    FIELD(firstYear, 0, 1, Byte)             \
    FIELD(firstMonth, 1, 1, Byte)            \
    FIELD(firstDay, 2, 1, Byte)              \
    FIELD(lastYear, 3, 1, Byte)              \
    FIELD(lastMonth, 4, 1, Byte)             \
    FIELD(lastDay, 5, 1, Byte)               \
    FIELD(kind, 6, 1, Byte)                  \
    FIELD(registerNumber, 7, 4, Text)        \
    FIELD(cashier, 11, 4, Text)

// LBDBREPRS answer.
struct GoodsQueryResult {
    std::uint8_t blocked; // 1 blocked, 0 not
    const char* rateText; // owned by the library; "101.00": never sold
};
#define QM47_FIELDS_GoodsQueryResult(FIELD) \
    FIELD(blocked, 0, 1, Byte)              \
    FIELD(rateText, 1, 4, Text)

// LBDBREP, three calls with steps 0, 1, 2.
struct GoodsPrintRequest {
    std::uint8_t step;
    const char* goodsName;
    const char* rateLetter;
    const char* registerNumber;
    const char* cashier;
};
#define QM47_FIELDS_GoodsPrintRequest(FIELD) \
    FIELD(step, 0, 1, Byte)                  \
    FIELD(goodsName, 1, 4, Text)             \
    FIELD(rateLetter, 5, 4, Text)            \
    FIELD(registerNumber, 9, 4, Text)        \
    FIELD(cashier, 13, 4, Text)

// LBTRSLN.
struct SaleLineRequest {
    std::uint8_t lineByteA; // 1
    std::uint8_t lineByteB; // 0
    const char* name;
    std::int32_t slot6;
    const char* quantity; // "1"
    std::uint8_t rateLetter; // 'A'..'G'
    std::int32_t slot15;
    const char* price; // "0.01"
    std::int32_t slot23;
    const char* value; // "0.01"
    std::int32_t slot31;
    const char* lastText; // "0"
};
#define QM47_FIELDS_SaleLineRequest(FIELD) \
    FIELD(lineByteA, 0, 1, Byte)           \
    FIELD(lineByteB, 1, 1, Byte)           \
    FIELD(name, 2, 4, Text)                \
    FIELD(slot6, 6, 4, Int32)              \
    FIELD(quantity, 10, 4, Text)           \
    FIELD(rateLetter, 14, 1, Byte)         \
    FIELD(slot15, 15, 4, Int32)            \
    FIELD(price, 19, 4, Text)              \
    FIELD(slot23, 23, 4, Int32)            \
    FIELD(value, 27, 4, Text)              \
    FIELD(slot31, 31, 4, Int32)            \
    FIELD(lastText, 35, 4, Text)

// One of the eight (number, text) pairs that end ReceiptEndRequest.
struct ReceiptEndPair {
    std::int32_t slot;
    const char* text;
};
#define QM47_FIELDS_ReceiptEndPair(FIELD) \
    FIELD(slot, 0, 4, Int32)              \
    FIELD(text, 4, 4, Text)

// O_LBTRXEND.
struct ReceiptEndRequest {
    std::uint8_t endByte; // 3
    std::uint8_t fields[10];
    const char* code; // "1SW"
    const char* const* texts3; // three pointers to empty texts
    const char* text19;
    const char* text23;
    const char* text27;
    std::int32_t slot31;
    const char* amount; // "0.01"
    ReceiptEndPair pairs[8];
};
#define QM47_FIELDS_ReceiptEndRequest(FIELD) \
    FIELD(endByte, 0, 1, Byte)               \
    FIELD(fields, 1, 10, Array)              \
    FIELD(code, 11, 4, Text)                 \
    FIELD(texts3, 15, 4, Pointer)            \
    FIELD(text19, 19, 4, Text)               \
    FIELD(text23, 23, 4, Text)               \
    FIELD(text27, 27, 4, Text)               \
    FIELD(slot31, 31, 4, Int32)              \
    FIELD(amount, 35, 4, Text)               \
    FIELD(pairs, 39, 64, Array)

#pragma pack(pop)

// Every record: its size where pointers are 32 bits, and whether the library
// reads it (In) or fills it (Out).
#define QM47_RECORDS(RECORD)              \
    RECORD(PrinterStatus, 12, Out)        \
    RECORD(CashRegisterStatus, 16, Out)   \
    RECORD(DeviceIdentity, 8, Out)        \
    RECORD(FiscalStatus, 77, Out)         \
    RECORD(ClockTime, 6, Out)             \
    RECORD(SetClockRequest, 14, In)       \
    RECORD(PtuRateEntry, 8, In)           \
    RECORD(SetPtuRequest, 17, In)         \
    RECORD(DailyReportRequest, 12, In)    \
    RECORD(NumberReportRequest, 17, In)   \
    RECORD(DateReportRequest, 15, In)     \
    RECORD(GoodsQueryResult, 5, Out)      \
    RECORD(GoodsPrintRequest, 17, In)     \
    RECORD(SaleLineRequest, 39, In)       \
    RECORD(ReceiptEndPair, 8, In)         \
    RECORD(ReceiptEndRequest, 103, In)

QM47_RECORDS(QM47_CHECK_RECORD)

} // namespace qm47
