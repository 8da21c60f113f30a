// The diagnostic log of a whole session started with /log: connect, all nine
// pages with their operation, and the fiscalization frame on the serial line.
// Every library call the log holds is the call the simulated printer
// journalled, in the same order: written before the call with the fields
// sent, and after it with the result and the fields as left; every button
// pressed, page opened and closed is there in order, after what its page's
// input controls held, and the end of the session is the last line.

#include "tests/e2e/PageSession.h"

#include "framework/MessageBox.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <regex>
#include <map>
#include <set>
#include <sstream>

namespace qm47::e2e {
namespace {

using namespace main_window;

// The lines of `text`, each of which must end in CR LF.
std::vector<std::string> CrLfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "a line that does not end in CR LF: " << text.substr(at);
        if (end == std::string::npos) break;
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

// A control's text without the "&" of its mnemonic.
std::string WithoutMnemonic(std::string text)
{
    std::erase(text, '&');
    return text;
}

// A journal line without the 32-bit simulated printer's own layout verdict,
// which the program does not write.
std::string WithoutLayoutVerdict(std::string line)
{
    const std::size_t at = line.find(" layout=");
    if (at != std::string::npos) line.erase(at, line.find(' ', at + 1) - at);
    return line;
}

TEST(DiagnosticLog, HoldsEveryLibraryCallAsThePrinterReceivedItAndEveryMessage)
{
    const std::string port = Environment().comPort;
    ASSERT_FALSE(port.empty()) << "the run maps no COM port";
    Session session(Library::Full, {}, L"/LOG");
    session.main.Item(kPort).SetText(port);
    pages::ConnectOnline(session);
    if (HasFatalFailure()) return;

    // Every page of the page table, by one of its commands.
    const std::map<std::string_view, int> operations = {
        {"clock", IDC_CLOCK_SET},       {"header", IDC_HEADER_SET},    {"rates", IDC_TAX_RATES_SET},
        {"fiscal", IDC_FISCAL_SEND},    {"display", IDC_DISPLAY_CUSTOMER_SEND}, {"reports", IDC_REPORTS_DAILY},
        {"goods", IDC_GOODS_CHECK},     {"service", IDC_SERVICE_SET},  {"sale", IDC_SALE_RUN},
    };
    std::vector<std::string> shown;
    // What the technician did, as the log must tell it (UTF-8 here).
    const auto pressed = [](const Window& button, int id) {
        return "button \"" + WithoutMnemonic(button.Text()) + "\" (id " + std::to_string(id) + ")";
    };
    std::vector<std::string> done = {pressed(session.main.Item(kConnect), kConnect)};
    for (const res::PageButton& row : res::kMainPageButtons) {
        SCOPED_TRACE(row.name);
        const int button = row.id;
        const int operation = operations.at(row.name);
        session.main.Item(button).Click();
        AnswerAllBoxes(session.run);
        const auto open = session.run.Pages();
        ASSERT_EQ(open.size(), 1u) << "the page did not open";
        const Window page = open.front();
        ASSERT_TRUE(page.WaitVisible());
        const std::size_t lineBefore = SerialLineBytes().size();
        const std::string nip = "5260001246";
        if (button == Page("fiscal")) page.Item(IDC_FISCAL_NIP).SetText(nip);
        page.Item(operation).Click();
        if (button == Page("fiscal")) {
            const std::string question = Utf8FromCp1250(fw::Substitute(text::kConfirmFiscalization, {nip}));
            AnswerMessageBox(session.run, {.text = question, .owner = page.Handle(), .icon = BoxIcon::Question}, IDYES);
            shown.push_back(std::string(kAppCaption) + ": " + question);
            EXPECT_FALSE(WaitForSerialLineBytes(lineBefore).empty()) << "no frame was sent";
        }
        const Window mainButton = session.main.Item(button);
        done.insert(done.end(), {pressed(mainButton, button), "page \"" + WithoutMnemonic(mainButton.Text()) + "\"",
                                 pressed(page.Item(operation), operation), pressed(page.Item(IDCANCEL), IDCANCEL),
                                 "page closed"});
        const auto told = AnswerAllBoxes(session.run);
        shown.insert(shown.end(), told.begin(), told.end());
        page.Item(IDCANCEL).Click();
        ASSERT_TRUE(WaitUntil([&] { return session.run.Pages().empty(); })) << "the page did not close";
        // The main window enables its buttons once the page's run has returned.
        ASSERT_TRUE(session.run.Settle());
    }
    done.insert(done.end(), {pressed(session.main.Item(kExit), kExit), "==== end of session"});
    session.main.Item(kExit).Click();
    ASSERT_TRUE(session.run.WaitForExit()) << "the program did not end";

    const std::vector<std::string> lines = CrLfLines(session.folder.ReadFile(WideFromUtf8(Expected(text::kLogFileName))));
    ASSERT_FALSE(lines.empty()) << "no log";
    EXPECT_EQ(lines.front().rfind("==== QM47 ", 0), 0u) << lines.front();
    // Each call as two lines: the export and what was sent, then the export,
    // the fields as left, the result and the time it took.
    std::vector<std::pair<std::string, std::string>> calls;
    std::vector<std::string> actions;
    std::string messages;
    std::string link;
    std::string sent;
    for (const std::string& line : lines) {
        if (line.find("] serial link") != std::string::npos) link += line + "\n";
        const std::size_t text = line.find("] ");
        for (const char* action : {"button \"", "page \"", "page closed", "==== end of session"})
            if (text != std::string::npos && line.compare(text + 2, std::strlen(action), action) == 0)
                actions.push_back(Utf8FromCp1250(line.substr(text + 2)));
        if (line.rfind('[', 0) != 0 || text == std::string::npos) continue;
        const std::string body = line.substr(text + 2);
        const std::size_t took = body.rfind(" (took ");
        const std::string exportName = body.substr(0, body.find(' '));
        if (took != std::string::npos && body.back() == ')') {
            EXPECT_EQ(sent.substr(0, sent.find(' ')), exportName) << "a result without its call: " << body;
            calls.emplace_back(sent, body.substr(exportName.size(), took - exportName.size()));
            sent.clear();
        } else if (body.compare(0, 8, "message ") == 0) {
            messages += Utf8FromCp1250(line) + "\n";
        } else if (body.find(" not called: ") == std::string::npos &&
                   !std::set<std::string>{"library", "calling", "serial", "fault", "button", "page", "input",
                                          "===="}.contains(
                       exportName)) {
            EXPECT_EQ(sent, "") << "a call without its result";
            sent = body;
        }
    }
    // The log follows no pointer the program does not: the status panel reads
    // neither the unused text nor the totalizers of the fiscal status.
    const auto connectStatus = std::find_if(calls.begin(), calls.end(), [](const auto& call) { return call.first == "LBFSTRQ"; });
    ASSERT_NE(connectStatus, calls.end());
    EXPECT_EQ(connectStatus->second.find("totalizer"), std::string::npos) << connectStatus->second;
    for (const auto& [call, left] : calls) EXPECT_EQ(left.find("unused69"), std::string::npos) << left;
    // The 32-bit program names the library's calling convention once, from
    // Port_Open's two arguments: the __stdcall library removes their 8 bytes,
    // the __cdecl one none.
    std::vector<std::string> conventions;
    for (const std::string& line : lines)
        if (line.find("] calling convention: ") != std::string::npos) conventions.push_back(line.substr(line.find("] ") + 2));
    if (Environment().program32Bit) {
        const bool cdeclLibrary = Environment().simDir.filename() == "cdecl";
        EXPECT_EQ(conventions, std::vector<std::string>{cdeclLibrary ? "calling convention: __cdecl (Port_Open removed 0 of its 8 bytes of arguments)"
                                                              : "calling convention: __stdcall (Port_Open removed 8 of its 8 bytes of arguments)"});
    } else {
        EXPECT_TRUE(conventions.empty());
    }

    const std::vector<std::string> journal = session.folder.Journal();
    ASSERT_EQ(calls.size(), journal.size());
    EXPECT_EQ(actions, done);
    EXPECT_NE(lines.back().find("] ==== end of session"), std::string::npos) << "the last line: " << lines.back();
    EXPECT_GE(calls.size(), 20u);
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const auto& [call, left] = calls[i];
        const std::string journalled = WithoutLayoutVerdict(journal[i]);
        SCOPED_TRACE(journalled);
        // What was sent leads the journal's line; the result ends both.
        EXPECT_EQ(journalled.rfind(call + " ", 0), 0u) << call;
        const std::string result = left.substr(left.rfind(" result="));
        EXPECT_TRUE(journalled.ends_with(result)) << left;
        // The fields as left are those the library wrote, where it wrote them.
        if (journalled.find(" unfilled ") != std::string::npos) continue;
        const std::string fields = left.substr(0, left.size() - result.size());
        std::istringstream each(fields);
        for (std::string field; each >> field;) EXPECT_NE(journalled.find(" " + field), std::string::npos) << field;
    }
    // What was typed, read from the real controls: the NIP right before
    // its page's button, and a date picker's date.
    const auto input = [&](int id) {
        return std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.find("] input " + std::to_string(id) + " ") != std::string::npos;
        });
    };
    const auto nip = input(IDC_FISCAL_NIP);
    ASSERT_NE(nip, lines.end());
    EXPECT_TRUE(nip->ends_with(" \"5260001246\"")) << *nip;
    EXPECT_NE(std::next(nip)->find("] button "), std::string::npos) << *std::next(nip);
    ASSERT_NE(input(IDC_REPORTS_FIRST_DATE), lines.end());
    EXPECT_TRUE(std::regex_search(*input(IDC_REPORTS_FIRST_DATE), std::regex(" 20[0-9]{2}-[01][0-9]-[0-3][0-9]$")))
        << *input(IDC_REPORTS_FIRST_DATE);

    // The fiscalization frame as the link offered it: 25 bytes, all taken.
    EXPECT_NE(link.find("opened, sending 25 bytes: 1B 50"), std::string::npos) << link;
    EXPECT_NE(link.find("25 of 25 bytes taken"), std::string::npos) << link;

    // Every box the pages raised, with its caption and the button that closed it.
    for (const std::string& box : shown) {
        const std::size_t colon = box.find(": ");
        const std::string expected = "message \"" + box.substr(colon + 2) + "\" caption \"" + box.substr(0, colon) + "\"";
        EXPECT_NE(messages.find(expected), std::string::npos) << expected << "\nin\n" << messages;
    }
    EXPECT_NE(messages.find("message \"" + Expected(text::kOperationDone) + "\" caption \"QM47\" closed by OK"),
              std::string::npos)
        << messages;
}

TEST(DiagnosticLog, ASecondCopyWritesALogOfItsOwnAndNamesIt)
{
    TestFolder folder(Library::Full);
    const std::wstring names[] = {WideFromUtf8(Expected(text::kLogFileName)), L"QM47-2.log"};
    // Logs of earlier starts, which the sessions are appended to.
    for (const auto& name : names) std::ofstream(folder.Path() / name, std::ios::binary) << "earlier\r\n";
    ProgramRun first(folder, L"/log");
    ASSERT_TRUE(first.WaitForMainWindow());
    ProgramRun second(folder, L"/log");
    ASSERT_TRUE(second.WaitForMainWindow()) << "the second copy's window did not appear";
    for (ProgramRun* run : {&second, &first}) {
        run->MainWindow().Item(kExit).Click();
        ASSERT_TRUE(run->WaitForExit()) << "a copy did not end";
    }
    for (const auto& name : names) {
        const std::vector<std::string> lines = CrLfLines(folder.ReadFile(name));
        const auto sessions = std::count_if(lines.begin(), lines.end(), [](auto& line) { return line.starts_with("==== QM47"); });
        ASSERT_EQ(sessions, 1) << "sessions in " << Utf8FromWide(name);
        EXPECT_EQ(lines[0], "earlier");
        EXPECT_NE(lines[1].find(", log " + Utf8FromWide((folder.Path() / name).wstring())), std::string::npos) << lines[1];
    }
}

} // namespace
} // namespace qm47::e2e
