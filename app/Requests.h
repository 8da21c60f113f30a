#pragma once
// The requests to the library, built from what a page read: the clock, the
// tax rates, the reports, the goods check printout and the control sale's
// receipt. Each carries the register number "001" (the tax rates
// "12345678") and the cashier "SERWIS".

#include "app/DeviceLibrary.h"
#include "app/Records.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qm47 {

// LBSETCK's request for the six values year (within its century), month,
// day, hour, minute, second.
SetClockRequest ClockRequest(const std::array<std::uint8_t, 6>& values);

// Whether a rate text may go into LBSETPTU's request: not empty, and its
// leading whole number (the usual rule for decimal text) from 0 to 101,
// where 100 marks the exempt rate and 101 a rate not in use.
bool IsSendableRate(const std::string& rate);

// LBSETPTU's request for the rates A to G as typed. The request points at
// its entries and they at the texts: neither it nor the texts may move until
// the call returns, so it is built where it is used and never copied.
class PtuRatesRequest {
public:
    explicit PtuRatesRequest(const std::array<std::string, kRateCount>& rates);
    PtuRatesRequest(const PtuRatesRequest&) = delete;
    PtuRatesRequest& operator=(const PtuRatesRequest&) = delete;

    SetPtuRequest* Record() { return &m_request; }

private:
    std::array<PtuRateEntry, kRateCount> m_entries{};
    SetPtuRequest m_request{};
};

// LBDSP's modes: two lines on the customer display, the date and time,
// cash-register mode, two lines on the operator display.
inline constexpr std::int32_t kCustomerLinesMode = 2;
inline constexpr std::int32_t kDateTimeMode = 3;
inline constexpr std::int32_t kCashRegisterMode = 4;
inline constexpr std::int32_t kOperatorLinesMode = 5;

// The text of a display's two lines as LBDSP takes it: line 1, one CR
// (0x0D), line 2, and nothing after it. The bytes go unconverted.
std::string DisplayText(std::string_view line1, std::string_view line2);

// The printer's answers to a report range it refuses: the periodic report's,
// and the monthly report's (0xE0000001).
inline constexpr std::int32_t kPeriodicRangeError = -25;
inline constexpr std::int32_t kMonthlyRangeError = static_cast<std::int32_t>(0xE0000001u);

// A day as the report requests carry it: the year within its century.
struct ReportDay {
    std::uint8_t year;
    std::uint8_t month;
    std::uint8_t day;
};

DailyReportRequest DailyReport();
// Kind 0x10 (full) or 0x11 (short).
NumberReportRequest NumberReport(bool full, std::int32_t firstNumber, std::int32_t lastNumber);
// Kind 0 (full) or 1 (short).
DateReportRequest PeriodicReport(const ReportDay& first, const ReportDay& last, bool full);
// The whole month: day 1 to day 31 with kind 6 (full), day 1 to day 30 with
// kind 7 (short), whatever the month's real length.
DateReportRequest MonthlyReport(std::uint8_t year, std::uint8_t month, bool full);

// The goods check printout: three calls on one record, steps 0 (heading),
// 1 (the goods line, with the name and the one-letter rate text) and 2 (end,
// with the register number and the cashier).
inline constexpr std::uint8_t kGoodsPrintSteps[] = {0, 1, 2};
// LBDBREP's second argument, which the library gives no meaning here.
inline constexpr unsigned char kGoodsPrintOption = 0;
GoodsPrintRequest GoodsPrint(std::uint8_t step, const char* name, const char* rateLetterText);

// The control sale's receipt: one article of 0.01 at quantity 1 at `rateLetter`.
inline constexpr std::int32_t kPlainReceipt = 0; // LBTRSHDR's argument
SaleLineRequest SaleLine(const char* name, char rateLetter);
ReceiptEndRequest ReceiptEnd();

// The rate and totalizer texts A to G of the fiscal status, copied at once.
struct RateTexts {
    LibraryResult result; // LBFSTRQ's
    std::array<std::string, kRateCount> ptuRates;
    std::array<std::string, kRateCount> totalizers;
};
// LBFSTRQ with every text preset to "0" and every number to 0, so that what
// the library leaves unfilled, or fills with null, reads "0".
RateTexts ReadRateTexts(const DeviceLibrary& library);

} // namespace qm47
