// The reports page driven from outside against the simulated printer: the
// date pickers' range, periodic reports by numbers and by dates, and a
// monthly report with its range error.

#include "tests/e2e/PageSession.h"

#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47::e2e {
namespace {

using namespace pages;

constexpr const char* kSimulatorCaption = "Symulator drukarki";

// Every test here starts connected, with the reports page open.
using ReportsPage = OnPage<"reports">;

TEST_F(ReportsPage, PickersOfferOnlyDatesWithATwoDigitYear)
{
    SYSTEMTIME today{};
    GetLocalTime(&today);
    for (int id : {IDC_REPORTS_FIRST_DATE, IDC_REPORTS_LAST_DATE}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(PickerRange(session.run, page.Item(id)), "1950-01-01/2049-12-31");
        const auto shown = PickerDate(session.run, page.Item(id));
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->wYear * 10000 + shown->wMonth * 100 + shown->wDay,
                  today.wYear * 10000 + today.wMonth * 100 + today.wDay);
    }
    EXPECT_EQ(SendMessageW(page.Item(IDC_REPORTS_BY_NUMBERS).Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(page.Item(IDC_REPORTS_BY_DATES).Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(ReportsPage, PeriodicReportsByNumbersAndByDatesAreSilentOnSuccess)
{
    page.Item(IDC_REPORTS_FIRST_NUMBER).Type("12");
    page.Item(IDC_REPORTS_LAST_NUMBER).Type("34");
    const std::size_t byNumbers = session.JournalSize();
    ClickAndSettle(session, page, IDC_REPORTS_PERIODIC);
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(byNumbers),
                               {"GetStatus_Printer onl=1", "LBFSKREP_R firstNumber=12 lastNumber=34 result=0"}));

    ClickAndSettle(session, page, IDC_REPORTS_BY_DATES);
    EXPECT_EQ(SendMessageW(page.Item(IDC_REPORTS_BY_NUMBERS).Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    ASSERT_TRUE(SetPickerDate(session.run, page.Item(IDC_REPORTS_FIRST_DATE), 2003, 3, 1));
    ASSERT_TRUE(SetPickerDate(session.run, page.Item(IDC_REPORTS_LAST_DATE), 2003, 3, 31));
    const std::size_t before = session.JournalSize();
    ClickAndSettle(session, page, IDC_REPORTS_PERIODIC);

    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before),
                               {"GetStatus_Printer onl=1",
                                "LBFSKREP_D firstYear=3 firstMonth=3 firstDay=1 lastYear=3 lastMonth=3 lastDay=31 "
                                "kind=1 registerNumber=\"001\" cashier=\"SERWIS\" result=0"}));

    // A reversed range: the printer refuses it with -25 and only the page says so.
    ASSERT_TRUE(SetPickerDate(session.run, page.Item(IDC_REPORTS_FIRST_DATE), 2001, 1, 2));
    ASSERT_TRUE(SetPickerDate(session.run, page.Item(IDC_REPORTS_LAST_DATE), 1999, 12, 30));
    const std::size_t reversed = session.JournalSize();
    page.Item(IDC_REPORTS_PERIODIC).Click();
    AnswerMessageBox(session.run, {.text = Expected(text::kDateRangeError), .owner = page.Handle(),
                                   .icon = BoxIcon::Information});
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(reversed),
                               {"GetStatus_Printer onl=1",
                                "LBFSKREP_D firstYear=1 firstMonth=1 firstDay=2 lastYear=99 lastMonth=12 lastDay=30 "
                                "kind=1 result=-25"}));
}

TEST_F(ReportsPage, MonthlyRangeErrorShowsThePageMessageThenTheLibraryMessage)
{
    page.Item(IDC_REPORTS_MONTH_YEAR).Type("03");
    page.Item(IDC_REPORTS_MONTH).Type("13"); // no such month: the printer answers 0xE0000001
    ClickAndSettle(session, page, IDC_REPORTS_MONTHLY_FULL);
    const std::size_t before = session.JournalSize();
    page.Item(IDC_REPORTS_MONTHLY).Click();

    AnswerMessageBox(session.run, {.text = Expected(text::kDateRangeError), .owner = page.Handle(),
                                   .icon = BoxIcon::Information});
    const auto libraryBox = session.run.WaitForMessageBox();
    ASSERT_TRUE(libraryBox) << "the library's message did not follow";
    EXPECT_EQ(libraryBox->Caption(), kSimulatorCaption);
    libraryBox->Press(IDOK);
    ASSERT_TRUE(WaitUntil([&] { return session.run.MessageBoxes().empty(); }));
    ASSERT_TRUE(session.run.Settle());

    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before),
                               {"GetStatus_Printer onl=1",
                                "LBFSKREP_D firstYear=3 firstMonth=13 firstDay=1 lastYear=3 lastMonth=13 lastDay=31 "
                                "kind=6 registerNumber=\"001\" cashier=\"SERWIS\" result=-536870911",
                                "ErrorMessage text=\"\" code=-536870911"}));
    EXPECT_TRUE(page.Visible()) << "the page stays open";
}

TEST_F(ReportsPage, MonthlyReportTakesTheTypedTwoDigitYear)
{
    page.Item(IDC_REPORTS_MONTH_YEAR).Type("035"); // the edit takes two characters
    page.Item(IDC_REPORTS_MONTH).Type("2");
    const std::size_t before = session.JournalSize();
    ClickAndSettle(session, page, IDC_REPORTS_MONTHLY);
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_EQ(page.Item(IDC_REPORTS_MONTH_YEAR).Text(), "03");
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before),
                               {"GetStatus_Printer onl=1",
                                "LBFSKREP_D firstYear=3 firstMonth=2 firstDay=1 lastYear=3 lastMonth=2 lastDay=30 "
                                "kind=7 result=0"}));
}

// A picked date keeps its time of day: the first and the last day offered can
// be chosen at any hour, the day after the last at none.
TEST_F(ReportsPage, PickersTakeTheirFirstAndLastDayAtAnyHour)
{
    const auto shown = [&](int id) {
        const auto date = PickerDate(session.run, page.Item(id));
        return date ? date->wYear * 10000 + date->wMonth * 100 + date->wDay : 0;
    };
    for (int id : {IDC_REPORTS_FIRST_DATE, IDC_REPORTS_LAST_DATE}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(SetPickerDate(session.run, page.Item(id), 1950, 1, 1, 0));
        EXPECT_EQ(shown(id), 19500101);
        EXPECT_TRUE(SetPickerDate(session.run, page.Item(id), 2049, 12, 31, 12));
        EXPECT_EQ(shown(id), 20491231);
        SetPickerDate(session.run, page.Item(id), 2050, 1, 1, 0); // Wine answers TRUE but keeps the date
        EXPECT_EQ(shown(id), 20491231);
    }
}

} // namespace
} // namespace qm47::e2e
