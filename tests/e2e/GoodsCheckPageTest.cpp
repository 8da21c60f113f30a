// The goods database check page driven from outside against the simulated
// printer: one check with its printout, as the printer receives it and as
// the page shows the answer.

#include "tests/e2e/PageSession.h"

#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47::e2e {
namespace {

using namespace pages;

using GoodsCheckPage = OnPage<"goods">;

TEST_F(GoodsCheckPage, CheckWithPrintout)
{
    EXPECT_EQ(page.Item(IDC_GOODS_RATE).Text(), "A");

    page.Item(IDC_GOODS_NAME).SetText("Kawa");
    page.Item(IDC_GOODS_RATE).SetText("B");
    ClickAndSettle(session, page, IDC_GOODS_PRINT);
    ClickAndSettle(session, page, IDC_GOODS_CHECK);

    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_TRUE(JournalMatches(
        session.folder.JournalFrom(session.connected),
        {"GetStatus_Printer onl=1",
         "LBDBREP step=0 goodsName=null rateLetter=null registerNumber=null cashier=null option=0 result=0",
         "LBDBREP step=1 goodsName=\"Kawa\" rateLetter=\"B\" registerNumber=null cashier=null option=0 result=0",
         "LBDBREP step=2 goodsName=null rateLetter=null registerNumber=\"001\" cashier=\"SERWIS\" option=0 "
         "result=0",
         "LBDBREPRS name=\"Kawa\" rateLetter=66 blocked=1 rateText=\"22.00\" result=0"}));

    EXPECT_EQ(page.Item(IDC_GOODS_ANSWER_NAME).Text(), "Kawa");
    EXPECT_EQ(page.Item(IDC_GOODS_ANSWER_RATE_ASKED).Text(), "B");
    EXPECT_EQ(page.Item(IDC_GOODS_ANSWER_PRINTER_RATE).Text(), "22.00");
    EXPECT_EQ(page.Item(IDC_GOODS_ANSWER_STATUS).Text(), Expected(text::kGoodsStatusBlocked));
    const std::string printout = session.folder.ReadFile(L"qm47sim.printout.txt");
    EXPECT_NE(printout.find("KONTROLA BAZY TOWAROWEJ"), std::string::npos) << printout;
    EXPECT_NE(printout.find("Kawa"), std::string::npos) << printout;
    EXPECT_TRUE(page.Visible()) << "the page stays open";
}

} // namespace
} // namespace qm47::e2e
