// The service-inspection page driven from outside against the simulated
// printer: the days and the telephone reach the printer and the success box
// follows.

#include "tests/e2e/PageSession.h"

#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47::e2e {
namespace {

using namespace pages;

using ServiceDatePage = OnPage<"service">;

TEST_F(ServiceDatePage, SendsDaysAndTelephone)
{
    page.Item(IDC_SERVICE_DAYS).Type("30");
    page.Item(IDC_SERVICE_PHONE).Type("22 123-45-67 wew. 5");
    page.Item(IDC_SERVICE_SET).Click();
    AnswerMessageBox(session.run, {.text = Expected(text::kOperationDone), .owner = page.Handle(),
                                   .icon = BoxIcon::Information});
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(session.opened),
                               {"GetStatus_Printer onl=1",
                                "LBRVINFO days=30 phone=\"22 123-45-67 wew. 5\" result=0"}));
    EXPECT_TRUE(page.Visible()) << "the page stays open";
}

} // namespace
} // namespace qm47::e2e
