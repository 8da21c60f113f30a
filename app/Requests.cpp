#include "app/Requests.h"

#include "app/NumberText.h"
#include "res/Texts.h"

namespace qm47 {

namespace {

constexpr std::int32_t kHighestRate = 101; // 101: not in use

// Report kinds; in each pair the odd one is the short report.
constexpr std::uint8_t kDailyKind = 0;
constexpr std::uint8_t kNumbersFullKind = 0x10, kNumbersShortKind = 0x11;
constexpr std::uint8_t kDatesFullKind = 0, kDatesShortKind = 1;
constexpr std::uint8_t kMonthlyFullKind = 6, kMonthlyShortKind = 7;
constexpr std::uint8_t kMonthlyFullLastDay = 31, kMonthlyShortLastDay = 30;

constexpr std::uint8_t kGoodsLineStep = 1, kGoodsEndStep = 2;

constexpr std::uint8_t kSaleLineByteA = 1, kSaleLineByteB = 0;
constexpr std::uint8_t kReceiptEndByte = 3;

DateReportRequest DateReport(const ReportDay& first, const ReportDay& last, std::uint8_t kind)
{
    // In the record's order (its field list holds it there).
    return {first.year, first.month, first.day, last.year, last.month, last.day, kind, text::kRegisterNumber.c_str(),
            text::kCashier.c_str()};
}

} // namespace

SetClockRequest ClockRequest(const std::array<std::uint8_t, 6>& values)
{
    // The values are in the record's order (its field list holds it there).
    return {values[0], values[1], values[2],   values[3],
            values[4], values[5], text::kRegisterNumber.c_str(), text::kCashier.c_str()};
}

bool IsSendableRate(const std::string& rate)
{
    const std::int32_t number = ParseDecimal(rate);
    return !rate.empty() && number >= 0 && number <= kHighestRate;
}

PtuRatesRequest::PtuRatesRequest(const std::array<std::string, kRateCount>& rates)
{
    for (std::size_t i = 0; i < kRateCount; ++i) m_entries[i].rateText = rates[i].c_str();
    m_request.count = static_cast<std::uint8_t>(kRateCount);
    m_request.reserved1 = 0;
    m_request.entries = m_entries.data();
    m_request.registerNumber = text::kTaxRegisterNumber.c_str();
    m_request.cashier = text::kCashier.c_str();
}

std::string DisplayText(std::string_view line1, std::string_view line2)
{
    std::string text(line1);
    text += '\r';
    text += line2;
    return text;
}

DailyReportRequest DailyReport()
{
    DailyReportRequest request{};
    request.kind = kDailyKind;
    request.registerNumber = text::kRegisterNumber.c_str();
    request.cashier = text::kCashier.c_str();
    return request;
}

NumberReportRequest NumberReport(bool full, std::int32_t firstNumber, std::int32_t lastNumber)
{
    NumberReportRequest request{};
    request.kind = full ? kNumbersFullKind : kNumbersShortKind;
    request.firstNumber = firstNumber;
    request.lastNumber = lastNumber;
    request.registerNumber = text::kRegisterNumber.c_str();
    request.cashier = text::kCashier.c_str();
    return request;
}

DateReportRequest PeriodicReport(const ReportDay& first, const ReportDay& last, bool full)
{
    return DateReport(first, last, full ? kDatesFullKind : kDatesShortKind);
}

DateReportRequest MonthlyReport(std::uint8_t year, std::uint8_t month, bool full)
{
    const std::uint8_t lastDay = full ? kMonthlyFullLastDay : kMonthlyShortLastDay;
    return DateReport({year, month, 1}, {year, month, lastDay}, full ? kMonthlyFullKind : kMonthlyShortKind);
}

GoodsPrintRequest GoodsPrint(std::uint8_t step, const char* name, const char* rateLetterText)
{
    GoodsPrintRequest request{};
    request.step = step;
    if (step == kGoodsLineStep) {
        request.goodsName = name;
        request.rateLetter = rateLetterText;
    }
    if (step == kGoodsEndStep) {
        request.registerNumber = text::kRegisterNumber.c_str();
        request.cashier = text::kCashier.c_str();
    }
    return request;
}

SaleLineRequest SaleLine(const char* name, char rateLetter)
{
    SaleLineRequest line{};
    line.lineByteA = kSaleLineByteA;
    line.lineByteB = kSaleLineByteB;
    line.name = name;
    line.quantity = text::kSaleQuantity.c_str();
    line.rateLetter = static_cast<std::uint8_t>(rateLetter);
    line.price = text::kSaleAmount.c_str();
    line.value = text::kSaleAmount.c_str();
    line.lastText = text::kSaleLineLastText.c_str();
    return line;
}

ReceiptEndRequest ReceiptEnd()
{
    static constexpr const char* kEmptyTexts[3] = {"", "", ""};
    ReceiptEndRequest end{};
    end.endByte = kReceiptEndByte;
    end.code = text::kReceiptEndCode.c_str();
    end.texts3 = kEmptyTexts;
    end.text19 = "";
    end.text23 = "";
    end.text27 = "";
    end.amount = text::kSaleAmount.c_str();
    for (std::size_t i = 0; i < 8; ++i) end.pairs[i] = {0, ""};
    return end;
}

RateTexts ReadRateTexts(const DeviceLibrary& library)
{
    static constexpr const char* kPreset = "0";
    FiscalStatus status = PresetFiscalStatus();
    RateTexts texts;
    texts.result = library.LBFSTRQ(&status, Reads<FiscalStatus>({"ptuRate", "totalizer"}));
    for (std::size_t i = 0; i < kRateCount; ++i) {
        const char* rate = status.ptuRate[i];
        const char* totalizer = status.totalizer[i];
        texts.ptuRates[i] = rate ? rate : kPreset;
        texts.totalizers[i] = totalizer ? totalizer : kPreset;
    }
    return texts;
}

} // namespace qm47
