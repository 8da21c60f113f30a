// The fiscalization page driven from outside: the frame on a real serial
// line (a pty mapped to a COM port), the port handed from the library to the
// program's own link and back, the NIP limit, and a port with no device.

#include "tests/e2e/Session.h"

#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47::e2e {
namespace {

using namespace main_window;

// Connects on `port` and opens the fiscalization page.
Window OpenFiscalPage(Session& session, const std::string& port)
{
    session.main.Item(kPort).SetText(port);
    session.Click(kConnect);
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    session.Click(kFiscalPage);
    const auto pages = session.run.Pages();
    if (pages.size() != 1) {
        ADD_FAILURE() << "the fiscalization page did not open";
        return Window();
    }
    EXPECT_TRUE(pages.front().WaitVisible());
    return pages.front();
}

std::string Frame(std::string_view nip, std::string_view checkSum)
{
    return std::string("\x1BP1$fNIP ") + std::string(nip) + "\xFF" + std::string(checkSum) + "\x1B\\";
}

TEST(FiscalPage, PutsExactlyTheFrameAndOneZeroByteOnTheLine)
{
    const std::string port = Environment().comPort;
    ASSERT_FALSE(port.empty()) << "the run maps no COM port";
    Session session(Library::Full);
    const Window page = OpenFiscalPage(session, port);
    ASSERT_TRUE(page);

    struct Case { const char* nip; const char* checkSum; std::size_t frameSize; };
    const Case cases[] = {{"", "04", 14}, {"123-456-78-90", "28", 27}, {"1234567890", "05", 24}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("NIP \"") + c.nip + "\"");
        const std::size_t lineBefore = SerialLineBytes().size();
        const std::size_t journalBefore = session.JournalSize();
        page.Item(IDC_FISCAL_NIP).SetText(c.nip);
        page.Item(IDC_FISCAL_SEND).Click();
        ASSERT_TRUE(session.run.Settle());

        const std::string expected = Frame(c.nip, c.checkSum);
        EXPECT_EQ(expected.size(), c.frameSize);
        EXPECT_EQ(WaitForSerialLineBytes(lineBefore), expected + std::string(1, '\0'));
        EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(journalBefore),
                                   {"Port_Close", "Port_Open port=\"" + port + "\" baud=9600"}));
        EXPECT_TRUE(session.run.MessageBoxes().empty()) << "a frame that went out shows nothing; "
                                                        << Describe(session.run.MessageBoxes());
        EXPECT_EQ(session.run.Pages().size(), 1u) << "the page stays open";
    }
}

TEST(FiscalPage, TheNipEditTakesThirteenCharacters)
{
    Session session(Library::Full);
    const Window page = OpenFiscalPage(session, "com1");
    ASSERT_TRUE(page);
    page.Item(IDC_FISCAL_NIP).Type("123-456-78-901");
    ASSERT_TRUE(session.run.Settle());
    EXPECT_EQ(page.Item(IDC_FISCAL_NIP).Text(), "123-456-78-90");
}

TEST(FiscalPage, APortWithNoDeviceIsReportedAndGivenBackToTheLibrary)
{
    // COM8 is not mapped to any device in the test prefix.
    Session session(Library::Full);
    const Window page = OpenFiscalPage(session, "COM8");
    ASSERT_TRUE(page);
    const std::size_t journalBefore = session.JournalSize();
    page.Item(IDC_FISCAL_SEND).Click();
    AnswerMessageBox(session.run, {.text = Expected(text::kCannotOpenPort), .owner = page.Handle()});
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(journalBefore),
                               {"Port_Close", "Port_Open port=\"COM8\" baud=9600 result=0"}));

    // The library has its port again: the main window goes on working.
    page.Item(IDC_FISCAL_CANCEL).Click();
    ASSERT_TRUE(WaitUntil([&] { return session.run.Pages().empty(); }));
    ASSERT_TRUE(session.run.Settle()); // the buttons come back once the page's modal run has returned
    const std::size_t beforeRefresh = session.JournalSize();
    session.Click(kRefresh);
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(beforeRefresh),
                               {"GetStatus_CashRegister result=0", "GetStatus_Printer onl=1", "GetStatus_CashRegister",
                                "LBIDRQ", "LBFSTRQ"}));
}

} // namespace
} // namespace qm47::e2e
