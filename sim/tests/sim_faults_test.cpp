// The journal lines and the configured faults (qm47sim.ini).

#include "SimHarness.h"

#include "sim/ErrorCodes.h"

#include <cstring>

namespace simtest {
namespace {

using namespace qm47;

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

template <class Record>
bool SameBytes(const Record& a, const Record& b)
{
    return std::memcmp(&a, &b, sizeof(Record)) == 0;
}

class SimJournal : public SimTest {};

TEST_F(SimJournal, WritesOneLinePerCallInTheAgreedFormat)
{
    WriteConfig("error_box = 0\n");
    PtuRateEntry entries[7] = {{0, "22"}, {0, "7"}, {0, "0"}, {0, "101"}, {0, "101"}, {0, "101"}, {0, "100"}};
    SetPtuRequest rates{7, 0, {0, 0, 0}, entries, "12345678", "SERWIS"};
    SetClockRequest clock{3, 7, 2, 9, 5, 0, "001", "SERWIS"};
    GoodsPrintRequest goodsStart{0, nullptr, nullptr, nullptr, nullptr};
    DateReportRequest monthly{3, 2, 1, 3, 2, 31, 6, "001", "SERWIS"};
    PrinterStatus printer{9, 9, 9};
    GoodsQueryResult goods{};

    const struct {
        const char* what;
        std::function<std::int32_t()> call;
        std::string line;
    } cases[] = {
        {"port", [&] { return SIM(Port_Open)("com1", 9600); }, R"(Port_Open port="com1" baud=9600 result=0)"},
        {"printer status", [&] { return SIM(GetStatus_Printer)(&printer); }, "GetStatus_Printer onl=1 pe=0 err=0 result=0"},
        {"clock", [&] { return SIM(LBSETCK)(&clock); },
         R"(LBSETCK year=3 month=7 day=2 hour=9 minute=5 second=0 registerNumber="001" cashier="SERWIS" result=0)"},
        {"header bytes", [&] { return SIM(LBSETHDR)("\x9C\xA2" "d\xA6\r", "001", "Serwis"); },
         R"(LBSETHDR header="\x9C\xA2d\xA6\x0D" registerNumber="001" cashier="Serwis" result=0)"},
        {"quote and backslash", [&] { return SIM(LBDSP)(2, "a\"b\\c"); }, R"(LBDSP mode=2 text="a\x22b\x5Cc" result=0)"},
        {"rates", [&] { return SIM(LBSETPTU)(&rates); },
         "LBSETPTU count=7 reserved1=0 reserved2[0]=0 reserved2[1]=0 reserved2[2]=0"
         R"( entries[0].reserved=0 entries[0].rateText="22" entries[1].reserved=0 entries[1].rateText="7")"
         R"( entries[2].reserved=0 entries[2].rateText="0" entries[3].reserved=0 entries[3].rateText="101")"
         R"( entries[4].reserved=0 entries[4].rateText="101" entries[5].reserved=0 entries[5].rateText="101")"
         R"( entries[6].reserved=0 entries[6].rateText="100" registerNumber="12345678" cashier="SERWIS" result=0)"},
        {"null texts", [&] { return SIM(LBDBREP)(&goodsStart, 0); },
         "LBDBREP step=0 goodsName=null rateLetter=null registerNumber=null cashier=null option=0 result=0"},
        {"one-byte argument", [&] { return SIM(LBDBREPRS)("Kawa", 'A', &goods); },
         R"(LBDBREPRS name="Kawa" rateLetter=65 blocked=1 rateText="22.00" result=0)"},
        {"signed result", [&] { return SIM(LBFSKREP_D)(&monthly); },
         R"(LBFSKREP_D firstYear=3 firstMonth=2 firstDay=1 lastYear=3 lastMonth=2 lastDay=31 kind=6 registerNumber="001" cashier="SERWIS" result=0)"},
        {"error message", [&] { return SIM(ErrorMessage)("", -25); }, R"(ErrorMessage text="" code=-25 result=0)"},
        {"null record", [&] { return SIM(LBSETCK)(nullptr); }, "LBSETCK request=null result=-3"},
        {"close", [&] { return SIM(Port_Close)(); }, "Port_Close result=0"},
    };
    std::size_t expectedLines = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.call();
        ++expectedLines;
        EXPECT_EQ(Journal().size(), expectedLines);
        EXPECT_EQ(LastJournalLine(), c.line);
    }
}

TEST_F(SimJournal, FiscalStatusShowsEveryFieldItWrote)
{
    OpenPort();
    FiscalStatus status = PresetFiscalStatus();
    SIM(LBFSTRQ)(&status);
    EXPECT_EQ(LastJournalLine(),
              "LBFSTRQ unused0=0 fiscalFlag=0 unused2=0 unused3=0 unused4=0 ramResets=2 lastFmYear=3 lastFmMonth=6 "
              "lastFmDay=30 "
              R"(ptuRate[0]="22.00" ptuRate[1]="7.00" ptuRate[2]="0.00" ptuRate[3]="101.00" ptuRate[4]="101.00" )"
              R"(ptuRate[5]="101.00" ptuRate[6]="100.00" receiptCount=12 )"
              R"(totalizer[0]="001234.56" totalizer[1]="000789.10" totalizer[2]="000045.00" totalizer[3]="000000.00" )"
              R"(totalizer[4]="000000.00" totalizer[5]="000000.00" totalizer[6]="000012.30" unused69="0" )"
              R"(uniqueNumber="ABC12345678" result=0)");
}

class SimFaults : public SimTest {};

TEST_F(SimFaults, ForcedResultIsReturnedAndTheCallHasNoEffect)
{
    OpenPort();
    ClockTime before{};
    SIM(LBSENDCK)(&before);

    WriteConfig("result.LBSETCK = 0xE0000001  # impossible date\nresult.LBSETPTU = -7\nresult.LBIDRQ=-25\n");
    SetClockRequest clock{99, 1, 1, 0, 0, 0, "001", "SERWIS"};
    EXPECT_EQ(SIM(LBSETCK)(&clock), static_cast<std::int32_t>(0xE0000001u));
    EXPECT_TRUE(EndsWith(LastJournalLine(), " result=-536870911")) << LastJournalLine();

    PtuRateEntry entries[7] = {{0, "5"}, {0, "5"}, {0, "5"}, {0, "5"}, {0, "5"}, {0, "5"}, {0, "5"}};
    SetPtuRequest rates{7, 0, {0, 0, 0}, entries, "12345678", "SERWIS"};
    EXPECT_EQ(SIM(LBSETPTU)(&rates), -7);

    DeviceIdentity identity{"x", "y"};
    EXPECT_EQ(SIM(LBIDRQ)(&identity), -25);
    EXPECT_STREQ(identity.namePart1, "x");
    EXPECT_EQ(LastJournalLine(), "LBIDRQ unfilled result=-25");

    WriteConfig("");
    ClockTime after{};
    SIM(LBSENDCK)(&after);
    EXPECT_EQ(Value(after.year), Value(before.year)) << "the forced LBSETCK must not move the clock";
    FiscalStatus status = PresetFiscalStatus();
    SIM(LBFSTRQ)(&status);
    EXPECT_STREQ(status.ptuRate[0], "22.00") << "the forced LBSETPTU must not change the rates";
}

TEST_F(SimFaults, UnfilledLeavesEachOutputRecordUntouched)
{
    OpenPort();
    WriteConfig("unfilled = LBIDRQ, LBFSTRQ,LBSENDCK , LBDBREPRS,GetStatus_Printer,GetStatus_CashRegister\n");

    DeviceIdentity identity{"a", "b"};
    const DeviceIdentity identityBefore = identity;
    FiscalStatus status = PresetFiscalStatus();
    const FiscalStatus statusBefore = status;
    ClockTime clock{1, 2, 3, 4, 5, 6};
    const ClockTime clockBefore = clock;
    GoodsQueryResult goods{7, "x"};
    const GoodsQueryResult goodsBefore = goods;
    PrinterStatus printer{9, 9, 9};
    const PrinterStatus printerBefore = printer;
    CashRegisterStatus cash{9, 9, 9, 9};
    const CashRegisterStatus cashBefore = cash;

    EXPECT_EQ(SIM(LBIDRQ)(&identity), 0);
    EXPECT_TRUE(SameBytes(identity, identityBefore));
    EXPECT_EQ(SIM(LBFSTRQ)(&status), 0);
    EXPECT_TRUE(SameBytes(status, statusBefore));
    EXPECT_EQ(SIM(LBSENDCK)(&clock), 0);
    EXPECT_TRUE(SameBytes(clock, clockBefore));
    EXPECT_EQ(SIM(LBDBREPRS)("Kawa", 'A', &goods), 0);
    EXPECT_TRUE(SameBytes(goods, goodsBefore));
    EXPECT_EQ(SIM(GetStatus_Printer)(&printer), 0);
    EXPECT_TRUE(SameBytes(printer, printerBefore));
    EXPECT_EQ(SIM(GetStatus_CashRegister)(&cash), 0);
    EXPECT_TRUE(SameBytes(cash, cashBefore));

    const auto journal = Journal();
    ASSERT_EQ(journal.size(), 7u);
    EXPECT_EQ(journal[1], "LBIDRQ unfilled result=0");
    EXPECT_EQ(journal[4], R"(LBDBREPRS name="Kawa" rateLetter=65 unfilled result=0)");
}

TEST_F(SimFaults, NullTextsClearOnlyTheTextPointers)
{
    OpenPort();
    WriteConfig("null_texts = LBIDRQ,LBFSTRQ,LBDBREPRS\n");

    DeviceIdentity identity{"a", "b"};
    EXPECT_EQ(SIM(LBIDRQ)(&identity), 0);
    EXPECT_EQ(Value(identity.namePart1), nullptr);
    EXPECT_EQ(Value(identity.namePart2), nullptr);
    EXPECT_EQ(LastJournalLine(), "LBIDRQ namePart1=null namePart2=null result=0");

    FiscalStatus status = PresetFiscalStatus();
    EXPECT_EQ(SIM(LBFSTRQ)(&status), 0);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Value(status.ptuRate[i]), nullptr) << i;
        EXPECT_EQ(Value(status.totalizer[i]), nullptr) << i;
    }
    EXPECT_EQ(Value(status.unused69), nullptr);
    EXPECT_EQ(Value(status.uniqueNumber), nullptr);
    EXPECT_EQ(Value(status.ramResets), 2);
    EXPECT_EQ(Value(status.receiptCount), 12);

    GoodsQueryResult goods{9, "x"};
    EXPECT_EQ(SIM(LBDBREPRS)("Kawa", 'A', &goods), 0);
    EXPECT_EQ(Value(goods.blocked), 1);
    EXPECT_EQ(Value(goods.rateText), nullptr);
}

TEST_F(SimFaults, StatusQueriesAnswerAsConfigured)
{
    OpenPort();
    const struct {
        const char* config;
        PrinterStatus printer; // 9 9 9: left untouched
        CashRegisterStatus cash;
        std::int32_t cashResult;
    } cases[] = {
        {"", {1, 0, 0}, {0, 0, 0, 0}, 0},
        {"online = 0\npe = 1\nerr = -3", {0, 1, -3}, {0, 0, 0, 0}, 0},
        {"online = 2", {2, 0, 0}, {0, 0, 0, 0}, 0},
        {"online = none", {9, 9, 9}, {0, 0, 0, 0}, 0},
        {"fiscal = 1", {1, 0, 0}, {1, 0, 0, 0}, 0},
        {"fiscal = 1\nfsk = 0\ncmd = 4\ntrf = 5\ntransaction = 1", {1, 0, 0}, {0, 4, 1, 5}, 0},
        {"cash_register = fail", {1, 0, 0}, {9, 9, 9, 9}, sim::kNoConnection},
        {"online = 0x\n# unreadable: default\nbogus = 3", {1, 0, 0}, {0, 0, 0, 0}, 0},
        {"\xEF\xBB\xBFonline = 0\r\npe = 1  # saved on Windows\r\n", {0, 1, 0}, {0, 0, 0, 0}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        WriteConfig(c.config);
        PrinterStatus printer{9, 9, 9};
        SIM(GetStatus_Printer)(&printer);
        EXPECT_EQ(Value(printer.onl), Value(c.printer.onl));
        EXPECT_EQ(Value(printer.pe), Value(c.printer.pe));
        EXPECT_EQ(Value(printer.err), Value(c.printer.err));
        CashRegisterStatus cash{9, 9, 9, 9};
        EXPECT_EQ(SIM(GetStatus_CashRegister)(&cash), c.cashResult);
        EXPECT_TRUE(SameBytes(cash, c.cash)) << cash.fsk << cash.cmd << cash.par << cash.trf;
    }
}

TEST_F(SimFaults, OnlineSequenceAnswersInTurnAndRepeatsItsLast)
{
    OpenPort();
    WriteConfig("online = 1\nonline_sequence = 0, none ,2,1\n");
    const std::int32_t expected[] = {0, 9, 2, 1, 1, 1};
    for (const std::int32_t onl : expected) {
        PrinterStatus printer{9, 9, 9};
        SIM(GetStatus_Printer)(&printer);
        EXPECT_EQ(Value(printer.onl), onl);
    }
    const auto journal = Journal();
    EXPECT_EQ(journal[2], "GetStatus_Printer unfilled result=-1");
}

TEST_F(SimFaults, DeviceNameComesInTwoParts)
{
    OpenPort();
    const struct {
        const char* config;
        const char* first;
        const char* second;
    } cases[] = {
        {"", "TALMIR", "Serwis"},
        {"device_name = OrbelaMakron|X1", "OrbelaMakron", "X1"},
        {"device_name = |Serwis", "", "Serwis"},
        {"device_name = TALMIR|", "TALMIR", ""},
        {"device_name = TALMIR", "TALMIR", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.config);
        WriteConfig(c.config);
        DeviceIdentity identity{};
        ASSERT_EQ(SIM(LBIDRQ)(&identity), 0);
        EXPECT_STREQ(identity.namePart1, c.first);
        EXPECT_STREQ(identity.namePart2, c.second);
    }
}

TEST_F(SimFaults, PortOpenRefusesBadNamesAndWhenConfiguredToFail)
{
    const struct {
        const char* port;
        std::int32_t result;
    } cases[] = {
        {"com1", 0}, {"COM2", 0}, {"Com256", 0}, {"com10", 0},
        {"com0", -1}, {"com257", -1}, {"com01", -1}, {"com", -1}, {"", -1},
        {"lpt1", -1}, {"com1 ", -1}, {"com-1", -1}, {nullptr, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port ? c.port : "null");
        EXPECT_EQ(SIM(Port_Open)(c.port, 9600), c.result);
    }
    WriteConfig("port_open = fail");
    EXPECT_EQ(SIM(Port_Open)("com1", 9600), -1);
}

TEST(SimErrorBoxText, ExplainsTheCodesInPolish)
{
    EXPECT_EQ(sim::ErrorBoxText(-25, ""), "Błąd -25: Błędny zakres");
    EXPECT_EQ(sim::ErrorBoxText(static_cast<std::int32_t>(0xE0000001u), ""), "Błąd 0xE0000001: Błędna data raportu");
    EXPECT_EQ(sim::ErrorBoxText(-10, ""), "Błąd -10: Błędna data lub godzina");
    EXPECT_EQ(sim::ErrorBoxText(1234, ""), "Nieznany błąd drukarki: 1234");
    EXPECT_EQ(sim::ErrorBoxText(0, ""), "Nieznany błąd drukarki: 0");
    EXPECT_EQ(sim::ErrorBoxText(-2, "Szczegóły"), "Błąd -2: Port nie jest otwarty\nSzczegóły");
}

} // namespace
} // namespace simtest
