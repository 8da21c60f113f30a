// The display page driven from outside against the simulated printer: the
// customer lines, typed into the real edits, reach the printer in
// Windows-1250 with one CR between them, and nothing is shown on success.

#include "tests/e2e/PageSession.h"

#include "res/ResourceIds.h"

namespace qm47::e2e {
namespace {

using namespace pages;

using DisplayPage = OnPage<"display">;

TEST_F(DisplayPage, SendsTheCustomerLinesAsTyped)
{
    page.Item(IDC_DISPLAY_CUSTOMER_LINE1).Type("Cena: 12,50 zł");
    page.Item(IDC_DISPLAY_CUSTOMER_LINE2).Type("Dziękujemy, do zobaczenia"); // 25 typed, 20 kept
    ASSERT_TRUE(session.run.Settle());
    EXPECT_EQ(page.Item(IDC_DISPLAY_CUSTOMER_LINE2).Text(), "Dziękujemy, do zobac");

    ClickAndSettle(session, page, IDC_DISPLAY_CUSTOMER_SEND);
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(session.opened),
                               {"GetStatus_Printer onl=1",
                                "LBDSP mode=2 text=\"Cena: 12,50 z\\xB3\\x0DDzi\\xEAkujemy, do zobac\" result=0"}));
    EXPECT_TRUE(page.Visible()) << "the page stays open";
}

} // namespace
} // namespace qm47::e2e
