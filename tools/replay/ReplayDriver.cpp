// Plays a technician's session back from QM47's diagnostic log
// (scripts/replay.sh runs it under Wine): QM47.exe, started with /log beside
// the simulated printer that answers from the same log (sim/AnswersFromLog.h), is
// driven from the log's action lines as the technician drove it, and the log
// it writes is compared with the technician's, line by line.
//
//     ReplayDriver.exe FOLDER LOG --sim=DIR --exports=DIR [--session=N]
//                      [--mapped=COM3,...] [--line=FILE] [--timing] [--watch] [--pause-ms=N]
//
// FOLDER holds QM47.exe. The driver puts beside it a copy of the log, the
// simulated printer of DIR that lacks the exports the log's library lacked
// (DIR/variants/<name>, whose exports exports/<name>.def lists; none where
// the library did not load) and its qm47sim.ini. Every COM port the
// session's Port_Open and serial link lines name must be mapped to the
// replay's pty, whose bytes FILE receives: a port not among --mapped is
// printed as `replay: port <COMn> to map` and the driver ends with exit code
// 3, for the caller to map it and start the driver again.
//
// Before each `button` line the logged inputs are set in the window that has
// the button, then the button is pressed; each box of the program is
// answered with the logged button once its text is checked; the simulated
// printer's own boxes are closed with OK; the program settles before the
// next press. The fiscalization's bytes on the serial line are compared with
// the logged ones. The report ends with the first difference (both lines and
// the log's line number). Exit code 0: everything agreed; 1: a difference;
// 2: the log cannot be replayed (a bad log, a library no simulated printer
// imitates, a step that is not reproducible or needs values the log lacks);
// 3: ports to map (above).

#include "res/ControlLists.h"
#include "res/ResourceIds.h"
#include "sim/ErrorCodes.h"
#include "sim/ExportNames.h"
#include "sim/ReplayLog.h"
#include "tools/drive/Drive.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace qm47::drive;
using namespace sim::replay;
namespace fs = std::filesystem;

constexpr int kReplayed = 0, kDiffers = 1, kNotReplayable = 2;
constexpr const char* kSessionNumberNeeded = "--session needs a session number, from 1";
constexpr auto kStartBound = 60s;

// Ends the replay with its exit code and the report's last lines.
struct Stop {
    int code;
    std::string text;
};

std::string ReadBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Say(const std::string& text)
{
    std::printf("replay: %s\n", text.c_str());
    std::fflush(stdout);
}

// A log line for the report: its number and its text (UTF-8).
std::string Quote(const LogLine& line)
{
    return "line " + std::to_string(line.number) + ": " + Utf8FromCp1250(line.body);
}

// The report of the first difference: the technician's log's line and what
// the replay did there instead.
Stop FirstDifference(const LogLine& logged, const std::string& replayed)
{
    return Stop{kDiffers, "first difference at line " + std::to_string(logged.number) + " of the log\n  the log:    " +
                              Utf8FromCp1250(logged.body) + "\n  the replay: " + replayed};
}

const Session& ChosenSession(const Log& log, int number)
{
    if (log.problem)
        throw Stop{kNotReplayable, "the log cannot be read" +
                                       (log.problem->line > 0 ? " at line " + std::to_string(log.problem->line) : "") +
                                       ": " + Utf8FromCp1250(log.problem->text)};
    Problem why;
    const Session* session = FindSession(log, number, why);
    if (!session) throw Stop{kNotReplayable, Utf8FromCp1250(why.text)};
    return *session;
}

std::string Hex(std::string_view bytes)
{
    std::string text;
    char byte[4];
    for (const char c : bytes) {
        std::snprintf(byte, sizeof byte, "%s%02X", text.empty() ? "" : " ", static_cast<unsigned char>(c));
        text += byte;
    }
    return text;
}

// --- the replay's folder ---------------------------------------------------------

// The port a `Port_Open` line opens, or nullopt for another line.
std::optional<std::string> OpenedPort(const LogLine& line)
{
    const Field* port = line.kind == Kind::CallSent && line.exportName == "Port_Open" ? FindField(line.fields, "port") : nullptr;
    std::string_view quoted = port ? std::string_view(port->value) : std::string_view();
    return TakeQuoted(quoted);
}

// `COM7` for a port Wine can map (`com7`, `\\.\COM7`), else empty.
std::string MappablePort(std::string name)
{
    if (name.starts_with("\\\\.\\")) name.erase(0, 4);
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name.size() < 4 || !name.starts_with("COM") || name[3] == '0') return {};
    if (!std::all_of(name.begin() + 3, name.end(), [](char c) { return c >= '0' && c <= '9'; })) return {};
    return name;
}

// The exports a .def file lists (`;` starts a comment).
std::set<std::string> DefExports(const fs::path& file)
{
    std::ifstream in(file);
    std::set<std::string> names;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line.substr(0, line.find(';')));
        for (std::string word; words >> word;)
            if (sim::IsExportName(word)) names.insert(word);
    }
    return names;
}

// The folder under `simDir` of the simulated printer that lacks exactly
// `missing`: `.` or `variants/<name>` (its export list is exports/<name>.def).
std::string LibraryLacking(const std::vector<std::string>& missing, const fs::path& simDir, const fs::path& exportsDir)
{
    const std::set<std::string> wanted(missing.begin(), missing.end());
    if (wanted.empty()) return ".";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(simDir / "variants", error)) {
        std::set<std::string> lacks;
        const std::set<std::string> has = DefExports(exportsDir / (entry.path().filename().string() + ".def"));
        for (const std::string_view name : sim::kExportNames)
            if (!has.contains(std::string(name))) lacks.insert(std::string(name));
        if (lacks == wanted) return "variants/" + entry.path().filename().string();
    }
    std::string list;
    for (const std::string& name : missing) list += (list.empty() ? "" : ", ") + name;
    throw Stop{kNotReplayable, "the technician's library lacked " + list +
                                   ": no simulated printer lacks the same exports, so the calls would differ"};
}

struct Arguments {
    std::vector<std::wstring> words;
    int session = 0;
    bool watch = false;
    bool timing = false;
    int pauseMs = 1500;
    std::optional<fs::path> line, sim, exports;
    std::set<std::string> mapped;
};

constexpr int kPortsToMap = 3;

// Sets the replay's folder up for `session` of `logFile`: the log, the
// simulated printer and its settings beside QM47.exe. The exit code instead
// where a port is still to be mapped.
std::optional<int> Prepare(const fs::path& folder, const fs::path& logFile, const Session& session,
                           const Arguments& arguments)
{
    std::set<std::string> ports;
    std::string library = ".";
    for (const LogLine& line : session.lines) {
        const bool link = line.kind == Kind::LinkSent || line.kind == Kind::LinkOpenFailed;
        const std::string port = MappablePort(link ? line.port : OpenedPort(line).value_or(""));
        if (!port.empty() && !arguments.mapped.contains(port)) ports.insert(port);
        if (line.kind == Kind::Library)
            library = line.loaded ? LibraryLacking(line.missing, *arguments.sim, *arguments.exports) : "";
    }
    for (const std::string& port : ports) Say("port " + port + " to map");
    if (!ports.empty()) return kPortsToMap;
    const auto overwrite = fs::copy_options::overwrite_existing;
    if (!library.empty())
        fs::copy_file(*arguments.sim / library / "VaronelServiceLibrary.dll", folder / "VaronelServiceLibrary.dll",
                      overwrite);
    fs::copy_file(logFile, folder / "replayed.log", overwrite);
    std::ofstream(folder / "qm47sim.ini", std::ios::binary)
        << "replay = replayed.log\r\nreplay.session = " << session.number << "\r\nreplay.timing = "
        << (arguments.timing ? 1 : 0) << "\r\nerror_box = 0\r\n";
    return std::nullopt;
}

// --- run -----------------------------------------------------------------------

// One press of the session: the inputs logged before its button, and the
// lines up to the next press.
struct Step {
    std::vector<const LogLine*> inputs;
    const LogLine* button = nullptr; // null: the program's start
    std::size_t first = 0;           // the step's lines in the session: [first, end)
    std::size_t end = 0;
};

std::vector<Step> Steps(const Session& session)
{
    std::vector<Step> steps(1);
    const auto& lines = session.lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != Kind::Input && lines[i].kind != Kind::Button) continue;
        if (lines[i].kind == Kind::Input && i > 0 && lines[i - 1].kind == Kind::Input) continue;
        steps.back().end = i;
        Step step;
        step.first = i;
        while (lines[i].kind == Kind::Input && i + 1 < lines.size()) step.inputs.push_back(&lines[i++]);
        if (lines[i].kind != Kind::Button)
            throw Stop{kNotReplayable, Quote(lines[i]) + ": expected the button the inputs before it belong to"};
        step.button = &lines[i];
        steps.push_back(step);
    }
    steps.back().end = lines.size();
    return steps;
}

// The session played back: QM47.exe driven press by press from the log's
// actions, its own new log compared with the technician's as it goes.
class Playback {
public:
    Playback(const Session& session, const fs::path& folder, std::optional<fs::path> lineFile, bool watch,
             int pauseMs)
        : m_session(session),
          m_folder(folder),
          m_lineFile(std::move(lineFile)),
          m_watch(watch),
          m_pauseMs(pauseMs),
          m_inputs(std::any_of(session.lines.begin(), session.lines.end(),
                               [](const LogLine& line) { return line.kind == Kind::Input; })),
          m_logged(ComparedLines(session, m_inputs)),
          m_sessionEnds(std::any_of(session.lines.begin(), session.lines.end(),
                                    [](const LogLine& line) {
                                        return line.kind == Kind::EndOfSession || line.kind == Kind::Fault;
                                    })),
          m_writtenFilter(m_inputs)
    {
        for (const LogLine* line : m_logged) m_loggedTexts.push_back(Compared(*line));
        m_comparable = m_logged.size();
    }

    int Run()
    {
        const auto started = std::chrono::steady_clock::now();
        Program program(m_folder / L"QM47.exe", m_folder, L"/log");
        m_program = &program;
        int code = kReplayed;
        std::string verdict;
        try {
            const std::vector<Step> steps = Steps(m_session);
            for (const Step& step : steps) Play(step);
            verdict = Finish();
        } catch (const Stop& stop) {
            code = stop.code;
            verdict = stop.text;
        }
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f s",
                      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        Say(std::to_string(m_calls) + " calls, " + std::to_string(m_boxes) + " boxes of the program, " +
            std::to_string(m_libraryBoxes) + " of the library and " + std::to_string(m_bytes) +
            " bytes on the serial line replayed in " + seconds);
        Say(verdict);
        if (m_watch && program.Running()) {
            Say("the program stays open: close it to end the replay");
            program.WaitForExit(std::chrono::hours(24));
        }
        m_program = nullptr;
        return code;
    }

private:
    // --- one step --------------------------------------------------------------

    void Play(const Step& step)
    {
        const std::size_t lineBytes = LineBytes();
        if (!step.button) {
            // The start, slower than any step on a busy machine (Wine starts
            // its services with the first program); boxes before the main
            // window (no library, say).
            const auto deadline = std::chrono::steady_clock::now() + kStartBound;
            while (!m_program->WaitForMainWindow(kPollStep) && m_program->Running() &&
                   std::chrono::steady_clock::now() < deadline)
                AnswerBox(step, step.end);
            if (!m_program->MainWindow()) throw Stop{kDiffers, Differs(step, "the main window did not appear")};
        } else {
            if (m_watch) Sleep(static_cast<DWORD>(m_pauseMs));
            Press(step);
        }
        AnswerBoxes(step, step.end);
        const std::size_t end = std::min(NotReproducible(step), PendingMessage(step.end));
        const bool notReproducible = end < step.end && m_session.lines[end].kind != Kind::Message;
        if (notReproducible) m_comparable = LoggedBefore(end);
        Compare(end);
        CheckLineBytes(step, end, lineBytes);
        if (notReproducible)
            throw Stop{kNotReplayable, "not reproducible (" + Quote(m_session.lines[end]) +
                                           "): the serial link's refusals, give-ups and open failures come from the "
                                           "technician's port"};
    }

    // The first line of the step the replay cannot reproduce, or its end.
    std::size_t NotReproducible(const Step& step) const
    {
        for (std::size_t i = step.first; i < step.end; ++i) {
            const Kind kind = m_session.lines[i].kind;
            if (kind == Kind::LinkRefused || kind == Kind::LinkOpenFailed) return i;
        }
        return step.end;
    }

    // The program's window whose button `id` can be pressed now (the ids of
    // different windows overlap): a visible, enabled dialog with the button
    // visible and enabled, a page or the about box before the main window.
    Window Target(int id) const
    {
        Window found;
        WaitUntil([&] {
            for (HWND handle : m_program->TopLevelWindows()) {
                const Window window(handle);
                const Window button = window.Item(id);
                if (!window.Visible() || !window.Enabled() || !button.Visible() || !button.Enabled()) continue;
                if (!found || found.Handle() == m_program->MainWindow().Handle()) found = window;
            }
            return static_cast<bool>(found);
        });
        return found;
    }

    void Press(const Step& step)
    {
        const LogLine& button = *step.button;
        const Window window = Target(button.id);
        if (!window) throw Stop{kDiffers, Differs(step, "no window of the program offers this button to press")};
        const bool main = window.Handle() == m_program->MainWindow().Handle();
        if (step.inputs.empty() && NeedsValues(window, button.id, main)) {
            if (!m_watch)
                throw Stop{kNotReplayable, Quote(button) + ": the page needs values the log does not hold (it comes "
                                                           "from a version that did not log them); replay with --watch "
                                                           "and enter them"};
            Say(Quote(button) + ": enter the values and press the button; waiting for it");
            const std::size_t before = ComparedSoFar();
            WaitUntil([&] { return ComparedSoFar() > before || !m_program->Running(); }, std::chrono::hours(1));
            return;
        }
        if (main && step.inputs.empty() && button.id == IDC_MAIN_CONNECT) SetPortFromLog(window, button);
        // What the window's controls held at its last press needs no look.
        if (window.Handle() != m_inputWindow) m_inputsHeld.clear();
        m_inputWindow = window.Handle();
        for (const LogLine* input : step.inputs) {
            std::string& held = m_inputsHeld[input->id];
            // A box the program shows for a value (a line too long) comes
            // before the value's press in the log.
            if (held != input->body && SetInput(window, *input)) AnswerBoxes(step, step.first);
            held = input->body;
        }
        window.Item(button.id).Click();
    }

    // Whether a press in `window` reads values: a page's button other than
    // its cancel, in a page with input controls.
    static bool NeedsValues(const Window& window, int id, bool main)
    {
        if (main) return false;
        for (const qm47::res::PageButton& page : qm47::res::kMainPageButtons)
            if (page.cancel == id) return false;
        for (HWND child = GetWindow(window.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            const std::string kind = Window(child).ClassName();
            const LONG style = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
            if (kind == "Edit" || kind == "ComboBox" || kind == "SysDateTimePick32" ||
                (kind == "Button" && (style == BS_AUTOCHECKBOX || style == BS_AUTORADIOBUTTON)))
                return true;
        }
        return false;
    }

    // A log without inputs: Connect opens the port its Port_Open names.
    void SetPortFromLog(const Window& main, const LogLine& button) const
    {
        for (auto line = m_session.lines.begin() + (&button - m_session.lines.data()); line != m_session.lines.end(); ++line) {
            if (const auto port = OpenedPort(*line)) {
                main.Item(IDC_MAIN_PORT).SetText(Utf8FromCp1250(*port));
                return;
            }
        }
    }

    // Gives a control the logged value, as the technician left it: a value
    // it holds already is left alone (typing it again would tell the page
    // of a change the technician did not make). True when the page may still
    // be busy with it (a click posted, or a change it answered with a box).
    bool SetInput(const Window& window, const LogLine& input) const
    {
        const Window control = window.Item(input.id);
        if (!control) throw Stop{kDiffers, Quote(input) + ": the window has no such control"};
        DWORD_PTR reply = 0;
        if (input.input == InputKind::Text) {
            const std::wstring text = WideFromUtf8(Utf8FromCp1250(input.value));
            std::wstring held(text.size() + 2, L'\0');
            if (SendMessageTimeoutW(control.Handle(), WM_GETTEXT, held.size(), reinterpret_cast<LPARAM>(held.data()),
                                    SMTO_NORMAL, 5000, &reply) &&
                held.c_str() == text)
                return false;
            // Not waited for long: the page may answer the change with a box.
            return !SendMessageTimeoutW(control.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                        SMTO_NORMAL, 200, &reply);
        }
        if (input.input == InputKind::Date) {
            const auto part = [&](std::size_t at, std::size_t size) {
                return static_cast<WORD>(std::atoi(input.value.substr(at, size).c_str()));
            };
            if (!SetPickerDate(m_program->ProcessId(), control, part(0, 4), part(5, 2), part(8, 2)))
                throw Stop{kDiffers, Quote(input) + ": the date picker refused the date"};
            return false;
        }
        const WPARAM wanted = input.value == "on" ? BST_CHECKED : BST_UNCHECKED;
        SendMessageTimeoutW(control.Handle(), BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &reply);
        if (reply == wanted) return false;
        // A click where the technician could have clicked, so that the page
        // sees it as it saw theirs.
        if (wanted == BST_CHECKED && control.Visible() && control.Enabled()) {
            control.Click();
            return true;
        }
        SendMessageTimeoutW(control.Handle(), BM_SETCHECK, wanted, 0, SMTO_NORMAL, 5000, &reply);
        return false;
    }

    // Answers the boxes the program shows, with the logged ones before the
    // session's line `limit`, until it settles without one.
    void AnswerBoxes(const Step& step, std::size_t limit)
    {
        while (m_program->Running() && !AtTheLogsEnd()) {
            if (!m_program->MainWindow() || !m_program->Settle()) {
                m_program->WaitForExit(kWaitBound);
                if (m_program->Running()) throw Stop{kDiffers, Differs(step, "the program does not answer")};
                return;
            }
            if (m_program->MessageBoxes().empty()) return;
            AnswerBox(step, limit);
        }
    }

    void AnswerBox(const Step& step, std::size_t limit)
    {
        const auto boxes = m_program->MessageBoxes();
        if (boxes.empty()) return;
        const MessageBoxWindow& box = boxes.front();
        box.WaitVisible();
        if (box.Caption() == sim::kErrorBoxCaption) {
            box.Press(IDOK);
            ++m_libraryBoxes;
        } else {
            const LogLine* expected = NextMessage(limit);
            const std::string shown = "[" + box.Caption() + "] \"" + box.Message() + "\"";
            if (!expected) throw Stop{kDiffers, Differs(step, "the program shows a box the log does not have here: " + shown)};
            if (Utf8FromCp1250(expected->text) != box.Message() || Utf8FromCp1250(expected->caption) != box.Caption()) {
                Compare(0);
                throw FirstDifference(*expected, "the program shows the box " + shown);
            }
            box.Press(expected->answer == "Yes" ? IDYES : expected->answer == "No" ? IDNO : IDOK);
            ++m_boxes;
        }
        if (!WaitUntil([&] { return !box; })) throw Stop{kDiffers, Differs(step, "a box did not close")};
    }

    // The next logged box of the program before the session's line `limit`,
    // not answered yet.
    const LogLine* NextMessage(std::size_t limit)
    {
        for (; m_nextMessage < limit; ++m_nextMessage)
            if (m_session.lines[m_nextMessage].kind == Kind::Message) return &m_session.lines[m_nextMessage++];
        return nullptr;
    }

    // The first logged box before `end` the program has not shown yet (one it
    // shows for the next step's values), or `end`.
    std::size_t PendingMessage(std::size_t end) const
    {
        for (std::size_t i = m_nextMessage; i < end; ++i)
            if (m_session.lines[i].kind == Kind::Message) return i;
        return end;
    }

    // --- the program's own log -------------------------------------------------

    // Reads what the program's log holds now: its complete lines, the
    // compared ones' texts kept in order.
    void ReadProgramLog()
    {
        std::ifstream in(m_folder / L"QM47.log", std::ios::binary);
        in.seekg(static_cast<std::streamoff>(m_logRead));
        const std::string more{std::istreambuf_iterator<char>(in), {}};
        m_logRead += more.size();
        m_logPending += more;
        for (std::size_t end; (end = m_logPending.find("\r\n")) != std::string::npos;) {
            const std::size_t sessions = m_programLog.Sessions().size();
            if (!m_programLog.Read(std::string_view(m_logPending).substr(0, end))) {
                const Problem& problem =
                    m_programLog.NotALog() ? *m_programLog.NotALog() : *m_programLog.Sessions().back().damage;
                throw Stop{kDiffers, "the program's own log cannot be read at its line " +
                                         std::to_string(problem.line) + ": " + Utf8FromCp1250(problem.text)};
            }
            m_logPending.erase(0, end + 2);
            const Session& session = m_programLog.Sessions().back();
            if (m_programLog.Sessions().size() == sessions && !session.lines.empty())
                if (auto text = m_writtenFilter(session.lines.back())) m_written.push_back(std::move(*text));
        }
    }

    std::size_t ComparedSoFar()
    {
        ReadProgramLog();
        return m_written.size();
    }

    // Whether the program has gone as far as a session that breaks off (a
    // crash, a hang, the program ended from outside): what it does next is
    // not in the log.
    bool AtTheLogsEnd() { return !m_sessionEnds && ComparedSoFar() >= m_logged.size(); }

    // The logged lines compared before the session's line `end`.
    std::size_t LoggedBefore(std::size_t end) const
    {
        const int number = end < m_session.lines.size() ? m_session.lines[end].number : INT32_MAX;
        return static_cast<std::size_t>(std::count_if(m_logged.begin(), m_logged.end(),
                                                      [&](const LogLine* line) { return line->number < number; }));
    }

    // Compares the program's log with the technician's up to the session's
    // line `end`, waiting for the lines still to come (none for 0).
    void Compare(std::size_t end)
    {
        const std::size_t wanted = LoggedBefore(end);
        std::optional<Stop> difference;
        const auto agrees = [&] {
            ReadProgramLog();
            for (; m_agreed < m_written.size() && m_agreed < m_comparable; ++m_agreed) {
                if (m_written[m_agreed] == m_loggedTexts[m_agreed]) continue;
                difference = FirstDifference(*m_logged[m_agreed], Utf8FromCp1250(m_written[m_agreed]));
                return true;
            }
            if (m_sessionEnds && m_written.size() > m_logged.size())
                difference = Stop{kDiffers, "the technician's log ends at line " +
                                                std::to_string(m_session.lines.back().number) +
                                                "; the program wrote more: " + Utf8FromCp1250(m_written[m_logged.size()])};
            return difference.has_value() || m_agreed >= wanted;
        };
        WaitUntil(agrees, kWaitBound);
        if (difference) throw *difference;
        if (m_agreed < wanted) throw FirstDifference(*m_logged[m_agreed], "(the program wrote nothing more)");
        for (std::size_t i = m_comparedCalls; i < wanted; ++i) m_calls += m_logged[i]->kind == Kind::CallReturned ? 1 : 0;
        m_comparedCalls = std::max(m_comparedCalls, wanted);
    }

    // A difference the program showed otherwise than in its log: the log's
    // first difference if it has one, else this.
    std::string Differs(const Step& step, const std::string& what)
    {
        Compare(0);
        const LogLine& at = step.button ? *step.button : m_session.lines.empty() ? LogLine{} : m_session.lines.front();
        return "first difference after " + Quote(at) + "\n  " + what;
    }

    // --- the serial line -------------------------------------------------------

    std::size_t LineBytes() const
    {
        std::error_code error;
        return m_lineFile ? static_cast<std::size_t>(fs::file_size(*m_lineFile, error)) : 0;
    }

    // The bytes the step's fiscalization put on the serial line, as logged.
    void CheckLineBytes(const Step& step, std::size_t end, std::size_t before)
    {
        if (!m_lineFile) return;
        std::string expected;
        const LogLine* sent = nullptr;
        for (std::size_t i = step.first; i < end; ++i) {
            const LogLine& line = m_session.lines[i];
            if (line.kind == Kind::LinkSent) {
                sent = &line;
                expected += line.bytes;
            }
        }
        if (!sent) return;
        std::string got;
        WaitUntil([&] {
            got = ReadBytes(*m_lineFile);
            got = got.size() > before ? got.substr(before) : std::string();
            return got.size() >= expected.size();
        });
        if (got != expected)
            throw FirstDifference(*sent, "the serial line got " + std::to_string(got.size()) + " bytes: " + Hex(got));
        m_bytes += got.size();
    }

    // --- the end ----------------------------------------------------------------

    std::string Finish()
    {
        const auto& lines = m_session.lines;
        if (const LogLine* running = CallRunningAtEnd(m_session))
            return "everything agreed up to the log's end, " + Quote(*running) + "\n  the log ends while " +
                   running->exportName + " runs: the program did not come back from it";
        const auto fault = std::find_if(lines.begin(), lines.end(), [](const LogLine& l) { return l.kind == Kind::Fault; });
        if (fault != lines.end()) {
            const auto exit = m_program->WaitForExit();
            char code[32];
            std::snprintf(code, sizeof code, "0x%08lX", exit ? static_cast<unsigned long>(*exit) : 0ul);
            if (!exit || *exit != fault->code)
                throw Stop{kDiffers, "first difference after " + Quote(*fault) + "\n  the program " +
                                         (exit ? std::string("ended with exit code ") + code : std::string("did not end"))};
            return "everything agreed: the program ended after the library's fault, as logged";
        }
        if (!lines.empty() && lines.back().kind == Kind::EndOfSession) {
            if (!m_program->WaitForExit()) throw Stop{kDiffers, "first difference after " + Quote(lines.back()) +
                                                                    "\n  the program did not end"};
            return "everything agreed";
        }
        return "everything agreed up to the log's last line, " + std::to_string(lines.empty() ? 0 : lines.back().number) +
               ": the session ends there without \"==== end of session\" (the program was ended from outside, or crashed outside a library call)";
    }

    const Session& m_session;
    fs::path m_folder;
    std::optional<fs::path> m_lineFile;
    bool m_watch;
    int m_pauseMs;
    bool m_inputs;
    std::vector<const LogLine*> m_logged; // the lines compared
    std::vector<std::string> m_loggedTexts;  // and their texts
    bool m_sessionEnds; // with `==== end of session` or a fault, not broken off
    std::size_t m_comparable = 0; // of the lines compared: up to a line not reproducible
    Program* m_program = nullptr;

    LogReader m_programLog;
    ComparedFilter m_writtenFilter;
    std::vector<std::string> m_written; // the program's lines compared so far
    std::size_t m_agreed = 0;           // of which agree with the log's
    std::size_t m_logRead = 0;
    std::string m_logPending;

    std::size_t m_nextMessage = 0; // the session's lines before it: boxes answered or passed
    HWND m_inputWindow = nullptr;  // the window of the last press with inputs
    std::map<int, std::string> m_inputsHeld; // and what its controls held then, as logged
    std::size_t m_comparedCalls = 0;
    int m_calls = 0;
    int m_boxes = 0;
    int m_libraryBoxes = 0;
    std::size_t m_bytes = 0;
};


Arguments Parse(int argc, wchar_t** argv)
{
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        const auto value = [&](std::wstring_view name) -> std::optional<std::wstring> {
            if (!argument.starts_with(name)) return std::nullopt;
            return argument.substr(name.size());
        };
        if (argument == L"--watch") arguments.watch = true;
        else if (argument == L"--timing") arguments.timing = true;
        else if (const auto mapped = value(L"--mapped=")) {
            std::istringstream ports(Utf8FromWide(*mapped));
            for (std::string port; std::getline(ports, port, ',');) arguments.mapped.insert(port);
        }
        else if (const auto session = value(L"--session=")) {
            arguments.session = 0;
            for (const wchar_t digit : *session)
                arguments.session = digit >= L'0' && digit <= L'9' && arguments.session < 100000
                                        ? arguments.session * 10 + (digit - L'0')
                                        : -1;
            if (arguments.session < 1) throw Stop{kNotReplayable, kSessionNumberNeeded};
        }
        else if (const auto pause = value(L"--pause-ms=")) arguments.pauseMs = std::stoi(*pause);
        else if (const auto line = value(L"--line=")) arguments.line = *line;
        else if (const auto sim = value(L"--sim=")) arguments.sim = *sim;
        else if (const auto exports = value(L"--exports=")) arguments.exports = *exports;
        else if (argument.starts_with(L"--")) throw Stop{kNotReplayable, "unknown option " + Utf8FromWide(argument)};
        else arguments.words.push_back(argument);
    }
    return arguments;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    try {
        const Arguments arguments = Parse(argc, argv);
        const auto& words = arguments.words;
        if (words.size() != 2 || !arguments.sim || !arguments.exports)
            throw Stop{kNotReplayable, "usage: ReplayDriver.exe FOLDER LOG --sim=DIR --exports=DIR [--session=N] "
                                       "[--mapped=COM3,...] [--line=FILE] [--timing] [--watch] [--pause-ms=N]"};
        const Log log = ReadLog(ReadBytes(words[1]));
        const Session& session = ChosenSession(log, arguments.session);
        Say("session " + std::to_string(session.number) + " of " + std::to_string(log.sessions.size()) + ", lines " +
            std::to_string(session.firstLine) + "-" +
            std::to_string(session.lines.empty() ? session.firstLine : session.lines.back().number));
        if (const auto code = Prepare(words[0], words[1], session, arguments)) return *code;
        return Playback(session, words[0], arguments.line, arguments.watch, arguments.pauseMs).Run();
    } catch (const Stop& stop) {
        Say(stop.text);
        return stop.code;
    } catch (const std::exception& error) {
        Say(std::string("the replay failed: ") + error.what());
        return kDiffers;
    }
}
