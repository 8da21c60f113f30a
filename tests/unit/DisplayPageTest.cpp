// The display page against the recording fake library: the mode and text
// each button hands to LBDSP, the 20-character lines, the off-line stop, and
// errors reported with nothing shown on success.

#include "PageFixture.h"

#include "app/Requests.h"
#include "pages/DisplayPage.h"
#include "res/Texts.h"

namespace qm47 {
namespace {

using DisplayPageTest = testing::PageTest<CDisplayPage>;

const std::string kCR = "\x0D";

// Fills the four lines: customer 1 and 2, operator 1 and 2.
void FillLines(fw::testing::TestWindow& window, const std::array<std::string, 4>& lines)
{
    const int edits[] = {IDC_DISPLAY_CUSTOMER_LINE1, IDC_DISPLAY_CUSTOMER_LINE2, IDC_DISPLAY_OPERATOR_LINE1,
                         IDC_DISPLAY_OPERATOR_LINE2};
    for (std::size_t i = 0; i < lines.size(); ++i) window.Replace(edits[i], lines[i]);
}

TEST(DisplayTextTest, TwoLinesJoinedByOneCarriageReturn)
{
    EXPECT_EQ(DisplayText("", "cd"), "\x0D" "cd");
    const std::string full(20, 'x');
    EXPECT_EQ(DisplayText(full, full), full + kCR + full) << "41 bytes at most, nothing after line 2";
}

TEST_F(DisplayPageTest, OpensEmptyAndSendsNothing)
{
    Open();
    for (int id : {IDC_DISPLAY_CUSTOMER_LINE1, IDC_DISPLAY_CUSTOMER_LINE2, IDC_DISPLAY_OPERATOR_LINE1,
                   IDC_DISPLAY_OPERATOR_LINE2})
        EXPECT_EQ(Text(id), "") << id;
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(window->FocusId(), IDC_DISPLAY_CUSTOMER_LINE1);
}

TEST_F(DisplayPageTest, EachButtonSendsItsModeAndText)
{
    const std::array<std::string, 4> lines = {"Dzie\xF1 dobry", "z\xB3oty", "Kasa 1", "Operator"};
    const struct {
        const char* label;
        int button;
        std::array<std::string, 4> lines;
        std::int64_t mode;
        std::string text;
    } cases[] = {
        {"customer, both empty", IDC_DISPLAY_CUSTOMER_SEND, {}, 2, kCR},
        {"customer, ab and empty", IDC_DISPLAY_CUSTOMER_SEND, {"ab", "", "", ""}, 2, "ab" + kCR},
        {"customer, Polish letter unconverted", IDC_DISPLAY_CUSTOMER_SEND, {"\xB3", "", "", ""}, 2, "\xB3" + kCR},
        {"customer lines only", IDC_DISPLAY_CUSTOMER_SEND, lines, 2, "Dzie\xF1 dobry" + kCR + "z\xB3oty"},
        {"operator lines only", IDC_DISPLAY_OPERATOR_SEND, lines, 5, "Kasa 1" + kCR + "Operator"},
        {"operator, both empty", IDC_DISPLAY_OPERATOR_SEND, {}, 5, kCR},
        {"date and time", IDC_DISPLAY_DATE_TIME, lines, 3, ""},
        {"cash-register mode", IDC_DISPLAY_CASH_REGISTER, lines, 4, ""},
        {"cash-register mode, 21 characters in a field", IDC_DISPLAY_CASH_REGISTER,
         {std::string(21, 'x'), "", "", ""}, 4, ""},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        FillLines(*window, c.lines);
        Forget();
        ASSERT_TRUE(window->Click(c.button));
        EXPECT_EQ(fake.Names(), (std::vector<std::string>{"GetStatus_Printer", "LBDSP"}));
        const auto calls = fake.CallsOf("LBDSP");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].numbers, std::vector<std::int64_t>{c.mode});
        EXPECT_EQ(calls[0].texts, std::vector<std::string>{c.text});
        EXPECT_TRUE(ui.messages.empty()) << "no confirmation: " << ::testing::PrintToString(MessageTexts());
        EXPECT_FALSE(window->Ended());
        EXPECT_EQ(Text(IDC_DISPLAY_CUSTOMER_LINE1), c.lines[0]) << "the fields stay as they were";
    }
}

TEST_F(DisplayPageTest, LinesHoldTwentyCharacters)
{
    Open();
    window->Type(IDC_DISPLAY_CUSTOMER_LINE1, "123456789012345678901");
    EXPECT_EQ(Text(IDC_DISPLAY_CUSTOMER_LINE1), "12345678901234567890") << "the 21st character is refused";

    // A longer text put there otherwise stops both sending buttons at the exchange.
    for (int edit : {IDC_DISPLAY_CUSTOMER_LINE2, IDC_DISPLAY_OPERATOR_LINE1}) {
        for (int button : {IDC_DISPLAY_CUSTOMER_SEND, IDC_DISPLAY_OPERATOR_SEND}) {
            SCOPED_TRACE(::testing::Message() << "edit " << edit << ", button " << button);
            window->Replace(edit, std::string(21, 'x'));
            Forget();
            window->Click(button);
            EXPECT_EQ(fake.Names(), std::vector<std::string>{"GetStatus_Printer"});
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].text, "Please enter no more than 20 characters.");
            EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::Exclamation);
            EXPECT_EQ(window->FocusId(), edit);
            window->Replace(edit, "");
        }
    }
}

TEST_F(DisplayPageTest, OfflineStopsEveryButton)
{
    Open();
    FillLines(*window, {"a", "b", "c", "d"});
    for (const std::int32_t onl : {0, 2, 9}) {
        for (int button : {IDC_DISPLAY_CUSTOMER_SEND, IDC_DISPLAY_OPERATOR_SEND, IDC_DISPLAY_DATE_TIME,
                           IDC_DISPLAY_CASH_REGISTER}) {
            SCOPED_TRACE(::testing::Message() << "onl " << onl << ", button " << button);
            fake.onl = onl;
            Forget();
            window->Click(button);
            ExpectOfflineRefusal();
            EXPECT_FALSE(window->Ended());
        }
    }
}

TEST_F(DisplayPageTest, ErrorsGoToErrorMessage)
{
    Open();
    for (const std::int32_t code : {-7, 1, 0x7FFFFFFF}) {
        for (int button : {IDC_DISPLAY_CUSTOMER_SEND, IDC_DISPLAY_DATE_TIME}) {
            SCOPED_TRACE(::testing::Message() << "code " << code << ", button " << button);
            ExpectErrorGoesToErrorMessage(button, "LBDSP", code);
        }
    }
}

TEST_F(DisplayPageTest, MissingExportIsReportedNotCalled)
{
    Open({"LBDSP"});
    window->Click(IDC_DISPLAY_CASH_REGISTER);
    EXPECT_EQ(fake.Names(), std::vector<std::string>{"GetStatus_Printer"});
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{std::string(text::kMissingExportPrefix.view()) + "LBDSP"});
}

} // namespace
} // namespace qm47
