#pragma once
// The virtual printer behind the simulated device library: its port, clock,
// rates, header, counters, totalizers, goods database, open receipt and
// displays, and the answers it gives. Portable; the exports only pass the
// records through (Exports.cpp).
//
// Every query fills its output record and answers 0, or answers an error
// code and leaves the record as it was. Every command answers 0 or an error
// code (ErrorCodes.h) and then has changed nothing. Texts a query hands out
// stay valid until the next call of the same query.

#include "app/Records.h"
#include "sim/Calendar.h"
#include "sim/Config.h"
#include "sim/Printout.h"
#include "sim/Rate.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class VirtualPrinter {
public:
    using Clock = DateTime (*)();
    // A printer as it is at load; `atLoad` may replace its goods database,
    // totalizers and receipt count, and open a receipt (Config.h).
    explicit VirtualPrinter(Clock localNow, const Config& atLoad = {});

    // The port. The name must be `com` and a number 1..256, letter case
    // ignored; no real port is touched.
    std::int32_t OpenPort(const char* name, std::int32_t baud, const Config& config);
    std::int32_t ClosePort();
    bool PortOpen() const { return m_port.has_value(); }

    // Queries.
    std::int32_t PrinterStatus(qm47::PrinterStatus& out, const Config& config);
    std::int32_t CashRegisterStatus(qm47::CashRegisterStatus& out, const Config& config);
    std::int32_t Identity(qm47::DeviceIdentity& out, const Config& config);
    std::int32_t FiscalStatus(qm47::FiscalStatus& out, const Config& config);
    std::int32_t ReadClock(qm47::ClockTime& out);
    std::int32_t QueryGoods(const char* name, unsigned char rateLetter, qm47::GoodsQueryResult& out);

    // Settings.
    std::int32_t SetClock(const qm47::SetClockRequest& request, const Config& config);
    std::int32_t SetRates(const qm47::SetPtuRequest& request, const Config& config);
    std::int32_t SetHeader(const char* header, const char* registerNumber, const char* cashier, const Config& config);
    std::int32_t SetServiceInspection(std::int32_t days, const char* phone, const Config& config);
    std::int32_t Display(std::int32_t mode, const char* text);
    std::int32_t SetServiceMode(std::int32_t mode);
    std::int32_t Bell();

    // Reports and the goods printout.
    std::int32_t DailyReport(const qm47::DailyReportRequest& request, const Config& config);
    std::int32_t NumberReport(const qm47::NumberReportRequest& request, const Config& config);
    std::int32_t DateReport(const qm47::DateReportRequest& request, const Config& config);
    std::int32_t PrintGoods(const qm47::GoodsPrintRequest& request, unsigned char option, const Config& config);

    // The receipt of the control sale.
    std::int32_t OpenReceipt(std::int32_t mode);
    std::int32_t SaleLine(const qm47::SaleLineRequest& request);
    std::int32_t EndReceipt(const qm47::ReceiptEndRequest& request, const Config& config);
    std::int32_t CancelReceipt(const char* registerNumber, const char* cashier, const Config& config);
    bool InTransaction() const { return m_receipt.has_value(); }

    // What was printed since the last call, as readable text.
    std::string TakePrintout() { return m_paper.Take(); }

private:
    struct Goods {
        std::string name; // as received, Windows-1250
        std::string rateText;
        bool blocked = false;
    };
    struct SaleItem {
        std::string name;
        std::size_t rate = 0;
        std::int64_t hundredths = 0;
    };
    struct Receipt {
        std::vector<SaleItem> items;
    };
    // What the customer display shows: the text mode 2 sent, the date and
    // time (mode 3) or the cash-register mode (mode 4).
    enum class DisplayMode { Text, DateTime, CashRegister };

    DateTime Now() const;
    Goods* FindGoods(std::string_view name);
    std::int32_t SaleRefusal(std::string_view name, std::size_t rate);
    void BeginDocument(std::string_view title);
    void EndDocument(const Config& config);
    void PrintRatesAndTotals();
    void PrintServiceReminder();
    void PrintDisplays();

    Clock m_localNow;
    std::optional<std::string> m_port;
    std::int32_t m_baud = 0;
    std::size_t m_statusAnswers = 0; // answers given from online_sequence
    std::int64_t m_clockOffset = 0;  // seconds ahead of the computer's clock
    std::array<Rate, 7> m_rates;
    std::array<std::int64_t, 7> m_totalizers; // hundredths
    std::int32_t m_receiptCount = 0;
    std::int32_t m_dailyReportCount = 0;
    std::uint8_t m_ramResets = 2;
    DateTime m_lastFiscalMemoryWrite{2003, 6, 30, 0, 0, 0};
    std::string m_uniqueNumber = "ABC12345678";
    std::string m_header; // Mazovia bytes, lines ended by CR
    std::vector<Goods> m_goods;
    std::optional<Receipt> m_receipt;
    bool m_goodsPrintoutOpen = false;
    std::string m_customerDisplay;
    std::string m_operatorDisplay;
    DisplayMode m_displayMode = DisplayMode::CashRegister;
    std::optional<std::int32_t> m_serviceInspectionDays;
    std::string m_servicePhone;
    std::int32_t m_serviceMode = 0;
    int m_bells = 0;
    Printout m_paper;

    // Storage of the texts the queries hand out.
    std::array<std::string, 2> m_identityTexts;
    std::array<std::string, 7> m_rateTexts;
    std::array<std::string, 7> m_totalizerTexts;
    std::string m_unused69Text = "0";
    std::string m_uniqueNumberText;
    std::string m_goodsRateText;
};

} // namespace sim
