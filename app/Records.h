#pragma once
// The records exchanged with the device library, byte-packed with the fields
// in the library's order. Texts are pointers to zero-terminated Windows-1250
// bytes. On 32-bit Windows every pointer is 4 bytes and the layout is the
// library's exactly (checked below); on 64-bit builds pointers are 8 bytes
// and later offsets shift, still without padding.

#include <cstddef>
#include <cstdint>

namespace qm47 {

#pragma pack(push, 1)

// GetStatus_Printer. Every field preset to 9 (no answer) before each call.
struct PrinterStatus {
    std::int32_t onl; // 1 on-line, 0 off-line, anything else no answer
    std::int32_t pe;
    std::int32_t err;
};

// GetStatus_CashRegister. Every field preset to 9 before each call.
struct CashRegisterStatus {
    std::int32_t fsk;
    std::int32_t cmd;
    std::int32_t par; // 1: the printer is in transaction mode
    std::int32_t trf;
};

// LBIDRQ: the two parts of the device name.
struct DeviceIdentity {
    const char* namePart1;
    const char* namePart2;
};

// LBFSTRQ: the fiscal status.
struct FiscalStatus {
    std::uint8_t unused0;
    std::uint8_t fiscalFlag; // byte value 1: fiscal mode
    std::uint8_t unused2;
    std::uint8_t unused3;
    std::uint8_t unused4;
    std::uint8_t ramResets;
    std::uint8_t lastFmYear; // counted from 2000
    std::uint8_t lastFmMonth;
    std::uint8_t lastFmDay;
    const char* ptuRate[7];  // A to G, "22.00"; "100.00" exempt, "101.00" inactive
    std::int32_t receiptCount;
    const char* totalizer[7]; // A to G
    const char* unused69;
    const char* uniqueNumber;
};

// A FiscalStatus to hand to LBFSTRQ: numbers 0 and every text "0", so that a
// field the library leaves alone reads as such.
inline FiscalStatus PresetFiscalStatus()
{
    static constexpr const char* kZero = "0";
    FiscalStatus status{};
    // Indexed, not by reference: the record is packed and its pointers unaligned.
    for (std::size_t i = 0; i < 7; ++i) {
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

// One rate of SetPtuRequest.
struct PtuRateEntry {
    std::uint32_t reserved;
    const char* rateText; // exactly as typed
};

// LBSETPTU.
struct SetPtuRequest {
    std::uint8_t count; // 7
    std::uint8_t reserved1;
    std::uint8_t reserved2[3];
    PtuRateEntry* entries; // `count` entries, A to G
    const char* registerNumber;
    const char* cashier;
};

// LBDAYREP. Its text pointers sit after three reserved bytes.
struct DailyReportRequest {
    std::uint8_t kind; // 0
    std::uint8_t reserved[3];
    const char* registerNumber;
    const char* cashier;
};

// LBFSKREP_R.
struct NumberReportRequest {
    std::uint8_t kind; // 0x10 full, 0x11 short
    std::int32_t firstNumber;
    std::int32_t lastNumber;
    const char* registerNumber;
    const char* cashier;
};

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

// LBDBREPRS answer.
struct GoodsQueryResult {
    std::uint8_t blocked; // 1 blocked, 0 not
    const char* rateText; // owned by the library; "101.00": never sold
};

// LBDBREP, three calls with steps 0, 1, 2.
struct GoodsPrintRequest {
    std::uint8_t step;
    const char* goodsName;
    const char* rateLetter;
    const char* registerNumber;
    const char* cashier;
};

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

// One of the eight (number, text) pairs that end ReceiptEndRequest.
struct ReceiptEndPair {
    std::int32_t slot;
    const char* text;
};

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

#pragma pack(pop)

// The layouts the library expects, byte for byte, where pointers are 32 bits
// (the shipping build). Fields before the first pointer hold everywhere.
inline constexpr bool kPointers32 = sizeof(void*) == 4;
static_assert(sizeof(PrinterStatus) == 12);
static_assert(sizeof(CashRegisterStatus) == 16);
static_assert(sizeof(ClockTime) == 6);
static_assert(offsetof(FiscalStatus, ptuRate) == 9);
static_assert(offsetof(SetPtuRequest, entries) == 5);
static_assert(!kPointers32 || offsetof(NumberReportRequest, registerNumber) == 9);
static_assert(!kPointers32 || offsetof(DateReportRequest, registerNumber) == 7);
static_assert(offsetof(SaleLineRequest, name) == 2);
static_assert(offsetof(ReceiptEndRequest, code) == 11);
static_assert(!kPointers32 || sizeof(DeviceIdentity) == 8);
static_assert(!kPointers32 || sizeof(FiscalStatus) == 77);
static_assert(!kPointers32 || offsetof(FiscalStatus, receiptCount) == 37);
static_assert(!kPointers32 || offsetof(FiscalStatus, totalizer) == 41);
static_assert(!kPointers32 || offsetof(FiscalStatus, unused69) == 69);
static_assert(!kPointers32 || offsetof(FiscalStatus, uniqueNumber) == 73);
static_assert(!kPointers32 || sizeof(SetClockRequest) == 14);
static_assert(!kPointers32 || offsetof(SetClockRequest, cashier) == 10);
static_assert(!kPointers32 || sizeof(PtuRateEntry) == 8);
static_assert(!kPointers32 || sizeof(SetPtuRequest) == 17);
static_assert(!kPointers32 || offsetof(SetPtuRequest, cashier) == 13);
static_assert(!kPointers32 || sizeof(DailyReportRequest) == 12);
static_assert(!kPointers32 || offsetof(DailyReportRequest, registerNumber) == 4);
static_assert(!kPointers32 || sizeof(NumberReportRequest) == 17);
static_assert(!kPointers32 || sizeof(DateReportRequest) == 15);
static_assert(!kPointers32 || sizeof(GoodsQueryResult) == 5);
static_assert(!kPointers32 || sizeof(GoodsPrintRequest) == 17);
static_assert(!kPointers32 || offsetof(GoodsPrintRequest, cashier) == 13);
static_assert(!kPointers32 || sizeof(SaleLineRequest) == 39);
static_assert(!kPointers32 || offsetof(SaleLineRequest, rateLetter) == 14);
static_assert(!kPointers32 || offsetof(SaleLineRequest, price) == 19);
static_assert(!kPointers32 || offsetof(SaleLineRequest, lastText) == 35);
static_assert(!kPointers32 || sizeof(ReceiptEndRequest) == 103);
static_assert(!kPointers32 || offsetof(ReceiptEndRequest, texts3) == 15);
static_assert(!kPointers32 || offsetof(ReceiptEndRequest, amount) == 35);
static_assert(!kPointers32 || offsetof(ReceiptEndRequest, pairs) == 39);

} // namespace qm47
