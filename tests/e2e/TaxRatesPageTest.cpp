// The tax-rate page driven from outside against the simulated printer: the
// defaults sent as the printer receives them, and the silent stops.

#include "tests/e2e/PageSession.h"

#include "res/ControlLists.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47::e2e {
namespace {

using namespace pages;

using TaxRatesPage = OnPage<"rates">;

TEST_F(TaxRatesPage, SendsTheDefaultRates)
{

    page.Item(IDC_TAX_RATES_SET).Click();
    AnswerMessageBox(session.run, {.text = Expected(text::kOperationDone), .owner = page.Handle(),
                                   .icon = BoxIcon::Information});
    EXPECT_TRUE(JournalMatches(
        session.folder.JournalFrom(session.opened),
        {"GetStatus_Printer onl=1",
         "LBSETPTU count=7 reserved1=0 entries[0].reserved=0 entries[0].rateText=\"22\" "
         "entries[1].rateText=\"7\" entries[2].rateText=\"0\" entries[3].rateText=\"101\" "
         "entries[4].rateText=\"101\" entries[5].rateText=\"101\" entries[6].reserved=0 "
         "entries[6].rateText=\"100\" registerNumber=\"12345678\" cashier=\"SERWIS\" result=0"}));

    // The printer now reports the rates the page sent.
    page.Item(IDC_TAX_RATES_CANCEL).Click();
    ASSERT_TRUE(WaitUntil([&] { return session.run.Pages().empty(); }));
    ASSERT_TRUE(session.run.Settle()); // the buttons come back once the modal run has returned
    session.Click(main_window::kRefresh);
    std::vector<std::string> shown;
    for (int id : main_window::kMainRates) shown.push_back(session.main.Item(id).Text());
    EXPECT_EQ(shown, (std::vector<std::string>{"22.00", "7.00", "0.00", Expected(text::kRateInactive),
                                               Expected(text::kRateInactive), Expected(text::kRateInactive),
                                               Expected(text::kRateExempt)}));
}

TEST_F(TaxRatesPage, StopsSilently)
{
    struct Case {
        const char* label;
        const char* simConfig;
        int edit;
        const char* text;
    };
    const Case cases[] = {
        {"rate G empty", "", res::kTaxRateEdits[6], ""},
        {"rate A 102", "", res::kTaxRateEdits[0], "102"},
        {"printer off-line", "online = 0\n", 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        for (std::size_t i = 0; i < std::size(res::kTaxRateEdits); ++i)
            page.Item(res::kTaxRateEdits[i]).SetText(i == 0 ? "22" : i == 6 ? "100" : "7");
        if (c.text) page.Item(c.edit).SetText(c.text);
        session.folder.WriteSimConfig(c.simConfig);
        const std::size_t before = session.JournalSize();

        ClickAndSettle(session, page, IDC_TAX_RATES_SET);
        EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
        EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before), {"GetStatus_Printer"}));
        if (c.text) {
            EXPECT_EQ(page.Item(c.edit).Text(), c.text) << "the edit keeps what was typed";
        }
        EXPECT_TRUE(page.Visible()) << "the page stays open";
    }
}

} // namespace
} // namespace qm47::e2e
