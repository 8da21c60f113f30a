// The clock page against the recording fake library: the opening check, the
// printer's clock as shown, the proposed new setting, and the set request.

#include "PageFixture.h"

#include "pages/ClockPage.h"
#include "pages/ClockRules.h"
#include "res/ControlLists.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <gtest/gtest.h>

#include <optional>

namespace qm47 {
namespace {

using fw::testing::TestWindow;

struct Message {
    std::string text;
    fw::MessageIcon icon;
    friend bool operator==(const Message&, const Message&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Message& m)
    {
        return out << '"' << m.text << "\" icon " << static_cast<int>(m.icon);
    }
};

class ClockPageTest : public testing::PageTest<CClockPage> {
protected:
    std::vector<Message> Messages() const
    {
        std::vector<Message> shown;
        for (const auto& m : ui.messages) shown.push_back({m.text, m.icon});
        return shown;
    }

    std::vector<std::string> NewTexts() const
    {
        std::vector<std::string> texts;
        for (const res::ClockField& field : res::kClockFields) texts.push_back(Text(field.edit));
        return texts;
    }

    void TypeNewTexts(const std::vector<std::string>& texts)
    {
        for (std::size_t i = 0; i < texts.size(); ++i) window->Replace(res::kClockFields[i].edit, texts[i]);
    }
};

const Message kDone{std::string(text::kOperationDone.view()), fw::MessageIcon::Information};
const Message kOffline{std::string(text::kOfflineOperation.view()), fw::MessageIcon::None};

TEST(ClockTextsTest, PrinterDateAndTime)
{
    const struct {
        ClockTime clock;
        const char* date;
        const char* time;
    } cases[] = {
        {{3, 7, 2, 9, 5, 37}, "2003/7/2", "9:05:00"},
        {{49, 12, 31, 23, 59, 59}, "2049/12/31", "23:59:00"},
        {{50, 1, 1, 0, 0, 0}, "1950/1/1", "0:00:00"},
        {{99, 10, 15, 12, 10, 0}, "1999/10/15", "12:10:00"},
        {{0, 0, 0, 0, 9, 0}, "2000/0/0", "0:09:00"},
        {{3, 1, 5, 0, 0, 0}, "2003/1/5", "0:00:00"},
        {{255, 255, 255, 255, 255, 255}, "2155/255/255", "255:255:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.date) + " " + c.time);
        EXPECT_EQ(PrinterDateText(c.clock), c.date);
        EXPECT_EQ(PrinterTimeText(c.clock), c.time);
    }
}

TEST(ClockTextsTest, ProposedFromComputerClockWithSecondZero)
{
    using Texts = std::array<std::string, 6>;
    const struct {
        platform::LocalTime now;
        Texts expected;
    } cases[] = {
        {{2003, 7, 2, 9, 5, 37}, {"03", "07", "02", "09", "05", "00"}},
        {{2000, 1, 1, 0, 0, 59}, {"00", "01", "01", "00", "00", "00"}},
        {{1999, 12, 31, 23, 59, 0}, {"99", "12", "31", "23", "59", "00"}},
        {{2126, 10, 10, 10, 10, 10}, {"26", "10", "10", "10", "10", "00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.now.year * 10000 + c.now.month * 100 + c.now.day);
        EXPECT_EQ(ProposedClockTexts(c.now), c.expected);
    }
}

TEST_F(ClockPageTest, NotOnlineClosesBeforeShownWithOfflineMessage)
{
    const struct {
        const char* label;
        std::int32_t onl;
        bool fills;
    } cases[] = {{"off-line", 0, true}, {"onl 2", 2, true}, {"record untouched", 1, false}};
    app.SetLibrary(fake.Bind());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Forget();
        fake.onl = c.onl;
        fake.printerFills = c.fills;
        CClockPage closing(app);
        const auto opened = TestWindow::Open(closing);
        EXPECT_TRUE(opened->Ended());
        EXPECT_FALSE(opened->WasShown());
        EXPECT_EQ(Messages(), std::vector<Message>{kOffline});
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].owner, &closing);
        EXPECT_EQ(ui.messages[0].caption, "QM47");
        EXPECT_EQ(ui.messages[0].buttons, fw::MessageButtons::Ok);
        EXPECT_EQ(fake.Names(), std::vector<std::string>{"GetStatus_Printer"});
        EXPECT_EQ(opened->Control(IDC_CLOCK_YEAR).text, "") << "nothing else happens";
    }
}

TEST_F(ClockPageTest, OpensWithPrinterClockAndProposedSetting)
{
    fake.fillClock = [](ClockTime& clock) { clock = {3, 7, 2, 9, 5, 37}; };
    const auto before = ProposedClockTexts(platform::Now());
    Open();
    const auto after = ProposedClockTexts(platform::Now());

    EXPECT_TRUE(window->WasShown());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(fake.Names(), (std::vector<std::string>{"GetStatus_Printer", "LBSENDCK"}));
    EXPECT_EQ(fake.CallsOf("LBSENDCK").at(0).recordBytes, std::vector<unsigned char>(6, 0))
        << "the clock record is handed over cleared";
    EXPECT_EQ(Text(IDC_CLOCK_PRINTER_DATE), "2003/7/2");
    EXPECT_EQ(Text(IDC_CLOCK_PRINTER_TIME), "9:05:00");
    // The computer's clock may tick over between the readings.
    const auto shown = NewTexts();
    EXPECT_TRUE(shown == std::vector<std::string>(before.begin(), before.end()) ||
                shown == std::vector<std::string>(after.begin(), after.end()))
        << "shown " << ::testing::PrintToString(shown);
    EXPECT_EQ(shown[5], "00");
    EXPECT_EQ(window->FocusId(), IDC_CLOCK_YEAR);
}

TEST_F(ClockPageTest, UnreadClockShowsZeroDateAndTime)
{
    const testing::LibraryAnswer cases[] = {
        {"library leaves the record untouched", {}, 0},
        {"LBSENDCK fails: its result is not looked at", {}, -3},
        {"no LBSENDCK: skipped silently", {"LBSENDCK"}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Forget();
        const auto opened = OpenFresh("LBSENDCK", c);
        EXPECT_TRUE(opened->WasShown());
        EXPECT_EQ(opened->Control(IDC_CLOCK_PRINTER_DATE).text, "2000/0/0");
        EXPECT_EQ(opened->Control(IDC_CLOCK_PRINTER_TIME).text, "0:00:00");
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST(ClockRulesTest, TheValuesSentAreTheValuesCheckedAndTheFirstOutOfItsRangeIsNamed)
{
    using Texts = std::array<std::string, 6>;
    const struct {
        Texts typed;
        std::optional<InvalidClockValue> invalid;
        std::array<std::uint8_t, 6> values{}; // sent when none is invalid
    } cases[] = {
        {{"03", "07", "02", "09", "05", "00"}, std::nullopt, {3, 7, 2, 9, 5, 0}},
        {{" 24 ", "02", "29", "23", "59", "59"}, std::nullopt, {24, 2, 29, 23, 59, 59}}, // 2024 is a leap year; blanks around
        {{"00", "2", "29", "0", "0", "0"}, std::nullopt, {0, 2, 29, 0, 0, 0}},          // so is 2000
        {{"099", "012", "031", "\t8", "0", "0059"}, std::nullopt, {99, 12, 31, 8, 0, 59}},
        {{"2050", "1", "1", "0", "0", "0"}, InvalidClockValue{0, 0, 99}},
        {{"2003", "1", "1", "0", "0", "0"}, InvalidClockValue{0, 0, 99}},
        {{"-1", "1", "1", "0", "0", "0"}, InvalidClockValue{0, 0, 99}},
        {{"+5", "1", "1", "0", "0", "0"}, InvalidClockValue{0, 0, 99}},
        {{"", "1", "1", "0", "0", "0"}, InvalidClockValue{0, 0, 99}},
        {{"7x", "13", "1", "0", "0", "0"}, InvalidClockValue{0, 0, 99}}, // the first that fails
        {{"03", "13", "1", "0", "0", "0"}, InvalidClockValue{1, 1, 12}},
        {{"03", "0", "1", "0", "0", "0"}, InvalidClockValue{1, 1, 12}},
        {{"23", "2", "29", "0", "0", "0"}, InvalidClockValue{2, 1, 28}},
        {{"24", "2", "30", "0", "0", "0"}, InvalidClockValue{2, 1, 29}},
        {{"50", "2", "29", "0", "0", "0"}, InvalidClockValue{2, 1, 28}}, // 1950
        {{"03", "4", "31", "0", "0", "0"}, InvalidClockValue{2, 1, 30}},
        {{"03", "4", "0", "0", "0", "0"}, InvalidClockValue{2, 1, 30}},
        {{"03", "4", "1", "24", "0", "0"}, InvalidClockValue{3, 0, 23}},
        {{"03", "4", "1", "0", "60", "0"}, InvalidClockValue{4, 0, 59}},
        {{"03", "4", "1", "0", "0", "99999999999"}, InvalidClockValue{5, 0, 59}},
        {{"03", "4", "1", "0", "0", "1 2"}, InvalidClockValue{5, 0, 59}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.typed));
        const ClockSetting setting = ReadClockSetting(c.typed);
        const auto& invalid = setting.invalid;
        EXPECT_EQ(invalid.has_value(), c.invalid.has_value());
        if (!c.invalid) {
            EXPECT_EQ(setting.values, c.values);
        }
        if (invalid && c.invalid) {
            EXPECT_EQ(invalid->field, c.invalid->field);
            EXPECT_EQ(invalid->lowest, c.invalid->lowest);
            EXPECT_EQ(invalid->highest, c.invalid->highest);
        }
    }
}

TEST_F(ClockPageTest, SetSendsTheTypedValues)
{
    const struct {
        std::vector<std::string> typed;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {{"03", "07", "02", "09", "05", "00"}, {3, 7, 2, 9, 5, 0}},
        {{" 24 ", "02", "29", "23", "59", "59"}, {24, 2, 29, 23, 59, 59}},
        {{"099", "012", "031", "\t8", "0", "0059"}, {99, 12, 31, 8, 0, 59}},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.typed));
        Forget();
        TypeNewTexts(c.typed);
        ASSERT_TRUE(window->Click(IDC_CLOCK_SET));
        EXPECT_EQ(fake.Names(), (std::vector<std::string>{"GetStatus_Printer", "LBSETCK"}));
        const auto calls = fake.CallsOf("LBSETCK");
        ASSERT_EQ(calls.size(), 1u);
        const std::vector<unsigned char> sent(calls[0].recordBytes.begin(), calls[0].recordBytes.begin() + 6);
        EXPECT_EQ(sent, c.bytes);
        EXPECT_EQ(calls[0].recordBytes.size(), 6 + 2 * sizeof(void*));
        EXPECT_EQ(calls[0].texts, (std::vector<std::string>{"001", "SERWIS"}));
        EXPECT_EQ(Messages(), std::vector<Message>{kDone});
        EXPECT_EQ(ui.messages[0].owner, &page);
        EXPECT_EQ(NewTexts(), c.typed) << "the edits keep what was typed";
        EXPECT_FALSE(window->Ended());
    }
}

// A value out of its range is named, its edit selected, and nothing is sent:
// the low 8 bits of 2050 would set the year 2002.
TEST_F(ClockPageTest, SetRefusesAValueOutOfItsRange)
{
    const struct {
        std::vector<std::string> typed;
        const char* message;
        int edit;
    } cases[] = {
        {{"2050", "07", "02", "09", "05", "00"}, "Nieprawid\xB3owa warto\x9C\xE6: Rok (0-99)", IDC_CLOCK_YEAR},
        {{"23", "02", "29", "09", "05", "00"}, "Nieprawid\xB3owa warto\x9C\xE6: Dzie\xF1 (1-28)", IDC_CLOCK_DAY},
        {{"23", "02", "28", "09", "05", "x"}, "Nieprawid\xB3owa warto\x9C\xE6: Sekunda (0-59)", IDC_CLOCK_SECOND},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        TypeNewTexts(c.typed);
        Forget();
        ASSERT_TRUE(window->Click(IDC_CLOCK_SET));
        EXPECT_EQ(fake.Names(), std::vector<std::string>{"GetStatus_Printer"}) << "checked after the on-line check";
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::Exclamation);
        EXPECT_EQ(ui.messages[0].caption, "QM47");
        EXPECT_EQ(ui.messages[0].owner, &page);
        EXPECT_EQ(window->FocusId(), c.edit);
        EXPECT_EQ(window->SelectedStart(), c.edit);
        EXPECT_EQ(NewTexts(), c.typed) << "every entry stays as typed";
    }
}

TEST_F(ClockPageTest, SetResultReporting)
{
    const struct {
        testing::LibraryAnswer answer;
        std::vector<std::string> callsAfterCheck;
        std::vector<Message> messages;
    } cases[] = {
        {{"error code to ErrorMessage", {}, -5}, {"LBSETCK", "ErrorMessage"}, {}},
        {{"positive error code", {}, 7}, {"LBSETCK", "ErrorMessage"}, {}},
        {{"no LBSETCK", {"LBSETCK"}, 0}, {},
         {{std::string(text::kMissingExportPrefix.view()) + "LBSETCK", fw::MessageIcon::Exclamation}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.label);
        const auto opened = OpenFresh("LBSETCK", c.answer);
        Forget();
        opened->Click(IDC_CLOCK_SET);
        std::vector<std::string> expected = {"GetStatus_Printer"};
        expected.insert(expected.end(), c.callsAfterCheck.begin(), c.callsAfterCheck.end());
        EXPECT_EQ(fake.Names(), expected);
        ExpectErrorMessagesOf(c.answer.result);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_FALSE(opened->Ended());
    }
}

TEST_F(ClockPageTest, SetWhenNotOnlineSendsNothingAndKeepsEntries)
{
    Open();
    TypeNewTexts({"1", "2", "3", "4", "5", "6"});
    Forget();
    fake.onl = 0;
    window->Click(IDC_CLOCK_SET);
    EXPECT_EQ(fake.Names(), std::vector<std::string>{"GetStatus_Printer"});
    EXPECT_EQ(Messages(), std::vector<Message>{kOffline});
    EXPECT_EQ(NewTexts(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_FALSE(window->Ended());
}

TEST_F(ClockPageTest, SettingTwiceLeavesPrinterReadingAlone)
{
    fake.fillClock = [](ClockTime& clock) { clock = {3, 1, 5, 0, 10, 0}; };
    Open();
    fake.fillClock = [](ClockTime& clock) { clock = {9, 9, 9, 9, 9, 9}; };
    window->Click(IDC_CLOCK_SET);
    window->Click(IDC_CLOCK_SET);
    EXPECT_EQ(fake.CallsOf("LBSETCK").size(), 2u);
    EXPECT_EQ(fake.CallsOf("LBSENDCK").size(), 1u);
    EXPECT_EQ(Messages(), (std::vector<Message>{kDone, kDone}));
    EXPECT_EQ(Text(IDC_CLOCK_PRINTER_DATE), "2003/1/5");
    EXPECT_EQ(Text(IDC_CLOCK_PRINTER_TIME), "0:10:00");
}

} // namespace
} // namespace qm47
