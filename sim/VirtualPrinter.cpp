#include "sim/VirtualPrinter.h"

#include "sim/ErrorCodes.h"
#include "sim/Text.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace sim {

namespace {

constexpr std::string_view kNeverSold = "101.00";
constexpr int kTotalizerWholeDigits = 6;      // "001234.56", as the receipt counters print
constexpr int kDisplayColumns = 20;           // a line of either display

// The header the printer holds before one is programmed (Mazovia: 0x9C is Ł).
constexpr std::string_view kDefaultHeader = "FIRMA PRZYK\x9C" "ADOWA\r"
                                            "ul. Serwisowa 1\r"
                                            "00-001 Warszawa\r";

bool IsValidPortName(std::string_view name)
{
    if (name.size() < 4 || name.size() > 6) return false;
    for (std::size_t i = 0; i < 3; ++i)
        if ((name[i] | 0x20) != "com"[i]) return false;
    const std::string_view number = name.substr(3);
    if (number.front() == '0') return false;
    int value = 0;
    for (const char c : number) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= 256;
}

std::string TwoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string DateText(const DateTime& time)
{
    return std::to_string(time.year) + "-" + TwoDigits(time.month) + "-" + TwoDigits(time.day);
}

std::string TimeText(const DateTime& time)
{
    return TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second);
}

std::string RateLabel(const Rate& rate)
{
    switch (rate.kind) {
    case Rate::Kind::Exempt: return "zwolniona";
    case Rate::Kind::Inactive: return "nieaktywna";
    case Rate::Kind::Percent: break;
    }
    return FormatHundredths(rate.hundredths) + " %";
}

// A display line as readable UTF-8; control bytes (a second CR among them)
// written \xHH.
std::string DisplayText(std::string_view bytes)
{
    std::string shown;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
            shown += escaped;
        } else {
            shown += Cp1250ToUtf8(std::string_view(&c, 1));
        }
    }
    return shown;
}

bool IsValidReportDate(std::uint8_t year, std::uint8_t month, std::uint8_t day)
{
    return year <= 99 && month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// A report date as a number that orders like the date: yyyymmdd.
int DateKey(std::uint8_t year, std::uint8_t month, std::uint8_t day) { return FullYear(year) * 10000 + month * 100 + day; }

std::string ReportDateText(std::uint8_t year, std::uint8_t month, std::uint8_t day)
{
    return std::to_string(FullYear(year)) + "-" + TwoDigits(month) + "-" + TwoDigits(day);
}

} // namespace

VirtualPrinter::VirtualPrinter(Clock localNow, const Config& atLoad)
    : m_localNow(localNow),
      m_rates(kRatesAtLoad),
      m_totalizers(atLoad.totalizers.value_or(std::array<std::int64_t, 7>{123456, 78910, 4500, 0, 0, 0, 1230})),
      m_receiptCount(atLoad.receiptCount.value_or(12)),
      m_dailyReportCount(41),
      m_header(kDefaultHeader),
      m_goods{{"Chleb", "7.00", true},
              {"Mleko", "7.00", true},
              {"Kawa", "22.00", true},
              {"Gazeta", "0.00", false},
              {"Us\xB3uga serwisowa", "100.00", true}} // Usługa, Windows-1250
{
    if (atLoad.goods) {
        m_goods.clear();
        for (const GoodsSetting& setting : *atLoad.goods) {
            // A name listed twice is held as its last entry says.
            if (Goods* goods = FindGoods(setting.name))
                *goods = {setting.name, RateText(setting.rate), setting.blocked};
            else
                m_goods.push_back({setting.name, RateText(setting.rate), setting.blocked});
        }
    }
    if (atLoad.openReceipt) m_receipt = Receipt{};
}

DateTime VirtualPrinter::Now() const { return FromSeconds(ToSeconds(m_localNow()) + m_clockOffset); }

// --- Port -------------------------------------------------------------------

std::int32_t VirtualPrinter::OpenPort(const char* name, std::int32_t baud, const Config& config)
{
    if (!config.portOpenOk || !name || !IsValidPortName(name) || baud <= 0) return kNoConnection;
    // Opening while a port is open moves the library to the new port.
    m_port = name;
    m_baud = baud;
    return kOk;
}

std::int32_t VirtualPrinter::ClosePort()
{
    m_port.reset();
    return kOk;
}

// --- Queries ----------------------------------------------------------------

std::int32_t VirtualPrinter::PrinterStatus(qm47::PrinterStatus& out, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    OnlineAnswer online = config.online;
    if (!config.onlineSequence.empty()) {
        const std::size_t last = config.onlineSequence.size() - 1;
        online = config.onlineSequence[std::min(m_statusAnswers, last)];
        ++m_statusAnswers;
    }
    if (!online) return kNoConnection;
    out.onl = *online;
    out.pe = config.pe;
    out.err = config.err;
    return kOk;
}

std::int32_t VirtualPrinter::CashRegisterStatus(qm47::CashRegisterStatus& out, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    if (!config.cashRegisterOk) return kNoConnection;
    out.fsk = config.Fsk();
    out.cmd = config.cmd;
    out.par = config.transaction || InTransaction() ? 1 : 0;
    out.trf = config.trf;
    return kOk;
}

std::int32_t VirtualPrinter::Identity(qm47::DeviceIdentity& out, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    m_identityTexts = {config.deviceNamePart1, config.deviceNamePart2};
    out.namePart1 = m_identityTexts[0].c_str();
    out.namePart2 = m_identityTexts[1].c_str();
    return kOk;
}

std::int32_t VirtualPrinter::FiscalStatus(qm47::FiscalStatus& out, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    out.unused0 = 0;
    out.fiscalFlag = config.fiscal ? 1 : 0;
    out.unused2 = 0;
    out.unused3 = 0;
    out.unused4 = 0;
    out.ramResets = m_ramResets;
    out.lastFmYear = static_cast<std::uint8_t>(m_lastFiscalMemoryWrite.year - 2000);
    out.lastFmMonth = static_cast<std::uint8_t>(m_lastFiscalMemoryWrite.month);
    out.lastFmDay = static_cast<std::uint8_t>(m_lastFiscalMemoryWrite.day);
    for (std::size_t i = 0; i < m_rates.size(); ++i) {
        m_rateTexts[i] = RateText(m_rates[i]);
        m_totalizerTexts[i] = FormatHundredths(m_totalizers[i], kTotalizerWholeDigits);
        out.ptuRate[i] = m_rateTexts[i].c_str();
        out.totalizer[i] = m_totalizerTexts[i].c_str();
    }
    out.receiptCount = m_receiptCount;
    out.unused69 = m_unused69Text.c_str();
    m_uniqueNumberText = m_uniqueNumber;
    out.uniqueNumber = m_uniqueNumberText.c_str();
    return kOk;
}

std::int32_t VirtualPrinter::ReadClock(qm47::ClockTime& out)
{
    if (!PortOpen()) return kPortNotOpen;
    const DateTime now = Now();
    out.year = static_cast<std::uint8_t>(now.year % 100);
    out.month = static_cast<std::uint8_t>(now.month);
    out.day = static_cast<std::uint8_t>(now.day);
    out.hour = static_cast<std::uint8_t>(now.hour);
    out.minute = static_cast<std::uint8_t>(now.minute);
    out.second = static_cast<std::uint8_t>(now.second);
    return kOk;
}

std::int32_t VirtualPrinter::QueryGoods(const char* name, unsigned char rateLetter, qm47::GoodsQueryResult& out)
{
    if (!PortOpen()) return kPortNotOpen;
    if (!name) return kMissingData;
    if (!RateIndex(rateLetter)) return kInvalidArgument;
    const Goods* goods = FindGoods(name);
    m_goodsRateText = goods ? goods->rateText : std::string(kNeverSold);
    out.blocked = goods && goods->blocked ? 1 : 0;
    out.rateText = m_goodsRateText.c_str();
    return kOk;
}

// --- Settings ---------------------------------------------------------------

std::int32_t VirtualPrinter::SetClock(const qm47::SetClockRequest& request, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    if (!request.registerNumber || !request.cashier) return kMissingData;
    const DateTime wanted{FullYear(request.year), request.month, request.day, request.hour, request.minute, request.second};
    if (request.year > 99 || !IsValid(wanted)) return kInvalidClock;
    const DateTime before = Now();
    m_clockOffset = ToSeconds(wanted) - ToSeconds(m_localNow());
    BeginDocument("ZMIANA DATY I CZASU");
    m_paper.Columns("Było:", DateText(before) + " " + TimeText(before));
    m_paper.Columns("Jest:", DateText(wanted) + " " + TimeText(wanted));
    EndDocument(config);
    return kOk;
}

std::int32_t VirtualPrinter::SetRates(const qm47::SetPtuRequest& request, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    if (request.count != m_rates.size()) return kInvalidArgument;
    if (!request.entries || !request.registerNumber || !request.cashier) return kMissingData;
    std::array<Rate, 7> rates;
    for (std::size_t i = 0; i < rates.size(); ++i) {
        const char* text = request.entries[i].rateText;
        if (!text) return kMissingData;
        const auto rate = ParseRate(text);
        if (!rate) return kInvalidRate;
        rates[i] = *rate;
    }
    m_rates = rates;
    BeginDocument("ZMIANA STAWEK PTU");
    for (std::size_t i = 0; i < m_rates.size(); ++i)
        m_paper.Columns(std::string("PTU ") + kRateLetters[i], RateLabel(m_rates[i]));
    EndDocument(config);
    return kOk;
}

std::int32_t VirtualPrinter::SetHeader(const char* header, const char* registerNumber, const char* cashier,
                                       const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    if (!header || !registerNumber || !cashier) return kMissingData;
    m_header = header;
    BeginDocument("PROGRAMOWANIE NAGŁÓWKA");
    m_paper.Line("Nowy nagłówek jest wydrukowany powyżej.");
    EndDocument(config);
    return kOk;
}

std::int32_t VirtualPrinter::SetServiceInspection(std::int32_t days, const char* phone, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    if (!phone) return kMissingData;
    m_serviceInspectionDays = days;
    m_servicePhone = phone;
    BeginDocument("PRZEGLĄD SERWISOWY");
    m_paper.Columns("Dni do przeglądu:", std::to_string(days));
    m_paper.Columns("Telefon serwisu:", Cp1250ToUtf8(m_servicePhone));
    EndDocument(config);
    return kOk;
}

std::int32_t VirtualPrinter::Display(std::int32_t mode, const char* text)
{
    if (!PortOpen()) return kPortNotOpen;
    if (!text) return kMissingData;
    switch (mode) {
    case 2: m_customerDisplay = text; m_displayMode = DisplayMode::Text; break;
    case 3: m_displayMode = DisplayMode::DateTime; break;
    case 4: m_displayMode = DisplayMode::CashRegister; break;
    case 5: m_operatorDisplay = text; break;
    default: return kInvalidArgument;
    }
    PrintDisplays();
    return kOk;
}

std::int32_t VirtualPrinter::SetServiceMode(std::int32_t mode)
{
    if (!PortOpen()) return kPortNotOpen;
    m_serviceMode = mode;
    return kOk;
}

std::int32_t VirtualPrinter::Bell()
{
    if (!PortOpen()) return kPortNotOpen;
    ++m_bells;
    return kOk;
}

// --- Reports ----------------------------------------------------------------

std::int32_t VirtualPrinter::DailyReport(const qm47::DailyReportRequest& request, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    if (request.kind != 0) return kInvalidArgument;
    if (!request.registerNumber || !request.cashier) return kMissingData;
    ++m_dailyReportCount;
    BeginDocument("RAPORT DOBOWY nr " + std::to_string(m_dailyReportCount));
    PrintRatesAndTotals();
    PrintServiceReminder();
    EndDocument(config);
    return kOk;
}

std::int32_t VirtualPrinter::NumberReport(const qm47::NumberReportRequest& request, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    if (request.kind != 0x10 && request.kind != 0x11) return kInvalidArgument;
    if (!request.registerNumber || !request.cashier) return kMissingData;
    if (request.firstNumber > request.lastNumber) return kInvalidRange;
    BeginDocument(request.kind == 0x10 ? "RAPORT OKRESOWY PEŁNY" : "RAPORT OKRESOWY SKRÓCONY");
    m_paper.Centered("od raportu nr " + std::to_string(request.firstNumber) + " do nr " +
                     std::to_string(request.lastNumber));
    PrintRatesAndTotals();
    EndDocument(config);
    return kOk;
}

std::int32_t VirtualPrinter::DateReport(const qm47::DateReportRequest& request, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    const bool monthly = request.kind == 6 || request.kind == 7;
    if (request.kind != 0 && request.kind != 1 && !monthly) return kInvalidArgument;
    if (!request.registerNumber || !request.cashier) return kMissingData;
    if (!IsValidReportDate(request.firstYear, request.firstMonth, request.firstDay) ||
        !IsValidReportDate(request.lastYear, request.lastMonth, request.lastDay))
        return kInvalidReportDate;
    if (DateKey(request.firstYear, request.firstMonth, request.firstDay) >
        DateKey(request.lastYear, request.lastMonth, request.lastDay))
        return kInvalidRange;
    const bool full = request.kind == 0 || request.kind == 6;
    if (monthly) {
        BeginDocument(full ? "RAPORT MIESIĘCZNY PEŁNY" : "RAPORT MIESIĘCZNY SKRÓCONY");
        m_paper.Centered("za miesiąc " + std::to_string(FullYear(request.firstYear)) + "-" + TwoDigits(request.firstMonth));
    } else {
        BeginDocument(full ? "RAPORT OKRESOWY PEŁNY" : "RAPORT OKRESOWY SKRÓCONY");
        m_paper.Centered("od " + ReportDateText(request.firstYear, request.firstMonth, request.firstDay) + " do " +
                         ReportDateText(request.lastYear, request.lastMonth, request.lastDay));
    }
    PrintRatesAndTotals();
    EndDocument(config);
    return kOk;
}

std::int32_t VirtualPrinter::PrintGoods(const qm47::GoodsPrintRequest& request, unsigned char, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    switch (request.step) {
    case 0:
        BeginDocument("KONTROLA BAZY TOWAROWEJ");
        m_goodsPrintoutOpen = true;
        return kOk;
    case 1: {
        if (!m_goodsPrintoutOpen) return kOutOfSequence;
        if (!request.goodsName || !request.rateLetter) return kMissingData;
        const std::string_view letter = request.rateLetter;
        const auto rate = letter.size() == 1 ? RateIndex(static_cast<unsigned char>(letter[0])) : std::nullopt;
        if (!rate) return kInvalidArgument;
        const Goods* goods = FindGoods(request.goodsName);
        m_paper.Columns("Towar:", Cp1250ToUtf8(request.goodsName));
        m_paper.Columns(std::string("Stawka ") + kRateLetters[*rate] + ":", RateLabel(m_rates[*rate]));
        if (!goods) {
            m_paper.Columns("W bazie:", "nie był sprzedawany");
        } else {
            m_paper.Columns("W bazie:", "sprzedawany w stawce " + goods->rateText);
            m_paper.Columns("Status:", goods->blocked ? "zablokowany" : "nie zablokowany");
        }
        m_paper.Columns(std::string("Sprzedaż w stawce ") + kRateLetters[*rate] + ":",
                        SaleRefusal(request.goodsName, *rate) == kGoodsBlocked ? "odmowa"
                        : SaleRefusal(request.goodsName, *rate) == kInactiveRate ? "stawka nieaktywna"
                                                                                  : "możliwa");
        return kOk;
    }
    case 2:
        if (!m_goodsPrintoutOpen) return kOutOfSequence;
        if (!request.registerNumber || !request.cashier) return kMissingData;
        m_goodsPrintoutOpen = false;
        m_paper.Rule();
        m_paper.Columns("Kasa:", Cp1250ToUtf8(request.registerNumber));
        m_paper.Columns("Kasjer:", Cp1250ToUtf8(request.cashier));
        EndDocument(config);
        return kOk;
    default:
        return kInvalidArgument;
    }
}

// --- Receipt ----------------------------------------------------------------

std::int32_t VirtualPrinter::OpenReceipt(std::int32_t)
{
    if (!PortOpen()) return kPortNotOpen;
    // A receipt left open is dropped: the new one starts empty.
    m_receipt = Receipt{};
    return kOk;
}

std::int32_t VirtualPrinter::SaleLine(const qm47::SaleLineRequest& request)
{
    if (!PortOpen()) return kPortNotOpen;
    if (!m_receipt) return kOutOfSequence;
    if (!request.name || !request.quantity || !request.price || !request.value) return kMissingData;
    const auto rate = RateIndex(request.rateLetter);
    if (!rate) return kInvalidArgument;
    if (m_rates[*rate].kind == Rate::Kind::Inactive) return kInactiveRate;
    const auto value = ParseHundredths(request.value);
    if (!value) return kInvalidAmount;
    if (const std::int32_t refusal = SaleRefusal(request.name, *rate)) return refusal;
    m_receipt->items.push_back({request.name, *rate, *value});
    return kOk;
}

std::int32_t VirtualPrinter::EndReceipt(const qm47::ReceiptEndRequest&, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    if (!m_receipt) return kOutOfSequence;
    const Receipt receipt = std::move(*m_receipt);
    m_receipt.reset();
    // A receipt without a line is dropped unprinted.
    if (receipt.items.empty()) return kOk;

    ++m_receiptCount;
    BeginDocument(config.fiscal ? "PARAGON FISKALNY" : "PARAGON");
    std::int64_t total = 0;
    for (const SaleItem& item : receipt.items) {
        m_totalizers[item.rate] += item.hundredths;
        total += item.hundredths;
        m_paper.Columns(Cp1250ToUtf8(item.name), "1 x " + FormatHundredths(item.hundredths) + " " + kRateLetters[item.rate]);
        if (Goods* goods = FindGoods(item.name)) {
            goods->rateText = RateText(m_rates[item.rate]);
            goods->blocked = true;
        } else {
            m_goods.push_back({item.name, RateText(m_rates[item.rate]), true});
        }
    }
    m_paper.Rule();
    m_paper.Columns("SUMA PLN", FormatHundredths(total));
    m_paper.Columns("Paragon nr", std::to_string(m_receiptCount));
    EndDocument(config);
    return kOk;
}

std::int32_t VirtualPrinter::CancelReceipt(const char* registerNumber, const char* cashier, const Config& config)
{
    if (!PortOpen()) return kPortNotOpen;
    if (!registerNumber || !cashier) return kMissingData;
    if (m_receipt && !m_receipt->items.empty()) {
        BeginDocument("PARAGON ANULOWANY");
        for (const SaleItem& item : m_receipt->items)
            m_paper.Columns(Cp1250ToUtf8(item.name), FormatHundredths(item.hundredths) + " " + kRateLetters[item.rate]);
        EndDocument(config);
    }
    m_receipt.reset();
    return kOk;
}

// --- Helpers ----------------------------------------------------------------

// Why a sale of `name` at rate `rate` would be refused, or kOk: an inactive
// rate, or a name held blocked at another rate (the rate texts compared, so
// 7.00 and 7.50 differ).
std::int32_t VirtualPrinter::SaleRefusal(std::string_view name, std::size_t rate)
{
    if (m_rates[rate].kind == Rate::Kind::Inactive) return kInactiveRate;
    const Goods* goods = FindGoods(name);
    if (goods && goods->blocked && goods->rateText != RateText(m_rates[rate])) return kGoodsBlocked;
    return kOk;
}

VirtualPrinter::Goods* VirtualPrinter::FindGoods(std::string_view name)
{
    for (Goods& goods : m_goods)
        if (goods.name == name) return &goods;
    return nullptr;
}

void VirtualPrinter::BeginDocument(std::string_view title)
{
    const DateTime now = Now();
    m_paper.Rule('=');
    m_paper.MazoviaText(m_header);
    m_paper.Columns(DateText(now), TimeText(now));
    m_paper.Centered(title);
    m_paper.Rule();
}

void VirtualPrinter::EndDocument(const Config& config)
{
    m_paper.Rule();
    if (!config.fiscal) m_paper.Centered("NIEFISKALNY");
    m_paper.Centered(m_uniqueNumber);
    m_paper.Rule('=');
}

void VirtualPrinter::PrintServiceReminder()
{
    if (!m_serviceInspectionDays) return;
    m_paper.Columns("Przegląd serwisowy za:", std::to_string(*m_serviceInspectionDays) + " dni");
    m_paper.Columns("Telefon serwisu:", Cp1250ToUtf8(m_servicePhone));
}

// The two displays as they stand, drawn between `~` rules so that they are
// not taken for paper: each display's two lines framed by `|`, 20 columns
// wide (a longer line is shown whole).
void VirtualPrinter::PrintDisplays()
{
    const auto lines = [](std::string_view text) {
        const std::size_t cr = text.find('\r');
        std::array<std::string, 2> shown{DisplayText(text.substr(0, cr)), {}};
        if (cr != std::string_view::npos) shown[1] = DisplayText(text.substr(cr + 1));
        return shown;
    };
    std::array<std::string, 2> customer;
    switch (m_displayMode) {
    case DisplayMode::Text: customer = lines(m_customerDisplay); break;
    case DisplayMode::DateTime: customer = {DateText(Now()), TimeText(Now())}; break;
    case DisplayMode::CashRegister: customer = {"TRYB KASOWY", ""}; break;
    }
    const auto frame = [](const std::string& line) {
        const int width = Width(line);
        return "|" + line + std::string(width < kDisplayColumns ? kDisplayColumns - width : 0, ' ') + "|";
    };
    const std::string rule(13, '~');
    m_paper.Line(rule + " WYŚWIETLACZE " + rule);
    const std::array<std::string, 2> operatorLines = lines(m_operatorDisplay);
    m_paper.Line("klient:   " + frame(customer[0]));
    m_paper.Line("          " + frame(customer[1]));
    m_paper.Line("operator: " + frame(operatorLines[0]));
    m_paper.Line("          " + frame(operatorLines[1]));
    m_paper.Rule('~');
}

void VirtualPrinter::PrintRatesAndTotals()
{
    for (std::size_t i = 0; i < m_rates.size(); ++i)
        m_paper.Columns(std::string("PTU ") + kRateLetters[i] + " " + RateLabel(m_rates[i]),
                        FormatHundredths(m_totalizers[i], kTotalizerWholeDigits));
    m_paper.Columns("Liczba paragonów:", std::to_string(m_receiptCount));
}

} // namespace sim
