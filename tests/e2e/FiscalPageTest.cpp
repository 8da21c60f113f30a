// The fiscalization page driven from outside: the frame as it arrives on the
// serial line, the port taken from the library and given back, no message.

#include "tests/e2e/Session.h"

#include <algorithm>
#include <cctype>

namespace qm47::e2e {
namespace {

constexpr int kNip = 1003;
constexpr int kSend = 1051;

// The run's serial port as the technician types it into the main window.
std::string RunPortName()
{
    std::string name = Environment().comPort;
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name;
}

TEST(FiscalPage, SendsTheFrameOnTheConnectedPortAndGivesThePortBack)
{
    if (Environment().comPort.empty() || Environment().lineCapture.empty())
        GTEST_SKIP() << "no serial line in this run";
    using std::string_literals::operator""s;
    struct Case {
        const char* nip;
        std::string line; // the frame and the zero byte after it
    };
    const Case cases[] = {
        {"123-456-78-90", "\x1B" "P1$fNIP 123-456-78-90\xFF" "28\x1B\\\0"s},
        {"", "\x1B" "P1$fNIP \xFF" "04\x1B\\\0"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("NIP \"") + c.nip + "\"");
        Session session(Library::Full);
        const std::string port = RunPortName();
        session.main.Item(main_window::kPort).SetText(port);
        session.Click(main_window::kConnect);
        ASSERT_TRUE(session.main.Item(main_window::kDisconnect).Enabled())
            << "not connected; " << Describe(session.run.MessageBoxes());

        session.Click(main_window::kFiscalPage);
        const auto pages = session.run.Pages();
        ASSERT_EQ(pages.size(), 1u);
        const Window page = pages.front();
        ASSERT_TRUE(page.WaitVisible());
        page.Item(kNip).Type(c.nip);
        const std::size_t opened = session.JournalSize();
        const std::size_t lineBefore = SerialLineBytes().size();

        page.Item(kSend).Click();
        EXPECT_EQ(WaitForSerialLineBytes(lineBefore), c.line);
        EXPECT_TRUE(session.run.Settle());
        EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
        EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(opened),
                                   {"Port_Close", "Port_Open port=\"" + port + "\" baud=9600 result=0"}));

        // The library has its port again: Refresh reaches the printer.
        page.Item(IDCANCEL).Click();
        ASSERT_TRUE(WaitUntil([&] { return session.run.Pages().empty(); })) << "the page did not close";
        ASSERT_TRUE(session.run.Settle());
        const std::size_t closed = session.JournalSize();
        session.Click(main_window::kRefresh);
        const auto refreshed = session.folder.JournalFrom(closed);
        ASSERT_FALSE(refreshed.empty());
        EXPECT_TRUE(JournalMatches({refreshed.front()}, {"GetStatus_CashRegister result=0"}));

        session.main.Item(main_window::kExit).Click();
        const auto code = session.run.WaitForExit();
        ASSERT_TRUE(code) << "the program did not end";
        EXPECT_EQ(*code, 0u);
    }
}

} // namespace
} // namespace qm47::e2e
