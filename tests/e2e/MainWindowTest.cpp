// The main window driven from outside: start-up with and without the device
// library, Connect, Disconnect, Refresh, the button states and closing.

#include "tests/e2e/PageSession.h"
#include "tests/e2e/Session.h"

#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace qm47::e2e {
namespace {

using namespace main_window;

const std::set<int> kIdleButtons = {kConnect, kExit, kAbout};

using fw::literals::operator""_cp1250;
constexpr auto kPolishDeviceName = "fiscal = 1\ndevice_name = Drukarka|Łódź\n"_cp1250;

std::set<int> AllButtonsSet()
{
    const std::vector<int> all = AllButtons();
    return {all.begin(), all.end()};
}

// Connect pressed where the printer cannot be used: the box `box`, owned by
// the main window; then the main window idle with an empty panel, and the
// journal from its line `from` on holding `journal`.
void ExpectConnectRefused(Session& session, const std::string& box, const std::vector<std::string>& journal,
                          std::size_t from = 0)
{
    session.Click(kConnect);
    AnswerMessageBox(session.run, {.text = box, .owner = session.main.Handle()});
    EXPECT_TRUE(EnabledButtonsAre(session.main, kIdleButtons));
    EXPECT_TRUE(PanelIsEmpty(session.main));
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(from), journal));
}

// The journal of a Connect on com1 to an answering printer.
std::vector<std::string> OnlineConnectJournal()
{
    return {
        "Port_Close",
        "Port_Open port=\"com1\" baud=9600 result=0",
        "GetStatus_Printer",
        "GetStatus_Printer onl=1",
        "LBSERM mode=3",
        "Send_BEL",
        "LBIDRQ",
        "LBFSTRQ",
        "GetStatus_Printer",
        "GetStatus_CashRegister",
    };
}

// The last journal entry of `exportName` in `lines`.
std::optional<JournalEntry> LastEntry(const std::vector<std::string>& lines, std::string_view exportName)
{
    for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
        JournalEntry entry = ParseJournalLine(*line);
        if (entry.exportName == exportName) return entry;
    }
    return std::nullopt;
}

std::string FieldOf(const JournalEntry& entry, std::string_view field)
{
    return entry.Field(field).value_or("<" + std::string(field) + " missing>");
}

std::string TextFieldOf(const JournalEntry& entry, std::string_view field)
{
    const auto text = JournalText(FieldOf(entry, field));
    return text ? Utf8FromCp1250(*text) : "<no text>";
}

// What the status panel and the lamps must show for what the simulated
// printer answered, as its journal records it.
std::map<int, std::string> PanelFromJournal(const std::vector<std::string>& lines)
{
    std::map<int, std::string> panel;
    const auto identity = LastEntry(lines, "LBIDRQ");
    const auto fiscal = LastEntry(lines, "LBFSTRQ");
    const auto printer = LastEntry(lines, "GetStatus_Printer");
    const auto cashRegister = LastEntry(lines, "GetStatus_CashRegister");
    if (!identity || !fiscal || !printer || !cashRegister) return panel;

    panel[kDeviceName] = TextFieldOf(*identity, "namePart1") + " " + TextFieldOf(*identity, "namePart2");
    panel[kUniqueNumber] = TextFieldOf(*fiscal, "uniqueNumber");
    panel[kMode] = FieldOf(*fiscal, "fiscalFlag") == "1" ? Expected(text::kFiscal) : Expected(text::kNonFiscal);
    panel[kRamResets] = FieldOf(*fiscal, "ramResets");
    panel[kLastFmWrite] = FieldOf(*fiscal, "lastFmDay") + "-" + FieldOf(*fiscal, "lastFmMonth") + "-" +
                          std::to_string(2000 + std::stoi("0" + FieldOf(*fiscal, "lastFmYear")));
    for (std::size_t i = 0; i < std::size(kMainRates); ++i) {
        const std::string rate = TextFieldOf(*fiscal, "ptuRate[" + std::to_string(i) + "]");
        panel[kMainRates[i]] = rate == "100.00" ? Expected(text::kRateExempt)
                           : rate == "101.00" ? Expected(text::kRateInactive)
                                              : rate;
    }
    panel[kReceipts] = FieldOf(*fiscal, "receiptCount");
    panel[kOnl] = FieldOf(*printer, "onl");
    panel[kPe] = FieldOf(*printer, "pe");
    panel[kErr] = FieldOf(*printer, "err");
    panel[kFsk] = FieldOf(*cashRegister, "fsk");
    panel[kCmd] = FieldOf(*cashRegister, "cmd");
    panel[kPar] = FieldOf(*cashRegister, "par");
    panel[kTrf] = FieldOf(*cashRegister, "trf");
    return panel;
}

// Connects to an answering printer and checks that it worked.
void ConnectOnline(Session& session)
{
    session.Click(kConnect);
    const auto boxes = session.run.MessageBoxes();
    ASSERT_TRUE(boxes.empty()) << Describe(boxes);
    ASSERT_TRUE(EnabledButtonsAre(session.main, AllButtonsSet()));
}

// --- Start-up ----------------------------------------------------------------

TEST(StartUp, WithoutTheLibraryOneMessageThenTheMainWindow)
{
    TestFolder folder(Library::Missing);
    ProgramRun run(folder);

    const auto box = run.WaitForMessageBox();
    ASSERT_TRUE(box) << "no message box appeared";
    EXPECT_FALSE(run.MainWindow()) << "the main window came before the message";
    AnswerMessageBox(run, {.text = Expected(text::kNoLibrary), .caption = Expected(text::kNoLibraryCaption)});

    const Window main = run.WaitForMainWindow();
    ASSERT_TRUE(main) << "the main window did not appear";
    EXPECT_TRUE(run.Settle());
    EXPECT_TRUE(run.MessageBoxes().empty()) << Describe(run.MessageBoxes());
    EXPECT_TRUE(EnabledButtonsAre(main, kIdleButtons));

    // Connect names the missing library, not the port; nothing is called.
    run.ClickMain(kConnect);
    AnswerMessageBox(run, {.text = Expected(text::kNoLibrary), .owner = main.Handle(), .icon = BoxIcon::Exclamation});
    EXPECT_TRUE(EnabledButtonsAre(main, kIdleButtons));
    EXPECT_TRUE(PanelIsEmpty(main));
}

TEST(StartUp, LibraryWithoutLbfstrq24ShowsNoMessageAndConnects)
{
    Session session(Library::WithoutLbfstrq24);
    EXPECT_TRUE(session.run.Settle());
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());

    ConnectOnline(session);
    EXPECT_TRUE(JournalMatches(session.folder.Journal(), OnlineConnectJournal()));
    EXPECT_EQ(PanelTexts(session.main), PanelFromJournal(session.folder.Journal()));
}

TEST(StartUp, MainWindowStartsIdleWithoutCallingTheLibrary)
{
    Session session(Library::Full);
    EXPECT_TRUE(session.run.Settle());
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_TRUE(EnabledButtonsAre(session.main, kIdleButtons));
    EXPECT_TRUE(PanelIsEmpty(session.main));
    EXPECT_EQ(session.main.Item(kPort).Text(), "com1");
    EXPECT_TRUE(session.folder.Journal().empty()) << "start-up called the library";
}

TEST(StartUp, MainWindowShowsTheDesignedTextsWithPolishLetters)
{
    Session session(Library::Full);
    EXPECT_EQ(session.main.Text(), "TALMIR POLSKA");
    const std::map<int, std::string> expected = {
        {kConnect, "Połąc&z"},
        {kDisconnect, "Rozłą&cz"},
        {Page("clock"), "Programowanie ze&gara"},
        {Page("header"), "Programowanie &nagłówka"},
        {Page("rates"), "Zmiana stawek &PTU"},
        {Page("fiscal"), "&Fiskalizacja"},
        {Page("display"), "Obsługa &wyświetlacza"},
        {Page("reports"), "&Raporty"},
        {Page("goods"), "Kontrola &bazy danych"},
        {Page("service"), "Przegląd &serwisowy"},
        {Page("sale"), "Sprzedaż &kontrolna"},
        {kExit, "Kon&iec"},
        {kRefresh, "&Odśwież"},
        {kAbout, "O programie..."},
        {IDC_MAIN_DEVICE_NAME_LABEL, "Nazwa urządzenia:"},
        {IDC_MAIN_RAM_RESETS_LABEL, "Ilość zerowań RAM:"},
        {IDC_MAIN_RECEIPTS_LABEL, "Ilość paragonów:"},
    };
    std::map<int, std::string> shown;
    for (const auto& [id, text] : expected) shown[id] = session.main.Item(id).Text();
    EXPECT_EQ(shown, expected);

    // The port list: the six ports, in order.
    const HWND combo = session.main.Item(kPort).Handle();
    std::vector<std::string> ports;
    DWORD_PTR count = 0;
    ASSERT_TRUE(SendMessageTimeoutW(combo, CB_GETCOUNT, 0, 0, SMTO_NORMAL, 5000, &count));
    for (WPARAM i = 0; i < count; ++i) {
        wchar_t item[64] = {};
        DWORD_PTR length = 0;
        SendMessageTimeoutW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item), SMTO_NORMAL, 5000, &length);
        ports.push_back(Utf8FromWide(item));
    }
    EXPECT_EQ(ports, (std::vector<std::string>{"com1", "com2", "com3", "com4", "com5", "com6"}));
    // The focus starts on "Połąc&z".
    EXPECT_EQ(session.run.Focus().Handle(), session.main.Item(kConnect).Handle());
}

// --- Connect -------------------------------------------------------------------

TEST(Connect, OnlinePrinterFillsThePanelAndLampsAndEnablesEveryButton)
{
    struct Case {
        const char* name;
        const char* config;
        const char* deviceName;
        const char* mode; // UTF-8
    };
    const Case cases[] = {
        {"defaults", "", "TALMIR Serwis", "Niefiskalny"},
        // The simulated printer's texts are Windows-1250, like the real one's.
        {"fiscal printer", kPolishDeviceName.c_str(), "Drukarka Łódź", "Fiskalny"},
        {"empty second name part", "device_name = TALMIR|\n", "TALMIR ", "Niefiskalny"},
        // Their results are not looked at: no message, no ErrorMessage call.
        {"LBSERM and Send_BEL fail", "result.LBSERM = -5\nresult.Send_BEL = 0xE0000001\n", "TALMIR Serwis",
         "Niefiskalny"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session session(Library::Full, c.config);
        ConnectOnline(session);
        if (HasFatalFailure()) return;

        const auto journal = session.folder.Journal();
        EXPECT_TRUE(JournalMatches(journal, OnlineConnectJournal()));
        const auto panel = PanelTexts(session.main);
        EXPECT_EQ(panel, PanelFromJournal(journal));
        EXPECT_EQ(panel.at(kDeviceName), c.deviceName);
        EXPECT_EQ(panel.at(kMode), c.mode);
        EXPECT_EQ(panel.at(kOnl), "1");
    }
}

// Distinct values in every lamp, so that a lamp showing another field is seen.
TEST(Connect, LampValuesComeFromTheirOwnFields)
{
    Session session(Library::Full, "pe = 5\nerr = 6\nfsk = 7\ncmd = 8\ntransaction = 1\ntrf = 3\n");
    ConnectOnline(session);
    if (HasFatalFailure()) return;
    const auto panel = PanelTexts(session.main);
    const std::map<int, std::string> lamps = {{kOnl, panel.at(kOnl)}, {kPe, panel.at(kPe)}, {kErr, panel.at(kErr)},
                                              {kFsk, panel.at(kFsk)}, {kCmd, panel.at(kCmd)}, {kPar, panel.at(kPar)},
                                              {kTrf, panel.at(kTrf)}};
    const std::map<int, std::string> expected = {{kOnl, "1"}, {kPe, "5"}, {kErr, "6"}, {kFsk, "7"},
                                                 {kCmd, "8"}, {kPar, "1"}, {kTrf, "3"}};
    EXPECT_EQ(lamps, expected);
}

TEST(Connect, ExemptAndInactiveRatesAreNamed)
{
    Session session(Library::Full);
    ConnectOnline(session);
    if (HasFatalFailure()) return;
    const auto panel = PanelTexts(session.main);
    std::multiset<std::string> rates;
    for (int id : kMainRates) rates.insert(panel.at(id));
    EXPECT_GE(rates.count(Expected(text::kRateExempt)), 1u) << "the simulated printer has an exempt rate";
    EXPECT_GE(rates.count(Expected(text::kRateInactive)), 1u) << "the simulated printer has an inactive rate";
}

TEST(Connect, UnfilledRecordsShowThePresets)
{
    Session session(Library::Full, "unfilled = LBIDRQ,LBFSTRQ\ncash_register = fail\n");
    ConnectOnline(session);
    if (HasFatalFailure()) return;
    std::map<int, std::string> expected = {
        {kDeviceName, " "}, {kUniqueNumber, "0"}, {kMode, "Niefiskalny"}, {kRamResets, "0"},
        {kLastFmWrite, "0-0-2000"}, {kReceipts, "0"}, {kOnl, "1"}, {kPe, "0"}, {kErr, "0"},
        {kFsk, "9"}, {kCmd, "9"}, {kPar, "9"}, {kTrf, "9"},
    };
    for (int id : kMainRates) expected[id] = "0";
    EXPECT_EQ(PanelTexts(session.main), expected);
}

TEST(Connect, NullTextsFromTheLibraryAreShownAsEmptyOrPresetTexts)
{
    Session session(Library::Full, "null_texts = LBIDRQ,LBFSTRQ\n");
    ConnectOnline(session);
    if (HasFatalFailure()) return;
    EXPECT_TRUE(session.run.Running());
    const auto panel = PanelTexts(session.main);
    EXPECT_EQ(panel.at(kDeviceName), " ");
    for (int id : kMainRates) EXPECT_EQ(panel.at(id), "0") << "rate field " << id;
    EXPECT_EQ(panel.at(kUniqueNumber), "0");
}

TEST(Connect, OfflinePrinterKeepsThePortOpenAndTheOnlineButtonsDisabled)
{
    Session session(Library::Full, "online = 0\n");
    ExpectConnectRefused(session, Expected(text::kPrinterOffline),
                         {
                             "Port_Close",
                             "Port_Open port=\"com1\" baud=9600 result=0",
                             "GetStatus_Printer onl=0",
                             "GetStatus_Printer onl=0",
                         });
}

TEST(Connect, NoAnswerClosesThePort)
{
    for (const char* online : {"none", "2", "9", "-1"}) {
        SCOPED_TRACE(std::string("online = ") + online);
        Session session(Library::Full, std::string("online = ") + online + "\n");
        ExpectConnectRefused(session, Expected(text::kPrinterNotConnected),
                             {
                                 "Port_Close",
                                 "Port_Open port=\"com1\" baud=9600 result=0",
                                 "GetStatus_Printer",
                                 "GetStatus_Printer",
                                 "Port_Close",
                             });
    }
}

TEST(Connect, PortThatFailsToOpen)
{
    Session session(Library::Full, "port_open = fail\n");
    ExpectConnectRefused(session, Expected(text::kCannotOpenPort),
                         {
                             "Port_Close",
                             "Port_Open port=\"com1\" baud=9600 result=-1",
                         });
}

TEST(Connect, OnlyTheSecondStatusAnswerCounts)
{
    struct Case {
        const char* sequence;
        enum { Connected, Offline, NoAnswer } outcome;
    };
    const Case cases[] = {
        {"0,1", Case::Connected},
        {"none,1", Case::Connected},
        {"1,0", Case::Offline},
        {"1,none", Case::NoAnswer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("online_sequence = ") + c.sequence);
        Session session(Library::Full, std::string("online_sequence = ") + c.sequence + "\n");
        session.Click(kConnect);
        switch (c.outcome) {
        case Case::Connected:
            EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
            EXPECT_TRUE(EnabledButtonsAre(session.main, AllButtonsSet()));
            EXPECT_TRUE(JournalMatches(session.folder.Journal(), OnlineConnectJournal()));
            break;
        case Case::Offline:
            AnswerMessageBox(session.run, {.text = Expected(text::kPrinterOffline), .owner = session.main.Handle()});
            EXPECT_TRUE(EnabledButtonsAre(session.main, kIdleButtons));
            break;
        case Case::NoAnswer:
            AnswerMessageBox(session.run,
                             {.text = Expected(text::kPrinterNotConnected), .owner = session.main.Handle()});
            EXPECT_TRUE(EnabledButtonsAre(session.main, kIdleButtons));
            break;
        }
    }
}

TEST(Connect, TypedPortNameGoesToTheLibraryUnchanged)
{
    struct Case {
        const char* typed;
        const char* shownAfter; // the combo box after Connect; nullptr: not checked
        bool opens;             // the simulated printer accepts com1..com256
    };
    const Case cases[] = {
        {"COM2", "com2", true},
        {"com5", "com5", true},
        {"com12", "com12", true},
        {"Com", "com1", false}, // "com1" is the first list entry beginning with it
        // An empty text selects no entry: the box shows what was used.
        {"", "", false},
        {"LPT1", "LPT1", false},
        // Wider than the box: kept whole only where the box scrolls.
        {R"(\\.\COM12)", R"(\\.\COM12)", false},
        {"COM1234567890", "COM1234567890", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("port \"") + c.typed + "\"");
        Session session(Library::Full);
        session.main.Item(kPort).SetText("");
        session.main.Item(kPort).Type(c.typed); // key by key, as the box's own limits apply
        session.Click(kConnect);
        if (!c.opens)
            AnswerMessageBox(session.run, {.text = Expected(text::kCannotOpenPort), .owner = session.main.Handle()});
        if (c.shownAfter) {
            EXPECT_EQ(session.main.Item(kPort).Text(), c.shownAfter);
        }
        const auto journal = session.folder.Journal();
        ASSERT_GE(journal.size(), 2u);
        EXPECT_EQ(JournalText(ParseJournalLine(journal[1]).Field("port").value_or("")).value_or("?"), c.typed);
        EXPECT_TRUE(JournalMatches({journal[1]}, {std::string("Port_Open baud=9600 result=") + (c.opens ? "0" : "-1")}));
        EXPECT_TRUE(EnabledButtonsAre(session.main, c.opens ? AllButtonsSet() : kIdleButtons));
    }
}

TEST(Connect, SecondConnectClosesThePortAndClearsThePanelFirst)
{
    Session session(Library::Full);
    ConnectOnline(session);
    if (HasFatalFailure()) return;
    const std::size_t first = session.JournalSize();

    // The printer goes off-line: the second Connect must leave an empty panel
    // and the on-line buttons disabled, not what the first one showed.
    session.folder.WriteSimConfig("online = 0\n");
    ExpectConnectRefused(session, Expected(text::kPrinterOffline),
                         {
                             "Port_Close",
                             "Port_Open port=\"com1\" baud=9600 result=0",
                             "GetStatus_Printer onl=0",
                             "GetStatus_Printer onl=0",
                         },
                         first);

    // And back on-line: a third Connect fills the panel again.
    session.folder.WriteSimConfig("online = 1\n");
    const std::size_t second = session.JournalSize();
    ConnectOnline(session);
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(second), OnlineConnectJournal()));
    EXPECT_EQ(PanelTexts(session.main), PanelFromJournal(session.folder.Journal()));
}

// --- Disconnect and Refresh ------------------------------------------------------

TEST(Disconnect, ClosesThePortEmptiesThePanelAndDisablesTheOnlineButtons)
{
    Session session(Library::Full);
    ConnectOnline(session);
    if (HasFatalFailure()) return;
    const std::size_t connected = session.JournalSize();

    session.Click(kDisconnect);
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(connected), {"Port_Close"}));
    EXPECT_TRUE(PanelIsEmpty(session.main));
    EXPECT_TRUE(EnabledButtonsAre(session.main, kIdleButtons));
    EXPECT_EQ(session.main.Item(kPort).Text(), "com1");
}

TEST(Refresh, WithTheCashRegisterAnswerRereadsEverything)
{
    Session session(Library::Full);
    ConnectOnline(session);
    if (HasFatalFailure()) return;
    const std::size_t connected = session.JournalSize();

    session.folder.WriteSimConfig("pe = 1\nerr = 2\ncmd = 4\ntrf = 5\ntransaction = 1\nfiscal = 1\n"
                                  "device_name = Nowa|Nazwa\n");
    session.Click(kRefresh);
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    // No on-line check: the cash register query decides.
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(connected), {
                                                                          "GetStatus_CashRegister result=0",
                                                                          "GetStatus_Printer",
                                                                          "GetStatus_CashRegister",
                                                                          "LBIDRQ",
                                                                          "LBFSTRQ",
                                                                      }));
    const auto panel = PanelTexts(session.main);
    EXPECT_EQ(panel, PanelFromJournal(session.folder.Journal()));
    EXPECT_EQ(panel.at(kDeviceName), "Nowa Nazwa");
    EXPECT_EQ(panel.at(kMode), "Fiskalny");
    EXPECT_EQ(panel.at(kPe), "1");
    EXPECT_EQ(panel.at(kCmd), "4");
    EXPECT_EQ(panel.at(kPar), "1");
    EXPECT_TRUE(EnabledButtonsAre(session.main, AllButtonsSet()));
}

TEST(Refresh, WithoutTheCashRegisterAnswerUpdatesOnlyThePrinterLamps)
{
    struct Case {
        const char* name;
        Library library;
        const char* failure;                 // makes the cash register query fail
        std::vector<std::string> journal;    // of the Refresh
    };
    const Case cases[] = {
        {"cash register fails", Library::Full, "cash_register = fail\n",
         {"GetStatus_CashRegister result=-1", "GetStatus_Printer"}},
        {"cash register error code", Library::Full, "result.GetStatus_CashRegister = 0xE0000001\n",
         {"GetStatus_CashRegister", "GetStatus_Printer"}},
        // The library has no GetStatus_CashRegister: nothing is called for it.
        {"export missing", Library::Sparse, "", {"GetStatus_Printer"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session session(c.library);
        ConnectOnline(session);
        if (HasFatalFailure()) return;
        const auto before = PanelTexts(session.main);
        const std::size_t connected = session.JournalSize();

        session.folder.WriteSimConfig(std::string(c.failure) + "pe = 1\nerr = 2\ncmd = 4\ntrf = 5\ntransaction = 1\n"
                                                               "fiscal = 1\ndevice_name = Nowa|Nazwa\n");
        session.Click(kRefresh);
        EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
        EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(connected), c.journal));

        auto expected = before;
        expected[kOnl] = "1";
        expected[kPe] = "1";
        expected[kErr] = "2";
        EXPECT_EQ(PanelTexts(session.main), expected);
        EXPECT_TRUE(EnabledButtonsAre(session.main, AllButtonsSet()));
    }
}

TEST(Connect, SparseLibraryShowsTheUnansweredCashRegisterLampsAsNine)
{
    Session session(Library::Sparse);
    ConnectOnline(session);
    if (HasFatalFailure()) return;
    // The GetStatus_CashRegister slot is empty: the Connect journal lacks it.
    auto expected = OnlineConnectJournal();
    expected.pop_back();
    EXPECT_TRUE(JournalMatches(session.folder.Journal(), expected));
    const auto panel = PanelTexts(session.main);
    for (int lamp : {kFsk, kCmd, kPar, kTrf}) EXPECT_EQ(panel.at(lamp), "9") << "lamp " << lamp;
}

// --- Pages ---------------------------------------------------------------------------

TEST(PageOpen, EveryButtonIsDisabledWhileAPageIsOpenAndEnabledAfter)
{
    Session session(Library::Full);
    ConnectOnline(session);
    if (HasFatalFailure()) return;

    // The first page button that opens a page.
    std::optional<Window> page;
    const res::PageButton* pageButton = nullptr;
    for (const res::PageButton& button : res::kMainPageButtons) {
        // Settled: a page that opens exists by now (its modal loop has run).
        session.Click(button.id);
        if (!session.run.Pages().empty()) {
            page = session.run.Pages().front();
            pageButton = &button;
            break;
        }
    }
    if (!page) GTEST_SKIP() << "no page button opens a page yet";
    SCOPED_TRACE(std::string("page ") + pageButton->name);
    ASSERT_TRUE(page->WaitVisible());

    // Pages that query the printer on opening may show a message first.
    for (const auto& box : session.run.MessageBoxes()) ADD_FAILURE() << "unexpected " << Describe({box});
    EXPECT_TRUE(EnabledButtonsAre(session.main, {}));
    EXPECT_EQ(GetWindow(page->Handle(), GW_OWNER), session.main.Handle());
    EXPECT_EQ(page->Text(), "") << "a page has no caption";
    EXPECT_EQ(GetWindowLongW(page->Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME), 0) << "a page has no frame";
    {
        // The page sits at 115, 15 dialog units in the main window's client
        // area; the Connect button (50 x 14 units at 20, 245) gives the scale.
        RECT button{};
        GetWindowRect(session.main.Item(kConnect).Handle(), &button);
        const double unitX = (button.right - button.left) / 50.0;
        const double unitY = (button.bottom - button.top) / 14.0;
        POINT client{0, 0};
        ClientToScreen(session.main.Handle(), &client);
        RECT placed{};
        GetWindowRect(page->Handle(), &placed);
        EXPECT_NEAR(placed.left - client.x, 115 * unitX, 2.0);
        EXPECT_NEAR(placed.top - client.y, 15 * unitY, 2.0);
    }
    const auto panel = PanelTexts(session.main);

    page->Item(pageButton->cancel).Click();
    EXPECT_TRUE(WaitUntil([&] { return session.run.Pages().empty(); })) << "the page did not close";
    EXPECT_TRUE(session.run.Settle());
    EXPECT_TRUE(EnabledButtonsAre(session.main, AllButtonsSet()));
    EXPECT_EQ(PanelTexts(session.main), panel) << "the panel is not refreshed after a page";
    EXPECT_EQ(session.run.Focus().Handle(), session.main.Item(pageButton->id).Handle())
        << "the keyboard is back on the button that opened the page";
}

// --- One press, one command ----------------------------------------------------------------

// A command button, where it is, and what one run of its command leaves in the journal.
struct CommandButton {
    const char* name;
    int page;          // the main-window button that opens its page; 0: a button of the main window
    int button;
    int marker;        // a control beside it that a click gives the focus
    std::size_t lines; // journal lines of one run of the command
    // The text put into the marker first (the fiscalization's NIP); when set,
    // every run is preceded by a question that the test answers Yes.
    const char* question = nullptr;
};

// What the user does after the first press, and when.
enum class SecondPress {
    WithinDoubleClickTime, // a double-click
    AfterDoubleClickTime,  // a click of its own
    WhileLibraryBoxIsUp,   // a click of its own while the library's error box waits for OK
    EnterKey,              // Enter on the keyboard while the command runs
    CloseBox,              // a click on the window's close box while the command runs
    PostedWhileLibraryBoxIsUp, // BM_CLICK, WM_COMMAND and the about box's WM_SYSCOMMAND, posted meanwhile
};

constexpr const char* kSecondPressNames[] = {
    "double-click", "two clicks apart", "a second click while the library's box is up",
    "Enter while the command runs", "a click on the close box while the command runs",
    "commands posted while the library's box is up"};

// How long library calls take: a printer answering each at once, and a slow
// one that is still busy when the second press comes. A press made once the
// program has written the command's first call to its log (just before
// making it) must come before its last call ends (an Enter is dropped before
// the library's box opens): a slow call takes 2 s, and the calls of a longer
// command share 6 s.
constexpr int kFastMs = 1;
constexpr int kSlowCallMs = 2000;
constexpr int kSlowCommandMs = 6000;

struct PressCase {
    CommandButton command;
    bool slow; // the slow printer, or one answering at once
    SecondPress second;
    std::size_t runs;     // of the command
    std::string printer;  // further settings of the simulated printer

    int CallMs() const
    {
        return slow ? std::min(kSlowCallMs, kSlowCommandMs / static_cast<int>(command.lines)) : kFastMs;
    }
};

// Where a click lands on the close box of `window`: found by asking the window
// what lies along the middle of its title bar, from the right.
POINT CloseBoxOf(const Window& window)
{
    RECT frame{};
    GetWindowRect(window.Handle(), &frame);
    const LONG y = frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (LONG x = frame.right - 1; x > frame.left; --x) {
        DWORD_PTR hit = HTNOWHERE;
        SendMessageTimeoutW(window.Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 1000, &hit);
        if (hit == HTCLOSE) return {x - GetSystemMetrics(SM_CXSIZE) / 4, y};
    }
    ADD_FAILURE() << "the window has no close box";
    return {};
}

// Moves `box` to the screen's lower right corner, off `control`, so that a
// click aimed at the control reaches it.
void MoveOff(const Window& box, const Window& control)
{
    RECT boxRect{}, controlRect{}, common{};
    GetWindowRect(box.Handle(), &boxRect);
    SetWindowPos(box.Handle(), nullptr, GetSystemMetrics(SM_CXSCREEN) - (boxRect.right - boxRect.left),
                 GetSystemMetrics(SM_CYSCREEN) - (boxRect.bottom - boxRect.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(box.Handle(), &boxRect);
    GetWindowRect(control.Handle(), &controlRect);
    ASSERT_FALSE(IntersectRect(&common, &boxRect, &controlRect)) << "the box covers the control";
}

// Presses the command's button twice with the mouse, real input through the
// system's queue. With a slow printer the second press comes while the
// command runs; with a fast one after it has finished.
void PressTwice(const PressCase& c)
{
    const bool libraryBox = c.second == SecondPress::WhileLibraryBoxIsUp || c.second == SecondPress::EnterKey ||
                            c.second == SecondPress::PostedWhileLibraryBoxIsUp;
    // The log tells when the command's first call begins: it is written before the call.
    Session session(Library::Full, {}, L"/log");
    // The fiscalization page sends on the run's serial line.
    session.main.Item(kPort).SetText(Environment().comPort);
    Window window = session.main;
    if (c.command.page) {
        ASSERT_NO_FATAL_FAILURE(pages::ConnectOnline(session));
        window = pages::OpenPage(session, c.command.page);
        ASSERT_TRUE(window) << "the page did not open";
    }
    session.folder.WriteSimConfig("delay_ms = " + std::to_string(c.CallMs()) + "\n" + c.printer);
    if (c.command.question) window.Item(c.command.marker).SetText(c.command.question);
    const std::size_t before = session.JournalSize();
    const Window button = window.Item(c.command.button);
    const DWORD doubleClickTime = GetDoubleClickTime();
    const POINT closeBox = c.second == SecondPress::CloseBox ? CloseBoxOf(window) : POINT{};
    const auto runs = std::chrono::milliseconds(c.CallMs()) * c.command.lines * 2;
    const auto logText = [&] { return session.folder.ReadFile(WideFromUtf8(Expected(text::kLogFileName))); };

    const DWORD first = GetTickCount();
    button.ClickWithMouse(first);
    // The second press comes while a slow printer is still busy with the
    // command, or once a fast one has done it (or shows its box); for a
    // command that asks first, while its question is open.
    if (c.command.question) {
        ASSERT_TRUE(session.run.WaitForMessageBox()) << "no question";
    } else if (c.slow) {
        // As soon as the first call has begun, so that the whole command's time is left for the second press.
        const std::string pressed = "(id " + std::to_string(c.command.button) + ")\r\n";
        ASSERT_TRUE(WaitUntil([&] {
            const std::string log = logText();
            const std::size_t at = log.rfind(pressed);
            return at != std::string::npos && at + pressed.size() < log.size();
        })) << "the command did not start";
    } else if (!libraryBox) {
        ASSERT_TRUE(WaitUntil([&] { return session.JournalSize() >= before + c.command.lines; }))
            << "the command did not run";
        ASSERT_TRUE(session.run.Settle());
    }
    switch (c.second) {
    case SecondPress::WithinDoubleClickTime:
        // Stamped within the double-click time of the first, however long the command took.
        button.ClickWithMouse(first + doubleClickTime / 4);
        break;
    case SecondPress::AfterDoubleClickTime:
        ASSERT_TRUE(WaitUntil([&] { return GetTickCount() - first > doubleClickTime + 50; }));
        button.ClickWithMouse();
        break;
    case SecondPress::WhileLibraryBoxIsUp: {
        const auto box = session.run.WaitForMessageBox();
        ASSERT_TRUE(box) << "the library showed no box";
        EXPECT_EQ(GetWindow(box->Handle(), GW_OWNER), window.Handle()) << "the box stays above the window";
        ASSERT_NO_FATAL_FAILURE(MoveOff(*box, button));
        // Stamped apart from the first: a click of its own, not a double-click.
        button.ClickWithMouse(first + 2 * doubleClickTime);
        break;
    }
    case SecondPress::EnterKey: PressKeyOnKeyboard(VK_RETURN); break;
    case SecondPress::CloseBox: ClickWithMouseAt(closeBox); break;
    case SecondPress::PostedWhileLibraryBoxIsUp: {
        ASSERT_TRUE(session.run.WaitForMessageBox()) << "the library showed no box";
        PostMessageW(button.Handle(), BM_CLICK, 0, 0);
        PostMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(c.command.button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button.Handle()));
        PostMessageW(session.main.Handle(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        // The box's own loop takes them before the box is answered.
        ASSERT_TRUE(session.run.Settle());
        EXPECT_TRUE(session.run.Dialogs().empty()) << "the about box opened inside the call";
        break;
    }
    }
    if (c.slow) {
        ASSERT_LT(session.JournalSize(), before + c.command.lines) << "the command ended before the second press";
    }
    if (libraryBox) {
        // A box shows once its loop finds no input waiting: what came before
        // it has been taken then, and did not answer it.
        const auto box = session.run.WaitForMessageBox(kWaitBound + runs);
        ASSERT_TRUE(box) << "the library's box did not stay open";
        box->Item(IDOK).ClickWithMouse();
        AnswerAllBoxes(session.run);
        EXPECT_EQ(session.run.Active().Handle(), window.Handle()) << "the window is not active again";
        EXPECT_EQ(session.run.Focus().Handle(), button.Handle()) << "the keyboard is not back on the button";
        // The log tells which call showed the library's own window, once the call has returned.
        WaitUntil([&] { return logText().find("] ErrorMessage result=") != std::string::npos; });
        std::istringstream log(logText());
        std::size_t errorMessages = 0, presses = 0; // a command that did not run is not written
        for (std::string line; std::getline(log, line);) {
            presses += line.ends_with("(id " + std::to_string(c.command.button) + ")\r") ? 1 : 0;
            if (line.find(" (took ") == std::string::npos) continue;
            const bool errorMessage = line.find("] ErrorMessage ") != std::string::npos;
            errorMessages += errorMessage ? 1 : 0;
            EXPECT_EQ(line.ends_with(" ms, with the library's own window)\r"), errorMessage) << line;
        }
        EXPECT_EQ(errorMessages, 1u);
        EXPECT_EQ(presses, c.runs);
    }
    if (c.command.question) {
        // The question lies over the button, its Yes where the mouse is.
        EXPECT_FALSE(WaitUntil([&] { return session.run.MessageBoxes().empty(); }, std::chrono::milliseconds(500)))
            << "the second press answered the question";
        // Every question that comes is answered Yes: each would be one run.
        while (WaitUntil([&] { return session.run.Settle(); }, kWaitBound + std::chrono::milliseconds(c.CallMs()) * 4)) {
            if (session.run.MessageBoxes().empty()) break;
            // Pressed once shown: a box just made may not have its buttons yet.
            const auto box = session.run.WaitForMessageBox();
            ASSERT_TRUE(box) << "the question did not show";
            box->Press(IDYES);
            ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->Handle()); })) << "the question stays";
        }
    }

    // Input is taken in order: once a click on the marker has moved the
    // focus, the presses before it have been taken too. It is sent once the
    // program answers again, so that it is not dropped with them. A program
    // busy in a library call does not answer the settling query, but a
    // posted query is answered before a click still queued: the runs the
    // case expects are waited for first.
    EXPECT_TRUE(WaitUntil([&] { return session.JournalSize() >= before + c.runs * c.command.lines; },
                          kWaitBound + runs));
    ASSERT_TRUE(WaitUntil([&] { return session.run.Settle(); }, kWaitBound + runs)) << "the program stays busy";
    ASSERT_TRUE(window) << "the window was closed";
    const Window marker = window.Item(c.command.marker);
    marker.ClickWithMouse();
    const auto markerHasFocus = [&] {
        const HWND focus = session.run.Focus().Handle();
        return focus == marker.Handle() || IsChild(marker.Handle(), focus);
    };
    EXPECT_TRUE(WaitUntil(markerHasFocus, kWaitBound + runs))
        << "the click on the marker was not taken; " << Describe(session.run.MessageBoxes());
    session.folder.WriteSimConfig("");
    const auto journal = session.folder.JournalFrom(before);
    std::string lines;
    for (const std::string& line : journal) lines += "\n    " + line;
    EXPECT_EQ(journal.size(), c.runs * c.command.lines)
        << "the command ran " << journal.size() / c.command.lines << " times:" << lines;
}

// A double-click runs the command once, with a printer answering at once or
// slowly; two clicks apart run it twice, unless the second comes while the
// first still runs. No click, key or close box acts while a command runs,
// nor while the library's own box waits for the user.
TEST(Presses, OnePressOneCommand)
{
    const CommandButton connect{"Połącz", 0, kConnect, kPort, OnlineConnectJournal().size()};
    const CommandButton dailyReport{"daily report", Page("reports"), IDC_REPORTS_DAILY, IDC_REPORTS_MONTH, 2};
    const CommandButton fiscalize{"Wyślij", Page("fiscal"), IDC_FISCAL_SEND, IDC_FISCAL_NIP, 2, "5260001246"};
    const CommandButton controlSale{"control sale", Page("sale"), IDC_SALE_RUN, IDC_SALE_NAME, 8};
    std::vector<PressCase> cases;
    for (const CommandButton& command : {connect, dailyReport, fiscalize, controlSale})
        for (const bool slow : {false, true})
            cases.push_back({command, slow, SecondPress::WithinDoubleClickTime, 1});
    // The second click comes once the double-click time has passed: after a
    // fast command it runs the command again; while a slow one still runs it
    // is dropped with the rest of what the user did meanwhile.
    cases.push_back({dailyReport, false, SecondPress::AfterDoubleClickTime, 2});
    cases.push_back({dailyReport, true, SecondPress::AfterDoubleClickTime, 1});
    // A failed report: the library's error box, owned by no window or by the
    // page, takes no click meant for the page, nor an Enter typed before it
    // opened (which reaches a box owned by the page).
    const CommandButton failedReport{"failed daily report", Page("reports"), IDC_REPORTS_DAILY, IDC_REPORTS_MONTH, 3};
    const std::string reportFails = "result.LBDAYREP = -25\n";
    for (const char* owner : {"none", "active"})
        cases.push_back({failedReport, false, SecondPress::WhileLibraryBoxIsUp, 1,
                         reportFails + "error_box_owner = " + owner});
    cases.push_back({failedReport, true, SecondPress::EnterKey, 1, reportFails + "error_box_owner = active"});
    // The close box pressed while Connect runs does not end the program afterwards.
    cases.push_back({connect, true, SecondPress::CloseBox, 1});
    // Commands that other programs post run no command inside a call, nor open the about box.
    cases.push_back({failedReport, false, SecondPress::PostedWhileLibraryBoxIsUp, 1,
                     reportFails + "error_box_owner = active"});
    for (const PressCase& c : cases) {
        SCOPED_TRACE(std::string(c.command.name) + ", " + kSecondPressNames[static_cast<int>(c.second)] + ", printer answering in " +
                     std::to_string(c.CallMs()) + " ms " + c.printer);
        try {
            PressTwice(c);
        } catch (const drive::Failure& failure) { // named with the case it came in
            ADD_FAILURE() << failure.what();
        }
    }
}

// --- A letter typed on a button ---------------------------------------------------------

// Without Alt, a letter typed while the keyboard is on a push button or a
// check box is no mnemonic: it presses no command button (nor the page's
// "Anuluj", where the command button has no letter), toggles nothing and
// moves the keyboard nowhere. One session, every page's command button and
// the main window's page buttons.
TEST(Presses, APlainLetterOnAButtonRunsNoCommand)
{
    struct LetterCase {
        const char* name; // what the letter would do as a mnemonic
        int page;         // 0: the main window
        int focus;        // where the keyboard is
        char letter;
    };
    const LetterCase cases[] = {
        {"header: \"p\" on a \"Podw.\" box, PROGRAMOWANIE", Page("header"), IDC_HEADER_DOUBLE1, 'p'},
        {"clock: PROGRAMOWANIE", Page("clock"), IDC_CLOCK_CANCEL, 'p'},
        {"tax rates: PROGRAMOWANIE", Page("rates"), IDC_TAX_RATES_CANCEL, 'p'},
        {"fiscalization: Wyślij", Page("fiscal"), IDC_FISCAL_CANCEL, 'w'},
        {"display: Anuluj", Page("display"), IDC_DISPLAY_CUSTOMER_SEND, 'a'},
        {"reports: Anuluj", Page("reports"), IDC_REPORTS_DAILY, 'a'},
        {"goods check, on Wydruk: Wykonaj", Page("goods"), IDC_GOODS_PRINT, 'w'},
        {"service date: PROGRAMOWANIE", Page("service"), IDC_SERVICE_CANCEL, 'p'},
        {"control sale: Wykonaj", Page("sale"), IDC_SALE_CANCEL, 'w'},
        {"main window: Programowanie zegara", 0, kDisconnect, 'g'},
        {"main window: Koniec", 0, kRefresh, 'i'},
    };
    Session session(Library::Full);
    session.main.Item(kPort).SetText(Environment().comPort);
    ASSERT_NO_FATAL_FAILURE(pages::ConnectOnline(session));
    for (const LetterCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ", letter " + c.letter);
        Window window = session.main;
        if (c.page) {
            window = pages::OpenPage(session, c.page);
            ASSERT_TRUE(window) << "the page did not open";
        }
        const Window focus = window.Item(c.focus);
        PostMessageW(window.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus.Handle()), TRUE);
        ASSERT_TRUE(session.run.Settle());
        ASSERT_EQ(session.run.Focus().Handle(), focus.Handle());
        const auto checked = [&] { return SendMessageW(focus.Handle(), BM_GETCHECK, 0, 0); };
        const LRESULT checkBefore = checked();
        const std::size_t journalBefore = session.JournalSize();

        ASSERT_NO_FATAL_FAILURE(TypeLetter(session.run, focus, c.letter));
        EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
        EXPECT_EQ(session.JournalSize(), journalBefore) << "a command ran";
        EXPECT_EQ(session.run.Pages().size(), c.page ? 1u : 0u) << "a page opened or closed";
        EXPECT_TRUE(session.main.Visible()) << "the program ended";
        EXPECT_EQ(session.run.Focus().Handle(), focus.Handle()) << "the keyboard moved";
        EXPECT_EQ(checked(), checkBefore) << "the box was toggled";

        AnswerAllBoxes(session.run);
        for (const Window& page : session.run.Pages()) page.Item(IDCANCEL).Click();
        ASSERT_TRUE(WaitUntil([&] { return session.run.Pages().empty(); })) << "the page did not close";
        ASSERT_TRUE(session.run.Settle());
    }
}

// --- The library's own windows -------------------------------------------------------------

// A hidden helper window the library makes in a report and keeps does not die
// with the page, nor counts as the library's own window. A notice it destroys
// itself finds the page taking input again when it is hidden, so that the
// system gives the activation back to the program, not to another one.
TEST(LibraryWindows, AHiddenHelperWindowOutlivesThePageAndANoticeGivesTheActivationBack)
{
    Session session(Library::Full, "helper_window = LBDAYREP\n", L"/log");
    ASSERT_NO_FATAL_FAILURE(pages::ConnectOnline(session));
    const std::size_t before = session.JournalSize();
    Window reports;
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE("reports page, round " + std::to_string(round));
        if (reports) session.run.Click(reports, IDCANCEL);
        ASSERT_TRUE(reports = pages::OpenPage(session, Page("reports"))) << Describe(session.run.MessageBoxes());
        session.run.Click(reports, IDC_REPORTS_DAILY);
    }
    session.folder.WriteSimConfig("notice.LBDAYREP = 300\n");
    session.run.Click(reports, IDC_REPORTS_DAILY);
    WaitUntil([&] { return session.JournalSize() >= before + 6; }); // the journal below tells what came
    ASSERT_TRUE(session.run.Settle()) << "the report does not end";
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before),
                               {"GetStatus_Printer result=0", "LBDAYREP result=0", "GetStatus_Printer result=0",
                                "LBDAYREP result=0", "GetStatus_Printer", "LBDAYREP notice=caller-enabled result=0"}));
    EXPECT_EQ(session.run.Active().Handle(), reports.Handle()) << "the page is not active again";
    std::istringstream log(session.folder.ReadFile(WideFromUtf8(Expected(text::kLogFileName))));
    std::vector<bool> shown;
    for (std::string line; std::getline(log, line);)
        if (line.find("] LBDAYREP result=") != std::string::npos)
            shown.push_back(line.ends_with(" ms, with the library's own window)\r"));
    EXPECT_EQ(shown, (std::vector<bool>{false, false, true})) << "which reports showed the library's own window";
}

// The program waits while any window of the library is up, whenever the
// library made it, and takes the activation back when the last one goes. The
// simulated printer records, at each moment Windows picks the window to
// activate (a window hidden) or the program must wait (one shown), whether
// the program's window took input:
// - a progress window owned by the library's hidden window, a box over it
//   answered while it stays up, then the progress window hidden, shown again
//   and destroyed;
// - a notice while the clock page reads the printer before it shows: the
//   main window, disabled by the page's modal run, takes the activation;
// - a status window shown in one report and left up: the page is not raised
//   above it, and in the next report it still takes input and has no owner.
TEST(LibraryWindows, TheProgramWaitsWhileAnyIsUpAndTakesTheActivationBack)
{
    Session session(Library::Full);
    ASSERT_NO_FATAL_FAILURE(pages::ConnectOnline(session));
    Window reports = pages::OpenPage(session, Page("reports"));
    ASSERT_TRUE(reports) << "the reports page did not open";
    std::size_t before = session.JournalSize();
    session.folder.WriteSimConfig("progress = LBDAYREP\n");
    reports.Item(IDC_REPORTS_DAILY).Click();
    const auto box = session.run.WaitForMessageBox();
    ASSERT_TRUE(box) << "the library showed no box over its progress window";
    box->Press(IDOK);
    ASSERT_TRUE(WaitUntil([&] { return session.JournalSize() >= before + 2; }) && session.run.Settle());
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before),
                               {"GetStatus_Printer", "LBDAYREP progress=disabled,enabled,disabled,enabled"}));
    EXPECT_EQ(session.run.Active().Handle(), reports.Handle()) << "the page is not active again";

    session.run.Click(reports, IDCANCEL);
    before = session.JournalSize();
    session.folder.WriteSimConfig("notice.LBSENDCK = 300\n");
    const Window clock = pages::OpenPage(session, Page("clock"));
    ASSERT_TRUE(clock) << "the clock page did not open";
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before),
                               {"GetStatus_Printer", "LBSENDCK notice=caller-enabled"}));
    EXPECT_EQ(session.run.Active().Handle(), clock.Handle()) << "the clock page is not active";
    EXPECT_FALSE(session.main.Enabled()) << "the main window takes input behind its page";

    session.run.Click(clock, IDCANCEL);
    session.folder.WriteSimConfig("status_window = LBDAYREP\n");
    ASSERT_TRUE(reports = pages::OpenPage(session, Page("reports")));
    session.run.Click(reports, IDC_REPORTS_DAILY);
    EXPECT_NE(session.run.Active().Handle(), reports.Handle()) << "the page was raised above the library's window";
    before = session.JournalSize();
    session.run.Click(reports, IDC_REPORTS_DAILY);
    EXPECT_TRUE(JournalMatches(session.folder.JournalFrom(before), {"GetStatus_Printer status_window=enabled-unowned",
                                                                    "LBDAYREP status_window=enabled-unowned"}));
}

// --- About box ----------------------------------------------------------------------------

TEST(AboutBox, OpensFromItsButtonAndTheSystemMenuWithoutDisablingButtons)
{
    for (const bool fromMenu : {false, true}) {
        SCOPED_TRACE(fromMenu ? "system menu" : "button");
        Session session(Library::Full);
        if (fromMenu) {
            PostMessageW(session.main.Handle(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
            EXPECT_TRUE(session.run.Settle());
        } else {
            session.Click(kAbout);
        }
        const auto dialogs = session.run.Dialogs();
        ASSERT_EQ(dialogs.size(), 1u);
        const Window about = dialogs.front();
        ASSERT_TRUE(about.WaitVisible());
        EXPECT_EQ(about.Text(), "O programie...");
        EXPECT_EQ(GetWindow(about.Handle(), GW_OWNER), session.main.Handle());
        EXPECT_TRUE(EnabledButtonsAre(session.main, kIdleButtons));
        EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());

        about.Item(IDC_ABOUT_OK).Click();
        EXPECT_TRUE(WaitUntil([&] { return session.run.Dialogs().empty(); })) << "the about box did not close";
        EXPECT_TRUE(session.run.Settle());
        EXPECT_TRUE(EnabledButtonsAre(session.main, kIdleButtons));
        EXPECT_TRUE(session.folder.Journal().empty()) << "the about box called the library";
    }
}

// --- Closing ----------------------------------------------------------------------------

TEST(Close, EndsTheProgramWithoutALibraryCallOrALogNotAskedFor)
{
    enum class Way { ExitButton, CloseBox, Escape };
    const std::pair<Way, const char*> ways[] = {
        {Way::ExitButton, "Kon&iec"}, {Way::CloseBox, "close box"}, {Way::Escape, "Escape key"}};
    for (const auto& [way, wayName] : ways) {
        for (const bool connected : {false, true}) {
            SCOPED_TRACE(std::string(wayName) + (connected ? ", connected" : ", idle"));
            Session session(Library::Full);
            if (connected) ConnectOnline(session);
            if (HasFatalFailure()) return;
            const auto journal = session.folder.Journal();

            switch (way) {
            case Way::ExitButton: session.main.Item(kExit).Click(); break;
            case Way::CloseBox: PostMessageW(session.main.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); break;
            case Way::Escape: session.run.Focus().PressKey(VK_ESCAPE); break;
            }
            const auto code = session.run.WaitForExit();
            ASSERT_TRUE(code) << "the program did not end; " << Describe(session.run.MessageBoxes());
            EXPECT_EQ(*code, 0u);
            EXPECT_EQ(session.folder.Journal(), journal) << "the library was called at the end";
            EXPECT_FALSE(std::filesystem::exists(session.folder.Path() / Expected(text::kLogFileName)))
                << "a log was written without /log";
        }
    }
}

// Enter with the focus in the port box: the window has no default button, so
// the dialog manager sends the OK command, which ends nothing.
TEST(Enter, InThePortBoxLeavesTheProgramRunning)
{
    Session session(Library::Full);
    const Window combo = session.main.Item(IDC_MAIN_PORT);
    const Window edit(FindWindowExW(combo.Handle(), nullptr, L"Edit", nullptr));
    ASSERT_TRUE(edit);
    PostMessageW(session.main.Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(combo.Handle()), TRUE);
    ASSERT_TRUE(session.run.Settle());
    ASSERT_EQ(session.run.Focus().Handle(), edit.Handle());

    const std::size_t before = session.JournalSize();
    edit.PressKey(VK_RETURN);
    ASSERT_TRUE(session.run.Settle());
    EXPECT_TRUE(session.main.Visible());
    EXPECT_FALSE(session.run.WaitForExit(std::chrono::milliseconds(500))) << "the program ended";
    EXPECT_TRUE(session.run.MessageBoxes().empty()) << Describe(session.run.MessageBoxes());
    EXPECT_EQ(session.JournalSize(), before) << "nothing was called";
}

} // namespace
} // namespace qm47::e2e
