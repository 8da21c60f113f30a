// The fiscalization page driven from outside: the frame on a real serial
// line (a pty mapped to a COM port), the port handed from the library to the
// program's own link and back, the NIP limit, and a port with no device.

#include "tests/e2e/PageSession.h"

#include "framework/MessageBox.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47::e2e {
namespace {

using namespace main_window;
using pages::PageSession;

std::string Frame(std::string_view nip, std::string_view checkSum)
{
    return std::string("\x1BP1$fNIP ") + std::string(nip) + "\xFF" + std::string(checkSum) + "\x1B\\";
}

std::string Question(const std::string& nip)
{
    return Utf8FromCp1250(fw::Substitute(text::kConfirmFiscalization, {nip}));
}

// A valid NIP goes out as typed once the technician says yes; one that
// breaks the rule (the empty one and the earlier examples "123-456-78-90" and letters among them)
// is refused and nothing reaches the line or the library.
TEST(FiscalPage, PutsExactlyTheFrameAndOneZeroByteOnTheLine)
{
    const std::string port = Environment().comPort;
    ASSERT_FALSE(port.empty()) << "the run maps no COM port";
    PageSession session(Page("fiscal"), {}, port);
    const Window page = session.page;

    const std::string notTenDigits = Expected(text::kNipNotTenDigits);
    const std::string wrongCheckDigit = Expected(text::kNipWrongCheckDigit);
    struct Case { const char* nip; const char* checkSum; std::size_t frameSize; std::string refusal; };
    const Case cases[] = {{"", "", 0, notTenDigits},
                          {"123-456-78-90", "", 0, wrongCheckDigit},
                          {"1234567890", "", 0, wrongCheckDigit},
                          {"526-000-12-46", "29", 27, ""},
                          {"526 000 12 46", "24", 27, ""},
                          {"5260001246", "04", 24, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("NIP \"") + c.nip + "\"");
        const std::size_t lineBefore = SerialLineBytes().size();
        const std::size_t journalBefore = session.JournalSize();
        page.Item(IDC_FISCAL_NIP).SetText(c.nip);
        page.Item(IDC_FISCAL_SEND).Click();
        if (!c.refusal.empty()) {
            AnswerMessageBox(session.run, {.text = c.refusal, .owner = page.Handle(), .icon = BoxIcon::Exclamation});
            EXPECT_EQ(page.Item(IDC_FISCAL_NIP).Text(), c.nip);
            EXPECT_EQ(session.JournalSize(), journalBefore) << "the library keeps its port";
            EXPECT_EQ(SerialLineBytes().size(), lineBefore) << "nothing went out";
            continue;
        }
        AnswerMessageBox(session.run, {.text = Question(c.nip), .owner = page.Handle(), .icon = BoxIcon::Question},
                         IDYES);

        const std::string expected = Frame(c.nip, c.checkSum);
        EXPECT_EQ(expected.size(), c.frameSize);
        EXPECT_EQ(WaitForSerialLineBytes(lineBefore), expected + std::string(1, '\0'));
        EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(journalBefore),
                                   {"Port_Close", "Port_Open port=\"" + port + "\" baud=9600"}));
        EXPECT_TRUE(session.run.MessageBoxes().empty()) << "a frame that went out shows nothing more; "
                                                        << Describe(session.run.MessageBoxes());
        EXPECT_EQ(session.run.Pages().size(), 1u) << "the page stays open";
    }
}

// The question before a fiscalization: Yes and No with No the default, so
// that Enter answers No; a plain letter answers nothing, not even the
// mnemonic of Yes.
TEST(FiscalPage, OnlyYesToTheQuestionSendsTheNip)
{
    const std::string port = Environment().comPort;
    ASSERT_FALSE(port.empty()) << "the run maps no COM port";
    PageSession session(Page("fiscal"), {}, port);
    const Window page = session.page;
    const std::string nip = "526-000-12-46";
    page.Item(IDC_FISCAL_NIP).SetText(nip);
    const std::size_t lineBefore = SerialLineBytes().size();
    const std::size_t journalBefore = session.JournalSize();

    page.Item(IDC_FISCAL_SEND).Click();
    const auto box = session.run.WaitForMessageBox();
    ASSERT_TRUE(box) << "no question";
    EXPECT_EQ(box->Message(), Question(nip));
    EXPECT_STREQ(Name(box->Icon()), Name(BoxIcon::Question));
    EXPECT_EQ(box->Caption(), kAppCaption);
    EXPECT_EQ(GetWindow(box->Handle(), GW_OWNER), page.Handle());
    ASSERT_EQ(box->Buttons().size(), 2u);
    const Window no = box->Item(IDNO);
    ASSERT_TRUE(WaitUntil([&] { return session.run.Focus().Handle() == no.Handle(); })) << "No is not the default";
    // The letter of every button's mnemonic (a Polish Windows shows "&Tak" and "&Nie").
    for (const int button : {IDYES, IDNO}) {
        const std::string label = box->Item(button).Text();
        const std::size_t mnemonic = label.find('&');
        ASSERT_NE(mnemonic, std::string::npos) << label;
        SCOPED_TRACE("plain letter of \"" + label + "\"");
        ASSERT_NO_FATAL_FAILURE(TypeLetter(session.run, no, label.at(mnemonic + 1)));
        EXPECT_TRUE(IsWindow(box->Handle())) << "a plain letter answered the question";
    }
    no.PressKey(VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box->Handle()); })) << "Enter did not answer";
    ASSERT_TRUE(session.run.Settle());
    EXPECT_EQ(session.JournalSize(), journalBefore) << "No: the library keeps its port";
    EXPECT_EQ(SerialLineBytes().size(), lineBefore) << "No: nothing went out";

    page.Item(IDC_FISCAL_SEND).Click();
    AnswerMessageBox(session.run, {.text = Question(nip), .owner = page.Handle(), .icon = BoxIcon::Question}, IDYES);
    EXPECT_EQ(WaitForSerialLineBytes(lineBefore), Frame(nip, "29") + std::string(1, '\0'));
}

TEST(FiscalPage, TheNipEditTakesThirteenCharacters)
{
    PageSession session(Page("fiscal"), {}, "com1");
    const Window page = session.page;
    page.Item(IDC_FISCAL_NIP).Type("123-456-78-901");
    ASSERT_TRUE(session.run.Settle());
    EXPECT_EQ(page.Item(IDC_FISCAL_NIP).Text(), "123-456-78-90");
}

TEST(FiscalPage, APortWithNoDeviceIsReportedAndGivenBackToTheLibrary)
{
    // COM8 is not mapped to any device in the test prefix.
    PageSession session(Page("fiscal"), {}, "COM8");
    const Window page = session.page;
    const std::size_t journalBefore = session.JournalSize();
    page.Item(IDC_FISCAL_NIP).SetText("5260001246");
    page.Item(IDC_FISCAL_SEND).Click();
    AnswerMessageBox(session.run,
                     {.text = Question("5260001246"), .owner = page.Handle(), .icon = BoxIcon::Question}, IDYES);
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
