// The diagnostic log's text of a library call: lines pinned here, and the
// same line as the simulated printer journals for the same call.

#include "ScratchDirectory.h"

#include "app/CallText.h"
#include "app/DeviceLibrary.h"
#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>
#include <string>
#include <vector>

namespace qm47 {
namespace {

TEST(CallTextTest, WritesEveryKindOfArgumentAndField)
{
    SetClockRequest clock{3, 7, 2, 9, 5, 0, "001", "SERWIS"};
    PtuRateEntry entries[7] = {{0, "22"}, {UINT32_MAX, "7"}};
    SetPtuRequest rates{2, 1, {0, 0, 9}, entries, "12345678", nullptr};
    SetPtuRequest noEntries{7, 0, {}, nullptr, "12345678", "SERWIS"};
    GoodsQueryResult goods{1, "101.00"};
    const char* const texts[3] = {"", "x", nullptr};
    ReceiptEndRequest end{3, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "1SW", texts, "a", "b", "c", -31, "0.01"};
    end.pairs[7] = {INT32_MAX, "last"};
    const std::string endPairs = [] {
        std::string pairs;
        for (int i = 0; i < 7; ++i)
            pairs += " pairs[" + std::to_string(i) + "].slot=0 pairs[" + std::to_string(i) + "].text=null";
        return pairs;
    }();
    const struct {
        std::string line;
        std::string expected;
    } cases[] = {
        {CallText::Port_Open(0, "com1", 9600), R"(Port_Open port="com1" baud=9600 result=0)"},
        {CallText::Send_BEL(-1), "Send_BEL result=-1"},
        {CallText::LBDSP(0, INT32_MIN, "\"a\\b\"\r\x7F\xB9~ "),
         R"(LBDSP mode=-2147483648 text="\x22a\x5Cb\x22\x0D\x7F\xB9~ " result=0)"},
        {CallText::LBRVINFO(0, 30, nullptr), "LBRVINFO days=30 phone=null result=0"},
        {CallText::LBSETCK(0, &clock),
         R"(LBSETCK year=3 month=7 day=2 hour=9 minute=5 second=0 registerNumber="001" cashier="SERWIS" result=0)"},
        {CallText::LBSETCK(5, nullptr), "LBSETCK request=null result=5"},
        {CallText::LBSETPTU(0, &rates),
         R"(LBSETPTU count=2 reserved1=1 reserved2[0]=0 reserved2[1]=0 reserved2[2]=9 entries[0].reserved=0)"
         R"( entries[0].rateText="22" entries[1].reserved=4294967295 entries[1].rateText="7" registerNumber="12345678")"
         R"( cashier=null result=0)"},
        {CallText::LBSETPTU(0, &noEntries),
         R"(LBSETPTU count=7 reserved1=0 reserved2[0]=0 reserved2[1]=0 reserved2[2]=0 entries=null)"
         R"( registerNumber="12345678" cashier="SERWIS" result=0)"},
        {CallText::LBDBREPRS(0, "Mleko", 'B', &goods),
         R"(LBDBREPRS name="Mleko" rateLetter=66 blocked=1 rateText="101.00" result=0)"},
        {CallText::LBDBREPRS(-5, nullptr, 255, &goods), "LBDBREPRS name=null rateLetter=255 unfilled result=-5"},
        {CallText::LBDBREPRS(0, "", 0, nullptr), R"(LBDBREPRS name="" rateLetter=0 result=null result=0)"},
        {CallText::O_LBTRXEND(0, &end),
         R"(O_LBTRXEND endByte=3 fields[0]=1 fields[1]=2 fields[2]=3 fields[3]=4 fields[4]=5 fields[5]=6)"
         R"( fields[6]=7 fields[7]=8 fields[8]=9 fields[9]=10 code="1SW" texts3[0]="" texts3[1]="x")"
         R"( texts3[2]=null text19="a" text23="b" text27="c" slot31=-31 amount="0.01")" +
             endPairs + R"( pairs[7].slot=2147483647 pairs[7].text="last" result=0)"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.line, c.expected);
}

// The simulated printer's exports journal each call, with its records, as
// they received them (and an answer as they leave it): every export is
// called through the program's typed calls and each line written as the log
// will write it must equal the journal's line of the same call.
TEST(CallTextTest, EqualsTheSimulatedPrintersJournalLineOfEachCall)
{
    testing::ScratchDirectory scratch;
    platform::DynamicLibrary loaded(QM47_SIM_PATH);
    ASSERT_TRUE(loaded.Loaded());
    const DeviceLibrary library = DeviceLibrary::Resolve([&](const char* name) { return loaded.Symbol(name); });

    // Calls the export, then writes the call as the log will.
    struct CallAndText {
        const DeviceLibrary& library;
#define QM47_CALL_AND_TEXT(name, params, args)              \
    std::string name params const                           \
    {                                                       \
        const std::int32_t returned = library.name args.code; \
        return QM47_CALL_TEXT(name, args, returned);        \
    }
#define QM47_NOT_CALLED(name)
        QM47_DEVICE_LIBRARY_EXPORTS(QM47_CALL_AND_TEXT, QM47_NOT_CALLED)
#undef QM47_CALL_AND_TEXT
#undef QM47_NOT_CALLED
    } call{library};

    PrinterStatus printer{9, 9, 9};
    CashRegisterStatus cashRegister{9, 9, 9, 9};
    DeviceIdentity identity{};
    FiscalStatus fiscal = PresetFiscalStatus();
    ClockTime clock{};
    GoodsQueryResult goods{};
    SetClockRequest setClock{26, 12, 31, 23, 59, 58, "001", "SERWIS"};
    PtuRateEntry entries[7] = {{0, "22"}, {0x80000000, "7"}, {2, "0"}, {3, "101"}, {4, "101"}, {5, "101"}, {6, "100"}};
    SetPtuRequest rates{9, 2, {3, 4, 5}, entries, "12345678", "SERWIS"};
    SetPtuRequest noRates{7, 0, {}, nullptr, "12345678", "SERWIS"};
    DailyReportRequest daily{0, {1, 2, 3}, "001", "SERWIS"};
    NumberReportRequest numbers{0x11, -4, 2147483647, "001", "SERWIS"};
    DateReportRequest dates{26, 1, 2, 26, 3, 4, 1, "001", "SERWIS"};
    GoodsPrintRequest print{1, "Mleko \xB9", "B", nullptr, "SERWIS"};
    SaleLineRequest sale{1, 0, "Towar testowy", 6, "1", 'C', 15, "0.01", 23, "0.01", 31, "0"};
    const char* const texts[3] = {"", "\"", ""};
    ReceiptEndRequest end{3, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "1SW", texts, "", "", "", 31, "0.01"};
    for (int i = 0; i < 8; ++i) end.pairs[i] = {i * 10, i % 2 ? "" : nullptr};

    const std::vector<std::string> lines = {
        call.GetStatus_Printer(&printer), // before a port is open: fails, the record unfilled
        call.Port_Open("com1", 9600),
        call.Port_Open("COM0", 9600),
        call.Port_Open("com1", 9600),
        call.LBSERM(3),
        call.Send_BEL(),
        call.GetStatus_Printer(&printer),
        call.GetStatus_Printer(nullptr),
        call.GetStatus_CashRegister(&cashRegister),
        call.LBIDRQ(&identity),
        call.LBFSTRQ(&fiscal),
        call.LBSENDCK(&clock),
        call.LBSETCK(&setClock),
        call.LBSETCK(nullptr),
        call.LBSETPTU(&rates),
        call.LBSETPTU(&noRates),
        call.LBSETHDR("\x0ENAG\xA3\xD3WEK\x0E\r\nlinia 2\\", "001", "Serwis"),
        call.LBRVINFO(-30, "+48 22 000 00 00"),
        call.LBDSP(2, "linia 1\rlinia 2"),
        call.LBDAYREP(&daily),
        call.LBFSKREP_R(&numbers),
        call.LBFSKREP_D(&dates),
        call.LBDBREPRS("Mleko", 'B', &goods),
        call.LBDBREPRS(nullptr, 0xFF, nullptr),
        call.LBDBREP(&print, 7),
        call.LBTRSHDR(0),
        call.LBTRSLN(&sale),
        call.O_LBTRXEND(&end),
        call.LBTREXITCAN("001", "SERWIS"),
        call.ErrorMessage("", -2147483647 - 1),
        call.Port_Close(),
    };
    std::vector<std::string> journal;
    std::istringstream in(testing::ReadFile("qm47sim.journal").value_or(""));
    for (std::string line; std::getline(in, line);) journal.push_back(line);
    ASSERT_EQ(journal.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], journal[i]);
}

} // namespace
} // namespace qm47
