// The header page against the recording fake library: line building, the
// character counters and their warnings, and programming the header.

#include "FakeLibrary.h"
#include "PageFixture.h"
#include "ScratchDirectory.h"

#include "pages/HeaderPage.h"
#include "pages/HeaderRules.h"
#include "res/ControlLists.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"
#include "entry/Pages.h"
#include "ui/MainDlg.h"

#include <gtest/gtest.h>

namespace qm47 {
namespace {

using fw::literals::operator""_cp1250;
using fw::testing::TestUi;
using fw::testing::TestWindow;
using testing::FakeLibrary;
using testing::Hex;
using testing::ReadFile;
using testing::ScratchDirectory;

const std::string kMax20(text::kHeaderDoubleWidthLimit.view());
const std::string kMax40(text::kHeaderLineLimit.view());
const std::string kSO = "\x0E";

TEST(HeaderTextsTest, HoldTheExactBytes)
{
    EXPECT_EQ(kMax20, "W przypadku podwojonej szeroko\x9C\xE6 znaku, ilo\x9C\xE6 znak\xF3w  = max 20");
    EXPECT_EQ(kMax40, "Dopuszczalna ilo\x9C\xE6 znak\xF3w  = 40");
    EXPECT_EQ(text::kConversionErrorCaption.view(), "B\xB3\xB9" "d");
    EXPECT_EQ(text::kHeaderCashier.view(), "Serwis");
    EXPECT_EQ(fw::Substitute(text::kHeaderTooLong, {"287", "199"}),
              "Nag\xB3\xF3wek jest za d\xB3ugi - d\xB3ugo\x9C\xE6: 287, dopuszczalna: 199. "
              "Skr\xF3\xE6 linie albo wy\xB3\xB9" "cz wy\x9Crodkowanie.");
}

TEST(BuildHeaderLineTest, PadsOnlyInFrontAndNeverCuts)
{
    const std::string text39(39, 'x'), text45(45, 'y'), text21(21, 'z');
    struct Case {
        const char* label;
        std::string text;
        bool doubleWidth, centred;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"plain", "ABC", false, false, "ABC"},
        {"centred", "ABC", false, true, std::string(18, ' ') + "ABC"},
        {"double, centred", "ABCD", true, true, kSO + std::string(8, ' ') + "ABCD" + kSO},
        {"double", "ABC", true, false, kSO + "ABC" + kSO},
        {"empty, centred", "", false, true, std::string(20, ' ')},
        {"empty, double and centred", "", true, true, kSO + std::string(10, ' ') + kSO},
        {"empty, double", "", true, false, kSO + kSO},
        {"empty", "", false, false, ""},
        {"38 centred: one space", std::string(38, 'x'), false, true, " " + std::string(38, 'x')},
        {"39 centred: (40 - 39) / 2 is 0", text39, false, true, text39},
        {"45 centred: whole, no spaces", text45, false, true, text45},
        {"18 double centred: one space", std::string(18, 'x'), true, true, kSO + " " + std::string(18, 'x') + kSO},
        {"19 double centred: no space", std::string(19, 'x'), true, true, kSO + std::string(19, 'x') + kSO},
        {"21 double centred: whole", text21, true, true, kSO + text21 + kSO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Hex(BuildHeaderLine(c.text, c.doubleWidth, c.centred)), Hex(c.line));
    }
}

class HeaderPageTest : public testing::PageTest<CHeaderPage> {
protected:
    // A header line as a table's row sets it.
    struct Line {
        int index;
        std::string text;
        bool doubleWidth = false, centred = false;
    };

    // A table's row: the lines typed, and what is expected of them.
    template <class Expected>
    struct Typed {
        const char* label;
        std::vector<Line> lines;
        Expected expected;
    };

    // Types each of `lines` into its edit and ticks its check boxes.
    static void Enter(TestWindow& w, const std::vector<Line>& lines)
    {
        for (const Line& line : lines) {
            w.Replace(res::kHeaderLines[line.index].edit, line.text);
            if (line.doubleWidth) w.Click(res::kHeaderLines[line.index].doubleWidth);
            if (line.centred) w.Click(res::kHeaderLines[line.index].centred);
        }
    }

    void Open(std::initializer_list<std::string_view> without = {})
    {
        PageTest::Open(without);
        ASSERT_TRUE(window->WasShown());
    }
    std::vector<std::string> Counters() const
    {
        std::vector<std::string> counters;
        for (const auto& line : res::kHeaderLines) counters.push_back(Text(line.counter));
        return counters;
    }
    // The header LBSETHDR received, after checking the call's other arguments.
    std::string SentHeader() const
    {
        const auto calls = fake.CallsOf("LBSETHDR");
        if (calls.size() != 1) return "(LBSETHDR called " + std::to_string(calls.size()) + " times)";
        const auto& texts = calls[0].texts;
        EXPECT_EQ(texts.size(), 3u);
        if (texts.size() != 3) return "(bad call)";
        EXPECT_EQ(texts[1], "001");
        EXPECT_EQ(texts[2], "Serwis");
        return texts[0];
    }

    ScratchDirectory directory; // the conversion's working files go here
};

TEST_F(HeaderPageTest, OpensEmptyWithBlankCountersAndCallsNothing)
{
    Open();
    for (std::size_t i = 0; i < std::size(res::kHeaderLines); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        EXPECT_EQ(Text(res::kHeaderLines[i].edit), "");
        EXPECT_EQ(window->Control(res::kHeaderLines[i].doubleWidth).check, 0);
        EXPECT_EQ(window->Control(res::kHeaderLines[i].centred).check, 0);
    }
    EXPECT_EQ(Counters(), std::vector<std::string>(7, ""));
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(HeaderPageTest, LineOneWarnsAboutItsLengthAfterEveryChange)
{
    struct Case {
        const char* label;
        bool doubleWidth;
        std::vector<std::size_t> lengths; // the line's text is replaced with these lengths, in turn
        std::vector<std::string> messagesAfterLast;
    };
    const std::vector<Case> cases = {
        {"normal, 20", false, {20}, {}},
        {"normal, 21", false, {21}, {}},
        {"normal, 40", false, {40}, {}},
        {"normal, 41", false, {41}, {kMax40}},
        {"normal, 45 shortened to 44", false, {45, 44}, {kMax40}},
        {"normal, 45 shortened to 40", false, {45, 40}, {}},
        {"double, 20", true, {20}, {}},
        {"double, 21", true, {21}, {kMax20}},
        {"double, 40", true, {40}, {kMax20}},
        {"double, 41", true, {41}, {kMax20, kMax40}},
        {"double, 45 shortened to 44", true, {45, 44}, {kMax20, kMax40}},
        {"double, emptied", true, {30, 0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TestUi::Current().messages.clear();
        CHeaderPage fresh(app);
        auto w = TestWindow::Open(fresh);
        if (c.doubleWidth) w->Click(res::kHeaderLines[0].doubleWidth);
        for (std::size_t length : c.lengths) {
            ui.messages.clear();
            w->Replace(res::kHeaderLines[0].edit, std::string(length, 'A'));
        }
        EXPECT_EQ(MessageTexts(), c.messagesAfterLast);
        for (const auto& m : ui.messages) {
            EXPECT_EQ(m.owner, &fresh);
            EXPECT_EQ(m.caption, "QM47");
            EXPECT_EQ(m.icon, fw::MessageIcon::None);
            EXPECT_EQ(m.buttons, fw::MessageButtons::Ok);
        }
        EXPECT_EQ(w->Control(res::kHeaderLines[0].counter).text, std::to_string(c.lengths.back()));
        EXPECT_EQ(w->Control(res::kHeaderLines[0].edit).text, std::string(c.lengths.back(), 'A')) << "the text stands";
    }
}

TEST_F(HeaderPageTest, TypingLineOneWarnsOnEveryCharacterBeyondTheLimits)
{
    Open();
    window->Click(res::kHeaderLines[0].doubleWidth);
    window->Type(res::kHeaderLines[0].edit, std::string(45, 'A'));
    std::vector<std::string> expected(20, kMax20); // 21 to 40 characters
    for (int i = 0; i < 5; ++i) {                  // 41 to 45
        expected.push_back(kMax20);
        expected.push_back(kMax40);
    }
    EXPECT_EQ(MessageTexts(), expected);
    EXPECT_EQ(Text(res::kHeaderLines[0].counter), "45");
    EXPECT_EQ(Text(res::kHeaderLines[0].edit), std::string(45, 'A'));
}

TEST_F(HeaderPageTest, OtherLinesOnlyCountAndFlagsRefreshNothing)
{
    Open();
    for (std::size_t i = 1; i < std::size(res::kHeaderLines); ++i) {
        SCOPED_TRACE("line " + std::to_string(i + 1));
        window->Click(res::kHeaderLines[i].doubleWidth);
        window->Click(res::kHeaderLines[i].centred);
        window->Replace(res::kHeaderLines[i].edit, std::string(60, 'B'));
        EXPECT_EQ(Text(res::kHeaderLines[i].counter), "60");
    }
    EXPECT_EQ(Counters(), (std::vector<std::string>{"", "60", "60", "60", "60", "60", "60"}));

    // A flag change on line 1 shows nothing and leaves the counter as it was.
    window->Replace(res::kHeaderLines[0].edit, std::string(25, 'A'));
    EXPECT_EQ(Text(res::kHeaderLines[0].counter), "25");
    window->Click(res::kHeaderLines[0].doubleWidth);
    EXPECT_EQ(Text(res::kHeaderLines[0].counter), "25");
    EXPECT_TRUE(ui.messages.empty()) << MessageTexts().front();

    // Typing into line 3 refreshes its own counter only.
    window->Replace(res::kHeaderLines[2].edit, "");
    window->Type(res::kHeaderLines[2].edit, "ab\xB3");
    EXPECT_EQ(Counters(), (std::vector<std::string>{"25", "60", "3", "60", "60", "60", "60"}));
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(HeaderPageTest, ProgrammingSendsTheConvertedHeaderAndShowsNothing)
{
    const std::string line40(40, 'x');
    const std::string sevenCR(7, '\r');
    // The longest header the printer takes whole: 199 bytes, its last CR included.
    const std::vector<Line> longest = {{0, line40}, {1, line40}, {2, line40}, {3, line40}, {4, std::string(32, 'y')}};
    const std::string longestSent = line40 + "\r" + line40 + "\r" + line40 + "\r" + line40 + "\r" +
                                    std::string(32, 'y') + "\r\r\r";
    const std::vector<Typed<std::string>> cases = { // the header sent
        {"seven empty lines", {}, sevenCR},
        {"ABC centred on line 1", {{0, "ABC", false, true}}, std::string(18, ' ') + "ABC\r" + std::string(6, '\r')},
        {"ABCD double and centred on line 1", {{0, "ABCD", true, true}},
         kSO + std::string(8, ' ') + "ABCD" + kSO + "\r" + std::string(6, '\r')},
        {"empty lines with flags", {{1, "", false, true}, {2, "", true, true}, {6, "", true, false}},
         "\r" + std::string(20, ' ') + "\r" + kSO + std::string(10, ' ') + kSO + "\r\r\r\r" + kSO + kSO + "\r"},
        {"Polish letters in Mazovia", {{0, "Łódź"_cp1250.str()}, {3, "Zażółć gęślą jaźń"_cp1250.str(), false, true}},
         "\x9C\xA2\x64\xA6\r\r\r" + std::string(11, ' ') + "Za\xA7\xA2\x92\x8D g\x91\x9El\x86 ja\xA6\xA4\r\r\r\r"},
        {"199 bytes: sent whole", longest, longestSent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Forget();
        const auto w = OpenFresh();
        Enter(*w, c.lines);
        ui.messages.clear();
        ASSERT_TRUE(w->Click(IDC_HEADER_SET));
        EXPECT_EQ(fake.Names(), (std::vector<std::string>{"GetStatus_Printer", "LBSETHDR"}));
        EXPECT_EQ(Hex(SentHeader()), Hex(c.expected));
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
        EXPECT_FALSE(w->Ended());
        EXPECT_FALSE(std::filesystem::exists("naglowek_we.txt"));
    }
    EXPECT_EQ(longestSent.size(), 199u);
    EXPECT_EQ(ReadFile("naglowek.txt"), longestSent);
}

// A header longer than the printer takes is refused before the working files
// and LBSETHDR: cut, a shortened line would be printed on every receipt.
TEST_F(HeaderPageTest, AHeaderOverItsLimitIsRefusedWithItsLength)
{
    const std::string a40(40, 'a');
    const Typed<std::size_t> cases[] = { // the length the message gives
        {"seven lines of 40", {{0, a40}, {1, a40}, {2, a40}, {3, a40}, {4, a40}, {5, a40}, {6, a40}}, 287},
        // 193 bytes as typed; centring line 5 puts seven spaces in front of it.
        {"one byte over through centring", {{0, a40}, {1, a40}, {2, a40}, {3, a40}, {4, std::string(26, 'b'), false, true}},
         200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto w = OpenFresh();
        Enter(*w, c.lines);
        std::filesystem::remove("naglowek.txt");
        Forget();
        ASSERT_TRUE(w->Click(IDC_HEADER_SET));
        EXPECT_EQ(fake.Names(), std::vector<std::string>{"GetStatus_Printer"});
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, fw::Substitute(text::kHeaderTooLong, {std::to_string(c.expected), "199"}));
        EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::Exclamation);
        EXPECT_EQ(ui.messages[0].owner, &*freshPage);
        EXPECT_FALSE(std::filesystem::exists("naglowek.txt")) << "no working file is touched";
        for (const Line& line : c.lines) EXPECT_EQ(w->Control(res::kHeaderLines[line.index].edit).text, line.text);
    }
}

TEST_F(HeaderPageTest, ThePageStaysOpenAndCanSendAgain)
{
    Open();
    window->Replace(res::kHeaderLines[0].edit, "SKLEP");
    window->Click(IDC_HEADER_SET);
    window->Replace(res::kHeaderLines[1].edit, "ul. Krotka 2");
    window->Click(IDC_HEADER_SET);
    const auto calls = fake.CallsOf("LBSETHDR");
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].texts.at(0), "SKLEP" + std::string(7, '\r'));
    EXPECT_EQ(calls[1].texts.at(0), "SKLEP\rul. Krotka 2" + std::string(6, '\r'));
    EXPECT_EQ(Text(res::kHeaderLines[0].edit), "SKLEP");
}

TEST_F(HeaderPageTest, FailuresSendNothingOrReportTheResult)
{
    const std::string offline(text::kOfflineOperation.view());
    struct Case {
        const char* label;
        std::function<void()> prepare;
        std::vector<std::string_view> without;
        std::vector<std::string> calls;
        std::vector<std::string> messages;
        bool converted; // whether the working files were touched
    };
    const std::vector<Case> cases = {
        {"printer off-line", [&] { fake.onl = 0; }, {}, {"GetStatus_Printer"}, {offline}, false},
        {"printer does not answer", [&] { fake.printerFills = false; }, {}, {"GetStatus_Printer"}, {offline}, false},
        {"library error", [&] { fake.results["LBSETHDR"] = -7; }, {},
         {"GetStatus_Printer", "LBSETHDR", "ErrorMessage"}, {}, true},
        {"LBSETHDR missing", [] {}, {"LBSETHDR"}, {"GetStatus_Printer"},
         {"Brak funkcji w bibliotece: LBSETHDR"}, true},
        {"conversion fails", [] { std::filesystem::create_directory("naglowek.txt"); }, {}, {"GetStatus_Printer"},
         {std::string(text::kCannotOpenOutputFile.view())}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchDirectory own;
        FakeLibrary::Current().Clear();
        fake.onl = 1;
        fake.printerFills = true;
        fake.results.clear();
        c.prepare();
        app.SetLibrary(fake.Bind(c.without));
        CHeaderPage fresh(app);
        auto w = TestWindow::Open(fresh);
        w->Replace(res::kHeaderLines[0].edit, "\xA3\xF3\x64\x9F");
        ui.messages.clear();
        ASSERT_TRUE(w->Click(IDC_HEADER_SET));
        EXPECT_EQ(fake.Names(), c.calls);
        EXPECT_EQ(MessageTexts(), c.messages);
        if (!c.messages.empty() && c.messages[0] == offline) {
            EXPECT_EQ(ui.messages[0].owner, &fresh);
        }
        ExpectErrorMessagesOf(-7);
        EXPECT_EQ(std::filesystem::exists("naglowek.txt"), c.converted);
        EXPECT_FALSE(w->Ended());
    }
}

TEST_F(HeaderPageTest, TheMainWindowOpensItFromItsHeaderButton)
{
    app.SetLibrary(fake.Bind());
    CMainDlg mainWindow(app, MakePage);
    auto main = TestWindow::Open(mainWindow);
    ASSERT_TRUE(main->Click(IDC_MAIN_CONNECT));
    int opened = 0;
    ui.onModal = [&](TestWindow& w) { opened = w.Template().id; };
    ASSERT_TRUE(main->Click(res::PageCalled("header").id));
    EXPECT_EQ(opened, IDD_HEADER);
}

} // namespace
} // namespace qm47
