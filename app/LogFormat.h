#pragma once
// The diagnostic log's language (QM47.log), written once: its kinds of
// line, the words that tell them apart and its two ways of quoting a text.
// The program writes the log with them (app/DiagnosticLog.cpp,
// app/CallText.cpp); the simulated printer and the replay read it with them
// (sim/ReplayLog.cpp) and journal calls in the same form (sim/Journal.cpp),
// so the standard library is all this uses.
//
// Logs in the field are read as long as QM47 is: a change here must keep
// every file QM47 wrote readable (tests/replay/old-version.log is one).
//
// Windows-1250 text with CR LF line ends. A session's first line begins with
// kSessionStart; every other line with a stamp, the milliseconds since the
// session began, then its body:
//
//     [    2630 ms] Port_Open port="com1" baud=9600

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm47::logformat {

// What a line holds, by its body.
enum class LineKind : std::uint8_t {
    Library,        // library <path>, ...; missing exports: ...; calling convention: ...
    Convention,     // calling convention: __stdcall (...)
    CallSent,       // <EXPORT>[ <field>=<value>]...
    CallReturned,   // <EXPORT>[ <field>=<value>]... result=<n> (took <n> ms[, with the library's own window])
    NotCalled,      // <EXPORT> not called: the library has no such export
    Fault,          // fault in <EXPORT>: exception 0x<code> at ..., the program ends
    LinkSent,       // serial link "<port>" opened, sending <n> bytes: 1B 50 ...
    LinkRefused,    // serial link: byte <n> refused <n> times, ...
    LinkTaken,      // serial link: <n> of <n> bytes taken, ...
    LinkOpenFailed, // serial link "<port>": <step> failed, ...
    Message,        // message "<text>" caption "<caption>" closed by OK|Yes|No
    Input,          // input <id> "<text>" | <yyyy-mm-dd> | on | off
    Button,         // button "<text>" (id <n>)
    PageOpened,     // page "<text>"
    PageClosed,     // page closed
    EndOfSession,   // ==== end of session
};

inline constexpr std::string_view kLineEnd = "\r\n";
inline constexpr std::string_view kSessionStart = "==== QM47 ";
inline constexpr std::string_view kEndOfSession = "==== end of session";

// The stamp: "[", the milliseconds right-aligned in kStampDigits, " ms] ".
inline constexpr std::string_view kStampOpen = "[";
inline constexpr std::string_view kStampClose = " ms] ";
inline constexpr std::size_t kStampDigits = 8;
inline constexpr std::size_t kStampSize = kStampOpen.size() + kStampDigits + kStampClose.size();

inline constexpr std::string_view kLibrary = "library ";
inline constexpr std::string_view kNotLoaded = " not loaded: system error ";
inline constexpr std::string_view kMissingExports = "; missing exports: ";
inline constexpr std::string_view kNoneMissing = "none";
inline constexpr std::string_view kConvention = "calling convention: ";

// A call's lines: ` <field>=<value>` each, a value a number, kNull or a text
// quoted as Quoting::Ascii; the end's last field is kResult, then the time.
inline constexpr std::string_view kNull = "null";
inline constexpr std::string_view kResult = "result";
inline constexpr std::string_view kTook = " (took ";
inline constexpr std::string_view kTookEnd = " ms)";
inline constexpr std::string_view kTookWithWindow = " ms, with the library's own window)";
inline constexpr std::string_view kNotCalled = " not called: the library has no such export";
inline constexpr std::string_view kFault = "fault in ";
inline constexpr std::string_view kException = ": exception 0x";
inline constexpr std::string_view kFaultAt = " at 0x";

inline constexpr std::string_view kLink = "serial link";
inline constexpr std::string_view kLinkOpened = " opened, sending ";
inline constexpr std::string_view kLinkBytes = " bytes:";
inline constexpr std::string_view kLinkRefused = ": byte ";
inline constexpr std::string_view kLinkTaken = ": ";
inline constexpr std::string_view kLinkOpenFailed = ": ";
inline constexpr std::string_view kLinkOf = " of ";

inline constexpr std::string_view kMessage = "message ";
inline constexpr std::string_view kCaption = " caption ";
inline constexpr std::string_view kClosedBy = " closed by ";
inline constexpr std::string_view kAnswerOk = "OK";
inline constexpr std::string_view kAnswerYes = "Yes";
inline constexpr std::string_view kAnswerNo = "No";

inline constexpr std::string_view kInput = "input ";
inline constexpr std::string_view kOn = "on";
inline constexpr std::string_view kOff = "off";
inline constexpr std::string_view kButton = "button ";
inline constexpr std::string_view kButtonId = " (id ";
inline constexpr std::string_view kButtonIdEnd = ")";
inline constexpr std::string_view kPage = "page ";
inline constexpr std::string_view kPageClosed = "page closed";

// The two ways a text is quoted, both in double quotes with `"`, `\` and
// every byte below 0x20 written \xHH; the field's logs hold both.
enum class Quoting : std::uint8_t {
    Letters, // the boxes' texts and captions, pages and buttons: letters beyond ASCII as they are
    Ascii,   // the calls' texts and the inputs: every byte outside 0x20..0x7E as \xHH too
};

// Appends a byte as two upper-case hexadecimal digits.
inline void AppendHexByte(std::string& line, unsigned char byte)
{
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    line += kDigits[byte >> 4];
    line += kDigits[byte & 0x0F];
}

inline void AppendQuoted(std::string& line, std::string_view text, Quoting quoting)
{
    line += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '"' || c == '\\' || (quoting == Quoting::Ascii && byte > 0x7E)) {
            line += "\\x";
            AppendHexByte(line, byte);
        } else {
            line += c;
        }
    }
    line += '"';
}

// Two upper-case hexadecimal digits taken off the front of `text`.
inline std::optional<unsigned char> TakeHexByte(std::string_view& text)
{
    const auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1; };
    if (text.size() < 2 || digit(text[0]) < 0 || digit(text[1]) < 0) return std::nullopt;
    const auto byte = static_cast<unsigned char>(digit(text[0]) * 16 + digit(text[1]));
    text.remove_prefix(2);
    return byte;
}

// A text quoted either way taken off the front of `text`: the bytes between
// the quotes, \xHH decoded. Nullopt (and `text` as it was) when `text` does
// not begin with one.
inline std::optional<std::string> TakeQuoted(std::string_view& text)
{
    std::string_view rest = text;
    if (!rest.starts_with('"')) return std::nullopt;
    rest.remove_prefix(1);
    std::string bytes;
    while (!rest.empty() && rest.front() != '"') {
        if (rest.front() == '\\') {
            rest.remove_prefix(1);
            if (!rest.starts_with('x')) return std::nullopt;
            rest.remove_prefix(1);
            const auto byte = TakeHexByte(rest);
            if (!byte) return std::nullopt;
            bytes += static_cast<char>(*byte);
        } else {
            bytes += rest.front();
            rest.remove_prefix(1);
        }
    }
    if (rest.empty()) return std::nullopt;
    text = rest.substr(1);
    return bytes;
}

} // namespace qm47::logformat
