// The printer a technician trains on: its state at load from qm47sim.ini, the
// goods database and the control sale as the program uses them, what it
// prints and shows, and the settings lines it cannot read.

#include "SimHarness.h"

#include "sim/ErrorCodes.h"

namespace simtest {
namespace {

using namespace qm47;

// The program's blocked test: the whole-number part of a rate text.
int IntegerPart(const char* text)
{
    int value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = value * 10 + (*text - '0');
    return value;
}

// Characters of a UTF-8 text.
std::size_t Width(const std::string& utf8)
{
    std::size_t width = 0;
    for (const char c : utf8) width += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return width;
}

// A 40-column printout line with `left` and `right` at the margins.
std::string Columns(const std::string& left, const std::string& right)
{
    return left + std::string(40 - Width(left) - Width(right), ' ') + right;
}

bool HasLine(const std::string& text, const std::string& line) { return Contains("\n" + text, "\n" + line + "\n"); }

// An article as a sale line and the goods database name it: its name and a
// rate letter.
struct Article {
    const char* name;
    unsigned char letter;
};

// A table row's article as a failure names it: "Mleko B".
std::string Named(const Article& article) { return std::string(article.name) + " " + static_cast<char>(article.letter); }

class SimState : public SimTest {
protected:
    FiscalStatus Status() const
    {
        FiscalStatus status = PresetFiscalStatus();
        EXPECT_EQ(SIM(LBFSTRQ)(&status), 0);
        return status;
    }

    std::int32_t Par() const
    {
        CashRegisterStatus cash{9, 9, 9, 9};
        SIM(GetStatus_CashRegister)(&cash);
        return cash.par;
    }

    std::int32_t SaleLine(const char* name, unsigned char letter) const
    {
        SaleLineRequest line{1, 0, name, 0, "1", letter, 0, "0.01", 0, "0.01", 0, "0"};
        return SIM(LBTRSLN)(&line);
    }

    std::int32_t EndReceipt() const
    {
        ReceiptEndRequest end = m_receiptEnd;
        return SIM(O_LBTRXEND)(&end);
    }

    // The control sale as the program sends it; answers the sale line's result.
    std::int32_t Sell(const Article& article) const
    {
        SIM(LBTRSHDR)(0);
        const std::int32_t result = SaleLine(article.name, article.letter);
        EndReceipt();
        return result;
    }

    const char* m_empty[3] = {"", "", ""};
    ReceiptEndRequest m_receiptEnd{3, {}, "1SW", m_empty, "", "", "", 0, "0.01",
                                   {{0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}, {0, ""}}};
};

TEST_F(SimState, GoodsFromTheSettingsReplaceTheBuiltInDatabase)
{
    WriteConfig("goods = Mleko:B, Chleb:A, Gazeta:C:0, Us\xB3uga:G\n");
    OpenPort();
    const struct {
        Article article;
        std::uint8_t blocked;
        const char* rateText;
    } cases[] = {
        {{"Mleko", 'B'}, 1, "7.00"},      {{"Mleko", 'A'}, 1, "7.00"},  {{"Chleb", 'A'}, 1, "22.00"},
        {{"Gazeta", 'C'}, 0, "0.00"},     {{"Us\xB3uga", 'G'}, 1, "100.00"},
        {{"Kawa", 'A'}, 0, "101.00"},     // only in the built-in database
        {{"mleko", 'B'}, 0, "101.00"},    // names are told apart by case
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Named(c.article));
        GoodsQueryResult result{9, nullptr};
        ASSERT_EQ(SIM(LBDBREPRS)(c.article.name, c.article.letter, &result), 0);
        EXPECT_EQ(Value(result.blocked), c.blocked);
        const char* rateText = result.rateText;
        ASSERT_NE(rateText, nullptr);
        Status();
        EXPECT_STREQ(rateText, c.rateText) << "the text stays valid after other calls";
    }
}

// The program refuses a sale when the flag is 1 and the whole-number parts of
// the held rate and the letter's rate differ; the printer refuses a line at a
// rate other than the one the name is held at. The two must agree.
TEST_F(SimState, QueryAnswerTellsWhetherTheSaleGoesThrough)
{
    WriteConfig("goods = Chleb:B, Us\xB3uga:G, Gazeta:C:0\n");
    OpenPort();
    const struct {
        Article article;
        std::int32_t line; // result of LBTRSLN
    } cases[] = {
        {{"Chleb", 'A'}, sim::kGoodsBlocked},    {{"Chleb", 'B'}, 0},
        {{"Chleb", 'C'}, sim::kGoodsBlocked},    {{"Chleb", 'G'}, sim::kGoodsBlocked},
        {{"Chleb", 'D'}, sim::kInactiveRate},    {{"Us\xB3uga", 'A'}, sim::kGoodsBlocked},
        {{"Us\xB3uga", 'G'}, 0},                 {{"Gazeta", 'A'}, 0}, // not blocked: sold at any rate...
        {{"Gazeta", 'C'}, sim::kGoodsBlocked},   // ...and from then on held at 22.00
        {{"Nowy towar", 'C'}, 0},                {{"Nowy towar", 'A'}, sim::kGoodsBlocked},
    };
    for (const auto& c : cases) {
        const auto [name, letter] = c.article;
        SCOPED_TRACE(Named(c.article));
        GoodsQueryResult goods{9, nullptr};
        ASSERT_EQ(SIM(LBDBREPRS)(name, letter, &goods), 0);
        const std::string heldRate = goods.rateText;
        const FiscalStatus status = Status();
        const bool programRefuses =
            Value(goods.blocked) == 1 && IntegerPart(heldRate.c_str()) != IntegerPart(status.ptuRate[letter - 'A']);
        if (c.line != sim::kInactiveRate) EXPECT_EQ(programRefuses, c.line == sim::kGoodsBlocked);
        EXPECT_EQ(Sell(c.article), c.line);
    }
}

TEST_F(SimState, OpenReceiptAtLoadIsEndedOrCancelledLikeAnyOther)
{
    WriteConfig("open_receipt = 1\n");
    OpenPort();
    EXPECT_EQ(Par(), 1) << "the printer starts in transaction mode";
    EXPECT_EQ(EndReceipt(), 0);
    EXPECT_EQ(Par(), 0);
    EXPECT_EQ(Value(Status().receiptCount), 12) << "a receipt without lines is not counted";

    EXPECT_EQ(SIM(LBTRSHDR)(0), 0);
    EXPECT_EQ(Par(), 1);
    ASSERT_EQ(SaleLine("Towar testowy", 'A'), 0);
    EXPECT_EQ(Par(), 1);
    EXPECT_EQ(SIM(LBTREXITCAN)("001", "SERWIS"), 0);
    EXPECT_EQ(Par(), 0);
    const FiscalStatus status = Status();
    EXPECT_EQ(Value(status.receiptCount), 12);
    EXPECT_STREQ(status.totalizer[0], "001234.56") << "a cancelled receipt adds nothing";
    EXPECT_EQ(EndReceipt(), sim::kOutOfSequence);
    EXPECT_EQ(SIM(LBTREXITCAN)("001", "SERWIS"), 0) << "cancelling with nothing open is harmless";
}

TEST_F(SimState, TotalizersAndReceiptCountFromTheSettingsGrowByEachSale)
{
    WriteConfig("totalizers = 0, 0.5, 0, 0, 0, 0, 999999.99\nreceipt_count = 0\n");
    OpenPort();
    const struct {
        Article article;
        std::int32_t receipts;
        std::vector<std::string> totalizers;
    } steps[] = {
        {{"Towar testowy", 'A'}, 1, {"000000.01", "000000.50", "000000.00", "000000.00", "000000.00", "000000.00", "999999.99"}},
        {{"Towar testowy", 'A'}, 2, {"000000.02", "000000.50", "000000.00", "000000.00", "000000.00", "000000.00", "999999.99"}},
        {{"Towar testowy", 'B'}, 2, {"000000.02", "000000.50", "000000.00", "000000.00", "000000.00", "000000.00", "999999.99"}},
        {{"Serwis", 'G'}, 3, {"000000.02", "000000.50", "000000.00", "000000.00", "000000.00", "000000.00", "1000000.00"}},
        {{"Sok", 'E'}, 3, {"000000.02", "000000.50", "000000.00", "000000.00", "000000.00", "000000.00", "1000000.00"}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(Named(step.article));
        Sell(step.article);
        const FiscalStatus status = Status();
        EXPECT_EQ(Value(status.receiptCount), step.receipts);
        for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(std::string(status.totalizer[i]), step.totalizers[i]) << i;
    }
}

TEST_F(SimState, StateAtLoadComesFromTheFirstCallOnly)
{
    OpenPort();
    WriteConfig("receipt_count = 99\nopen_receipt = 1\ngoods = Kawa:B\n");
    EXPECT_EQ(Value(Status().receiptCount), 12);
    EXPECT_EQ(Par(), 0);
    GoodsQueryResult goods{};
    SIM(LBDBREPRS)("Kawa", 'A', &goods);
    EXPECT_STREQ(goods.rateText, "22.00");
}

TEST_F(SimState, IgnoredSettingsLinesAreJournaledOnceAndTheRestApplies)
{
    WriteConfig("error_box = 0\nonlin = 0\nonline = 0\ngoods = Chleb:X\n");
    OpenPort();
    PrinterStatus printer{9, 9, 9};
    SIM(GetStatus_Printer)(&printer);
    SIM(GetStatus_Printer)(&printer);
    EXPECT_EQ(Journal(), (std::vector<std::string>{
                             R"(qm47sim.ini line=2 text="onlin = 0" ignored=unknown-key)",
                             R"(qm47sim.ini line=4 text="goods = Chleb:X" ignored=bad-value)",
                             R"(Port_Open port="com1" baud=9600 result=0)",
                             "GetStatus_Printer onl=0 pe=0 err=0 result=0",
                             "GetStatus_Printer onl=0 pe=0 err=0 result=0",
                         }));

    WriteConfig("error_box = 0\n");
    SIM(Send_BEL)();
    WriteConfig("error_box = 0\n\n  bogus  # what was this\n");
    SIM(Send_BEL)();
    const auto lines = Journal();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], "Send_BEL result=0");
    EXPECT_EQ(lines[6], R"(qm47sim.ini line=3 text="bogus  # what was this" ignored=no-equals-sign)")
        << "a file broken again is reported again";
    EXPECT_EQ(lines[7], "Send_BEL result=0");
}

TEST_F(SimState, PrintoutShowsGoodsChecksReceiptsDisplaysAndTheServiceReminder)
{
    WriteConfig("goods = Mleko:B\n");
    OpenPort();
    GoodsPrintRequest steps[] = {{0, nullptr, nullptr, nullptr, nullptr},
                                 {1, "Mleko", "B", nullptr, nullptr},
                                 {2, nullptr, nullptr, "001", "SERWIS"}};
    for (GoodsPrintRequest& step : steps) EXPECT_EQ(SIM(LBDBREP)(&step, 0), 0);
    const std::string goodsCheck = Printout();
    for (const std::string& line : {Columns("Towar:", "Mleko"), Columns("Stawka B:", "7.00 %"),
                                    Columns("W bazie:", "sprzedawany w stawce 7.00"), Columns("Status:", "zablokowany"),
                                    Columns("Sprzedaż w stawce B:", "możliwa"),
                                    Columns("Kasa:", "001"), Columns("Kasjer:", "SERWIS")})
        EXPECT_TRUE(HasLine(goodsCheck, line)) << line << "\n" << goodsCheck;

    ASSERT_EQ(Sell({"Towar testowy", 'A'}), 0);
    const std::string receipt = Printout().substr(goodsCheck.size());
    for (const std::string& line : {std::string("FIRMA PRZYKŁADOWA"), Columns("Towar testowy", "1 x 0.01 A"),
                                    Columns("SUMA PLN", "0.01"), Columns("Paragon nr", "13"), std::string("ABC12345678")})
        EXPECT_TRUE(Contains(receipt, line)) << line << "\n" << receipt;

    ASSERT_EQ(SIM(LBDSP)(2, "Dzie\xF1 dobry\rKasa 1"), 0);
    ASSERT_EQ(SIM(LBDSP)(5, "Serwis\r"), 0);
    std::string shown = Printout();
    EXPECT_TRUE(Contains(shown, "~~~~~~~~~~~~~ WYŚWIETLACZE ~~~~~~~~~~~~~\n"
                                "klient:   |Dzień dobry         |\n"
                                "          |Kasa 1              |\n"
                                "operator: |Serwis              |\n"
                                "          |                    |\n"
                                "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\n"))
        << shown;
    ASSERT_EQ(SIM(LBDSP)(4, ""), 0);
    EXPECT_TRUE(Contains(Printout().substr(shown.size()), "klient:   |TRYB KASOWY         |\n")) << Printout();
    shown = Printout();
    ASSERT_EQ(SIM(LBDSP)(3, ""), 0);
    const std::string dateTime = Printout().substr(shown.size());
    EXPECT_TRUE(Contains(dateTime, "klient:   |20")) << dateTime;
    EXPECT_TRUE(Contains(dateTime, "operator: |Serwis              |")) << "the operator display keeps its text";

    ASSERT_EQ(SIM(LBRVINFO)(30, "22 123-45-67"), 0);
    DailyReportRequest daily{0, {0, 0, 0}, "001", "SERWIS"};
    ASSERT_EQ(SIM(LBDAYREP)(&daily), 0);
    const std::string report = Printout().substr(Printout().find("RAPORT DOBOWY"));
    EXPECT_TRUE(HasLine(report, Columns("Przegląd serwisowy za:", "30 dni"))) << report;
    EXPECT_TRUE(HasLine(report, Columns("Telefon serwisu:", "22 123-45-67"))) << report;
}

TEST_F(SimState, SaleRecordsAreJournaledFieldByFieldAndNullsAreNeverFollowed)
{
    OpenPort();
    ASSERT_EQ(SIM(LBTRSHDR)(0), 0);
    ASSERT_EQ(SaleLine("Towar testowy", 'A'), 0);
    ASSERT_EQ(EndReceipt(), 0);
    std::string end = "O_LBTRXEND endByte=3";
    for (int i = 0; i < 10; ++i) end += " fields[" + std::to_string(i) + "]=0";
    end += R"( code="1SW" texts3[0]="" texts3[1]="" texts3[2]="" text19="" text23="" text27="" slot31=0 amount="0.01")";
    for (int i = 0; i < 8; ++i) end += " pairs[" + std::to_string(i) + "].slot=0 pairs[" + std::to_string(i) + "].text=\"\"";
    end += " result=0";
    const auto lines = Journal();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "LBTRSHDR mode=0 result=0");
    EXPECT_EQ(lines[2], R"(LBTRSLN lineByteA=1 lineByteB=0 name="Towar testowy" slot6=0 quantity="1" rateLetter=65)"
                        R"( slot15=0 price="0.01" slot23=0 value="0.01" slot31=0 lastText="0" result=0)");
    EXPECT_EQ(lines[3], end);

    // Null texts anywhere: journaled as null, refused where needed, never read.
    SIM(LBTRSHDR)(0);
    SaleLineRequest noTexts{1, 0, nullptr, 0, nullptr, 'A', 0, nullptr, 0, nullptr, 0, nullptr};
    EXPECT_EQ(SIM(LBTRSLN)(&noTexts), sim::kMissingData);
    EXPECT_EQ(LastJournalLine(), "LBTRSLN lineByteA=1 lineByteB=0 name=null slot6=0 quantity=null rateLetter=65"
                                 " slot15=0 price=null slot23=0 value=null slot31=0 lastText=null result=-3");
    ReceiptEndRequest noArray = m_receiptEnd;
    noArray.texts3 = nullptr;
    noArray.amount = nullptr;
    EXPECT_EQ(SIM(O_LBTRXEND)(&noArray), 0);
    EXPECT_TRUE(Contains(LastJournalLine(), " texts3=null text19=")) << LastJournalLine();
    EXPECT_TRUE(Contains(LastJournalLine(), " amount=null ")) << LastJournalLine();
    const char* withNull[3] = {"", nullptr, ""};
    ReceiptEndRequest nullInArray = m_receiptEnd;
    nullInArray.texts3 = withNull;
    EXPECT_EQ(SIM(O_LBTRXEND)(&nullInArray), sim::kOutOfSequence);
    EXPECT_TRUE(Contains(LastJournalLine(), R"( texts3[0]="" texts3[1]=null texts3[2]="" )")) << LastJournalLine();
    EXPECT_EQ(SIM(O_LBTRXEND)(nullptr), sim::kMissingData);
    EXPECT_EQ(SIM(LBTRSLN)(nullptr), sim::kMissingData);
    EXPECT_EQ(SIM(LBDBREP)(nullptr, 0), sim::kMissingData);
    EXPECT_EQ(SIM(LBDBREPRS)(nullptr, 'A', nullptr), sim::kMissingData);
    EXPECT_EQ(LastJournalLine(), "LBDBREPRS name=null rateLetter=65 result=null result=-3");
}

} // namespace
} // namespace simtest
