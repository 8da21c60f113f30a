// The fiscalization page: the frame on a real line (a pseudo terminal), the
// port handed from the library to the link and back, and the failures.

#include "PageFixture.h"
#include "PseudoTerminal.h"

#include "pages/FiscalPage.h"
#include "res/ResourceIds.h"
#include "serial/FiscalizationFrame.h"

#include <gtest/gtest.h>

namespace qm47 {
namespace {

using testing::PseudoTerminal;

const std::string kValidNip = "5260001246";
const std::string kConfirm = "Fiskalizacji nie mo\xBF" "na cofn\xB9\xE6. Zapisa\xE6 w pami\xEA" "ci fiskalnej drukarki NIP ";
const std::string kCannotOpenPort = "Nie mo\xBF" "na otworzy\xE6 portu";
const std::string kNotSentWhole = "Polecenie fiskalizacji nie zosta\xB3o wys\xB3" "ane w ca\xB3o\x9C" "ci. Sprawd\x9F po\xB3\xB9"
                                  "czenie z drukark\xB9 i spr\xF3" "buj ponownie.";

class FiscalPageTest : public testing::PageTest<CFiscalPage> {
protected:
    // Opens the page as if the last Connect had opened the given port.
    void Open(std::string portName, std::initializer_list<std::string_view> without = {})
    {
        app.SetPortName(std::move(portName));
        PageTest::Open(without);
    }

    // Sends a valid NIP, answering yes to the question before it.
    void SendValidNip()
    {
        window->Replace(IDC_FISCAL_NIP, kValidNip);
        ui.answers.push_back(fw::MessageAnswer::Yes);
        window->Click(IDC_FISCAL_SEND);
    }
};

TEST_F(FiscalPageTest, SendsTheFrameAsTypedBetweenPortCloseAndPortOpen)
{
    PseudoTerminal line;
    ASSERT_TRUE(line.Ready());
    const std::string nips[] = {"526-000-12-46", "526 000 12 46", "5260001246"};
    Open(line.SlaveName());
    for (const std::string& nip : nips) {
        SCOPED_TRACE(nip);
        Forget();
        window->Replace(IDC_FISCAL_NIP, nip);
        ui.answers.push_back(fw::MessageAnswer::Yes);
        // The library must not hold the port while the frame goes out.
        fake.during = [&](const testing::RecordedCall& call) {
            if (call.name == "Port_Open") {
                const std::string expected = FiscalizationFrame(nip) + std::string(1, '\0');
                EXPECT_EQ(line.Read(expected.size(), std::chrono::milliseconds(2000)), expected);
            }
        };
        ASSERT_TRUE(window->Click(IDC_FISCAL_SEND));
        fake.during = nullptr;
        EXPECT_EQ(fake.Names(), (std::vector<std::string>{"Port_Close", "Port_Open"}));
        const auto reopened = fake.CallsOf("Port_Open").at(0);
        EXPECT_EQ(reopened.texts.at(0), line.SlaveName());
        EXPECT_EQ(reopened.numbers.at(0), 9600);
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{kConfirm + nip + "?"})
            << "a frame that went out shows nothing but the question before it";
        EXPECT_FALSE(line.HasPending());
        EXPECT_FALSE(window->Ended());
    }
    EXPECT_EQ(FiscalizationFrame("").size(), 14u);
}

// The NIP is written into the fiscal memory for good: one that breaks the
// rule is refused before the port is touched, and a valid one goes out only
// when the technician says yes.
TEST_F(FiscalPageTest, ANipIsCheckedAndConfirmedBeforeAnythingIsSent)
{
    const std::string notTenDigits = "Nieprawid\xB3owy NIP: wpisz 10 cyfr (my\x9Clniki i spacje s\xB9 dozwolone).";
    const std::string wrongCheckDigit = "Nieprawid\xB3owy NIP: cyfra kontrolna si\xEA nie zgadza.";
    PseudoTerminal line;
    ASSERT_TRUE(line.Ready());
    Open(line.SlaveName());
    struct Case { std::string nip; std::string told; };
    const Case refused[] = {
        {"", notTenDigits}, {"NIP a\xB3" "b", notTenDigits}, {" 5260001246", notTenDigits},
        {"123-456-78-90", wrongCheckDigit}, {"1234567890", wrongCheckDigit}, {"526-000-12-47", wrongCheckDigit},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE("NIP \"" + c.nip + "\"");
        ui.messages.clear();
        window->Replace(IDC_FISCAL_NIP, c.nip);
        ASSERT_TRUE(window->Click(IDC_FISCAL_SEND));
        ASSERT_EQ(MessageTexts(), std::vector<std::string>{c.told});
        EXPECT_EQ(ui.messages[0].owner, &page);
        EXPECT_EQ(ui.messages[0].caption, "QM47");
        EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::Exclamation);
        EXPECT_EQ(window->FocusId(), IDC_FISCAL_NIP);
        EXPECT_EQ(window->SelectedStart(), IDC_FISCAL_NIP);
        EXPECT_EQ(Text(IDC_FISCAL_NIP), c.nip) << "the text stays as typed";
    }
    // No to the question: nothing either.
    ui.messages.clear();
    window->Replace(IDC_FISCAL_NIP, "526-000-12-46");
    ui.answers.push_back(fw::MessageAnswer::No);
    ASSERT_TRUE(window->Click(IDC_FISCAL_SEND));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kConfirm + "526-000-12-46?");
    EXPECT_EQ(ui.messages[0].owner, &page);
    EXPECT_EQ(ui.messages[0].caption, "QM47");
    EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::Question);
    EXPECT_EQ(ui.messages[0].buttons, fw::MessageButtons::YesNo);
    EXPECT_EQ(ui.messages[0].defaultAnswer, fw::MessageAnswer::No) << "Enter must answer No";

    EXPECT_TRUE(fake.calls.empty()) << "the library keeps its port";
    EXPECT_FALSE(line.HasPending()) << "nothing went out";
}

TEST_F(FiscalPageTest, NoOnlineCheckIsMade)
{
    PseudoTerminal line;
    ASSERT_TRUE(line.Ready());
    fake.onl = 0;
    Open(line.SlaveName());
    SendValidNip();
    EXPECT_TRUE(fake.CallsOf("GetStatus_Printer").empty());
    EXPECT_EQ(line.Read(24, std::chrono::milliseconds(2000)).size(), 24u);
}

TEST_F(FiscalPageTest, APortTheLinkCannotOpenIsStillGivenBackAndReported)
{
    Open("/nonexistent/qm47-port");
    SendValidNip();
    EXPECT_EQ(fake.Names(), (std::vector<std::string>{"Port_Close", "Port_Open"}));
    EXPECT_EQ(fake.CallsOf("Port_Open").at(0).texts.at(0), "/nonexistent/qm47-port");
    ASSERT_EQ(MessageTexts(), (std::vector<std::string>{kConfirm + kValidNip + "?", kCannotOpenPort}));
    EXPECT_EQ(ui.messages[1].owner, &page);
    EXPECT_EQ(ui.messages[1].caption, "QM47");
}

TEST_F(FiscalPageTest, AFailedSendTellsWhetherTheFrameWentOut)
{
    const std::string frame = FiscalizationFrame(kValidNip) + std::string(1, '\0');
    const std::string sentButNotReopened = "Polecenie fiskalizacji zosta\xB3o wys\xB3" "ane, ale nie uda\xB3o si\xEA ponownie "
                                           "otworzy\xE6 portu. Po\xB3\xB9" "cz si\xEA z drukark\xB9 ponownie.";
    struct Case { const char* label; bool held; bool exported; std::int32_t result; std::string message; };
    const Case cases[] = {
        {"Port_Open fails", false, true, -1, sentButNotReopened},
        {"no Port_Open", false, false, 0, sentButNotReopened},
        // Nothing went out: sending again is safe, whatever became of the port.
        {"the printer holds the line past the limit, and Port_Open fails", true, true, -1,
         kNotSentWhole},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PseudoTerminal line;
        ASSERT_TRUE(line.Ready());
        if (c.held) {
            ASSERT_TRUE(line.HoldWithXoff());
        }
        ui.messages.clear();
        fake.results["Port_Open"] = c.result;
        if (c.exported) Open(line.SlaveName());
        else Open(line.SlaveName(), {"Port_Open"});
        SendValidNip();
        ui.messages.erase(ui.messages.begin()); // the question
        if (c.held) EXPECT_EQ(line.Read(1, std::chrono::milliseconds(200)), "") << "no part of the frame went out";
        else EXPECT_EQ(line.Read(frame.size(), std::chrono::milliseconds(2000)), frame);
        ASSERT_EQ(MessageTexts(), std::vector<std::string>{c.message});
        EXPECT_EQ(ui.messages[0].owner, &page);
        EXPECT_EQ(ui.messages[0].caption, "QM47");
        EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::None);
        EXPECT_EQ(ui.messages[0].buttons, fw::MessageButtons::Ok);
        window.reset();
    }
}

TEST_F(FiscalPageTest, TheNipTakesThirteenCharacters)
{
    PseudoTerminal line;
    ASSERT_TRUE(line.Ready());
    Open(line.SlaveName());
    window->Type(IDC_FISCAL_NIP, "123-456-78-901");
    EXPECT_EQ(Text(IDC_FISCAL_NIP), "123-456-78-90");

    // A longer text that reached the edit some other way is refused, and nothing is sent.
    window->Replace(IDC_FISCAL_NIP, "12345678901234");
    window->Click(IDC_FISCAL_SEND);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Please enter no more than 13 characters.");
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_FALSE(line.HasPending());
}

} // namespace
} // namespace qm47
