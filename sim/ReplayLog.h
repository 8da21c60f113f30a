#pragma once
// QM47's diagnostic log (QM47.log) read back, session by session and line by
// line, for a replay: the simulated printer that answers from a log
// (Replay.h) and the replay's driver both read it here. A line that cannot
// be read damages its session only: the session keeps its number and what
// was expected there, and is refused when it is asked for; the sessions
// after it read as usual.
//
// The log is Windows-1250 text with CR LF line ends. A session begins with
// `==== QM47 ` and whatever follows it (version, date, Windows, the log's
// path), at a line's start or glued to a line that a power cut or a full
// disk cut off (earlier versions began a session right after it); every
// other line is `[<n> ms] <body>`, as app/DiagnosticLog.h writes it. The
// kinds of line, their words and the quoting are app/LogFormat.h's.

#include "app/LogFormat.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim::replay {

using Kind = qm47::logformat::LineKind;

// One ` <name>=<value>` of a call line, the value as written: a number,
// `null`, or a quoted text.
struct Field {
    std::string name;
    std::string value;
    friend bool operator==(const Field&, const Field&) = default;
};

enum class InputKind : std::uint8_t { Text, Date, Check };

struct LogLine {
    int number = 0; // in the file, from 1
    Kind kind{};
    std::string body; // the line after its time stamp
    std::string exportName;     // CallSent, CallReturned, NotCalled, Fault
    std::string text;           // Message, Button, PageOpened: the text shown (bytes, decoded)
    std::string port;           // LinkSent, LinkOpenFailed
    std::string value;          // Input: the text (decoded), the date or on/off, as `input` says
    std::string caption;        // Message
    std::string answer;         // Message: OK, Yes or No
    std::vector<Field> fields;  // CallSent: as sent; CallReturned: as left (without the result)
    std::int32_t result = 0;    // CallReturned
    std::uint32_t tookMs = 0;   // CallReturned
    bool libraryWindow = false; // CallReturned
    std::uint32_t code = 0;     // Fault
    int id = 0;                 // Input, Button
    InputKind input{};          // Input
    std::string bytes;          // LinkSent
    std::size_t taken = 0;      // LinkTaken
    bool loaded = true;         // Library: false when it did not load
    std::vector<std::string> missing; // Library: the exports it lacked
};

struct Problem {
    int line = 0; // 0: the file as a whole
    std::string text;
};

struct Session {
    int number = 0;    // from 1
    int firstLine = 0; // its `==== QM47` line
    std::vector<LogLine> lines; // up to its damage, if any
    std::optional<Problem> damage; // its first line that could not be read
};

// Reads a log line by line, the sessions as they come.
class LogReader {
public:
    // One line without its CR LF; false when it could not be read: when the
    // file is no QM47 log (NotALog) or the line's session is damaged at it or
    // before it (the session's `damage`; the reading goes on at the next
    // session's first line).
    bool Read(std::string_view line);

    const std::vector<Session>& Sessions() const { return m_sessions; }
    // Why the file is not a QM47 log at all: its first line is no session's.
    const std::optional<Problem>& NotALog() const { return m_notALog; }

private:
    void StartSession();
    bool Fail(std::string text);
    bool Accept(LogLine line);

    std::vector<Session> m_sessions;
    std::optional<Problem> m_notALog;
    int m_number = 0;
    std::optional<std::size_t> m_pendingCall; // a sent call's place in the session, until its end
    bool m_faulted = false;                   // a fault ended the session's calls
    bool m_ended = false;                     // `==== end of session` was read
};

struct Log {
    std::vector<Session> sessions;
    std::optional<Problem> problem; // the file as a whole cannot be read
};

// The whole file: checked first for what is not a QM47 log as written (no
// first line of a session, LF line ends, UTF-16 or UTF-8 text), then read.
Log ReadLog(std::string_view bytes);

// Session `number` (from 1; 0 for the last one), or why there is none: it is
// not in the log, or it is damaged (then `why` names the damaged line).
const Session* FindSession(const Log& log, int number, Problem& why);

using qm47::logformat::TakeQuoted;

// The field of `fields` called `name`, or null.
const Field* FindField(const std::vector<Field>& fields, std::string_view name);

// The text a replay compares of a line: the body without what is never
// compared (the time a call took, where a fault was raised); empty for the
// lines never compared (the library, the calling convention).
std::string Compared(const LogLine& line);

// Which lines of a session a replay compares, given one at a time in order:
// not those Compared leaves empty, not the input lines unless `inputs`, and
// not a `page closed` that follows no button (the page refused to open;
// later versions write none for it).
class ComparedFilter {
public:
    explicit ComparedFilter(bool inputs) : m_inputs(inputs) {}
    // The text compared of the session's next line, or nullopt.
    std::optional<std::string> operator()(const LogLine& line);

private:
    bool m_inputs;
    Kind m_lastAction = Kind::EndOfSession;
};

// The lines of `session` a replay compares (ComparedFilter), in order.
std::vector<const LogLine*> ComparedLines(const Session& session, bool inputs);

// The call still running where `session` ends: its sent line, or null.
const LogLine* CallRunningAtEnd(const Session& session);

} // namespace sim::replay
