// Faults the program must live through: the serial line held or gone while
// the fiscalization frame is sent, a library that cannot take its port back
// after it, a port that another program holds, working files of the header
// that cannot be written, and a library that answers every call with an
// error or hands back no texts. Each time the technician
// is told, nothing broken reaches the printer, and the program goes on.

#include "tests/e2e/PageSession.h"

#include "framework/MessageBox.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

namespace qm47::e2e {
namespace {

using namespace main_window;
using pages::ConnectOnline;
using pages::PageSession;

const std::string kNip = "526-000-12-46";
const std::string kFrame = std::string("\x1BP1$fNIP ") + kNip + "\xFF" + "29\x1B\\" + std::string(1, '\0');

struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

Handle OpenPort(const std::string& port)
{
    const HANDLE handle = CreateFileW((L"\\\\.\\" + WideFromUtf8(port)).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    return Handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const auto& line : lines) all += line + "\n";
    return all;
}

// Presses "Wyślij" and answers Yes to the question before the NIP goes out.
void SendAndConfirm(Session& session, const Window& page)
{
    page.Item(IDC_FISCAL_SEND).Click();
    AnswerMessageBox(session.run,
                     {.text = Utf8FromCp1250(fw::Substitute(text::kConfirmFiscalization, {kNip})),
                      .owner = page.Handle(),
                      .icon = BoxIcon::Question},
                     IDYES);
}

// Closes the page, then checks that the main window goes on working: Refresh
// reads the printer again, without a message.
void CloseAndRefresh(Session& session, const Window& page)
{
    page.Item(IDCANCEL).Click();
    ASSERT_TRUE(WaitUntil([&] { return session.run.Pages().empty(); })) << "the page did not close";
    ASSERT_TRUE(session.run.Settle());
    const std::size_t before = session.JournalSize();
    session.Click(kRefresh);
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before),
                               {"GetStatus_CashRegister result=0", "GetStatus_Printer onl=1", "GetStatus_CashRegister",
                                "LBIDRQ", "LBFSTRQ"}));
}

TEST(Faults, ASerialLineHeldOrGoneWhileSendingIsReportedAndTheProgramGoesOn)
{
    const RunEnvironment& environment = Environment();
    if (environment.controlledComPort.empty() || environment.lineControl.empty())
        GTEST_SKIP() << "this run has no line whose far end the tests drive";
    const std::string port = environment.controlledComPort;
    PageSession session(Page("fiscal"), {}, port);
    const Window page = session.page;
    page.Item(IDC_FISCAL_NIP).SetText(kNip);

    struct Step {
        const char* label;
        std::optional<LineRequest> request;
        const char* simConfig; // the simulated printer's settings from this step on
        bool goesOut;          // the frame and its zero byte reach the line
        std::string told;      // the message shown; none when empty
        const char* reopened;  // Port_Open's result
    };
    const std::string notSentWhole = Expected(text::kFiscalizationNotSentWhole);
    // The first send also leaves the port obeying XOFF, as the link sets it.
    const Step steps[] = {
        {"the line works", std::nullopt, "", true, "", "0"},
        // The link offers the first byte again and again for 2 s, then gives up.
        {"the printer holds the line (XOFF)", LineRequest::Xoff, "", false, notSentWhole, "0"},
        {"the printer lets it go (XON)", LineRequest::Xon, "", true, "", "0"},
        {"the library cannot take its port back", std::nullopt, "port_open = fail\n", true,
         Expected(text::kFiscalizationSentPortNotReopened), "-1"},
        {"the device is gone", LineRequest::HangUp, "", false, Expected(text::kCannotOpenPort), "0"},
        {"the device is back", LineRequest::Reconnect, "", true, "", "0"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.label);
        if (step.request) {
            ASSERT_TRUE(ControlLine(*step.request)) << "the far end of the line did not answer";
        }
        session.folder.WriteSimConfig(step.simConfig);
        const std::size_t lineBefore = ControlledLineBytes().size();
        const std::size_t journalBefore = session.JournalSize();
        SendAndConfirm(session, page);
        if (step.told.empty()) {
            ASSERT_TRUE(session.run.Settle());
            EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
        } else {
            AnswerMessageBox(session.run, {.text = step.told, .owner = page.Handle()});
        }
        if (step.goesOut) {
            EXPECT_TRUE(WaitUntil([&] { return ControlledLineBytes().size() >= lineBefore + kFrame.size(); }));
            EXPECT_EQ(ControlledLineBytes().substr(lineBefore), kFrame);
        } else {
            EXPECT_EQ(ControlledLineBytes().substr(lineBefore), "") << "no part of the frame may go out";
        }
        // The library is given its port back whatever happened on the line.
        EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(journalBefore),
                                   {"Port_Close", "Port_Open port=\"" + port + "\" baud=9600 result=" + step.reopened}));
    }
    ASSERT_NO_FATAL_FAILURE(CloseAndRefresh(session, page));
    session.Click(kDisconnect);
    ASSERT_NO_FATAL_FAILURE(ConnectOnline(session));
}

TEST(Faults, APortHeldByAnotherProgramIsGivenBackToTheLibrary)
{
    const std::string port = Environment().comPort;
    ASSERT_FALSE(port.empty()) << "the run maps no COM port";
    PageSession session(Page("fiscal"), {}, port);
    const Window page = session.page;
    page.Item(IDC_FISCAL_NIP).SetText(kNip);

    Handle held = OpenPort(port); // the other program
    ASSERT_TRUE(held) << "cannot open " << port;
    // Windows refuses a port to a second opener; Wine lets it be opened again,
    // and the frame then goes out beside the other program.
    const bool exclusive = !OpenPort(port);
    const std::size_t lineBefore = SerialLineBytes().size();
    const std::size_t journalBefore = session.JournalSize();
    SendAndConfirm(session, page);
    if (exclusive) {
        AnswerMessageBox(session.run, {.text = Expected(text::kCannotOpenPort), .owner = page.Handle()});
        EXPECT_EQ(SerialLineBytes().substr(lineBefore), "");
    } else {
        ASSERT_TRUE(session.run.Settle());
        EXPECT_EQ(WaitForSerialLineBytes(lineBefore), kFrame);
        EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    }
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(journalBefore),
                               {"Port_Close", "Port_Open port=\"" + port + "\" baud=9600 result=0"}));

    // Once the other program lets go, the frame goes out.
    held.reset();
    const std::size_t lineAfter = SerialLineBytes().size();
    SendAndConfirm(session, page);
    ASSERT_TRUE(session.run.Settle());
    EXPECT_EQ(WaitForSerialLineBytes(lineAfter), kFrame);
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    ASSERT_NO_FATAL_FAILURE(CloseAndRefresh(session, page));
}

// The header of Łódź on line 1, as the printer gets it.
const std::string kLodzHeader = "\x9C\xA2\x64\xA6\r\r\r\r\r\r\r";

std::optional<std::string> LastSentHeader(const std::vector<std::string>& journal)
{
    for (auto line = journal.rbegin(); line != journal.rend(); ++line) {
        const JournalEntry entry = ParseJournalLine(*line);
        if (entry.exportName == "LBSETHDR") return JournalText(entry.Field("header").value_or(""));
    }
    return std::nullopt;
}

TEST(Faults, HeaderWorkingFilesThatCannotBeWrittenAreReportedAndNothingIsSent)
{
    // A working folder that cannot be written to is not among the cases: Wine
    // run by root writes to any folder whatever its rights, so it cannot be
    // made here. It ends in the same failed open as a folder in a file's place.
    PageSession session(Page("header"));
    const Window page = session.page;
    page.Item(IDC_HEADER_LINE1).SetText("Łódź");
    ASSERT_TRUE(session.run.Settle());

    const std::filesystem::path input = session.folder.Path() / L"naglowek_we.txt";
    const std::filesystem::path output = session.folder.Path() / L"naglowek.txt";
    const auto makeReadOnly = [&] {
        std::ofstream(output) << "old";
        SetFileAttributesW(output.c_str(), FILE_ATTRIBUTE_READONLY);
        // Windows refuses to overwrite a read-only file; Wine run by root does not.
        return Handle(CreateFileW(output.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)) ==
               nullptr;
    };
    struct Case {
        const char* label;
        std::function<bool()> prepare; // true when the conversion must fail
        std::function<void()> undo;
        std::string message;
    };
    const Case cases[] = {
        {"a folder takes the input copy's name", [&] { return std::filesystem::create_directory(input); },
         [&] { std::filesystem::remove(input); }, Expected(text::kCannotWriteOutputFile)},
        {"a folder takes the converted copy's name",
         [&] {
             std::filesystem::remove(output);
             return std::filesystem::create_directory(output);
         },
         [&] { std::filesystem::remove(output); }, Expected(text::kCannotOpenOutputFile)},
        {"the converted copy is read-only", makeReadOnly,
         [&] {
             SetFileAttributesW(output.c_str(), FILE_ATTRIBUTE_NORMAL);
             std::filesystem::remove(output);
         },
         Expected(text::kCannotOpenOutputFile)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const bool fails = c.prepare();
        const std::size_t before = session.JournalSize();
        page.Item(IDC_HEADER_SET).Click();
        if (fails) {
            AnswerMessageBox(session.run, {c.message, Expected(text::kConversionErrorCaption)});
            EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before), {"GetStatus_Printer onl=1"}))
                << "nothing may be sent after a failed conversion";
        } else {
            ASSERT_TRUE(session.run.Settle());
            EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
            EXPECT_EQ(LastSentHeader(session.folder.JournalFrom(before)).value_or("<none>"), kLodzHeader);
        }
        EXPECT_TRUE(page.Visible()) << "the page stays open";

        // With the obstacle gone the same page programs the header whole.
        c.undo();
        const std::size_t retry = session.JournalSize();
        page.Item(IDC_HEADER_SET).Click();
        ASSERT_TRUE(session.run.Settle());
        EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
        EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(retry), {"GetStatus_Printer onl=1", "LBSETHDR result=0"}));
        EXPECT_EQ(LastSentHeader(session.folder.JournalFrom(retry)).value_or("<none>"), kLodzHeader);
    }
    ASSERT_NO_FATAL_FAILURE(CloseAndRefresh(session, page));
}

// Every export of the library but those named, answering `code`.
std::string EveryCallFails(std::initializer_list<std::string_view> except, std::string_view code = "-1")
{
    static constexpr std::string_view kExports[] = {
        "Port_Open", "Port_Close", "Send_BEL", "LBDSP", "LBRVINFO", "LBSETHDR", "LBSETRAB", "LBSETFSK", "LBSERM",
        "LBSETCK", "LBSETPTU", "LBTRSHDR", "LBTRSLN", "LBTREXITCAN", "O_LBTRXEND", "ErrorMessage",
        "GetStatus_CashRegister", "GetStatus_Printer", "LBFSTRQ", "LBIDRQ", "LBSENDCK", "LBDAYREP", "LBFSKREP_R",
        "LBFSKREP_D", "LBDBREPRS", "LBDBREP", "LBFSTRQ24"};
    std::string config;
    for (const std::string_view name : kExports)
        if (std::find(except.begin(), except.end(), name) == except.end())
            config += "result." + std::string(name) + " = " + std::string(code) + "\n";
    return config;
}

TEST(Faults, AnUnreadableSimulatorSettingsLineIsNamedAndTheRestApplies)
{
    // Line 1 misspells the off-line key, line 2 has no "=", line 3 is good.
    Session session(Library::Full, "onlin = 0\nfiscal\ndevice_name = Drukarka|Testowa\n");
    session.main.Item(kConnect).Click();
    const auto shown = AnswerAllBoxes(session.run);
    ASSERT_EQ(shown.size(), 1u) << Joined(shown);
    for (const char* part : {"Symulator drukarki: ", "wiersz 1: \xE2\x80\x9Eonlin = 0\xE2\x80\x9D",
                             "wiersz 2: \xE2\x80\x9E" "fiscal\xE2\x80\x9D"})
        EXPECT_NE(shown[0].find(part), std::string::npos) << part << " not in " << shown[0];
    // What the two lines would have set keeps its default: the printer answers
    // and works in non-fiscal mode; the good line applies.
    EXPECT_TRUE(session.main.Item(kDisconnect).Enabled()) << "not connected";
    EXPECT_EQ(session.main.Item(kDeviceName).Text(), "Drukarka Testowa");
    EXPECT_EQ(session.main.Item(kMode).Text(), Expected(text::kNonFiscal));
}

TEST(Faults, ALibraryThatRefusesConnectingLeavesTheMainWindowWorking)
{
    struct Case {
        const char* label;
        std::string config;
        std::string message;
    };
    // ErrorMessage keeps working: a library that cannot even say what went
    // wrong is beyond what the program can make up for.
    const Case cases[] = {
        {"every call fails", EveryCallFails({"ErrorMessage"}), Expected(text::kCannotOpenPort)},
        {"only the port opens", EveryCallFails({"ErrorMessage", "Port_Open"}),
         Expected(text::kPrinterNotConnected)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Session session(Library::Full, c.config);
        session.main.Item(kConnect).Click();
        AnswerMessageBox(session.run, {.text = c.message, .owner = session.main.Handle()});
        EXPECT_TRUE(EnabledButtonsAre(session.main, {kConnect, kExit, kAbout}));
        EXPECT_TRUE(PanelIsEmpty(session.main));
        // And again: nothing is left half done.
        session.main.Item(kConnect).Click();
        AnswerMessageBox(session.run, {.text = c.message, .owner = session.main.Handle()});
        EXPECT_TRUE(session.run.Running());
    }
}

TEST(Faults, EveryPageTellsOfALibraryThatAnswersErrorsOrNoTexts)
{
    // Every page of the page table by one of its commands, but the
    // fiscalization, which sends on its own link (the tests above).
    const std::map<std::string_view, int> actions = {
        {"clock", IDC_CLOCK_SET},    {"header", IDC_HEADER_SET}, {"rates", IDC_TAX_RATES_SET},
        {"display", IDC_DISPLAY_CUSTOMER_SEND}, {"reports", IDC_REPORTS_DAILY}, {"goods", IDC_GOODS_CHECK},
        {"service", IDC_SERVICE_SET}, {"sale", IDC_SALE_RUN}, {"fiscal", 0},
    };
    struct Case {
        const char* label;
        std::string config;
        bool actionsFail; // each action must then tell the technician
    };
    const Case cases[] = {
        {"every call but the port and the on-line check fails",
         EveryCallFails({"ErrorMessage", "Port_Open", "GetStatus_Printer"}, "-25"), true},
        {"records left unfilled", "unfilled = LBIDRQ,LBFSTRQ,LBSENDCK,LBDBREPRS,GetStatus_CashRegister\n", false},
        {"null texts", "null_texts = LBIDRQ,LBFSTRQ,LBDBREPRS\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Session session(Library::Full, c.config);
        session.Click(kConnect);
        const std::vector<std::string> onConnect = AnswerAllBoxes(session.run);
        ASSERT_TRUE(session.main.Item(kDisconnect).Enabled()) << "not connected; boxes:\n" << Joined(onConnect);
        for (const res::PageButton& row : res::kMainPageButtons) {
            SCOPED_TRACE(row.name);
            const int action = actions.at(row.name);
            if (action == 0) continue;
            session.main.Item(row.id).Click();
            AnswerAllBoxes(session.run); // a page that reads the printer when it opens
            const auto pages = session.run.Pages();
            ASSERT_EQ(pages.size(), 1u) << "the page did not open";
            const Window page = pages.front();
            ASSERT_TRUE(page.WaitVisible());
            const std::size_t before = session.JournalSize();
            page.Item(action).Click();
            const std::vector<std::string> told = AnswerAllBoxes(session.run);
            if (c.actionsFail) {
                EXPECT_FALSE(told.empty()) << "a failed operation must tell the technician";
                for (const std::string& line : session.folder.JournalFrom(before)) {
                    const JournalEntry entry = ParseJournalLine(line);
                    if (entry.exportName == "ErrorMessage") {
                        EXPECT_EQ(entry.Field("code").value_or("?"), "-25");
                    }
                }
            }
            page.Item(IDCANCEL).Click();
            AnswerAllBoxes(session.run);
            ASSERT_TRUE(WaitUntil([&] { return session.run.Pages().empty(); })) << "the page did not close";
            ASSERT_TRUE(session.run.Running());
        }
        session.Click(kRefresh);
        AnswerAllBoxes(session.run);
        EXPECT_TRUE(session.run.Running());
        EXPECT_TRUE(session.main.Item(kDisconnect).Enabled());
    }
}

} // namespace
} // namespace qm47::e2e

namespace qm47::e2e {
namespace {

using namespace main_window;

// The last `count` lines of the session's log, without their time stamps.
std::vector<std::string> LastLogLines(const Session& session, std::size_t count)
{
    std::istringstream text(session.folder.ReadFile(WideFromUtf8(Expected(text::kLogFileName))));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t stamp = line.find("] ");
        lines.push_back(Utf8FromCp1250(stamp == std::string::npos ? line : line.substr(stamp + 2)));
    }
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(std::min(count, lines.size())));
    return lines;
}

TEST(Faults, AFaultInsideTheLibraryIsNamedAndEndsTheProgramWithItsCode)
{
    struct Case {
        const char* label;
        std::string config;        // qm47sim.ini
        bool onReportsPage;        // else at Connect
        std::uint32_t code;        // 0: handled inside the library, nothing to see
        std::string callLine;      // as the log writes it before the call
        bool openingClockPage = false; // the page reads the clock before it shows: the main window owns the box
    };
    const std::string daily = R"(LBDAYREP kind=0 reserved[0]=0 reserved[1]=0 reserved[2]=0 registerNumber="001" cashier="SERWIS")";
    const Case cases[] = {
        {"raised at Connect", "fault.Port_Open = 0xE0000101", false, 0xE0000101, R"(Port_Open port="COM1" baud=9600)"},
        {"raised in the daily report", "fault.LBDAYREP = 0xE0000102", true, 0xE0000102, daily},
        {"a write to address 0 in the daily report", "fault.LBDAYREP = null_write", true, 0xC0000005, daily},
        {"handled inside the library", "fault.LBDAYREP = handled 0xE0000103", true, 0, daily},
        {"raised again while the library's frames are unwound", "fault.LBDAYREP = twice 0xE0000105", true, 0xE0000105, daily},
        {"raised while the clock page opens", "fault.LBSENDCK = 0xE0000104", false, 0xE0000104, "LBSENDCK", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Session session(Library::Full, c.onReportsPage || c.openingClockPage ? "" : c.config, L"/log");
        session.main.Item(kPort).SetText("COM1");
        Window owner = session.main;
        if (c.onReportsPage) {
            ASSERT_NO_FATAL_FAILURE(pages::ConnectOnline(session));
            owner = pages::OpenPage(session, Page("reports"));
            ASSERT_TRUE(owner) << "the reports page did not open";
            session.folder.WriteSimConfig(c.config);
            owner.Item(IDC_REPORTS_DAILY).Click();
        } else if (c.openingClockPage) {
            ASSERT_NO_FATAL_FAILURE(pages::ConnectOnline(session));
            session.folder.WriteSimConfig(c.config);
            session.main.Item(Page("clock")).Click();
        } else {
            session.main.Item(kConnect).Click();
        }
        if (c.code == 0) {
            // The report is made as usual, silently.
            ASSERT_TRUE(session.run.Settle());
            EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
            EXPECT_TRUE(session.run.Running());
            const auto journal = session.folder.Journal();
            ASSERT_FALSE(journal.empty());
            EXPECT_EQ(journal.back().rfind("LBDAYREP ", 0), 0u) << journal.back();
            EXPECT_TRUE(journal.back().ends_with(" result=0")) << journal.back();
            continue;
        }
        std::string codeText = [&] {
            char hex[9];
            std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(c.code));
            return std::string(hex);
        }();
        // Under i386 emulation a real fault reaches Wine with another code (a
        // write to address 0 as an illegal instruction): the box, the log and
        // the exit code must still give one and the same code.
        if (c.code == 0xC0000005 && Environment().program32Bit && Environment().i386Emulated) {
            const auto box = session.run.WaitForMessageBox();
            ASSERT_TRUE(box) << "no box";
            codeText = box->Message().substr(box->Message().find("0x") + 2, 8);
            std::printf("    under the emulator the write to address 0 is exception 0x%s\n", codeText.c_str());
        }
        const std::string exportName = c.callLine.substr(0, c.callLine.find(' '));
        const std::string told = Utf8FromCp1250(fw::Substitute(text::kLibraryFault, {exportName, codeText}));
        AnswerMessageBoxOnly(session.run, {.text = told, .owner = owner.Handle(), .icon = BoxIcon::Error});
        const auto exitCode = session.run.WaitForExit();
        ASSERT_TRUE(exitCode) << "the program did not end";
        EXPECT_EQ(*exitCode, std::stoul(codeText, nullptr, 16));
        // The call, the fault with where it was raised, the box: the last lines.
        const auto last = LastLogLines(session, 3);
        ASSERT_EQ(last.size(), 3u);
        EXPECT_EQ(last[0], c.callLine);
        const std::string fault = "fault in " + exportName + ": exception 0x" + codeText + " at 0x";
        EXPECT_EQ(last[1].rfind(fault, 0), 0u) << last[1];
        EXPECT_NE(last[1].find(", the program ends"), std::string::npos) << last[1];
        EXPECT_EQ(last[2], "message \"" + told + "\" caption \"QM47\" closed by OK");
    }
}

} // namespace
} // namespace qm47::e2e
