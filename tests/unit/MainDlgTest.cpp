// The main window against the recording fake library: connection, status
// panel and lamps, button states, page opening and the about box.

#include "FakeLibrary.h"
#include "ScratchDirectory.h"

#include "app/ServiceApp.h"
#include "entry/Pages.h"
#include "framework/testing/TestBackend.h"
#include "res/ControlLists.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"
#include "ui/MainDlg.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <stdexcept>

namespace qm47 {
namespace {

using fw::testing::TestUi;
using fw::testing::TestWindow;
using testing::FakeLibrary;

const std::vector<int> kLamps = {IDC_MAIN_FSK, IDC_MAIN_CMD, IDC_MAIN_PAR, IDC_MAIN_TRF,
                                 IDC_MAIN_ONL, IDC_MAIN_PE, IDC_MAIN_ERR};
const std::vector<int> kPanelFields = {
    IDC_MAIN_DEVICE_NAME, IDC_MAIN_UNIQUE_NUMBER, IDC_MAIN_MODE, IDC_MAIN_RAM_RESETS, IDC_MAIN_LAST_FM_WRITE,
    IDC_MAIN_RATE_A, IDC_MAIN_RATE_B, IDC_MAIN_RATE_C, IDC_MAIN_RATE_D, IDC_MAIN_RATE_E, IDC_MAIN_RATE_F,
    IDC_MAIN_RATE_G, IDC_MAIN_RECEIPTS, IDC_MAIN_FSK, IDC_MAIN_CMD, IDC_MAIN_PAR, IDC_MAIN_TRF, IDC_MAIN_ONL,
    IDC_MAIN_PE, IDC_MAIN_ERR};

const char* const kRates[kRateCount] = {"22.00", "7.00", "100.00", "101.00", "100", "0.00", "3.00"};
const char* const kTotals[kRateCount] = {"1.00", "2.00", "3.00", "4.00", "5.00", "6.00", "7.00"};

class MainDlgTest : public ::testing::Test {
protected:
    MainDlgTest()
    {
        fake.fillIdentity = [](DeviceIdentity& id) { id = {"TALMIR", "Serwis"}; };
        fake.fillFiscalStatus = [](FiscalStatus& s) {
            s.fiscalFlag = 1;
            s.ramResets = 4;
            s.lastFmDay = 5;
            s.lastFmMonth = 3;
            s.lastFmYear = 3;
            for (std::size_t i = 0; i < kRateCount; ++i) s.ptuRate[i] = kRates[i];
            s.receiptCount = 1234;
            for (std::size_t i = 0; i < kRateCount; ++i) s.totalizer[i] = kTotals[i];
            s.uniqueNumber = "ABC12345678";
        };
        fake.cashRegister = {1, 2, 3, 4};
    }

    void Open(std::initializer_list<std::string_view> without = {})
    {
        app.SetLibrary(fake.Bind(without));
        window = TestWindow::Open(dialog);
    }

    std::string Text(int id) const { return window->Control(id).text; }
    // The status panel's name, unique number, mode, RAM resets, last fiscal
    // memory write, receipts, then the rates A to G.
    std::vector<std::string> StatusPanel() const
    {
        std::vector<std::string> texts;
        for (int id : {IDC_MAIN_DEVICE_NAME, IDC_MAIN_UNIQUE_NUMBER, IDC_MAIN_MODE, IDC_MAIN_RAM_RESETS,
                       IDC_MAIN_LAST_FM_WRITE, IDC_MAIN_RECEIPTS})
            texts.push_back(Text(id));
        for (int id : res::kMainRates) texts.push_back(Text(id));
        return texts;
    }
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& m : ui.messages) texts.push_back(m.text);
        return texts;
    }
    // Enabled state of every button, in a fixed order: Połącz, Rozłącz, Odśwież, Koniec, O programie, then
    // the page buttons.
    std::vector<int> EnabledButtons() const
    {
        std::vector<int> enabled;
        for (int id : {IDC_MAIN_CONNECT, IDC_MAIN_DISCONNECT, IDC_MAIN_REFRESH, IDC_MAIN_EXIT, IDC_MAIN_ABOUT})
            if (window->IsEnabled(id)) enabled.push_back(id);
        for (const res::PageButton& button : res::kMainPageButtons)
            if (window->IsEnabled(button.id)) enabled.push_back(button.id);
        return enabled;
    }
    std::vector<int> AllButtons() const
    {
        std::vector<int> all = {IDC_MAIN_CONNECT, IDC_MAIN_DISCONNECT, IDC_MAIN_REFRESH, IDC_MAIN_EXIT,
                                IDC_MAIN_ABOUT};
        for (const res::PageButton& button : res::kMainPageButtons) all.push_back(button.id);
        return all;
    }

    TestUi ui;
    FakeLibrary fake;
    CServiceApp app;
    CMainDlg dialog{app, MakePage};
    std::unique_ptr<TestWindow> window;
};

TEST_F(MainDlgTest, OpensIdleWithSystemMenuIconAndFocusOnConnect)
{
    Open();
    EXPECT_EQ(EnabledButtons(), (std::vector<int>{IDC_MAIN_CONNECT, IDC_MAIN_EXIT, IDC_MAIN_ABOUT}));
    EXPECT_EQ(Text(IDC_MAIN_PORT), "com1");
    EXPECT_EQ(window->FocusId(), IDC_MAIN_CONNECT);
    EXPECT_EQ(window->IconResource(), IDI_APP);
    ASSERT_EQ(window->SystemMenuItems().size(), 1u);
    EXPECT_EQ(window->SystemMenuItems()[0].first, IDM_ABOUTBOX);
    EXPECT_EQ(window->SystemMenuItems()[0].second, "&About QM47...");
    EXPECT_TRUE(fake.calls.empty());
}

TEST_F(MainDlgTest, ConnectOnlineFillsPanelAndLampsAndEnablesEverything)
{
    Open();
    ASSERT_TRUE(window->Click(IDC_MAIN_CONNECT));
    EXPECT_EQ(fake.Names(), (std::vector<std::string>{"Port_Close", "Port_Open", "GetStatus_Printer",
                                                      "GetStatus_Printer", "LBSERM", "Send_BEL", "LBIDRQ", "LBFSTRQ",
                                                      "GetStatus_Printer", "GetStatus_CashRegister"}));
    const auto open = fake.CallsOf("Port_Open").at(0);
    EXPECT_EQ(open.texts, (std::vector<std::string>{"com1"}));
    EXPECT_EQ(open.numbers, (std::vector<std::int64_t>{9600}));
    EXPECT_EQ(fake.CallsOf("LBSERM").at(0).numbers, (std::vector<std::int64_t>{3}));
    EXPECT_EQ(app.PortName(), "com1");

    EXPECT_EQ(StatusPanel(), (std::vector<std::string>{"TALMIR Serwis", "ABC12345678", "Fiskalny", "4", "5-3-2003", "1234",
                                                       "22.00", "7.00", "Zwolniona", "Nieaktywna", "100", "0.00",
                                                       "3.00"}));
    EXPECT_EQ(Text(IDC_MAIN_ONL), "1"); // onl
    EXPECT_EQ(Text(IDC_MAIN_PE), "0"); // pe
    EXPECT_EQ(Text(IDC_MAIN_ERR), "0"); // err
    EXPECT_EQ(Text(IDC_MAIN_FSK), "1"); // fsk
    EXPECT_EQ(Text(IDC_MAIN_CMD), "2"); // cmd
    EXPECT_EQ(Text(IDC_MAIN_PAR), "3"); // par
    EXPECT_EQ(Text(IDC_MAIN_TRF), "4"); // trf
    EXPECT_EQ(EnabledButtons(), AllButtons());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainDlgTest, ConnectOutcomes)
{
    struct Case {
        const char* label;
        std::deque<std::int32_t> onl;
        bool printerFills;
        std::int32_t openResult;
        std::vector<std::string> messages;
        std::vector<std::string> callsAfterOpen;
    };
    const std::vector<Case> cases = {
        {"off-line", {0}, true, 0, {"Drukarka jest w trybie OFF-LINE"}, {"GetStatus_Printer", "GetStatus_Printer"}},
        {"no answer (untouched record)", {1}, false, 0, {"Drukarka nie zosta\xB3" "a pod\xB3\xB9" "czona"},
         {"GetStatus_Printer", "GetStatus_Printer", "Port_Close"}},
        {"onl 2 counts as no answer", {2}, true, 0, {"Drukarka nie zosta\xB3" "a pod\xB3\xB9" "czona"},
         {"GetStatus_Printer", "GetStatus_Printer", "Port_Close"}},
        {"port fails to open", {1}, true, -1, {"Nie mo\xBF" "na otworzy\xE6 portu"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ui.messages.clear();
        fake.Clear();
        fake.onlAnswers = c.onl;
        fake.printerFills = c.printerFills;
        fake.results["Port_Open"] = c.openResult;
        if (!window) Open();
        window->Click(IDC_MAIN_CONNECT);
        EXPECT_EQ(MessageTexts(), c.messages);
        for (const auto& m : ui.messages) {
            EXPECT_EQ(m.caption, "QM47");
            EXPECT_EQ(m.owner, &dialog);
            EXPECT_EQ(m.icon, fw::MessageIcon::None);
        }
        std::vector<std::string> expected = {"Port_Close", "Port_Open"};
        expected.insert(expected.end(), c.callsAfterOpen.begin(), c.callsAfterOpen.end());
        EXPECT_EQ(fake.Names(), expected);
        EXPECT_EQ(EnabledButtons(), (std::vector<int>{IDC_MAIN_CONNECT, IDC_MAIN_EXIT, IDC_MAIN_ABOUT}));
        for (int id : kPanelFields) EXPECT_EQ(Text(id), "") << id;
    }
}

TEST_F(MainDlgTest, OnlyTheSecondStatusAnswerCounts)
{
    fake.onlAnswers = {0, 1};
    Open();
    window->Click(IDC_MAIN_CONNECT);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(EnabledButtons(), AllButtons());
}

TEST_F(MainDlgTest, ConnectTwiceClosesAndClearsFirst)
{
    Open();
    window->Click(IDC_MAIN_CONNECT);
    fake.Clear();
    fake.during = [&](const testing::RecordedCall& call) {
        if (call.name == "Port_Open") {
            EXPECT_EQ(Text(IDC_MAIN_DEVICE_NAME), "") << "the panel is cleared before the port opens again";
            EXPECT_FALSE(window->IsEnabled(IDC_MAIN_DISCONNECT));
        }
    };
    window->Click(IDC_MAIN_CONNECT);
    ASSERT_GE(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[0].name, "Port_Close");
    EXPECT_EQ(fake.calls[1].name, "Port_Open");
    EXPECT_EQ(Text(IDC_MAIN_DEVICE_NAME), "TALMIR Serwis");
}

TEST_F(MainDlgTest, TypedPortIsUsedUnchangedAndTheListEntryShown)
{
    struct Case { const char* typed; const char* sent; const char* shown; };
    const Case cases[] = {{"COM2", "COM2", "com2"}, {"\\\\.\\COM12", "\\\\.\\COM12", "\\\\.\\COM12"}, {"", "", ""}};
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        fake.Clear();
        window->Replace(IDC_MAIN_PORT, c.typed);
        window->Click(IDC_MAIN_CONNECT);
        EXPECT_EQ(fake.CallsOf("Port_Open").at(0).texts.at(0), c.sent);
        EXPECT_EQ(app.PortName(), c.sent);
        EXPECT_EQ(Text(IDC_MAIN_PORT), c.shown);
    }
}

TEST_F(MainDlgTest, DisconnectClosesClearsAndDisables)
{
    Open();
    window->Click(IDC_MAIN_CONNECT);
    fake.Clear();
    window->Click(IDC_MAIN_DISCONNECT);
    EXPECT_EQ(fake.Names(), (std::vector<std::string>{"Port_Close"}));
    for (int id : kPanelFields) EXPECT_EQ(Text(id), "") << id;
    EXPECT_EQ(EnabledButtons(), (std::vector<int>{IDC_MAIN_CONNECT, IDC_MAIN_EXIT, IDC_MAIN_ABOUT}));
}

TEST_F(MainDlgTest, RefreshWithAndWithoutTheCashRegisterAnswer)
{
    Open();
    window->Click(IDC_MAIN_CONNECT);

    fake.Clear();
    fake.pe = 1;
    window->Click(IDC_MAIN_REFRESH);
    EXPECT_EQ(fake.Names(), (std::vector<std::string>{"GetStatus_CashRegister", "GetStatus_Printer",
                                                      "GetStatus_CashRegister", "LBIDRQ", "LBFSTRQ"}));
    EXPECT_EQ(Text(IDC_MAIN_PE), "1");

    fake.Clear();
    fake.results["GetStatus_CashRegister"] = -1;
    fake.err = 5;
    fake.cashRegister = {7, 7, 7, 7};
    fake.fillIdentity = [](DeviceIdentity& id) { id = {"Inna", "nazwa"}; };
    window->Click(IDC_MAIN_REFRESH);
    EXPECT_EQ(fake.Names(), (std::vector<std::string>{"GetStatus_CashRegister", "GetStatus_Printer"}));
    EXPECT_EQ(Text(IDC_MAIN_ERR), "5");
    EXPECT_EQ(Text(IDC_MAIN_FSK), "1") << "the ENQ lamps keep their texts";
    EXPECT_EQ(Text(IDC_MAIN_DEVICE_NAME), "TALMIR Serwis") << "the panel keeps its texts";
}

TEST_F(MainDlgTest, UnfilledRecordsShowThePresets)
{
    fake.fillIdentity = nullptr;
    fake.fillFiscalStatus = nullptr;
    Open();
    window->Click(IDC_MAIN_CONNECT);
    EXPECT_EQ(StatusPanel(), (std::vector<std::string>{" ", "0", "Niefiskalny", "0", "0-0-2000", "0", "0", "0", "0",
                                                       "0", "0", "0", "0"}));

    // A library that leaves the status records untouched shows 9 in the lamps.
    fake.printerFills = false;
    fake.cashRegisterFills = false;
    window->Click(IDC_MAIN_REFRESH);
    for (int id : kLamps) EXPECT_EQ(Text(id), "9") << id;
}

TEST_F(MainDlgTest, NullTextsFromTheLibraryAreNeverRead)
{
    fake.fillIdentity = [](DeviceIdentity& id) { id = {nullptr, nullptr}; };
    fake.fillFiscalStatus = [](FiscalStatus& s) {
        for (std::size_t i = 0; i < kRateCount; ++i) s.ptuRate[i] = nullptr;
        s.uniqueNumber = nullptr;
    };
    Open();
    window->Click(IDC_MAIN_CONNECT);
    EXPECT_EQ(Text(IDC_MAIN_DEVICE_NAME), " ");
    EXPECT_EQ(Text(IDC_MAIN_UNIQUE_NUMBER), "0");
    EXPECT_EQ(Text(IDC_MAIN_RATE_A), "0");
}

TEST_F(MainDlgTest, WarnsAboutTheModelByTheFirstPartOfTheName)
{
    struct Case { const char* first; const char* second; bool warned; };
    const Case cases[] = {{"OrbelaMakron", "", true}, {"OrbelaMakron", "X", true}, {"Orbela", "Makron", false},
                          {"OrbelaMakronX", "", false}};
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + "|" + c.second);
        ui.messages.clear();
        fake.fillIdentity = [&](DeviceIdentity& id) { id = {c.first, c.second}; };
        ui.onMessage = [&](const fw::testing::ShownMessage&) {
            EXPECT_EQ(Text(IDC_MAIN_DEVICE_NAME), "") << "the message comes before the name is shown";
        };
        window->Click(IDC_MAIN_CONNECT);
        ui.onMessage = nullptr;
        if (c.warned) {
            ASSERT_EQ(MessageTexts(), (std::vector<std::string>{"Drukarka OrbelaMakron - Nie\xB3" "adnie"}));
        } else {
            EXPECT_TRUE(ui.messages.empty());
        }
        EXPECT_EQ(Text(IDC_MAIN_DEVICE_NAME), std::string(c.first) + " " + c.second);
    }
}

TEST_F(MainDlgTest, MissingExportsAreNeverCalled)
{
    struct Case {
        const char* label;
        std::vector<std::string_view> without;
        std::vector<std::string> messages;
        std::vector<int> enabled;
        fw::MessageIcon icon = fw::MessageIcon::None;
        bool loaded = true;
    };
    const std::vector<int> idle = {IDC_MAIN_CONNECT, IDC_MAIN_EXIT, IDC_MAIN_ABOUT};
    const auto exclamation = fw::MessageIcon::Exclamation;
    const std::vector<Case> cases = {
        // Connect names the cause: a missing library or export is not a port that failed.
        {"no library", {}, {text::kNoLibrary.str()}, idle, exclamation, false},
        {"no Port_Open", {"Port_Open"}, {text::kMissingExportPrefix.str() + "Port_Open"}, idle, exclamation},
        {"no GetStatus_Printer", {"GetStatus_Printer"}, {"Drukarka nie zosta\xB3" "a pod\xB3\xB9" "czona"}, idle},
        {"no Port_Close, LBSERM, Send_BEL, LBIDRQ, LBFSTRQ, GetStatus_CashRegister",
         {"Port_Close", "LBSERM", "Send_BEL", "LBIDRQ", "LBFSTRQ", "GetStatus_CashRegister"}, {}, AllButtons()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ui.messages.clear();
        fake.Clear();
        app.SetLibrary(c.loaded ? fake.Bind(c.without) : DeviceLibrary());
        window = TestWindow::Open(dialog);
        window->Click(IDC_MAIN_CONNECT);
        EXPECT_EQ(MessageTexts(), c.messages);
        for (const auto& m : ui.messages) {
            EXPECT_EQ(m.icon, c.icon);
            EXPECT_EQ(m.owner, &dialog);
            EXPECT_EQ(m.caption, "QM47");
        }
        EXPECT_EQ(EnabledButtons(), c.enabled);
        for (const auto& call : fake.calls)
            for (std::string_view missing : c.without) EXPECT_NE(call.name, missing);
        window.reset();
    }
}

} // namespace
} // namespace qm47

namespace qm47 {
namespace {

// A page of the test backend that records the main window's state while it runs.
class ProbePage : public fw::CDialog {
public:
    ProbePage() : fw::CDialog(res::kAboutDialog) {}
};

TEST_F(MainDlgTest, OpeningAPageDisablesEveryButtonAndEnablesAllAfter)
{
    int pagesMade = 0;
    CMainDlg withPages(app, [&](int buttonId, CServiceApp&) -> std::unique_ptr<fw::CDialog> {
        ++pagesMade;
        EXPECT_EQ(buttonId, res::PageCalled("reports").id);
        return std::make_unique<ProbePage>();
    });
    app.SetLibrary(fake.Bind());
    window = TestWindow::Open(withPages);
    window->Click(IDC_MAIN_CONNECT);
    fake.Clear();
    bool ran = false;
    ui.onModal = [&](TestWindow& page) {
        ran = true;
        EXPECT_EQ(EnabledButtons(), std::vector<int>{}) << "no button of the main window while a page is open";
        EXPECT_EQ(ui.running.size(), 2u);
        page.Click(IDC_ABOUT_OK);
    };
    ASSERT_TRUE(window->Click(res::PageCalled("reports").id));
    EXPECT_TRUE(ran);
    EXPECT_EQ(pagesMade, 1);
    EXPECT_EQ(EnabledButtons(), AllButtons());
    EXPECT_EQ(window->FocusId(), res::PageCalled("reports").id) << "the keyboard is back on the button that opened the page";
    EXPECT_TRUE(fake.calls.empty()) << "the status panel is not refreshed";
    EXPECT_EQ(Text(IDC_MAIN_DEVICE_NAME), "TALMIR Serwis");
    // Only a page button has a page: any other id is a wiring fault, told at once.
    EXPECT_THROW(MakePage(IDC_MAIN_CONNECT, app), std::invalid_argument);
    window.reset(); // before the dialog it shows goes out of scope
}

// A command that reaches a window while a library call runs (posted by
// another program, dispatched by the library's own box) starts nothing and is
// not written to the log; a page that refuses to open writes no "page closed".
TEST_F(MainDlgTest, TheLogWritesTheCommandsThatRunAndThePagesThatOpened)
{
    testing::ScratchDirectory scratch;
    app.Log().Open("QM47.log");
    DeviceLibrary library = fake.Bind();
    library.SetLog(&app.Log());
    app.SetLibrary(library);
    window = TestWindow::Open(dialog);
    bool aboutOpened = false;
    ui.onModal = [&](TestWindow&) { aboutOpened = true; };
    fake.during = [&](const testing::RecordedCall& call) {
        if (call.name != "LBSERM") return;
        fake.during = nullptr;
        window->Click(IDC_MAIN_CONNECT);
        window->SysCommand(IDM_ABOUTBOX);
    };
    window->Click(IDC_MAIN_CONNECT);
    EXPECT_FALSE(aboutOpened) << "the about box opened inside a call";
    EXPECT_EQ(fake.CallsOf("Port_Open").size(), 1u) << "Connect ran inside a call";
    fake.onlAnswers = {0}; // the printer goes off-line: the clock page refuses to open
    window->Click(res::PageCalled("clock").id);
    // Two presses written (Connect, the clock page's button) and no "page closed".
    std::ifstream file("QM47.log", std::ios::binary);
    std::size_t presses = 0, closed = 0;
    for (std::string line; std::getline(file, line);) {
        presses += line.find("] button ") != std::string::npos ? 1 : 0;
        closed += line.find("] page closed") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(presses, 2u);
    EXPECT_EQ(closed, 0u);
    window.reset();
}

TEST_F(MainDlgTest, ExitEndsTheWindowWithoutALibraryCall)
{
    Open();
    window->Click(IDC_MAIN_CONNECT);
    fake.Clear();
    EXPECT_TRUE(window->Click(IDC_MAIN_EXIT));
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(window->Result(), fw::kIdCancel);
    EXPECT_TRUE(fake.calls.empty());
}

// Enter where no button has the focus reaches a window as the OK command;
// no window of the program ends on it.
TEST_F(MainDlgTest, EnterInThePortBoxEndsNothingAndOnConnectConnects)
{
    Open();
    window->SetFocus(IDC_MAIN_PORT);
    window->PressEnter();
    EXPECT_FALSE(window->Ended());
    EXPECT_TRUE(fake.calls.empty());

    window->SetFocus(IDC_MAIN_CONNECT);
    window->PressEnter();
    EXPECT_FALSE(window->Ended());
    EXPECT_EQ(fake.CallsOf("Port_Open").size(), 1u) << "Enter presses the focused button";
}

TEST_F(MainDlgTest, EnterInAPageEditKeepsThePageAndItsText)
{
    const struct {
        int button;
        int edit;
    } kPages[] = {{res::PageCalled("clock").id, IDC_CLOCK_YEAR},
                  {res::PageCalled("rates").id, IDC_TAX_RATES_A},
                  {res::PageCalled("header").id, IDC_HEADER_LINE1},
                  {res::PageCalled("reports").id, IDC_REPORTS_MONTH_YEAR},
                  {res::PageCalled("fiscal").id, IDC_FISCAL_NIP}};
    Open();
    for (const auto& page : kPages) {
        SCOPED_TRACE(page.button);
        std::unique_ptr<fw::CDialog> dialog = MakePage(page.button, app);
        ASSERT_TRUE(dialog);
        auto opened = TestWindow::Open(*dialog);
        ASSERT_TRUE(opened->Replace(page.edit, "7"));
        opened->SetFocus(page.edit);
        fake.Clear();
        opened->PressEnter();
        EXPECT_FALSE(opened->Ended());
        EXPECT_EQ(opened->Control(page.edit).text, "7");
        EXPECT_TRUE(fake.calls.empty());
    }
}

// "Anuluj" ends every page without a library call or a message; opening
// calls only what the page reads then.
TEST_F(MainDlgTest, CancelEndsEveryPageWithoutSending)
{
    const std::map<int, std::vector<std::string>> opening = {{res::PageCalled("clock").id, {"GetStatus_Printer", "LBSENDCK"}},
                                                             {res::PageCalled("sale").id, {"LBFSTRQ"}}};
    Open();
    for (const res::PageButton& button : res::kMainPageButtons) {
        SCOPED_TRACE(button.name);
        fake.Clear();
        std::unique_ptr<fw::CDialog> page = MakePage(button.id, app);
        auto opened = TestWindow::Open(*page);
        ASSERT_TRUE(opened->Click(button.cancel));
        EXPECT_TRUE(opened->Ended());
        EXPECT_EQ(fake.Names(), opening.contains(button.id) ? opening.at(button.id) : std::vector<std::string>{});
        EXPECT_TRUE(ui.messages.empty());
    }
}

// Every control of a page lies inside the page's frame (its outermost group
// box), and every field inside the group box that frames it, so widening a
// field cannot push it over a border.
TEST_F(MainDlgTest, EveryControlOfEveryPageStaysInsideItsGroupBoxes)
{
    const auto inside = [](const fw::Rect& inner, const fw::Rect& outer) {
        return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.cx <= outer.x + outer.cx &&
               inner.y + inner.cy <= outer.y + outer.cy;
    };
    const auto overlaps = [](const fw::Rect& a, const fw::Rect& b) {
        return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + b.cy && b.y < a.y + a.cy;
    };
    for (const res::PageButton& button : res::kMainPageButtons) {
        SCOPED_TRACE(button.name);
        const fw::DialogTemplate* page = &MakePage(button.id, app)->Template();
        const fw::ControlTemplate* frame = nullptr;
        for (const auto& control : page->controls)
            if (control.kind == fw::ControlKind::GroupBox &&
                (!frame || control.rect.cx * control.rect.cy > frame->rect.cx * frame->rect.cy))
                frame = &control;
        ASSERT_NE(frame, nullptr);
        for (const auto& control : page->controls) {
            SCOPED_TRACE(control.text ? control.text : std::to_string(control.id));
            EXPECT_TRUE(inside(control.rect, frame->rect)) << "outside the page's frame";
            // A control that reaches into a group box lies wholly inside it
            // (the combo boxes' drop-down lists excepted).
            for (const auto& box : page->controls) {
                if (&box == frame || &box == &control || box.kind != fw::ControlKind::GroupBox) continue;
                if (control.kind == fw::ControlKind::ComboBox || control.kind == fw::ControlKind::GroupBox) continue;
                if (overlaps(control.rect, box.rect)) {
                    EXPECT_TRUE(inside(control.rect, box.rect));
                }
            }
        }
    }
}

TEST_F(MainDlgTest, EnterOrOkEndsTheAboutBox)
{
    Open();
    int aboutRuns = 0;
    ui.onModal = [&](TestWindow& about) {
        ++aboutRuns;
        about.PressEnter();
        EXPECT_TRUE(about.Ended());
        EXPECT_EQ(about.Result(), IDC_ABOUT_OK);
    };
    window->Click(IDC_MAIN_ABOUT);
    EXPECT_EQ(aboutRuns, 1);
    EXPECT_FALSE(window->Ended());
}

} // namespace
} // namespace qm47
