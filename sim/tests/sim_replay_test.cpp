// Replaying a technician's log: the log's lines read back (the bad logs are
// rows of one table), and the simulated printer answering from a log.

#include "SimHarness.h"

#include "sim/ErrorCodes.h"
#include "sim/ReplayLog.h"

#include <chrono>

namespace simtest {
namespace {

using namespace qm47;
using namespace sim::replay;

constexpr const char* kHeader = "==== QM47 1.03, 2026-12-09 10:00:00, Windows 6.1.7601 (Wine 8.0), log Z:\\a\\QM47.log\r\n";

std::string Session(std::initializer_list<const char*> bodies)
{
    std::string text = kHeader;
    for (const char* body : bodies) text += std::string("[      12 ms] ") + body + "\r\n";
    return text;
}

TEST(ReplayLog, ABadLogIsNamedWithItsLineAndWhatWasExpected)
{
    const std::string good = Session({R"(Port_Open port="COM3" baud=9600)", "Port_Open result=0 (took 1 ms)"});
    const struct {
        const char* label;
        std::string log;
        int session; // 0: the last
        int line;    // of the problem; -1: none
        std::string problem;
    } cases[] = {
        {"not a QM47 log", "Dziennik\r\n" + good, 0, 1, "not a QM47 log"},
        {"an empty file", "", 0, 0, "not a QM47 log"},
        {"LF line ends", "==== QM47 1.03\n[ 1 ms] page closed\n", 0, 1, "LF alone"},
        {"UTF-8 text", good + "[ 5 ms] message \"Operacja zako\xC5\x84" "czona\" caption \"QM47\" closed by OK\r\n", 0, 0,
         "UTF-8"},
        {"UTF-16 text", "\xFF\xFE=\0=\0", 0, 0, "UTF-16"},
        {"no time stamp", good + "Port_Close\r\n", 0, 4, "expected a time stamp"},
        {"a line QM47 does not write", good + "[ 5 ms] Port_Opened\r\n", 0, 4, "expected a library call, a message"},
        {"a text without its closing quote", good + "[ 5 ms] button \"Po\xB3\xB9" "cz (id 1000)\r\n", 0, 4, "none of"},
        {"a field neither number nor text", good + "[ 5 ms] LBDSP mode=2 text=Dzien\r\n", 0, 4, "none of"},
        {"a bad escape", good + "[ 5 ms] LBDSP mode=2 text=\"\\x4\"\r\n", 0, 4, "none of"},
        {"another call while one runs", good + "[ 5 ms] LBDAYREP kind=0\r\n[ 6 ms] Port_Close\r\n", 0, 5,
         "expected the end of LBDAYREP (called at line 4)"},
        {"a result without its call", good + "[ 5 ms] Port_Close result=0 (took 1 ms)\r\n", 0, 4, "without its call"},
        {"a result of another export", good + "[ 5 ms] Port_Close\r\n[ 6 ms] Send_BEL result=0 (took 1 ms)\r\n", 0, 5,
         "expected the end of Port_Close"},
        {"a line after the session's end", good + "[ 5 ms] ==== end of session\r\n[ 6 ms] page closed\r\n", 0, 5,
         "a new session"},
        {"a call after a fault", good + "[ 5 ms] LBDAYREP kind=0\r\n[ 6 ms] fault in LBDAYREP: exception 0xC0000005 at "
                                        "0x00401000 in X, the program ends\r\n[ 7 ms] Port_Close\r\n",
         0, 6, "the box that tells of the fault"},
        {"a session that is not in it", good + good, 3, 0, "the log has 2 sessions: there is no session 3"},
        {"ends inside a call", good + "[ 5 ms] LBDAYREP kind=0", 0, -1, ""},
        {"the first of two sessions", good + good, 1, -1, ""},
        // A damaged session costs only itself: a line cut off with the next
        // session glued to it, a line QM47 does not write, a cut first line.
        {"a cut line, asked for", good + "[ 5 ms] LBDAYREP ki" + good, 1, 4, "session 1 cannot be read at line 4: the line breaks off"},
        {"the session after a cut line", good + "[ 5 ms] LBDAYREP ki" + good, 0, -1, ""},
        {"a line QM47 does not write, then a session", good + "[ 5 ms] Port_Opened\r\n" + good, 2, -1, ""},
        {"a cut first line", good + "==== QM47 1." + good, 2, 4, "line 4: the line breaks off"},
        {"the session after a cut first line", good + "==== QM47 1." + good, 3, -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const Log log = ReadLog(c.log);
        Problem why = log.problem.value_or(Problem{});
        const bool found = !log.problem && FindSession(log, c.session, why);
        EXPECT_EQ(found ? -1 : why.line, c.line) << why.text;
        EXPECT_NE(why.text.find(c.problem), std::string::npos) << why.text;
    }
}

TEST(ReplayLog, EachLineTellsWhatTheReplayNeeds)
{
    const Log log = ReadLog(Session({
        "library Z:\\VaronelServiceLibrary.dll, no file version; missing exports: LBSETCK ErrorMessage; "
        "calling convention: told by the first call with arguments",
        R"(input 7 "COM3")", "button \"Po\xB3\xB9" "cz\" (id 5)", "GetStatus_Printer",
        "calling convention: __cdecl (Port_Open removed 0 of its 8 bytes of arguments)",
        R"(GetStatus_Printer onl=1 result=-3 (took 2003 ms, with the library's own window))",
        R"(page "Raporty")", "input 8 2026-03-09", "input 9 off", R"(button "Anuluj" (id 6))",
        "page closed", R"(page "Programowanie zegara")", "page closed",
        "serial link \"COM3\" opened, sending 3 bytes: 1B 50 00", "serial link: 2 of 3 bytes taken, then ...",
        R"(LBDAYREP kind=0 registerNumber="001")",
        "fault in LBDAYREP: exception 0xC0000005 at 0x6FC41234 in C:\\VaronelServiceLibrary.dll, the program ends",
        "message \"Biblioteka \\x22X\\x22 uleg\xB3" "a\" caption \"QM47\" closed by Yes",
    }));
    ASSERT_FALSE(log.problem) << log.problem->line << ": " << log.problem->text;
    const std::vector<LogLine>& lines = log.sessions.at(0).lines;
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[0].missing, (std::vector<std::string>{"LBSETCK", "ErrorMessage"}));
    EXPECT_EQ(lines[1].id, 7);
    EXPECT_EQ(lines[1].value, "COM3");
    EXPECT_EQ(lines[2].text, "Po\xB3\xB9" "cz");
    EXPECT_EQ(lines[5].fields, (std::vector<Field>{{"onl", "1"}}));
    EXPECT_EQ(lines[5].result, -3);
    EXPECT_EQ(lines[5].tookMs, 2003u);
    EXPECT_TRUE(lines[5].libraryWindow);
    EXPECT_EQ(lines[7].input, InputKind::Date);
    EXPECT_EQ(lines[8].input, InputKind::Check);
    EXPECT_EQ(lines[13].bytes, std::string("\x1B" "P\0", 3));
    EXPECT_EQ(lines[14].taken, 2u);
    EXPECT_EQ(lines[15].fields, (std::vector<Field>{{"kind", "0"}, {"registerNumber", "\"001\""}}));
    EXPECT_EQ(lines[16].code, 0xC0000005u);
    EXPECT_EQ(lines[17].text, "Biblioteka \"X\" uleg\xB3" "a");
    EXPECT_EQ(lines[17].answer, "Yes");

    // Compared: no library or convention line, no inputs unless asked, no
    // time taken, no fault address, no `page closed` of a page that refused
    // to open.
    std::vector<std::string> compared;
    for (const LogLine* line : ComparedLines(log.sessions[0], false)) compared.push_back(Compared(*line));
    EXPECT_EQ(compared, (std::vector<std::string>{
                            lines[2].body, "GetStatus_Printer", "GetStatus_Printer onl=1 result=-3",
                            R"(page "Raporty")", R"(button "Anuluj" (id 6))", "page closed",
                            R"(page "Programowanie zegara")", lines[13].body, lines[14].body, lines[15].body,
                            "fault in LBDAYREP: exception 0xC0000005", lines[17].body}));
    EXPECT_EQ(ComparedLines(log.sessions[0], true).size(), compared.size() + 3);
}

// The simulated printer answering from a log written into its folder.
class SimReplay : public SimTest {
protected:
    void Replay(const std::string& log, const std::string& settings = "")
    {
        std::ofstream(m_folder / "QM47.log", std::ios::binary) << log;
        WriteConfig("error_box = 0\nreplay = QM47.log\n" + settings);
    }
    std::vector<std::string> Notes() const
    {
        std::vector<std::string> notes;
        for (const std::string& line : Journal())
            if (line.rfind("replay ", 0) == 0) notes.push_back(line);
        return notes;
    }
};

TEST_F(SimReplay, AMatchingCallGetsTheLoggedResultAndFieldsAsLeft)
{
    Replay(Session({R"(Port_Open port="com7" baud=9600)", "Port_Open result=-1 (took 4 ms)",
                    "GetStatus_Printer", "GetStatus_Printer onl=0 result=0 (took 1 ms)",
                    "LBIDRQ", R"(LBIDRQ namePart1="Drukarka \xB9\x22" namePart2=null result=0 (took 1 ms))",
                    "LBIDRQ", R"(LBIDRQ namePart1="Inna" result=0 (took 1 ms))",
                    R"(LBSETCK year=26 month=13 day=1 hour=0 minute=0 second=0 registerNumber="001" cashier="SERWIS")",
                    "LBSETCK result=0 (took 1 ms)"}));
    // The port the virtual printer refuses, and the date it would refuse:
    // the log's answers stand.
    EXPECT_EQ(SIM(Port_Open)("com7", 9600), -1);
    PrinterStatus status{9, 9, 9};
    EXPECT_EQ(SIM(GetStatus_Printer)(&status), 0);
    EXPECT_EQ(Value(status.onl), 0);
    EXPECT_EQ(Value(status.pe), 9) << "a field the log does not hold stays as the program set it";
    DeviceIdentity identity{"x", "y"};
    ASSERT_EQ(SIM(LBIDRQ)(&identity), 0);
    const char* first = identity.namePart1;
    EXPECT_STREQ(first, "Drukarka \xB9\"");
    EXPECT_EQ(identity.namePart2, nullptr);
    DeviceIdentity again{"x", "y"};
    ASSERT_EQ(SIM(LBIDRQ)(&again), 0);
    EXPECT_STREQ(again.namePart1, "Inna");
    EXPECT_STREQ(again.namePart2, "y");
    SetClockRequest clock{26, 13, 1, 0, 0, 0, "001", "SERWIS"};
    EXPECT_EQ(SIM(LBSETCK)(&clock), 0);
    EXPECT_TRUE(Notes().empty()) << Notes().front();
    EXPECT_EQ(Journal().at(1), "GetStatus_Printer onl=0 pe=9 err=9 result=0");
}

TEST_F(SimReplay, TheFirstCallThatDisagreesIsJournaledAndAnsweredAsWithoutALog)
{
    static constexpr const char* kDailyReport =
        "LBDAYREP kind=0 reserved[0]=0 reserved[1]=0 reserved[2]=0 registerNumber=null cashier=null";
    const std::string log = Session({R"(Port_Open port="COM3" baud=9600)", "Port_Open result=0 (took 1 ms)",
                                     R"(LBDSP mode=2 text="Dzie\xF1 dobry")", "LBDSP result=0 (took 1 ms)",
                                     kDailyReport});
    const struct {
        const char* label;
        std::function<std::int32_t()> calls; // after Port_Open
        std::int32_t last;                                    // what the last call answered
        std::string note;
    } cases[] = {
        {"another field", [this] { return SIM(LBDSP)(2, "Dzie\xF1 dobre"); }, sim::kPortNotOpen,
         R"(replay differs line=4 logged="LBDSP mode=2 text=\x22Dzie\x5CxF1 dobry\x22" got="LBDSP mode=2 text=\x22Dzie\x5CxF1 dobre\x22")"},
        {"another export", [this] { return SIM(Send_BEL)(); }, sim::kPortNotOpen,
         R"(replay differs line=4 logged="LBDSP mode=2 text=\x22Dzie\x5CxF1 dobry\x22" got="Send_BEL")"},
        {"the call the log ends in", [this] {
             SIM(LBDSP)(2, "Dzie\xF1 dobry");
             DailyReportRequest report{0, {0, 0, 0}, nullptr, nullptr};
             return SIM(LBDAYREP)(&report);
         },
         sim::kPortNotOpen, R"(replay unfinished line=6 logged=")" + std::string(kDailyReport) + "\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TearDown();
        SetUp();
        Replay(log);
        ASSERT_EQ(SIM(Port_Open)("COM3", 9600), 0);
        EXPECT_EQ(c.calls(), c.last) << "answered by the virtual printer, whose port is not open";
        EXPECT_EQ(Notes(), std::vector<std::string>{c.note});
        SIM(Port_Close)();
        EXPECT_EQ(Notes().size(), 1u) << "only the first difference is journaled";
    }
}

TEST_F(SimReplay, ACallTheLogDoesNotHaveOrALogThatCannotBeReadStopsTheReplay)
{
    Replay(Session({"Port_Close", "Port_Close result=0 (took 1 ms)"}) +
               Session({"Send_BEL", "Send_BEL result=5 (took 1 ms)"}),
           "replay.session = 1\n");
    EXPECT_EQ(SIM(Port_Close)(), 0);
    EXPECT_EQ(SIM(Send_BEL)(), sim::kPortNotOpen);
    EXPECT_EQ(Notes(), std::vector<std::string>{R"(replay differs line=3 logged=null got="Send_BEL")"});

    TearDown();
    SetUp();
    Replay(Session({"Send_BEL"}) + "[ 5 ms] Send_BEL result=5 (took x ms)\r\n");
    EXPECT_EQ(SIM(Send_BEL)(), sim::kPortNotOpen);
    EXPECT_EQ(Notes(), std::vector<std::string>{
                           R"(replay unreadable line=3 problem="session 1 cannot be read at line 3: \x22Send_BEL result=5 (took x ms)\x22 is none of the lines QM47 )"
                           R"(writes: expected the end of the call of line 2")"});
}

TEST_F(SimReplay, OnlyWithTimingACallTakesAsLongAsItTookThere)
{
    using namespace std::chrono_literals;
    for (const bool timing : {false, true}) {
        SCOPED_TRACE(timing ? "replay.timing = 1" : "without replay.timing");
        TearDown();
        SetUp();
        Replay(Session({"Send_BEL", "Send_BEL result=0 (took 1000 ms)"}), timing ? "replay.timing = 1\n" : "");
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(SIM(Send_BEL)(), 0);
        EXPECT_EQ(std::chrono::steady_clock::now() - started >= 1000ms, timing);
    }
}

} // namespace
} // namespace simtest
