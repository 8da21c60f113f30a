// The diagnostic log's writer: the switch that asks for it, one session
// appended per start with its calls and message boxes, what a dialog's input
// controls held when its button ran, and a file that cannot be written.

#include "ScratchDirectory.h"

#include "app/DeviceLibrary.h"
#include "app/DiagnosticLog.h"
#include "framework/testing/TestBackend.h"
#include "res/Texts.h"
#include "sim/ReplayLog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace qm47 {
namespace {

TEST(DiagnosticLogTest, SwitchIsSlashOrDashLogInAnyCase)
{
    const struct {
        std::vector<const char*> arguments;
        bool expected;
    } cases[] = {
        {{"QM47.exe"}, false},          {{"QM47.exe", "/log"}, true},  {{"QM47.exe", "-LOG"}, true},
        {{"QM47.exe", "x", "/Log"}, true}, {{"QM47.exe", "log"}, false}, {{"QM47.exe", "/logs"}, false},
        {{"/log"}, false}, // the program's own name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        EXPECT_EQ(LogSwitchGiven(static_cast<int>(c.arguments.size()), c.arguments.data()), c.expected);
    }
}

// The log as the library gets the call.
std::string g_logDuringCall;

// A status call that fails and still writes its record, as a library may.
std::int32_t QM47_LIBCALL OnlinePrinter(PrinterStatus* status)
{
    g_logDuringCall.clear();
    if (std::filesystem::is_regular_file("QM47.log")) {
        std::ifstream file("QM47.log", std::ios::binary);
        g_logDuringCall.assign(std::istreambuf_iterator<char>(file), {});
    }
    *status = {1, 0, 7};
    return -3;
}

// The library's error message: a box of its own that the user answers.
std::int32_t QM47_LIBCALL ErrorBox(const char*, std::int32_t)
{
    fw::testing::TestUi::Current().libraryWindowShown = true;
    return 0;
}

// A library with GetStatus_Printer and ErrorMessage only, written to `log`.
DeviceLibrary PrinterStatusOnly(DiagnosticLog& log)
{
    DeviceLibrary library = DeviceLibrary::Resolve([](const char* name) -> void* {
        if (std::string_view(name) == "ErrorMessage") return reinterpret_cast<void*>(&ErrorBox);
        return std::string_view(name) == "GetStatus_Printer" ? reinterpret_cast<void*>(&OnlinePrinter) : nullptr;
    });
    library.SetLog(&log);
    return library;
}

TEST(DiagnosticLogTest, AppendsOneSessionPerStartWithEveryCallAndEveryMessageBox)
{
    testing::ScratchDirectory scratch;
    fw::testing::TestUi ui;
    ui.answers = {fw::MessageAnswer::Yes, fw::MessageAnswer::No};
    for (int start = 0; start < 2; ++start) {
        DiagnosticLog log;
        log.Open("QM47.log");
        ASSERT_TRUE(log.Active());
        const DeviceLibrary library = PrinterStatusOnly(log);
        PrinterStatus status{9, 9, 9};
        library.GetStatus_Printer(&status);
        EXPECT_TRUE(g_logDuringCall.ends_with("] GetStatus_Printer\r\n")) << g_logDuringCall;
        library.GetStatus_Printer(&status, Reads<PrinterStatus>({"onl"}));
        library.ErrorMessage("", -25);
        library.LBSETCK(nullptr);
        fw::ShowMessage(nullptr, "Usun\xB9\xE6?\n\"tak\"", nullptr, {fw::MessageIcon::None, fw::MessageButtons::YesNo});
        LinkRecord sent{.open = {.opened = true}};
        sent.send = {.bytesTaken = 2, .refusedBytes = {{.position = 1, .refusals = 3, .milliseconds = 4, .taken = true},
                                                       {.position = 2, .refusals = 9, .milliseconds = 2000}}};
        log.SerialLink("COM1", std::string_view("\x1BP\0", 3), sent);
        log.SerialLink("COM9", "", {.open = {.failedStep = OpenStep::SetCommState, .systemError = 87}});
    }
    fw::ShowMessage(nullptr, "after the log ended");

    std::ifstream file("QM47.log", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    const std::string session = "==== QM47 [0-9.]+, [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}, [^\r\n]+"
                                ", log /[^\r\n]+/QM47\\.log\r\n"
                                R"(\[ +[0-9]+ ms\] GetStatus_Printer\r\n)"
                                R"(\[ +[0-9]+ ms\] GetStatus_Printer onl=1 pe=0 err=7 result=-3 \(took [0-9]+ ms\)\r\n)"
                                R"(\[ +[0-9]+ ms\] GetStatus_Printer\r\n)"
                                R"(\[ +[0-9]+ ms\] GetStatus_Printer onl=1 result=-3 \(took [0-9]+ ms\)\r\n)"
                                R"(\[ +[0-9]+ ms\] ErrorMessage text="" code=-25\r\n)"
                                R"(\[ +[0-9]+ ms\] ErrorMessage result=0 \(took [0-9]+ ms, with the library's own window\)\r\n)"
                                R"(\[ +[0-9]+ ms\] LBSETCK not called: the library has no such export\r\n)"
                                R"(\[ +[0-9]+ ms\] message "Usun\xB9\xE6\?\\x0A\\x22tak\\x22" caption "QM47" closed by )";
    const std::string link =
        R"(\[ +[0-9]+ ms\] serial link "COM1" opened, sending 3 bytes: 1B 50 00\r\n)"
        R"(\[ +[0-9]+ ms\] serial link: byte 1 refused 3 times, taken after 4 ms, last system error 0: [^\r\n]*\r\n)"
        R"(\[ +[0-9]+ ms\] serial link: byte 2 refused 9 times, given up after 2000 ms, last system error 0: [^\r\n]*\r\n)"
        R"(\[ +[0-9]+ ms\] serial link: 2 of 3 bytes taken, then a pause of 100 ms, port closed\r\n)"
        R"(\[ +[0-9]+ ms\] serial link "COM9": SetCommState failed, system error 87: [^\r\n]*\r\n)";
    EXPECT_TRUE(std::regex_match(text, std::regex(session + "Yes\r\n" + link + session + "No\r\n" + link))) << text;
}

TEST(DiagnosticLogTest, ACopyThatFindsTheLogHeldWritesTheLowestFreeNumberAndSaysSo)
{
    testing::ScratchDirectory scratch;
    std::vector<platform::UnsharedFile> held;
    for (const char* name : {"QM47.log", "QM47-3.log"}) held.push_back(platform::OpenUnsharedForAppend(name));
    DiagnosticLog second;
    second.Open("QM47.log");
    const std::string written = testing::ReadFile("QM47-2.log").value_or("");
    EXPECT_NE(written.find(", log " + (std::filesystem::current_path() / "QM47-2.log").string() + " (QM47.log is held"),
              std::string::npos) << written;
}

TEST(DiagnosticLogTest, ASessionBeginsOnALineOfItsOwnAfterALineThatWasCutOff)
{
    // The file before the session, and what the writer adds to it first.
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"[ 1 ms] page closed\r\n", ""}, {"[ 1 ms] Port_Open port=\"co", "\r\n"},
        {"[ 1 ms] page closed\r", "\n"}, {"[", "\r\n"},
    };
    for (const auto& [before, added] : cases) {
        SCOPED_TRACE(before);
        testing::ScratchDirectory scratch;
        if (!before.empty()) std::ofstream("QM47.log", std::ios::binary) << before;
        {
            DiagnosticLog log;
            log.Open("QM47.log");
            log.Line("page closed");
        }
        const std::string written = testing::ReadFile("QM47.log").value_or("");
        EXPECT_EQ(written.substr(0, before.size() + added.size() + 10), before + added + "==== QM47 ");
        EXPECT_TRUE(written.ends_with("] page closed\r\n")) << written;
    }
}

// Every kind of line the log writes is read back by the replay's reader as
// what was written, and the recorded logs (an old version's among them)
// still read: a change to either side of the format fails here.
TEST(DiagnosticLogTest, EveryKindOfLineReadsBackAsWritten)
{
    using namespace sim::replay;
    testing::ScratchDirectory scratch;
    fw::testing::TestUi ui;
    {
        DiagnosticLog log;
        log.Open("QM47.log");
        log.Library("C:\\VaronelServiceLibrary.dll", 0, "", "1.0.0.0", "LBSETCK ErrorMessage");
        const DeviceLibrary library = PrinterStatusOnly(log);
        PrinterStatus status{9, 9, 9};
        library.GetStatus_Printer(&status);
        library.ErrorMessage("Z\xB3y \"kod\"", -25);
        log.CallStarts("Port_Open", "(port, baud)", {"com1", 9600});
        log.CallEnded(0, "Port_Open", -1, {"com1", 9600}, {}, 8, 8, false);
        library.LBSETCK(nullptr);
        LinkRecord sent{.open = {.opened = true}};
        sent.send = {.bytesTaken = 2, .refusedBytes = {{.position = 1, .refusals = 3, .milliseconds = 4}}};
        log.SerialLink("COM1", std::string_view("\x1BP\0", 3), sent);
        log.SerialLink("COM9", "", {.open = {.failedStep = OpenStep::SetCommState, .systemError = 87}});
        log.OnMessageClosed("Usun\xB9\xE6?\n\"tak\"", "QM47", fw::MessageAnswer::No);
        log.PageOpened("&Raporty");
        log.OnInput(7, std::string("Kawa \xB3"));
        log.OnInput(8, fw::Date{2026, 3, 9});
        log.OnInput(9, true);
        log.OnButtonPressed("&Wykonaj", 17);
        log.PageClosed();
        log.EndOfSession();
    }
    {
        DiagnosticLog log;
        log.Open("QM47.log");
        log.Library("C:\\x.dll", 193, "not a valid program", "", "");
        log.CallStarts("Send_BEL", "()", {});
        log.Fault("Send_BEL", 0xC0000005, nullptr, "C:\\x.dll");
    }
    const Log read = ReadLog(testing::ReadFile("QM47.log").value_or(""));
    ASSERT_FALSE(read.problem) << read.problem->text;
    ASSERT_EQ(read.sessions.size(), 2u);
    for (const Session& session : read.sessions)
        ASSERT_FALSE(session.damage) << session.damage->line << ": " << session.damage->text;
    std::vector<Kind> kinds;
    for (const Session& session : read.sessions)
        for (const LogLine& line : session.lines) kinds.push_back(line.kind);
    using enum Kind;
    EXPECT_EQ(kinds, (std::vector<Kind>{Library, CallSent, CallReturned, CallSent, CallReturned, CallSent, Convention,
                                        CallReturned, NotCalled, LinkSent, LinkRefused, LinkTaken, LinkOpenFailed,
                                        Message, PageOpened, Input, Input, Input, Button, PageClosed, EndOfSession,
                                        Library, CallSent, Fault}));
    const std::vector<LogLine>& lines = read.sessions[0].lines;
    EXPECT_EQ(lines[0].missing, (std::vector<std::string>{"LBSETCK", "ErrorMessage"}));
    EXPECT_EQ(lines[2].fields, (std::vector<Field>{{"onl", "1"}, {"pe", "0"}, {"err", "7"}}));
    EXPECT_EQ(lines[2].result, -3);
    std::string_view quoted = lines[3].fields.at(0).value;
    EXPECT_EQ(TakeQuoted(quoted), "Z\xB3y \"kod\"");
    EXPECT_TRUE(lines[4].libraryWindow);
    EXPECT_EQ(lines[7].result, -1);
    EXPECT_EQ(lines[8].exportName, "LBSETCK");
    EXPECT_EQ(lines[9].bytes, std::string("\x1BP\0", 3));
    EXPECT_EQ(lines[11].taken, 2u);
    EXPECT_EQ(lines[12].port, "COM9");
    EXPECT_EQ(std::tie(lines[13].text, lines[13].caption, lines[13].answer),
              std::tie("Usun\xB9\xE6?\n\"tak\"", "QM47", "No"));
    EXPECT_EQ(lines[14].text, "Raporty");
    EXPECT_EQ(std::tie(lines[15].id, lines[15].input, lines[15].value), std::tuple(7, InputKind::Text, "Kawa \xB3"));
    EXPECT_EQ(std::tie(lines[16].input, lines[16].value), std::tuple(InputKind::Date, "2026-03-09"));
    EXPECT_EQ(std::tie(lines[17].input, lines[17].value), std::tuple(InputKind::Check, "on"));
    EXPECT_EQ(std::tie(lines[18].id, lines[18].text), std::tuple(17, "Wykonaj"));
    EXPECT_FALSE(read.sessions[1].lines[0].loaded);
    EXPECT_EQ(std::tie(read.sessions[1].lines[2].exportName, read.sessions[1].lines[2].code), std::tuple("Send_BEL", 0xC0000005u));

    for (const auto& recorded : std::filesystem::directory_iterator(QM47_RECORDED_LOGS_DIR)) {
        if (recorded.path().extension() != ".log") continue;
        SCOPED_TRACE(recorded.path().filename().string());
        const Log old = ReadLog(testing::ReadFile(recorded.path().string()).value_or(""));
        EXPECT_FALSE(old.problem);
        for (const Session& session : old.sessions) EXPECT_FALSE(session.damage) << session.damage->text;
    }
}

// A dialog with an input control of each kind, a label and a button whose
// command runs.
constexpr int kName = 10, kLabel = 11, kRate = 12, kFirstDate = 13, kPrint = 14, kByDates = 15, kByNumbers = 16,
              kRun = 17;
constexpr const char* kRateLetters[] = {"A", "B"};
constexpr fw::ControlTemplate kInputControls[] = {
    {kName, fw::ControlKind::Edit, nullptr, {0, 0, 50, 14}, fw::kTabStop},
    {kLabel, fw::ControlKind::Static, "Nazwa:", {0, 20, 50, 8}},
    {kRate, fw::ControlKind::ComboBox, nullptr, {0, 30, 50, 60}, fw::kTabStop, kRateLetters},
    {kFirstDate, fw::ControlKind::DatePicker, nullptr, {0, 50, 50, 14}, fw::kTabStop},
    {kPrint, fw::ControlKind::CheckBox, "Wydruk", {0, 70, 50, 10}, fw::kTabStop},
    {kByDates, fw::ControlKind::RadioButton, nullptr, {0, 80, 10, 10}, fw::kGroup},
    {kByNumbers, fw::ControlKind::RadioButton, nullptr, {0, 90, 10, 10}},
    {kRun, fw::ControlKind::PushButton, "&Wykonaj", {0, 100, 50, 14}, fw::kTabStop | fw::kGroup},
};
constexpr fw::DialogTemplate kInputDialog{9002, fw::DialogFrame::Page, nullptr, {115, 15, 100, 120}, "Tahoma", 8,
                                          kInputControls};

class InputDialog : public fw::CDialog {
public:
    InputDialog() : fw::CDialog(kInputDialog) { OnClick(kRun, [] {}); }
};

TEST(DiagnosticLogTest, WhatTheInputControlsHoldPrecedesTheButtonInTemplateOrder)
{
    testing::ScratchDirectory scratch;
    fw::testing::TestUi ui;
    DiagnosticLog log;
    log.Open("QM47.log");
    InputDialog dialog;
    fw::testing::TestWindow window(dialog, kInputDialog);
    window.Initialise();
    window.Replace(kName, "Kawa \"Z\\\xB3ota\"\t");
    window.Type(kRate, "B");
    window.PickDate(kFirstDate, {2026, 3, 9});
    window.Click(kByNumbers);
    window.Click(kRun);
    window.Click(kPrint); // a check box's own command runs nothing: no lines
    log.Line("-");

    std::ifstream file("QM47.log", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    const auto input = [](int id, const std::string& value) {
        return R"(\[ +[0-9]+ ms\] input )" + std::to_string(id) + " " + value + "\r\n";
    };
    const std::string expected = "==== QM47 [^\r\n]+\r\n" + input(kName, R"("Kawa \\x22Z\\x5C\\xB3ota\\x22\\x09")") +
                                 input(kRate, R"("B")") + input(kFirstDate, "2026-03-09") + input(kPrint, "off") +
                                 input(kByDates, "off") + input(kByNumbers, "on") +
                                 R"(\[ +[0-9]+ ms\] button "Wykonaj" \(id )" + std::to_string(kRun) +
                                 R"(\)\r\n\[ +[0-9]+ ms\] -\r\n)";
    EXPECT_TRUE(std::regex_match(text, std::regex(expected))) << text;
}

TEST(DiagnosticLogTest, AFileThatCannotBeWrittenIsToldOnceAndTheProgramGoesOnWithout)
{
    const struct {
        const char* label;
        const char* path;
    } cases[] = {{"a folder in the file's place", "QM47.log"}, {"a full disk", "/dev/full"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        testing::ScratchDirectory scratch;
        std::filesystem::create_directory("QM47.log");
        fw::testing::TestUi ui;
        DiagnosticLog log;
        log.Open(c.path);
        EXPECT_FALSE(log.Active());
        const DeviceLibrary library = PrinterStatusOnly(log);
        PrinterStatus status{9, 9, 9};
        EXPECT_EQ(library.GetStatus_Printer(&status).code, -3);
        EXPECT_EQ(status.onl, 1);
        log.Line("lost");
        fw::ShowMessage(nullptr, "next");
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_EQ(ui.messages[0].text, text::kCannotWriteLog.str());
        EXPECT_EQ(ui.messages[0].caption, "QM47");
        EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::Exclamation);
        EXPECT_EQ(ui.messages[1].text, "next");
    }
}

} // namespace
} // namespace qm47
