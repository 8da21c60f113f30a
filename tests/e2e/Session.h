#pragma once
// A test's session with the program: its folder, the running program and its
// main window, plus what every test of the program checks on the main window
// (which buttons are enabled, the status panel, the message boxes).

#include "tests/e2e/Driver.h"

#include "res/ControlLists.h"
#include "res/ResourceIds.h"

#include <array>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qm47::e2e {

// Controls of the main window, by the names the tests use.
namespace main_window {
inline constexpr int kConnect = IDC_MAIN_CONNECT;
inline constexpr int kDisconnect = IDC_MAIN_DISCONNECT;
inline constexpr int kRefresh = IDC_MAIN_REFRESH;
inline constexpr int kExit = IDC_MAIN_EXIT;
inline constexpr int kAbout = IDC_MAIN_ABOUT;
inline constexpr int kPort = IDC_MAIN_PORT;

// The button that opens the page of the page table called `name`.
consteval int Page(std::string_view name)
{
    return res::PageCalled(name).id;
}

// Status panel values.
inline constexpr int kDeviceName = IDC_MAIN_DEVICE_NAME;
inline constexpr int kUniqueNumber = IDC_MAIN_UNIQUE_NUMBER;
inline constexpr int kMode = IDC_MAIN_MODE;
inline constexpr int kRamResets = IDC_MAIN_RAM_RESETS;
inline constexpr int kLastFmWrite = IDC_MAIN_LAST_FM_WRITE;
using res::kMainRates;
inline constexpr int kReceipts = IDC_MAIN_RECEIPTS;
// Lamps.
inline constexpr int kFsk = IDC_MAIN_FSK;
inline constexpr int kCmd = IDC_MAIN_CMD;
inline constexpr int kPar = IDC_MAIN_PAR;
inline constexpr int kTrf = IDC_MAIN_TRF;
inline constexpr int kOnl = IDC_MAIN_ONL;
inline constexpr int kPe = IDC_MAIN_PE;
inline constexpr int kErr = IDC_MAIN_ERR;

// The 13 status fields and the 7 lamps.
std::vector<int> PanelFields();
std::vector<int> AllButtons();
} // namespace main_window

inline constexpr std::string_view kAppCaption = "QM47";

// A fresh folder with the program and the chosen library (and qm47sim.ini
// when `simConfig` is not empty), the program started (with `arguments`) and
// its main window shown. Throws when the window does not appear.
class Session {
public:
    explicit Session(Library library, std::string_view simConfig = {}, std::wstring_view arguments = {});

    TestFolder folder;
    ProgramRun run;
    Window main;

    // Clicks a main-window button and waits until the click has been handled.
    void Click(int id) { run.ClickMain(id); }
    std::size_t JournalSize() const { return folder.Journal().size(); }
};

// The screen resolution Wine gives the programs started while this lives
// (it reads LogPixels as a program starts); the value before is put back.
class ScreenDpi {
public:
    explicit ScreenDpi(DWORD dpi)
    {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &m_key, nullptr);
        DWORD size = sizeof m_before;
        m_hadValue = RegQueryValueExW(m_key, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&m_before),
                                      &size) == ERROR_SUCCESS;
        RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    }
    ~ScreenDpi()
    {
        if (m_hadValue)
            RegSetValueExW(m_key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_before),
                           sizeof m_before);
        else
            RegDeleteValueW(m_key, L"LogPixels");
        RegCloseKey(m_key);
    }
    ScreenDpi(const ScreenDpi&) = delete;
    ScreenDpi& operator=(const ScreenDpi&) = delete;

private:
    HKEY m_key = nullptr;
    DWORD m_before = 0;
    bool m_hadValue = false;
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

// Answers every message box the program shows until it is settled without
// one (No where a box asks); returns "caption: text" of each.
std::vector<std::string> AnswerAllBoxes(const ProgramRun& run);

// Waits for the one message box, checks it against `expected` and answers
// it with `answer`; the program is then settled. Fails (non-fatally) when no
// box or another box appears.
void AnswerMessageBox(ProgramRun& run, const ExpectedBox& expected, int answer = IDOK);
// The same without waiting for the program to settle (a box after which it
// ends); false when no box appeared.
bool AnswerMessageBoxOnly(const ProgramRun& run, const ExpectedBox& expected, int answer = IDOK);

// Types `letter` (A to Z, either case) without Alt on `control` as a key
// press does: the program's message loop makes the character of the key
// itself. Waits until the program has handled the character too (or shows a
// box it raised); fails fatally when it does not.
void TypeLetter(const ProgramRun& run, const Window& control, char letter);

} // namespace qm47::e2e
