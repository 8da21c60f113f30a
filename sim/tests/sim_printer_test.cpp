// The virtual printer's behaviour as the program sees it through the exports:
// the port, the clock, the rates, the header, the reports, the goods database
// and the control sale.

#include "SimHarness.h"

#include "sim/ErrorCodes.h"

#include <ctime>

namespace simtest {
namespace {

using namespace qm47;

constexpr std::int32_t kReportDateError = static_cast<std::int32_t>(0xE0000001u);

std::vector<std::string> Totalizers(const FiscalStatus& status)
{
    std::vector<std::string> texts;
    for (int i = 0; i < 7; ++i) texts.push_back(Value(status.totalizer[i]));
    return texts;
}

// Seconds of a printer clock reading, for comparing two readings.
std::int64_t Seconds(const ClockTime& clock)
{
    std::tm time{};
    time.tm_year = clock.year + 100;
    time.tm_mon = clock.month - 1;
    time.tm_mday = clock.day;
    time.tm_hour = clock.hour;
    time.tm_min = clock.minute;
    time.tm_sec = clock.second;
    return static_cast<std::int64_t>(timegm(&time));
}

class SimPrinter : public SimTest {
protected:
    ClockTime ReadClock() const
    {
        ClockTime clock{};
        EXPECT_EQ(SIM(LBSENDCK)(&clock), 0);
        return clock;
    }

    FiscalStatus Status() const
    {
        FiscalStatus status = PresetFiscalStatus();
        EXPECT_EQ(SIM(LBFSTRQ)(&status), 0);
        return status;
    }

    std::int32_t SetRates(const std::array<const char*, 7>& texts) const
    {
        PtuRateEntry entries[7]{};
        for (std::size_t i = 0; i < 7; ++i) entries[i].rateText = texts[i];
        SetPtuRequest request{7, 0, {0, 0, 0}, entries, "12345678", "SERWIS"};
        return SIM(LBSETPTU)(&request);
    }

    // One control sale as the program makes it: open, one line, end.
    std::int32_t Sell(const char* name, unsigned char letter) const
    {
        SIM(LBTRSHDR)(0);
        SaleLineRequest line{1, 0, name, 0, "1", letter, 0, "0.01", 0, "0.01", 0, "0"};
        const std::int32_t result = SIM(LBTRSLN)(&line);
        ReceiptEndRequest end = m_receiptEnd;
        SIM(O_LBTRXEND)(&end);
        return result;
    }

    std::int32_t Par() const
    {
        CashRegisterStatus cash{9, 9, 9, 9};
        SIM(GetStatus_CashRegister)(&cash);
        return cash.par;
    }

private:
    const char* m_empty[3] = {"", "", ""};
    ReceiptEndRequest m_receiptEnd{3, {}, "1SW", m_empty, "", "", "", 0, "0.01",
                                   {{0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}}};
};

TEST_F(SimPrinter, CommandsNeedAnOpenPort)
{
    PrinterStatus printer{9, 9, 9};
    EXPECT_EQ(SIM(GetStatus_Printer)(&printer), sim::kPortNotOpen);
    EXPECT_EQ(Value(printer.onl), 9);
    FiscalStatus status = PresetFiscalStatus();
    EXPECT_EQ(SIM(LBFSTRQ)(&status), sim::kPortNotOpen);
    EXPECT_STREQ(status.uniqueNumber, "0");
    EXPECT_EQ(SIM(LBDSP)(3, ""), sim::kPortNotOpen);
    EXPECT_EQ(SIM(Send_BEL)(), sim::kPortNotOpen);
    EXPECT_EQ(SIM(Port_Close)(), 0);
    EXPECT_EQ(SIM(ErrorMessage)("", -2), 0);

    OpenPort();
    EXPECT_EQ(SIM(Send_BEL)(), 0);
    EXPECT_EQ(SIM(Port_Close)(), 0);
    EXPECT_EQ(SIM(LBSERM)(3), sim::kPortNotOpen);
    EXPECT_EQ(LastJournalLine(), "LBSERM mode=3 result=-2");
}

TEST_F(SimPrinter, ClockKeepsTheTimeItWasSetTo)
{
    OpenPort();
    SetClockRequest request{4, 2, 29, 23, 59, 30, "001", "SERWIS"};
    ASSERT_EQ(SIM(LBSETCK)(&request), 0);
    const ClockTime clock = ReadClock();
    const std::int64_t drift = Seconds(clock) - Seconds({4, 2, 29, 23, 59, 30});
    EXPECT_GE(drift, 0);
    EXPECT_LE(drift, 5) << "the clock runs on from the time set";
    EXPECT_EQ(LastJournalLine().rfind("LBSENDCK year=", 0), 0u) << LastJournalLine();
}

TEST_F(SimPrinter, ClockRefusesImpossibleDatesAndTimes)
{
    OpenPort();
    const ClockTime before = ReadClock();
    const struct {
        const char* what;
        SetClockRequest request;
        std::int32_t result;
    } cases[] = {
        {"month 0", {3, 0, 1, 0, 0, 0, "001", "SERWIS"}, sim::kInvalidClock},
        {"month 13", {3, 13, 1, 0, 0, 0, "001", "SERWIS"}, sim::kInvalidClock},
        {"day 0", {3, 1, 0, 0, 0, 0, "001", "SERWIS"}, sim::kInvalidClock},
        {"31 April", {3, 4, 31, 0, 0, 0, "001", "SERWIS"}, sim::kInvalidClock},
        {"29 February 2003", {3, 2, 29, 0, 0, 0, "001", "SERWIS"}, sim::kInvalidClock},
        {"hour 24", {3, 1, 1, 24, 0, 0, "001", "SERWIS"}, sim::kInvalidClock},
        {"minute 60", {3, 1, 1, 0, 60, 0, "001", "SERWIS"}, sim::kInvalidClock},
        {"second 60", {3, 1, 1, 0, 0, 60, "001", "SERWIS"}, sim::kInvalidClock},
        {"year 211 (2003 cut to a byte)", {211, 1, 1, 0, 0, 0, "001", "SERWIS"}, sim::kInvalidClock},
        {"no cashier", {3, 1, 1, 0, 0, 0, "001", nullptr}, sim::kMissingData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetClockRequest request = c.request;
        EXPECT_EQ(SIM(LBSETCK)(&request), c.result);
    }
    EXPECT_LE(Seconds(ReadClock()) - Seconds(before), 5) << "a refused setting leaves the clock alone";

    SetClockRequest lastMoment{99, 12, 31, 23, 59, 59, "001", "SERWIS"};
    EXPECT_EQ(SIM(LBSETCK)(&lastMoment), 0);
}

TEST_F(SimPrinter, RatesAreShownWithTwoDecimals)
{
    OpenPort();
    const struct {
        const char* text;
        const char* shown; // nullptr: refused
    } cases[] = {
        {"22", "22.00"},   {"7.5", "7.50"},     {"0", "0.00"},     {"99.99", "99.99"}, {"100", "100.00"},
        {"101", "101.00"}, {"100.00", "100.00"}, {"8.00", "8.00"},  {"102", nullptr},   {"100.5", nullptr},
        {"-1", nullptr},   {"abc", nullptr},     {"", nullptr},     {" 7", nullptr},    {"7,5", nullptr},
        {"7.", nullptr},   {"7.505", nullptr},   {".5", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::int32_t result = SetRates({"5", c.text, "5", "5", "5", "5", "5"});
        const FiscalStatus status = Status();
        if (c.shown) {
            EXPECT_EQ(result, 0);
            EXPECT_STREQ(status.ptuRate[1], c.shown);
        } else {
            EXPECT_EQ(result, sim::kInvalidRate);
        }
    }
}

TEST_F(SimPrinter, RefusedRatesChangeNothing)
{
    OpenPort();
    ASSERT_EQ(SetRates({"22", "7", "0", "101", "101", "101", "100"}), 0);
    EXPECT_EQ(SetRates({"23", "8", "1", "5", "5", "5", "abc"}), sim::kInvalidRate);
    const FiscalStatus status = Status();
    const char* expected[7] = {"22.00", "7.00", "0.00", "101.00", "101.00", "101.00", "100.00"};
    for (int i = 0; i < 7; ++i) EXPECT_STREQ(status.ptuRate[i], expected[i]) << i;

    PtuRateEntry entries[7]{};
    SetPtuRequest sixRates{6, 0, {0, 0, 0}, entries, "12345678", "SERWIS"};
    EXPECT_EQ(SIM(LBSETPTU)(&sixRates), sim::kInvalidArgument);
}

TEST_F(SimPrinter, HeaderIsPrintedReadablyAndHeadsLaterPrintouts)
{
    OpenPort();
    // "ŁÓDŹ" double width and centred, then "Sklep żółw" (Mazovia bytes).
    const char header[] = "\x0E" "   \x9C\xA3" "D\xA0\x0E\r"
                          "Sklep \xA7\xA2\x92w\r\r\r\r\r\r";
    ASSERT_EQ(SIM(LBSETHDR)(header, "001", "Serwis"), 0);
    DailyReportRequest daily{0, {0, 0, 0}, "001", "SERWIS"};
    ASSERT_EQ(SIM(LBDAYREP)(&daily), 0);

    const std::string printout = Printout();
    EXPECT_TRUE(Contains(printout, "PROGRAMOWANIE NAGŁÓWKA")) << printout;
    EXPECT_TRUE(Contains(printout, "Ł Ó D Ź")) << printout;
    EXPECT_TRUE(Contains(printout, "\nSklep żółw\n")) << printout;
    EXPECT_TRUE(Contains(printout.substr(printout.find("RAPORT DOBOWY") - 200), "Sklep żółw"))
        << "the report starts with the new header";
}

TEST_F(SimPrinter, ReportsRefuseReversedRangesAndImpossibleMonths)
{
    OpenPort();
    const struct {
        const char* what;
        std::function<std::int32_t()> call;
        std::int32_t result;
    } cases[] = {
        {"numbers 5..3", [&] { NumberReportRequest r{0x10, 5, 3, "001", "SERWIS"}; return SIM(LBFSKREP_R)(&r); }, sim::kInvalidRange},
        {"numbers 0..0", [&] { NumberReportRequest r{0x11, 0, 0, "001", "SERWIS"}; return SIM(LBFSKREP_R)(&r); }, 0},
        {"numbers, kind 0x12", [&] { NumberReportRequest r{0x12, 1, 2, "001", "SERWIS"}; return SIM(LBFSKREP_R)(&r); }, sim::kInvalidArgument},
        {"dates 31.03 to 1.03", [&] { DateReportRequest r{3, 3, 31, 3, 3, 1, 1, "001", "SERWIS"}; return SIM(LBFSKREP_D)(&r); }, sim::kInvalidRange},
        {"dates 2001 to 1999", [&] { DateReportRequest r{1, 1, 1, 99, 12, 31, 0, "001", "SERWIS"}; return SIM(LBFSKREP_D)(&r); }, sim::kInvalidRange},
        {"dates 1999 to 2001", [&] { DateReportRequest r{99, 12, 31, 1, 1, 1, 0, "001", "SERWIS"}; return SIM(LBFSKREP_D)(&r); }, 0},
        {"monthly, month 0", [&] { DateReportRequest r{3, 0, 1, 3, 0, 31, 6, "001", "SERWIS"}; return SIM(LBFSKREP_D)(&r); }, kReportDateError},
        {"monthly, month 13", [&] { DateReportRequest r{3, 13, 1, 3, 13, 30, 7, "001", "SERWIS"}; return SIM(LBFSKREP_D)(&r); }, kReportDateError},
        {"monthly February to day 31", [&] { DateReportRequest r{3, 2, 1, 3, 2, 31, 6, "001", "SERWIS"}; return SIM(LBFSKREP_D)(&r); }, 0},
        {"dates, kind 2", [&] { DateReportRequest r{3, 2, 1, 3, 2, 3, 2, "001", "SERWIS"}; return SIM(LBFSKREP_D)(&r); }, sim::kInvalidArgument},
        {"daily", [&] { DailyReportRequest r{0, {0, 0, 0}, "001", "SERWIS"}; return SIM(LBDAYREP)(&r); }, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.call(), c.result);
    }
    const std::string printout = Printout();
    EXPECT_TRUE(Contains(printout, "RAPORT OKRESOWY SKRÓCONY")) << printout;
    EXPECT_TRUE(Contains(printout, "od 1999-12-31 do 2001-01-01")) << printout;
    EXPECT_TRUE(Contains(printout, "RAPORT MIESIĘCZNY PEŁNY")) << printout;
    EXPECT_TRUE(Contains(printout, "RAPORT DOBOWY nr 42")) << printout;
    EXPECT_FALSE(Contains(printout, "od 2003-03-31")) << "a refused report prints nothing";
}

TEST_F(SimPrinter, GoodsDatabaseAnswersForKnownAndUnknownNames)
{
    OpenPort();
    const struct {
        const char* name;
        unsigned char letter;
        std::int32_t result;
        std::uint8_t blocked;
        const char* rateText;
    } cases[] = {
        {"Chleb", 'B', 0, 1, "7.00"},
        {"Gazeta", 'C', 0, 0, "0.00"},
        {"Us\xB3uga serwisowa", 'G', 0, 1, "100.00"},
        {"Nieznany towar", 'A', 0, 0, "101.00"},
        {"", 'A', 0, 0, "101.00"},
        {"Chleb", 'H', sim::kInvalidArgument, 9, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GoodsQueryResult result{9, nullptr};
        EXPECT_EQ(SIM(LBDBREPRS)(c.name, c.letter, &result), c.result);
        EXPECT_EQ(Value(result.blocked), c.blocked);
        if (c.rateText) {
            EXPECT_STREQ(result.rateText, c.rateText);
        } else {
            EXPECT_EQ(Value(result.rateText), nullptr);
        }
    }
}

TEST_F(SimPrinter, GoodsPrintoutTakesItsThreeStepsInOrder)
{
    OpenPort();
    GoodsPrintRequest step1{1, "Chleb", "B", nullptr, nullptr};
    EXPECT_EQ(SIM(LBDBREP)(&step1, 0), sim::kOutOfSequence);
    GoodsPrintRequest step0{0, nullptr, nullptr, nullptr, nullptr};
    GoodsPrintRequest step2{2, nullptr, nullptr, "001", "SERWIS"};
    EXPECT_EQ(SIM(LBDBREP)(&step0, 0), 0);
    EXPECT_EQ(SIM(LBDBREP)(&step1, 0), 0);
    EXPECT_EQ(SIM(LBDBREP)(&step2, 0), 0);
    const std::string printout = Printout();
    EXPECT_TRUE(Contains(printout, "KONTROLA BAZY TOWAROWEJ")) << printout;
    EXPECT_TRUE(Contains(printout, "sprzedawany w stawce 7.00")) << printout;
}

TEST_F(SimPrinter, SaleAddsOneGroszToItsTotalizerAndBlocksTheName)
{
    OpenPort();
    const FiscalStatus before = Status();
    EXPECT_EQ(Value(before.receiptCount), 12);
    EXPECT_STREQ(before.totalizer[0], "001234.56");

    SIM(LBTRSHDR)(0);
    EXPECT_EQ(Par(), 1) << "a receipt is open";
    Sell("Towar testowy", 'A');
    EXPECT_EQ(Par(), 0);

    const FiscalStatus after = Status();
    EXPECT_STREQ(after.totalizer[0], "001234.57");
    EXPECT_STREQ(after.totalizer[1], "000789.10");
    EXPECT_EQ(Value(after.receiptCount), 13);
    GoodsQueryResult goods{};
    SIM(LBDBREPRS)("Towar testowy", 'A', &goods);
    EXPECT_EQ(Value(goods.blocked), 1);
    EXPECT_STREQ(goods.rateText, "22.00");
    EXPECT_TRUE(Contains(Printout(), "Towar testowy")) << Printout();
}

TEST_F(SimPrinter, SaleLinesAreRefusedAsAPrinterWould)
{
    OpenPort();
    const struct {
        const char* what;
        const char* name;
        unsigned char letter;
        std::int32_t result;
        const char* totalizerAfter; // of the letter sold; nullptr: no totalizer changes
    } cases[] = {
        {"inactive rate D", "Nowy towar", 'D', sim::kInactiveRate, nullptr},
        {"blocked at 7.00, sold at A (22.00)", "Chleb", 'A', sim::kGoodsBlocked, nullptr},
        {"blocked at 7.00, sold at B (7.00)", "Chleb", 'B', 0, "000789.11"},
        {"not blocked, any rate", "Gazeta", 'A', 0, "001234.57"},
        {"no letter", "Nowy towar", 'Z', sim::kInvalidArgument, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> totalizers = Totalizers(Status());
        EXPECT_EQ(Sell(c.name, c.letter), c.result);
        EXPECT_EQ(Par(), 0) << "the receipt end closes the transaction";
        if (c.totalizerAfter) totalizers[static_cast<std::size_t>(c.letter - 'A')] = c.totalizerAfter;
        EXPECT_EQ(Totalizers(Status()), totalizers);
    }

    SaleLineRequest line{1, 0, "Towar", 0, "1", 'A', 0, "0.01", 0, "0.01", 0, "0"};
    EXPECT_EQ(SIM(LBTRSLN)(&line), sim::kOutOfSequence) << "no receipt open";
}

TEST_F(SimPrinter, CancellingDropsTheOpenReceipt)
{
    OpenPort();
    SIM(LBTRSHDR)(0);
    SaleLineRequest line{1, 0, "Towar testowy", 0, "1", 'A', 0, "0.01", 0, "0.01", 0, "0"};
    ASSERT_EQ(SIM(LBTRSLN)(&line), 0);
    EXPECT_EQ(SIM(LBTREXITCAN)("001", "SERWIS"), 0);
    EXPECT_EQ(Par(), 0);
    const FiscalStatus status = Status();
    EXPECT_STREQ(status.totalizer[0], "001234.56");
    EXPECT_EQ(Value(status.receiptCount), 12);
    EXPECT_TRUE(Contains(Printout(), "PARAGON ANULOWANY")) << Printout();

    WriteConfig("transaction = 1");
    EXPECT_EQ(Par(), 1) << "the configuration forces transaction mode";
}

TEST_F(SimPrinter, DisplaysKeepTheirTexts)
{
    OpenPort();
    const struct {
        std::int32_t mode;
        const char* text;
        std::int32_t result;
    } cases[] = {{2, "ab\r", 0}, {3, "", 0}, {4, "", 0}, {5, "\xB3" "a\rb", 0}, {1, "", sim::kInvalidArgument}, {5, nullptr, sim::kMissingData}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(SIM(LBDSP)(c.mode, c.text), c.result);
    }
    EXPECT_EQ(SIM(LBRVINFO)(30, "22 123-45-67"), 0);
    EXPECT_TRUE(Contains(Printout(), "22 123-45-67")) << Printout();
}

} // namespace
} // namespace simtest
