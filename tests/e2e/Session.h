#pragma once
// A test's session with the program: its folder, the running program and its
// main window, plus what every test of the program checks on the main window
// (which buttons are enabled, the status panel, the message boxes).

#include "tests/e2e/Driver.h"

#include <array>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qm47::e2e {

// Controls of the main window.
namespace main_window {
inline constexpr int kConnect = 1000;
inline constexpr int kDisconnect = 1002;
inline constexpr int kRefresh = 1016;
inline constexpr int kExit = 2;
inline constexpr int kAbout = 3;
inline constexpr int kPort = 1076;

inline constexpr int kClockPage = 1048;
inline constexpr int kHeaderPage = 1050;
inline constexpr int kTaxRatesPage = 1049;
inline constexpr int kFiscalPage = 1057;
inline constexpr int kDisplayPage = 1051;
inline constexpr int kReportsPage = 1052;
inline constexpr int kGoodsCheckPage = 1053;
inline constexpr int kServiceDatePage = 1055;
inline constexpr int kControlSalePage = 1056;
inline constexpr std::array kPageButtons = {kClockPage,   kHeaderPage,      kTaxRatesPage,
                                            kFiscalPage,  kDisplayPage,     kReportsPage,
                                            kGoodsCheckPage, kServiceDatePage, kControlSalePage};

// Status panel values.
inline constexpr int kDeviceName = 1045;
inline constexpr int kUniqueNumber = 1043;
inline constexpr int kMode = 1018;
inline constexpr int kRamResets = 1021;
inline constexpr int kLastFmWrite = 1023;
inline constexpr std::array kRates = {1025, 1026, 1028, 1032, 1034, 1036, 1038}; // A to G
inline constexpr int kReceipts = 1041;
// Lamps.
inline constexpr int kFsk = 1004;
inline constexpr int kCmd = 1005;
inline constexpr int kPar = 1006;
inline constexpr int kTrf = 1007;
inline constexpr int kOnl = 1008;
inline constexpr int kPe = 1009;
inline constexpr int kErr = 1010;

// The 13 status fields and the 7 lamps.
std::vector<int> PanelFields();
std::vector<int> AllButtons();
} // namespace main_window

inline constexpr std::string_view kAppCaption = "QM47";

// A fresh folder with the program and the chosen library (and qm47sim.ini
// when `simConfig` is not empty), the program started and its main window
// shown. Throws when the window does not appear.
class Session {
public:
    explicit Session(Library library, std::string_view simConfig = {});

    TestFolder folder;
    ProgramRun run;
    Window main;

    // Clicks a main-window button and waits until the click has been handled.
    void Click(int id) { run.ClickMain(id); }
    std::size_t JournalSize() const { return folder.Journal().size(); }
};

// The id -> text of the status panel and lamps.
std::map<int, std::string> PanelTexts(const Window& main);

// Whether exactly `enabled` of the main window's buttons are enabled.
::testing::AssertionResult EnabledButtonsAre(const Window& main, const std::set<int>& enabled);

// Whether every field of the status panel and every lamp is empty.
::testing::AssertionResult PanelIsEmpty(const Window& main);

// What a message box is expected to show.
struct ExpectedBox {
    std::string text;                       // UTF-8
    std::string caption = std::string(kAppCaption);
    HWND owner = nullptr;                   // the owner window
    BoxIcon icon = BoxIcon::None;
};

// Waits for the one message box, checks it against `expected` and answers
// it with `answer`; the program is then settled. Fails (non-fatally) when no
// box or another box appears.
void AnswerMessageBox(ProgramRun& run, const ExpectedBox& expected, int answer = IDOK);

} // namespace qm47::e2e
