// The reports page against the recording fake library: the daily, periodic
// and monthly report requests byte by byte, the radio rule, the two range
// errors, the date pickers' range and the two-digit year.

#include "PageFixture.h"

#include "pages/ReportRules.h"
#include "pages/ReportsPage.h"
#include "platform/Time.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <gtest/gtest.h>

namespace qm47 {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr std::int32_t kMonthlyRangeError = static_cast<std::int32_t>(0xE0000001u);

const std::string kNumbersMessage(text::kNumberRangeError.view());
const std::string kDatesMessage(text::kDateRangeError.view());

// The bytes of a record before its two text pointers.
Bytes Head(const testing::RecordedCall& call)
{
    const std::size_t pointers = 2 * sizeof(void*);
    if (call.recordBytes.size() < pointers) return {};
    return Bytes(call.recordBytes.begin(), call.recordBytes.end() - static_cast<std::ptrdiff_t>(pointers));
}

class ReportsPageTest : public testing::PageTest<CReportsPage> {
protected:
    ReportsPageTest()
    {
        // One log of boxes and calls, in the order they happened.
        ui.onMessage = [this](const fw::testing::ShownMessage& m) { events.push_back("box " + m.text); };
        fake.during = [this](const testing::RecordedCall& call) {
            if (call.name != "GetStatus_Printer") events.push_back(call.name);
        };
    }

    // Opens the page and forgets what opening it did.
    void Open(std::initializer_list<std::string_view> without = {})
    {
        PageTest::Open(without);
        Reset();
    }

    void Reset()
    {
        Forget();
        events.clear();
    }

    void SetCheck(int id, bool checked)
    {
        if ((window->Control(id).check == 1) != checked) window->Click(id);
    }

    std::vector<std::string> events;
};

TEST(TwoDigitYearTest, OnlyYearsFrom1950To2049HaveOne)
{
    const struct {
        int year;
        std::optional<std::uint8_t> expected;
    } cases[] = {
        {1950, 50}, {1999, 99}, {2000, 0}, {2003, 3}, {2049, 49},
        {1949, std::nullopt}, {2050, std::nullopt}, {2255, std::nullopt}, {0, std::nullopt}, {-1, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.year);
        EXPECT_EQ(TwoDigitYear(c.year), c.expected);
    }
}

TEST(ReportTextsTest, RangeErrorsInWindows1250)
{
    EXPECT_EQ(kNumbersMessage, "B\xB3\xEA" "dny zakres numer\xF3w !!!");
    EXPECT_EQ(kDatesMessage, "B\xB3\xEA" "dny zakres dat !!!");
}

TEST_F(ReportsPageTest, OpensOnNumbersRangeWithTodayAndLimitedPickers)
{
    const platform::LocalTime before = platform::Now();
    Open();
    const platform::LocalTime after = platform::Now();
    EXPECT_EQ(window->Control(IDC_REPORTS_BY_NUMBERS).check, 1);
    EXPECT_EQ(window->Control(IDC_REPORTS_BY_DATES).check, 0);
    EXPECT_EQ(window->Control(IDC_REPORTS_PERIODIC_FULL).check, 0);
    EXPECT_EQ(window->Control(IDC_REPORTS_MONTHLY_FULL).check, 0);
    for (int id : {IDC_REPORTS_MONTH_YEAR, IDC_REPORTS_MONTH, IDC_REPORTS_FIRST_NUMBER, IDC_REPORTS_LAST_NUMBER})
        EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(window->Control(IDC_REPORTS_MONTH_YEAR).limit, 2);
    EXPECT_EQ(window->Control(IDC_REPORTS_MONTH).limit, 2);

    const fw::Date dayBefore{before.year, before.month, before.day};
    const fw::Date dayAfter{after.year, after.month, after.day};
    for (int id : {IDC_REPORTS_FIRST_DATE, IDC_REPORTS_LAST_DATE}) {
        SCOPED_TRACE(id);
        const fw::Date shown = window->Control(id).date;
        EXPECT_TRUE(shown == dayBefore || shown == dayAfter) << shown.year << "-" << shown.month << "-" << shown.day;
        const struct {
            fw::Date date;
            bool accepted;
        } picks[] = {{{1949, 12, 31}, false}, {{1950, 1, 1}, true}, {{2049, 12, 31}, true}, {{2050, 1, 1}, false}};
        for (const auto& pick : picks) {
            SCOPED_TRACE(pick.date.year);
            EXPECT_EQ(window->PickDate(id, pick.date), pick.accepted);
        }
    }
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(ReportsPageTest, DailyReport)
{
    const struct {
        testing::LibraryAnswer answer;
        std::vector<std::string> events;
    } cases[] = {
        {{"success is silent", {}, 0}, {"LBDAYREP"}},
        {{"error to ErrorMessage", {}, -5}, {"LBDAYREP", "ErrorMessage"}},
        {{"-25 is no range error here", {}, -25}, {"LBDAYREP", "ErrorMessage"}},
        {{"no LBDAYREP", {"LBDAYREP"}, 0}, {"box " + std::string(text::kMissingExportPrefix.view()) + "LBDAYREP"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.label);
        const auto opened = OpenFresh("LBDAYREP", c.answer);
        Reset();
        opened->Replace(IDC_REPORTS_MONTH_YEAR, "123"); // too long: shows that the daily report reads no control
        ASSERT_TRUE(opened->Click(IDC_REPORTS_DAILY));
        EXPECT_EQ(events, c.events);
        for (const auto& call : fake.CallsOf("LBDAYREP")) {
            const std::size_t pointer = sizeof(void*);
            EXPECT_EQ(call.recordBytes.size(), 4 + 2 * pointer);
            EXPECT_EQ(Head(call), (Bytes{0, 0, 0, 0}));
            EXPECT_EQ(call.texts, (std::vector<std::string>{"001", "SERWIS"}));
        }
        ExpectErrorMessagesOf(c.answer.result);
        EXPECT_FALSE(opened->Ended());
    }
}

TEST_F(ReportsPageTest, EveryReportRefusedWhenNotOnline)
{
    Open();
    fake.onl = 0;
    for (int button : {IDC_REPORTS_DAILY, IDC_REPORTS_PERIODIC, IDC_REPORTS_MONTHLY}) {
        SCOPED_TRACE(button);
        Reset();
        window->Click(button);
        ExpectOfflineRefusal();
    }
}

TEST_F(ReportsPageTest, PeriodicByNumbers)
{
    const struct {
        const char* label;
        const char* first;
        const char* last;
        bool full;
        Bytes head;
    } cases[] = {
        {"pressed at once: short, both 0", "", "", false, {0x11, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"full 1 to 100", "1", "100", true, {0x10, 1, 0, 0, 0, 100, 0, 0, 0}},
        {"reversed and odd texts go unchanged", "70000", " -1x", false,
         {0x11, 0x70, 0x11, 0x01, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"no digits", "abc", "+", true, {0x10, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        window->Replace(IDC_REPORTS_FIRST_NUMBER, c.first);
        window->Replace(IDC_REPORTS_LAST_NUMBER, c.last);
        SetCheck(IDC_REPORTS_PERIODIC_FULL, c.full);
        ASSERT_TRUE(window->Click(IDC_REPORTS_PERIODIC));
        EXPECT_EQ(events, std::vector<std::string>{"LBFSKREP_R"});
        const auto calls = fake.CallsOf("LBFSKREP_R");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(Head(calls[0]), c.head);
        EXPECT_EQ(calls[0].texts, (std::vector<std::string>{"001", "SERWIS"}));
        EXPECT_FALSE(window->Ended());
    }
}

TEST_F(ReportsPageTest, PeriodicByDates)
{
    const struct {
        const char* label;
        fw::Date first;
        fw::Date last;
        bool full;
        Bytes head;
    } cases[] = {
        {"March 2003, short", {2003, 3, 1}, {2003, 3, 31}, false, {3, 3, 1, 3, 3, 31, 1}},
        {"1999 to 2001, full", {1999, 12, 30}, {2001, 1, 2}, true, {99, 12, 30, 1, 1, 2, 0}},
        {"reversed, the picker's ends", {2049, 12, 31}, {1950, 1, 1}, false, {49, 12, 31, 50, 1, 1, 1}},
        {"2000", {2000, 2, 29}, {2000, 2, 29}, true, {0, 2, 29, 0, 2, 29, 0}},
    };
    Open();
    ASSERT_TRUE(window->Click(IDC_REPORTS_BY_DATES));
    EXPECT_EQ(window->Control(IDC_REPORTS_BY_NUMBERS).check, 0) << "one radio group";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        ASSERT_TRUE(window->PickDate(IDC_REPORTS_FIRST_DATE, c.first));
        ASSERT_TRUE(window->PickDate(IDC_REPORTS_LAST_DATE, c.last));
        SetCheck(IDC_REPORTS_PERIODIC_FULL, c.full);
        window->Click(IDC_REPORTS_PERIODIC);
        EXPECT_EQ(events, std::vector<std::string>{"LBFSKREP_D"});
        const auto calls = fake.CallsOf("LBFSKREP_D");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].recordBytes.size(), 7 + 2 * sizeof(void*));
        EXPECT_EQ(Head(calls[0]), c.head);
        EXPECT_EQ(calls[0].texts, (std::vector<std::string>{"001", "SERWIS"}));
    }
}

TEST_F(ReportsPageTest, RangeTakenFromNumbersButtonAlone)
{
    Open();
    window->SetCheck(IDC_REPORTS_BY_NUMBERS, 0); // neither radio button checked
    window->SetCheck(IDC_REPORTS_BY_DATES, 0);
    window->Click(IDC_REPORTS_PERIODIC);
    EXPECT_EQ(events, std::vector<std::string>{"LBFSKREP_D"});

    Reset();
    window->Click(IDC_REPORTS_BY_NUMBERS);
    window->SetCheck(IDC_REPORTS_BY_DATES, 1); // both checked: numbers wins
    window->Click(IDC_REPORTS_PERIODIC);
    EXPECT_EQ(events, std::vector<std::string>{"LBFSKREP_R"});
}

TEST_F(ReportsPageTest, PeriodicResults)
{
    const struct {
        const char* label;
        bool byDates;
        std::int32_t result;
        std::vector<std::string> events;
    } cases[] = {
        {"numbers: -25 shows only the page's message", false, -25, {"LBFSKREP_R", "box " + kNumbersMessage}},
        {"dates: -25 shows only the page's message", true, -25, {"LBFSKREP_D", "box " + kDatesMessage}},
        {"numbers: other error", false, -24, {"LBFSKREP_R", "ErrorMessage"}},
        {"dates: the monthly range code is an ordinary error here", true, kMonthlyRangeError,
         {"LBFSKREP_D", "ErrorMessage"}},
        {"dates: success is silent", true, 0, {"LBFSKREP_D"}},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Reset();
        fake.results["LBFSKREP_R"] = c.result;
        fake.results["LBFSKREP_D"] = c.result;
        window->Click(c.byDates ? IDC_REPORTS_BY_DATES : IDC_REPORTS_BY_NUMBERS);
        window->Click(IDC_REPORTS_PERIODIC);
        EXPECT_EQ(events, c.events);
        for (const auto& m : ui.messages) {
            EXPECT_EQ(m.icon, fw::MessageIcon::Information);
            EXPECT_EQ(m.caption, "QM47");
            EXPECT_EQ(m.owner, &page);
        }
        ExpectErrorMessagesOf(c.result);
    }
}

TEST_F(ReportsPageTest, MonthlyReport)
{
    const struct {
        const char* year;
        const char* month;
        bool full;
        Bytes head;
    } cases[] = {
        {"03", "2", true, {3, 2, 1, 3, 2, 31, 6}},
        {"03", "2", false, {3, 2, 1, 3, 2, 30, 7}},
        {"", "", false, {0, 0, 1, 0, 0, 30, 7}},
        {"99", "13", true, {99, 13, 1, 99, 13, 31, 6}},
        {"-1", "x", false, {255, 0, 1, 255, 0, 30, 7}},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.year) + "/" + c.month + (c.full ? " full" : " short"));
        Reset();
        window->Replace(IDC_REPORTS_MONTH_YEAR, c.year);
        window->Replace(IDC_REPORTS_MONTH, c.month);
        SetCheck(IDC_REPORTS_MONTHLY_FULL, c.full);
        window->Click(IDC_REPORTS_MONTHLY);
        EXPECT_EQ(events, std::vector<std::string>{"LBFSKREP_D"});
        const auto calls = fake.CallsOf("LBFSKREP_D");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(Head(calls[0]), c.head);
        EXPECT_EQ(calls[0].texts, (std::vector<std::string>{"001", "SERWIS"}));
    }
}

TEST_F(ReportsPageTest, MonthlyResults)
{
    const struct {
        testing::LibraryAnswer answer;
        std::vector<std::string> events;
    } cases[] = {
        {{"range error: the page's message, then the library's", {}, kMonthlyRangeError},
         {"LBFSKREP_D", "box " + kDatesMessage, "ErrorMessage"}},
        {{"-25 is an ordinary error here", {}, -25}, {"LBFSKREP_D", "ErrorMessage"}},
        {{"success is silent", {}, 0}, {"LBFSKREP_D"}},
        {{"no LBFSKREP_D", {"LBFSKREP_D"}, kMonthlyRangeError},
         {"box " + std::string(text::kMissingExportPrefix.view()) + "LBFSKREP_D"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.label);
        const auto opened = OpenFresh("LBFSKREP_D", c.answer);
        Reset();
        opened->Click(IDC_REPORTS_MONTHLY);
        EXPECT_EQ(events, c.events);
        if (c.answer.result == kMonthlyRangeError && !ui.messages.empty()) {
            const auto icon = c.answer.without.size() ? fw::MessageIcon::Exclamation : fw::MessageIcon::Information;
            EXPECT_EQ(ui.messages[0].icon, icon);
        }
        ExpectErrorMessagesOf(c.answer.result);
        EXPECT_FALSE(opened->Ended());
    }
}

TEST_F(ReportsPageTest, MonthlyTextTooLongStopsAtTheExchange)
{
    Open();
    window->Type(IDC_REPORTS_MONTH_YEAR, "123");
    EXPECT_EQ(Text(IDC_REPORTS_MONTH_YEAR), "12") << "the edit takes two characters";
    window->Replace(IDC_REPORTS_MONTH, "123"); // set from outside, past the limit
    window->Click(IDC_REPORTS_MONTHLY);
    EXPECT_EQ(fake.Names(), std::vector<std::string>{"GetStatus_Printer"});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Please enter no more than 2 characters.");
    EXPECT_EQ(window->FocusId(), IDC_REPORTS_MONTH);
}

} // namespace
} // namespace qm47
