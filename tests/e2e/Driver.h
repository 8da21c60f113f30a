#pragma once
// What the end-to-end tests add to driving QM47.exe from outside
// (tools/drive/Drive.h): a fresh working folder per test with the program and
// the simulated printer, the serial lines, and the simulated printer's journal.
//
// Every wait is a bounded poll. Texts read from windows are compared as UTF-8;
// expected fixed texts are Windows-1250 bytes (res/Texts.h) and go through
// Utf8FromCp1250.

#include "tools/drive/Drive.h"

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
using drive::BoxIcon;
using drive::ClickWithMouseAt;
using drive::Describe;
using drive::kMessageBoxTextId;
using drive::kPollStep;
using drive::kWaitBound;
using drive::MessageBoxWindow;
using drive::Name;
using drive::PressKeyOnKeyboard;
using drive::Utf8FromCp1250;
using drive::Utf8FromWide;
using drive::WaitUntil;
using drive::WideFromUtf8;
using drive::Window;

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
    bool i386Emulated = false;      // 32-bit programs run under an i386 emulator (QM47_I386_EMULATED=1)
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

// A program run: QM47.exe started in a test folder and ended again with the test.
class ProgramRun : public drive::Program {
public:
    explicit ProgramRun(const TestFolder& folder, std::wstring_view arguments = {})
        : Program(folder.Program(), folder.Path(), arguments)
    {
    }
};

} // namespace qm47::e2e
