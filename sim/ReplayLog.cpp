#include "sim/ReplayLog.h"

#include "sim/ExportNames.h"

#include <charconv>

namespace sim::replay {

namespace {

using namespace qm47::logformat;

bool TakePrefix(std::string_view& text, std::string_view prefix)
{
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

// A whole number in decimal taken off the front of `text`; a minus sign
// only with `negative`.
template <class Number>
std::optional<Number> TakeNumber(std::string_view& text, bool negative = false)
{
    if (text.empty() || (text.front() == '-' && !negative)) return std::nullopt;
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

// ` name=value` pairs to the end of `text`.
std::optional<std::vector<Field>> ParseFields(std::string_view text)
{
    std::vector<Field> fields;
    while (!text.empty()) {
        if (!TakePrefix(text, " ")) return std::nullopt;
        const std::size_t equals = text.find('=');
        if (equals == 0 || equals == std::string_view::npos) return std::nullopt;
        Field field{std::string(text.substr(0, equals)), {}};
        text.remove_prefix(equals + 1);
        std::string_view rest = text;
        if (rest.starts_with('"')) {
            if (!TakeQuoted(rest)) return std::nullopt;
        } else if (!TakePrefix(rest, kNull) && !TakeNumber<std::int64_t>(rest, true)) {
            return std::nullopt;
        }
        if (!rest.empty() && rest.front() != ' ') return std::nullopt;
        field.value = std::string(text.substr(0, text.size() - rest.size()));
        text = rest;
        fields.push_back(std::move(field));
    }
    return fields;
}

// `<EXPORT>... result=<n> (took <n> ms[, with the library's own window])`.
bool ParseCallReturned(LogLine& line, std::string_view fields)
{
    const std::size_t took = fields.rfind(kTook);
    if (took == std::string_view::npos) return false;
    std::string_view time = fields.substr(took + kTook.size());
    const auto ms = TakeNumber<std::uint32_t>(time);
    if (!ms) return false;
    line.tookMs = *ms;
    line.libraryWindow = time == kTookWithWindow;
    if (!line.libraryWindow && time != kTookEnd) return false;
    auto parsed = ParseFields(fields.substr(0, took));
    if (!parsed || parsed->empty() || parsed->back().name != kResult) return false;
    std::string_view result = parsed->back().value;
    const auto code = TakeNumber<std::int32_t>(result, true);
    if (!code || !result.empty()) return false;
    line.result = *code;
    parsed->pop_back();
    line.fields = std::move(*parsed);
    return true;
}

bool ParseMessage(LogLine& line, std::string_view text)
{
    const auto message = TakeQuoted(text);
    if (!message || !TakePrefix(text, kCaption)) return false;
    const auto caption = TakeQuoted(text);
    if (!caption || !TakePrefix(text, kClosedBy)) return false;
    if (text != kAnswerOk && text != kAnswerYes && text != kAnswerNo) return false;
    line.text = *message;
    line.caption = *caption;
    line.answer = std::string(text);
    return true;
}

bool ParseInput(LogLine& line, std::string_view text)
{
    const auto id = TakeNumber<int>(text);
    if (!id || !TakePrefix(text, " ")) return false;
    line.id = *id;
    if (text.starts_with('"')) {
        const auto value = TakeQuoted(text);
        line.input = InputKind::Text;
        line.value = value.value_or("");
        return value && text.empty();
    }
    line.value = std::string(text);
    if (text == kOn || text == kOff) {
        line.input = InputKind::Check;
        return true;
    }
    line.input = InputKind::Date;
    const auto year = TakeNumber<int>(text);
    const auto month = TakePrefix(text, "-") ? TakeNumber<int>(text) : std::nullopt;
    const auto day = TakePrefix(text, "-") ? TakeNumber<int>(text) : std::nullopt;
    return year && month && day && text.empty() && line.value.size() == 10;
}

bool ParseButton(LogLine& line, std::string_view text)
{
    const auto label = TakeQuoted(text);
    if (!label || !TakePrefix(text, kButtonId)) return false;
    const auto id = TakeNumber<int>(text);
    line.text = *label;
    line.id = id.value_or(0);
    return id && text == kButtonIdEnd;
}

// The serial link's lines (after "serial link").
bool ParseLink(LogLine& line, std::string_view text)
{
    if (TakePrefix(text, kLinkRefused)) {
        line.kind = Kind::LinkRefused;
        return true;
    }
    if (TakePrefix(text, kLinkTaken)) {
        line.kind = Kind::LinkTaken;
        const auto taken = TakeNumber<std::size_t>(text);
        line.taken = taken.value_or(0);
        return taken && text.starts_with(kLinkOf);
    }
    if (!TakePrefix(text, " ")) return false;
    const auto port = TakeQuoted(text);
    if (!port) return false;
    line.port = *port;
    if (TakePrefix(text, kLinkOpenFailed)) {
        line.kind = Kind::LinkOpenFailed;
        return true;
    }
    line.kind = Kind::LinkSent;
    if (!TakePrefix(text, kLinkOpened)) return false;
    const auto count = TakeNumber<std::size_t>(text);
    if (!count || !TakePrefix(text, kLinkBytes)) return false;
    while (TakePrefix(text, " ")) {
        const auto byte = TakeHexByte(text);
        if (!byte) return false;
        line.bytes += static_cast<char>(*byte);
    }
    return text.empty() && line.bytes.size() == *count;
}

// `library <path>, ...; missing exports: A B; ...`, or `library <path> not loaded: ...`.
void ParseLibrary(LogLine& line, std::string_view text)
{
    line.loaded = text.find(kNotLoaded) == std::string_view::npos;
    const std::size_t at = text.find(kMissingExports);
    if (!line.loaded || at == std::string_view::npos) return;
    std::string_view names = text.substr(at + kMissingExports.size());
    names = names.substr(0, names.find(';'));
    while (!names.empty()) {
        const std::size_t end = names.find_first_of(", ");
        const std::string_view name = names.substr(0, end);
        if (!name.empty() && name != kNoneMissing) line.missing.emplace_back(name);
        names.remove_prefix(end == std::string_view::npos ? names.size() : end + 1);
    }
}

// `[<n> ms] ` taken off the front.
bool TakeStamp(std::string_view& text)
{
    if (!TakePrefix(text, kStampOpen)) return false;
    while (TakePrefix(text, " ")) {}
    return TakeNumber<std::uint32_t>(text) && TakePrefix(text, kStampClose);
}

// What a line holds, from its body; false when it is none of the lines QM47 writes.
bool Classify(LogLine& line)
{
    std::string_view text = line.body;
    if (text == kEndOfSession) return line.kind = Kind::EndOfSession, true;
    if (text == kPageClosed) return line.kind = Kind::PageClosed, true;
    if (TakePrefix(text, kLibrary)) {
        line.kind = Kind::Library;
        ParseLibrary(line, text);
        return true;
    }
    if (TakePrefix(text, kConvention)) return line.kind = Kind::Convention, true;
    if (TakePrefix(text, kMessage)) return line.kind = Kind::Message, ParseMessage(line, text);
    if (TakePrefix(text, kInput)) return line.kind = Kind::Input, ParseInput(line, text);
    if (TakePrefix(text, kButton)) return line.kind = Kind::Button, ParseButton(line, text);
    if (TakePrefix(text, kPage)) {
        line.kind = Kind::PageOpened;
        const auto label = TakeQuoted(text);
        line.text = label.value_or("");
        return label && text.empty();
    }
    if (TakePrefix(text, kLink)) return ParseLink(line, text);
    if (TakePrefix(text, kFault)) {
        line.kind = Kind::Fault;
        const std::size_t colon = text.find(kException);
        if (colon == std::string_view::npos) return false;
        line.exportName = std::string(text.substr(0, colon));
        std::string_view code = text.substr(colon + kException.size(), 8);
        for (int i = 0; i < 4; ++i) {
            const auto byte = TakeHexByte(code);
            if (!byte) return false;
            line.code = line.code << 8 | *byte;
        }
        return IsExportName(line.exportName);
    }
    const std::string_view exportName = text.substr(0, text.find(' '));
    if (!IsExportName(exportName)) return false;
    line.exportName = std::string(exportName);
    text.remove_prefix(exportName.size());
    if (text == kNotCalled) return line.kind = Kind::NotCalled, true;
    if (text.ends_with(')')) return line.kind = Kind::CallReturned, ParseCallReturned(line, text);
    line.kind = Kind::CallSent;
    auto fields = ParseFields(text);
    if (fields) line.fields = std::move(*fields);
    return fields.has_value();
}

// Whether `bytes` is UTF-8 text with at least one character beyond ASCII
// (Windows-1250 text with Polish letters practically never is).
bool LooksLikeUtf8(std::string_view bytes)
{
    bool wide = false;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4                     ? 4
                                                                                      : 0;
        if (length == 0 || at + length > bytes.size()) return false;
        for (std::size_t i = 1; i < length; ++i)
            if ((static_cast<unsigned char>(bytes[at + i]) & 0xC0) != 0x80) return false;
        wide = wide || length > 1;
        at += length;
    }
    return wide;
}

} // namespace

bool LogReader::Fail(std::string text)
{
    m_sessions.back().damage = Problem{m_number, std::move(text)};
    return false;
}

void LogReader::StartSession()
{
    m_sessions.push_back({static_cast<int>(m_sessions.size()) + 1, m_number, {}, {}});
    m_pendingCall.reset();
    m_faulted = m_ended = false;
}

bool LogReader::Read(std::string_view text)
{
    if (m_notALog) return false;
    ++m_number;
    // A line cut off (a power cut, a full disk) with the next session's first
    // line glued to it: the cut line damages its session, which may be one
    // whose own first line was cut.
    const std::size_t glued = text.rfind(kSessionStart);
    if (glued != std::string_view::npos && glued > 0 && !m_sessions.empty()) {
        if (text.starts_with(kSessionStart)) StartSession();
        if (!m_sessions.back().damage)
            Fail("the line breaks off and the next session begins inside it: the program was stopped while "
                 "writing it (a power cut, a full disk)");
        text.remove_prefix(glued);
    }
    if (text.starts_with(kSessionStart)) {
        StartSession();
        return true;
    }
    if (m_sessions.empty()) {
        m_notALog = Problem{m_number, "not a QM47 log: its first line does not begin with \"" +
                                          std::string(kSessionStart) + "\""};
        return false;
    }
    if (m_sessions.back().damage) return false;
    if (m_ended) return Fail("expected the first line of a new session (\"" + std::string(kSessionStart) + "...\")");
    LogLine line;
    line.number = m_number;
    std::string_view body = text;
    if (!TakeStamp(body)) return Fail("expected a time stamp \"[<n> ms] \" at the beginning of the line");
    line.body = std::string(body);
    if (!Classify(line))
        return Fail("\"" + line.body + "\" is none of the lines QM47 writes: expected " +
                    (m_pendingCall ? "the end of the call of line " +
                                         std::to_string(m_sessions.back().lines[*m_pendingCall].number)
                                   : std::string("a library call, a message, an input, a button, a page or the "
                                                 "serial link's use")));
    return Accept(std::move(line));
}

bool LogReader::Accept(LogLine line)
{
    Session& session = m_sessions.back();
    if (m_faulted && line.kind != Kind::Message)
        return Fail("expected the box that tells of the fault, or the end of the session");
    if (m_pendingCall) {
        const LogLine& sent = session.lines[*m_pendingCall];
        const std::string expected = "expected the end of " + sent.exportName + " (called at line " +
                                     std::to_string(sent.number) + "): its result or a fault";
        if (line.kind == Kind::CallReturned || line.kind == Kind::Fault) {
            if (line.exportName != sent.exportName) return Fail(expected);
            m_pendingCall.reset();
            m_faulted = line.kind == Kind::Fault;
        } else if (line.kind != Kind::Convention) {
            return Fail(expected);
        }
    } else if (line.kind == Kind::CallReturned || line.kind == Kind::Fault) {
        return Fail("a call's end without its call: expected " + line.exportName + "'s call line before it");
    } else if (line.kind == Kind::CallSent) {
        m_pendingCall = session.lines.size();
    }
    m_ended = line.kind == Kind::EndOfSession;
    session.lines.push_back(std::move(line));
    return true;
}

Log ReadLog(std::string_view bytes)
{
    Log log;
    const auto fail = [&](int line, std::string text) {
        log.problem = Problem{line, std::move(text)};
        return log;
    };
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return fail(0, "the log is UTF-16 text, not Windows-1250: it was saved again by another program; "
                       "replay the file QM47 wrote");
    if (bytes.starts_with("\xEF\xBB\xBF") || LooksLikeUtf8(bytes))
        return fail(0, "the log is UTF-8 text, not Windows-1250: it was saved again by another program; "
                       "replay the file QM47 wrote");
    if (!bytes.starts_with(kSessionStart))
        return fail(bytes.empty() ? 0 : 1, "not a QM47 log: its first line does not begin with \"" +
                                              std::string(kSessionStart) + "\"");
    LogReader reader;
    int number = 0;
    while (!bytes.empty() && !reader.NotALog()) {
        ++number;
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (end != std::string_view::npos && !line.ends_with('\r'))
            return fail(number, "the line ends in LF alone: the log's CR LF line ends were changed; "
                                "replay the file QM47 wrote");
        if (line.ends_with('\r')) line.remove_suffix(1);
        reader.Read(line);
    }
    log.sessions = reader.Sessions();
    log.problem = reader.NotALog();
    return log;
}

const Session* FindSession(const Log& log, int number, Problem& why)
{
    const int count = static_cast<int>(log.sessions.size());
    const Session* found = number == 0 && count > 0         ? &log.sessions.back()
                           : number >= 1 && number <= count ? &log.sessions[static_cast<std::size_t>(number - 1)]
                                                            : nullptr;
    if (!found) {
        why = {0, "the log has " + std::to_string(count) + (count == 1 ? " session" : " sessions") +
                      ": there is no session " + std::to_string(number)};
    } else if (found->damage) {
        why = {found->damage->line, "session " + std::to_string(found->number) + " cannot be read at line " +
                                        std::to_string(found->damage->line) + ": " + found->damage->text};
        if (count > 1) why.text += " (the log's other sessions can be replayed: --session N)";
        return nullptr;
    }
    return found;
}

const Field* FindField(const std::vector<Field>& fields, std::string_view name)
{
    for (const Field& field : fields)
        if (field.name == name) return &field;
    return nullptr;
}

std::string Compared(const LogLine& line)
{
    switch (line.kind) {
    case Kind::Library:
    case Kind::Convention: return {};
    case Kind::CallReturned: return line.body.substr(0, line.body.rfind(kTook));
    case Kind::Fault: return line.body.substr(0, line.body.find(kFaultAt));
    default: return line.body;
    }
}

std::optional<std::string> ComparedFilter::operator()(const LogLine& line)
{
    const Kind kind = line.kind;
    const Kind before = m_lastAction;
    if (kind == Kind::Button || kind == Kind::PageOpened || kind == Kind::PageClosed) m_lastAction = kind;
    if ((kind == Kind::PageClosed && before != Kind::Button) || (kind == Kind::Input && !m_inputs)) return std::nullopt;
    std::string text = Compared(line);
    if (text.empty()) return std::nullopt;
    return text;
}

std::vector<const LogLine*> ComparedLines(const Session& session, bool inputs)
{
    std::vector<const LogLine*> compared;
    ComparedFilter filter(inputs);
    for (const LogLine& line : session.lines)
        if (filter(line)) compared.push_back(&line);
    return compared;
}

const LogLine* CallRunningAtEnd(const Session& session)
{
    if (session.lines.empty() || session.lines.back().kind != Kind::CallSent) return nullptr;
    return &session.lines.back();
}

} // namespace sim::replay
