#pragma once
// Drives QM47.exe from outside, as a user would: a fresh working folder per
// test with the program and the simulated printer, the process, its windows
// and message boxes, and the simulated printer's journal.
//
// Every wait is a bounded poll. Texts read from windows come through the wide
// API and are compared as UTF-8; expected fixed texts are Windows-1250 bytes
// (res/Texts.h) and go through Utf8FromCp1250.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm47::e2e {

using namespace std::chrono_literals;

inline constexpr auto kPollStep = 20ms;
inline constexpr auto kWaitBound = 10s;

// Polls `condition` every 20 ms until it holds (true) or `bound` passes (false).
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound = kWaitBound);

std::string Utf8FromCp1250(std::string_view bytes);
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

template <class FixedText>
std::string Expected(const FixedText& text)
{
    return Utf8FromCp1250(std::string_view(text));
}

// What the test run gives the tests (scripts/e2e.sh sets these).
struct RunEnvironment {
    std::filesystem::path buildDir; // holds QM47.exe
    // The simulated printer's folder: VaronelServiceLibrary.dll and its
    // variants/ (default <buildDir>/sim).
    std::filesystem::path simDir;
    bool program32Bit = false;      // QM47.exe is a 32-bit program
    std::filesystem::path workRoot; // the tests' working folders go below it
    std::string comPort;            // a COM port mapped to a pty, e.g. "COM3"
    std::filesystem::path lineCapture; // the bytes written to that port
    // A second COM port whose far end the tests drive (ControlLine), and the
    // bytes written to it.
    std::string controlledComPort;
    std::filesystem::path controlledLineCapture;
    std::filesystem::path lineControl; // the folder ControlLine drops its requests in
    bool keepFolders = false;       // leave the working folders in place
};
const RunEnvironment& Environment();

// Which device library sits beside the program.
enum class Library {
    Full,               // the simulated printer with all 27 exports
    WithoutLbfstrq24,   // every export but LBFSTRQ24
    Sparse,             // without LBSETCK, ErrorMessage and GetStatus_CashRegister
    Missing,            // no library at all
};

// The bytes written to the run's serial port (RunEnvironment::comPort) so far,
// as the other end of the line captured them.
std::string SerialLineBytes();
// Waits until the line holds more than `from` bytes and no more arrive for
// 200 ms; returns the bytes after the first `from`.
std::string WaitForSerialLineBytes(std::size_t from, std::chrono::milliseconds bound = kWaitBound);

// What the far end of the controlled line (RunEnvironment::controlledComPort)
// is asked to do.
enum class LineRequest {
    Xoff,      // hold the program's output, as a busy printer does
    Xon,       // release it
    HangUp,    // vanish, as a device pulled out does
    Reconnect, // come back under the same name
};
// Asks the far end and waits until the line is in that state; false when it
// did not get there in time.
bool ControlLine(LineRequest request, std::chrono::milliseconds bound = kWaitBound);
// The bytes written to the controlled line so far.
std::string ControlledLineBytes();

// One line of the simulated printer's journal:
//     EXPORT field=value ... result=code
struct JournalEntry {
    std::string line;
    std::string exportName;
    std::vector<std::pair<std::string, std::string>> fields; // in order, values as written

    // The value of `field`, if the line has it.
    std::optional<std::string> Field(std::string_view field) const;
};
JournalEntry ParseJournalLine(std::string_view line);

// The bytes of a journal text value ("..." with \xHH escapes); nullopt for
// `null` or a value that is not a text.
std::optional<std::string> JournalText(std::string_view value);

// What is wrong with the record layout verdict of a journal line, if
// anything: `layout=BAD...` anywhere; with a 32-bit program also a call with a
// record that carries no verdict (the 32-bit simulated printer checks every
// record against the documented byte layout).
std::optional<std::string> RecordLayoutProblem(const JournalEntry& entry, bool program32Bit);

// Checks `got` against `expected`, one pattern per line, same count. A pattern
// is an export name optionally followed by `field=value` pairs that the line
// must hold (other fields are not looked at), e.g.
//     "Port_Open port=\"com1\" baud=9600 result=0"
//     "GetStatus_Printer"
// On failure prints both sequences side by side.
::testing::AssertionResult JournalMatches(const std::vector<std::string>& got,
                                          const std::vector<std::string>& expected);

// A fresh working folder for the current test, holding QM47.exe, the chosen
// library and, when `simConfig` is not empty, qm47sim.ini; removed again at
// the end of the test. At the end the journal must hold no record that the
// 32-bit simulated printer found laid out otherwise than documented
// (`layout=BAD`): that fails the test whatever it checked.
class TestFolder {
public:
    explicit TestFolder(Library library, std::string_view simConfig = {});
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path Program() const { return m_path / L"QM47.exe"; }

    // Writes qm47sim.ini (the simulated printer re-reads it at every call).
    void WriteSimConfig(std::string_view text) const;

    // The journal's lines so far (none when it does not exist yet).
    std::vector<std::string> Journal() const;
    // The journal's lines after the first `from`.
    std::vector<std::string> JournalFrom(std::size_t from) const;
    // Reads a file of the folder whole (empty when it does not exist).
    std::string ReadFile(std::wstring_view name) const;

private:
    std::filesystem::path m_path;
};

// The icon a message box shows.
enum class BoxIcon { None, Information, Exclamation, Question, Error, Unknown };
const char* Name(BoxIcon icon);

// A window of the program under test, reached by handle.
class Window {
public:
    Window() = default;
    explicit Window(HWND handle) : m_handle(handle) {}

    HWND Handle() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr && IsWindow(m_handle); }

    // The child control `id` (an empty Window when there is none).
    Window Item(int id) const;
    // Its text (WM_GETTEXT), as UTF-8.
    std::string Text() const;
    std::string ClassName() const;
    bool Enabled() const;
    bool Visible() const;
    // Waits until the window is shown (a dialog shows itself once its modal
    // loop first finds no message waiting).
    bool WaitVisible(std::chrono::milliseconds bound = kWaitBound) const;

    // A user's click: posts BM_CLICK. Fails the test if the control is
    // missing, hidden or disabled, since a user could not click it then.
    void Click() const;
    // Replaces the text (WM_SETTEXT; for a combo box, its edit field).
    void SetText(std::string_view utf8) const;
    // Types characters one by one (WM_CHAR posted to the edit field), so
    // that the control's length limit applies.
    void Type(std::string_view utf8) const;
    // Presses and releases a key (WM_KEYDOWN, WM_KEYUP posted to the control).
    void PressKey(UINT virtualKey) const;

protected:
    HWND m_handle = nullptr;
};

// The id of a system message box's text static (a Windows convention; the
// program's own controls without an id carry it too).
inline constexpr int kMessageBoxTextId = 0xFFFF;

// A message box shown by the program.
class MessageBoxWindow : public Window {
public:
    using Window::Window;
    std::string Caption() const { return Text(); }
    std::string Message() const { return Item(kMessageBoxTextId).Text(); }
    BoxIcon Icon() const;
    // The texts of its push buttons, in z-order.
    std::vector<std::string> Buttons() const;
    // Presses IDOK, IDYES, IDNO or IDCANCEL.
    void Press(int buttonId) const;
};

// A program run: QM47.exe started in a test folder. The destructor makes sure
// the process is gone (closes its window; terminates it only if it hangs).
class ProgramRun {
public:
    explicit ProgramRun(const TestFolder& folder);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    DWORD ProcessId() const { return m_processId; }
    bool Running() const;
    // The exit code, once the process has ended within `bound`.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds bound = kWaitBound) const;

    // The main window ("TALMIR POLSKA"), waited for (empty on time-out).
    Window WaitForMainWindow(std::chrono::milliseconds bound = kWaitBound);
    Window MainWindow() const { return m_main; }

    // The program's top-level windows.
    std::vector<HWND> TopLevelWindows() const;
    // Message boxes now open (shown or about to be), the library's included.
    std::vector<MessageBoxWindow> MessageBoxes() const;
    // Dialogs with a caption other than the main window and message boxes
    // (the about box).
    std::vector<Window> Dialogs() const;
    // The one message box, waited for until it is shown.
    std::optional<MessageBoxWindow> WaitForMessageBox(std::chrono::milliseconds bound = kWaitBound) const;
    // Waits until no message box is open.
    bool WaitForNoMessageBox(std::chrono::milliseconds bound = kWaitBound) const;
    // The control that has the keyboard focus in the program.
    Window Focus() const;
    // Captionless dialogs owned by the main window (the pages).
    std::vector<Window> Pages() const;

    // Waits until the program has handled every message posted to it so far
    // (clicks, typed characters), or is showing a modal box raised by one.
    // Returns false on time-out.
    bool Settle(std::chrono::milliseconds bound = kWaitBound) const;

    // Clicks a control of the main window and settles.
    void ClickMain(int id) const;

private:
    PROCESS_INFORMATION m_process{};
    DWORD m_processId = 0;
    Window m_main;
};

// A short description of the open message boxes (for failure messages).
std::string Describe(const std::vector<MessageBoxWindow>& boxes);

} // namespace qm47::e2e
