// The header page driven from outside: Polish letters typed into the lines
// reach the simulated printer in Mazovia, the working files are left as
// designed, and line 1 warns about its length.

#include "tests/e2e/PageSession.h"

#include "res/ControlLists.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <filesystem>

namespace qm47::e2e {
namespace {

using namespace main_window;


// The header that the last LBSETHDR of the journal carried, after checking
// its other two texts.
std::string SentHeader(const std::vector<std::string>& journal)
{
    for (auto line = journal.rbegin(); line != journal.rend(); ++line) {
        const JournalEntry entry = ParseJournalLine(*line);
        if (entry.exportName != "LBSETHDR") continue;
        EXPECT_EQ(entry.Field("registerNumber").value_or("?"), "\"001\"");
        EXPECT_EQ(entry.Field("cashier").value_or("?"), "\"Serwis\"");
        EXPECT_EQ(entry.Field("result").value_or("?"), "0");
        return JournalText(entry.Field("header").value_or("")).value_or("<no header text>");
    }
    return "<no LBSETHDR>";
}

std::string Hex(const std::string& bytes)
{
    std::string hex;
    char byte[4];
    for (unsigned char c : bytes) {
        std::snprintf(byte, sizeof(byte), hex.empty() ? "%02X" : " %02X", c);
        hex += byte;
    }
    return hex;
}

using HeaderPage = pages::OnPage<"header">;

TEST_F(HeaderPage, PolishLettersReachThePrinterInMazoviaAndTheWorkingFilesStayAsDesigned)
{
    // Typed from outside as UTF-16; the program holds Windows-1250.
    page.Item(res::kHeaderLines[0].edit).SetText("Łódź");
    page.Item(IDC_HEADER_CENTER2).Click();
    page.Item(res::kHeaderLines[1].edit).SetText("Zażółć gęślą jaźń");
    page.Item(IDC_HEADER_DOUBLE3).Click();
    page.Item(res::kHeaderLines[2].edit).SetText("ŚĆŃĘĄŻŹÓŁ");
    ASSERT_TRUE(session.run.Settle());
    EXPECT_EQ(page.Item(res::kHeaderLines[0].counter).Text(), "4");
    EXPECT_EQ(page.Item(res::kHeaderLines[1].counter).Text(), "17");
    EXPECT_EQ(page.Item(res::kHeaderLines[2].counter).Text(), "9");
    EXPECT_EQ(page.Item(res::kHeaderLines[3].counter).Text(), "") << "a line not changed keeps its counter blank";

    const std::size_t before = session.JournalSize();
    page.Item(IDC_HEADER_SET).Click();
    ASSERT_TRUE(session.run.Settle());
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << "a successful programming shows nothing: "
                                                    << Describe(session.run.MessageBoxes());
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before), {"GetStatus_Printer onl=1", "LBSETHDR result=0"}));

    const std::string expected = "\x9C\xA2\x64\xA6\r" +
                                 std::string(11, ' ') + "Za\xA7\xA2\x92\x8D g\x91\x9El\x86 ja\xA6\xA4\r" +
                                 "\x0E\x98\x95\xA5\x90\x8F\xA1\xA0\xA3\x9C\x0E\r" +
                                 "\r\r\r\r";
    EXPECT_EQ(Hex(SentHeader(session.folder.Journal())), Hex(expected));
    EXPECT_EQ(Hex(session.folder.ReadFile(L"naglowek.txt")), Hex(expected));
    EXPECT_FALSE(std::filesystem::exists(session.folder.Path() / L"naglowek_we.txt"));
    EXPECT_TRUE(page.Visible()) << "the page stays open";
}

TEST_F(HeaderPage, AHeaderOverTheLimitIsRefusedBeforeAnythingIsWritten)
{
    // Seven lines of 40 bytes, each with its CR: 287 bytes.
    for (std::size_t i = 0; i < std::size(res::kHeaderLines); ++i)
        page.Item(res::kHeaderLines[i].edit).SetText(std::string(39, static_cast<char>('1' + i)) + "ż");
    ASSERT_TRUE(session.run.Settle());
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());

    const std::size_t before = session.JournalSize();
    page.Item(IDC_HEADER_SET).Click();
    std::string refusal = Expected(text::kHeaderTooLong);
    refusal.replace(refusal.find("%1"), 2, "287");
    refusal.replace(refusal.find("%2"), 2, "199");
    AnswerMessageBox(session.run, {.text = refusal, .owner = page.Handle(), .icon = BoxIcon::Exclamation});
    for (const std::string& call : session.folder.JournalFrom(before))
        EXPECT_NE(call.rfind("LBSETHDR", 0), 0u) << "nothing is sent: " << call;
    EXPECT_FALSE(std::filesystem::exists(session.folder.Path() / L"naglowek.txt"));
    EXPECT_EQ(page.Item(res::kHeaderLines[6].edit).Text(), std::string(39, '7') + "ż") << "the lines stay";
}

TEST_F(HeaderPage, LineOneWarnsOnceItHoldsMoreThan40Characters)
{
    page.Item(res::kHeaderLines[0].edit).Type(std::string(41, 'A'));
    AnswerMessageBox(session.run, {Expected(text::kHeaderLineLimit), std::string(kAppCaption), page.Handle()});
    EXPECT_EQ(page.Item(res::kHeaderLines[0].edit).Text(), std::string(41, 'A')) << "the text stands";
    EXPECT_EQ(page.Item(res::kHeaderLines[0].counter).Text(), "41");
}

TEST_F(HeaderPage, AFailedConversionIsReportedAndNothingIsSent)
{
    // The converted copy cannot be created where a folder takes its name.
    std::filesystem::create_directory(session.folder.Path() / L"naglowek.txt");
    page.Item(res::kHeaderLines[0].edit).SetText("Łódź");
    ASSERT_TRUE(session.run.Settle());

    const std::size_t before = session.JournalSize();
    page.Item(IDC_HEADER_SET).Click();
    AnswerMessageBox(session.run, {Expected(text::kCannotOpenOutputFile), Expected(text::kConversionErrorCaption)});
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before), {"GetStatus_Printer onl=1"}));
    EXPECT_FALSE(std::filesystem::exists(session.folder.Path() / L"naglowek_we.txt"));
    EXPECT_TRUE(page.Visible()) << "the page stays open";
    // The box is owned by no window; once it closes, the page takes the keyboard again.
    EXPECT_TRUE(WaitUntil([&] { return session.run.Active().Handle() == page.Handle(); }))
        << "the active window is " << session.run.Active().Handle();
    EXPECT_EQ(session.run.Focus().Handle(), page.Item(IDC_HEADER_SET).Handle()) << "the focus";
}

// Enter in a line of the page: the page has no default button, so the dialog
// manager sends the OK command, which must neither close the page nor lose
// what was typed.
TEST_F(HeaderPage, EnterInALineKeepsThePageAndItsLines)
{
    for (const auto& line : res::kHeaderLines) page.Item(line.edit).Type("Linia " + std::to_string(line.edit));
    const Window last = page.Item(IDC_HEADER_LINE7);
    PostMessageW(page.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(last.Handle()), TRUE);
    ASSERT_TRUE(session.run.Settle());
    ASSERT_EQ(session.run.Focus().Handle(), last.Handle());

    const std::size_t before = session.JournalSize();
    last.PressKey(VK_RETURN);
    ASSERT_TRUE(session.run.Settle());
    EXPECT_TRUE(page.Visible()) << "the page stays open";
    for (const auto& line : res::kHeaderLines)
        EXPECT_EQ(page.Item(line.edit).Text(), "Linia " + std::to_string(line.edit));
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_EQ(session.JournalSize(), before) << "nothing was sent";
}

} // namespace
} // namespace qm47::e2e
