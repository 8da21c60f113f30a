// The clock page driven from outside against the simulated printer: the
// opening check, the printer's clock as shown, the proposed new setting from
// the computer's clock, and setting the clock.

#include "tests/e2e/PageSession.h"

#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47::e2e {
namespace {

using namespace pages;

std::string TwoDigits(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    return text;
}

TEST(ClockPage, ShowsThePrinterClockAndProposesTheComputerClock)
{
    SYSTEMTIME before{};
    GetLocalTime(&before);
    PageSession session(main_window::Page("clock"));
    const Window page = session.page;
    ASSERT_TRUE(session.run.Settle());

    const auto journal = session.folder.JournalFrom(session.connected);
    ASSERT_TRUE(JournalMatches(journal, {"GetStatus_Printer onl=1", "LBSENDCK result=0"}));
    const JournalEntry read = ParseJournalLine(journal.at(1));
    const int yearByte = std::stoi(read.Field("year").value_or("-1"));
    const int fullYear = yearByte <= 49 ? 2000 + yearByte : 1900 + yearByte;
    const int minute = std::stoi(read.Field("minute").value_or("-1"));
    EXPECT_EQ(page.Item(IDC_CLOCK_PRINTER_DATE).Text(), std::to_string(fullYear) + "/" + read.Field("month").value_or("?") +
                                                   "/" + read.Field("day").value_or("?"));
    EXPECT_EQ(page.Item(IDC_CLOCK_PRINTER_TIME).Text(),
              read.Field("hour").value_or("?") + ":" + TwoDigits(minute) + ":00");

    // The date part of the proposal (the minute may tick over meanwhile).
    EXPECT_EQ(page.Item(IDC_CLOCK_YEAR).Text(), TwoDigits(before.wYear));
    EXPECT_EQ(page.Item(IDC_CLOCK_MONTH).Text(), TwoDigits(before.wMonth));
    EXPECT_EQ(page.Item(IDC_CLOCK_DAY).Text(), TwoDigits(before.wDay));
    EXPECT_EQ(page.Item(IDC_CLOCK_HOUR).Text().size(), 2u);
    EXPECT_EQ(page.Item(IDC_CLOCK_MINUTE).Text().size(), 2u);
    EXPECT_EQ(page.Item(IDC_CLOCK_SECOND).Text(), "00");
    EXPECT_EQ(session.run.Focus().Handle(), page.Item(IDC_CLOCK_YEAR).Handle()) << "the year edit has the focus";
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
}

TEST(ClockPage, SetsTheClockAndShowsItOnTheNextOpening)
{
    PageSession session(main_window::Page("clock"));
    Window page = session.page;
    const std::string shownDate = page.Item(IDC_CLOCK_PRINTER_DATE).Text();

    const std::pair<int, const char*> typed[] = {
        {IDC_CLOCK_YEAR, "03"}, {IDC_CLOCK_MONTH, "7"},  {IDC_CLOCK_DAY, "2"},
        {IDC_CLOCK_HOUR, "9"},  {IDC_CLOCK_MINUTE, "5"}, {IDC_CLOCK_SECOND, "0"}};
    for (const auto& [id, text] : typed) page.Item(id).SetText(text);
    const std::size_t before = session.JournalSize();
    page.Item(IDC_CLOCK_SET).Click();
    AnswerMessageBox(session.run, {.text = Expected(text::kOperationDone), .owner = page.Handle(),
                                   .icon = BoxIcon::Information});
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before),
                               {"GetStatus_Printer onl=1",
                                "LBSETCK year=3 month=7 day=2 hour=9 minute=5 second=0 registerNumber=\"001\" "
                                "cashier=\"SERWIS\" result=0"}));
    EXPECT_EQ(page.Item(IDC_CLOCK_PRINTER_DATE).Text(), shownDate) << "the reading is not refreshed after a set";
    EXPECT_EQ(page.Item(IDC_CLOCK_YEAR).Text(), "03") << "the entries stay";

    page.Item(IDC_CLOCK_CANCEL).Click();
    ASSERT_TRUE(WaitUntil([&] { return session.run.Pages().empty(); })) << "the page did not close";
    ASSERT_TRUE(session.run.Settle());
    page = OpenPage(session, main_window::Page("clock"));
    ASSERT_TRUE(page);
    EXPECT_EQ(page.Item(IDC_CLOCK_PRINTER_DATE).Text(), "2003/7/2");
    // Set at 9:05:00 a moment ago; a slow run may see the next minute.
    const std::string time = page.Item(IDC_CLOCK_PRINTER_TIME).Text();
    EXPECT_TRUE(time == "9:05:00" || time == "9:06:00") << time;
}

TEST(ClockPage, NotOnlineTheMessageComesAndThePageNeverShows)
{
    Session session(Library::Full);
    ASSERT_NO_FATAL_FAILURE(ConnectOnline(session));
    session.folder.WriteSimConfig("online = 0\n");
    const std::size_t before = session.JournalSize();
    session.main.Item(main_window::Page("clock")).Click();

    const auto box = session.run.WaitForMessageBox();
    ASSERT_TRUE(box) << "no message box appeared";
    EXPECT_EQ(box->Message(), Expected(text::kOfflineOperation));
    EXPECT_EQ(box->Caption(), kAppCaption);
    EXPECT_STREQ(Name(box->Icon()), Name(BoxIcon::None));
    for (const Window& page : session.run.Pages()) EXPECT_FALSE(page.Visible()) << "the page was shown";
    box->Press(IDOK);
    ASSERT_TRUE(WaitUntil([&] { return session.run.Pages().empty() && session.run.MessageBoxes().empty(); }));
    ASSERT_TRUE(session.run.Settle());
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before), {"GetStatus_Printer onl=0"}));
    EXPECT_TRUE(session.main.Item(main_window::Page("clock")).Enabled()) << "the buttons are enabled again";
}

} // namespace
} // namespace qm47::e2e
