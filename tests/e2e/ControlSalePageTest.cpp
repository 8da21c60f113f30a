// The control sale page driven from outside against the simulated printer:
// a sale that the chosen rate's totalizer shows, the open-transaction
// question answered No and Yes, and a name blocked at another rate.

#include "tests/e2e/PageSession.h"

#include "res/ControlLists.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47::e2e {
namespace {

using namespace pages;

// The simulated printer's totalizers A to G as it starts.
const std::vector<std::string> kStartTotals = {"001234.56", "000789.10", "000045.00", "000000.00",
                                               "000000.00", "000000.00", "000012.30"};

std::vector<std::string> Totalizers(const Window& page)
{
    std::vector<std::string> shown;
    for (int id : res::kSaleTotalizers) shown.push_back(page.Item(id).Text());
    return shown;
}

// The journal of one complete sale of `name` at `letter` (the checks first).
std::vector<std::string> SaleJournal(const std::string& name, char letter)
{
    const std::string letterByte = std::to_string(static_cast<int>(letter));
    std::string end = "O_LBTRXEND endByte=3";
    for (int i = 0; i < 10; ++i) end += " fields[" + std::to_string(i) + "]=0";
    end += " code=\"1SW\" texts3[0]=\"\" texts3[1]=\"\" texts3[2]=\"\" text19=\"\" text23=\"\" text27=\"\" slot31=0 "
           "amount=\"0.01\"";
    for (int i = 0; i < 8; ++i)
        end += " pairs[" + std::to_string(i) + "].slot=0 pairs[" + std::to_string(i) + "].text=\"\"";
    end += " result=0";
    return {"GetStatus_Printer onl=1",
            "GetStatus_CashRegister par=0",
            "LBFSTRQ",
            "LBDBREPRS name=\"" + name + "\" rateLetter=" + letterByte + " rateText=\"101.00\"",
            "LBTRSHDR mode=0 result=0",
            "LBTRSLN lineByteA=1 lineByteB=0 name=\"" + name + "\" slot6=0 quantity=\"1\" rateLetter=" + letterByte +
                " slot15=0 price=\"0.01\" slot23=0 value=\"0.01\" slot31=0 lastText=\"0\" result=0",
            end,
            "LBFSTRQ"};
}

TEST(ControlSalePage, SaleGrowsTheChosenTotalizer)
{
    PageSession session(main_window::Page("sale"));
    const Window page = session.page;
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(session.connected), {"LBFSTRQ totalizer[0]=\"001234.56\""}));
    EXPECT_EQ(Totalizers(page), kStartTotals);
    EXPECT_EQ(page.Item(IDC_SALE_NAME).Text(), Expected(text::kControlSaleName));
    EXPECT_EQ(page.Item(IDC_SALE_RATE).Text(), "A");

    page.Item(IDC_SALE_RATE).SetText("B");
    const std::size_t before = session.JournalSize();
    ClickAndSettle(session, page, IDC_SALE_RUN);
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before), SaleJournal("Towar testowy", 'B')));
    std::vector<std::string> grown = kStartTotals;
    grown[1] = "000789.11";
    EXPECT_EQ(Totalizers(page), grown);
}

TEST(ControlSalePage, OpenTransactionQuestion)
{
    PageSession session(main_window::Page("sale"), "transaction = 1\n");
    const Window page = session.page;
    const ExpectedBox question{.text = Expected(text::kCancelTransactionQuestion), .caption = "",
                               .owner = page.Handle()};

    // No: nothing is sent and the totalizers stay as they were read.
    std::size_t before = session.JournalSize();
    page.Item(IDC_SALE_RUN).Click();
    const auto box = session.run.WaitForMessageBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Buttons().size(), 2u) << "Yes and No";
    AnswerMessageBox(session.run, question, IDNO);
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before),
                               {"GetStatus_Printer onl=1", "GetStatus_CashRegister par=1"}));
    EXPECT_EQ(Totalizers(page), kStartTotals);

    // Yes: the transaction is cancelled, then the sale goes as usual.
    before = session.JournalSize();
    page.Item(IDC_SALE_RUN).Click();
    AnswerMessageBox(session.run, question, IDYES);
    std::vector<std::string> expected = SaleJournal("Towar testowy", 'A');
    expected[1] = "GetStatus_CashRegister par=1";
    expected.insert(expected.begin() + 2, "LBTREXITCAN registerNumber=\"001\" cashier=\"SERWIS\"");
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before), expected));
    EXPECT_EQ(Totalizers(page)[0], "001234.57");
}

TEST(ControlSalePage, NameBlockedAtAnotherRateIsRefused)
{
    PageSession session(main_window::Page("sale"));
    const Window page = session.page;

    // The name takes 40 characters at most.
    page.Item(IDC_SALE_NAME).SetText("");
    page.Item(IDC_SALE_NAME).Type(std::string(41, 'x'));
    ASSERT_TRUE(session.run.Settle());
    EXPECT_EQ(page.Item(IDC_SALE_NAME).Text(), std::string(40, 'x'));

    // "Chleb" is held blocked at 7.00; rate A is 22.00.
    page.Item(IDC_SALE_NAME).SetText("Chleb");
    const std::size_t before = session.JournalSize();
    page.Item(IDC_SALE_RUN).Click();
    AnswerMessageBox(session.run, {.text = Expected(text::kGoodsBlockedRename), .owner = page.Handle()});
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before),
                               {"GetStatus_Printer onl=1", "GetStatus_CashRegister par=0", "LBFSTRQ",
                                "LBDBREPRS name=\"Chleb\" rateLetter=65 blocked=1 rateText=\"7.00\"", "LBFSTRQ"}));
    EXPECT_EQ(Totalizers(page), kStartTotals);
}

} // namespace
} // namespace qm47::e2e
