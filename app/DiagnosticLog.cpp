#include "app/DiagnosticLog.h"

#include "app/LogFormat.h"
#include "platform/System.h"
#include "platform/Time.h"
#include "res/Texts.h"
#include "res/Version.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>

namespace qm47 {

namespace {

using namespace logformat;

bool SameLetters(std::string_view text, std::string_view lowerCase)
{
    if (text.size() != lowerCase.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((text[i] >= 'A' && text[i] <= 'Z' ? text[i] - 'A' + 'a' : text[i]) != lowerCase[i]) return false;
    return true;
}

// A control's text as the technician reads it: without the "&" that marks
// its mnemonic ("&&" stands for one "&").
std::string WithoutMnemonic(std::string_view text)
{
    std::string shown;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '&' && ++at == text.size()) break;
        shown += text[at];
    }
    return shown;
}

// `value` in decimal, padded with `pad` on the left to at least `width` characters.
void AppendNumber(std::string& line, std::uint32_t value, std::size_t width = 0, char pad = '0')
{
    std::string digits;
    platform::AppendDecimal(digits, value);
    if (digits.size() < width) line.append(width - digits.size(), pad);
    line += digits;
}

CallingConvention ConventionOf(std::uint32_t poppedBytes, std::uint32_t argumentBytes)
{
    if (poppedBytes == 0) return CallingConvention::Cdecl;
    return poppedBytes == argumentBytes ? CallingConvention::Stdcall : CallingConvention::Neither;
}

// What the file's last line lacks of its CR LF: nothing in an empty file or
// one that ends with CR LF; after a line that a power cut or a full disk cut
// off, the line end that puts the next session's first line on a line of its
// own (the reader then loses only the cut line's session).
std::string_view LineEndMissing(std::FILE* file)
{
    char last[2] = {};
    std::size_t read = 0;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        const long size = std::ftell(file);
        const long tail = size >= 2 ? 2 : size;
        if (tail > 0 && std::fseek(file, -tail, SEEK_END) == 0)
            read = std::fread(last, 1, static_cast<std::size_t>(tail), file);
    }
    std::fseek(file, 0, SEEK_END); // between a read and a write
    const std::string_view end(last, read);
    if (end.empty() || end == kLineEnd) return {};
    return end.ends_with(kLineEnd.front()) ? kLineEnd.substr(1) : kLineEnd;
}

const char* ConventionName(CallingConvention convention)
{
    switch (convention) {
    case CallingConvention::Cdecl: return "__cdecl";
    case CallingConvention::Stdcall: return "__stdcall";
    case CallingConvention::Neither: break;
    }
    return "neither __cdecl nor __stdcall";
}

} // namespace

bool LogSwitchGiven(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i] ? argv[i] : "";
        if (!argument.empty() && (argument[0] == '/' || argument[0] == '-') &&
            SameLetters(argument.substr(1), "log"))
            return true;
    }
    return false;
}

DiagnosticLog::~DiagnosticLog()
{
    Close();
}

std::string NumberedLogName(std::string_view name, std::uint32_t copy)
{
    std::string numbered(name);
    if (copy <= 1) return numbered;
    std::string suffix = "-";
    platform::AppendDecimal(suffix, copy);
    return numbered.insert(std::min(numbered.rfind('.'), numbered.size()), suffix);
}

void DiagnosticLog::Open(const char* path)
{
    // Two copies must not mix their sessions in one file: a copy that finds
    // the file held by another writes the next free number, and holds its
    // own file so that no later copy writes into it.
    std::string name;
    platform::UnsharedFile opened;
    for (std::uint32_t copy = 1; copy <= kMaxLogCopies; ++copy) {
        name = NumberedLogName(path, copy);
        opened = platform::OpenUnsharedForAppend(name.c_str());
        if (!opened.heldElsewhere) break;
    }
    m_file = std::move(opened.file);
    m_startMs = platform::MonotonicMilliseconds();
    if (!m_file) {
        fw::ShowMessage(nullptr, text::kCannotWriteLog, nullptr, {fw::MessageIcon::Exclamation});
        return;
    }
    const platform::LocalTime now = platform::Now();
    std::string line(LineEndMissing(m_file.get()));
    line.append(kSessionStart).append(QM47_VERSION_TEXT ", ");
    const int parts[] = {now.year, now.month, now.day, now.hour, now.minute, now.second};
    for (std::size_t i = 0; i < std::size(parts); ++i) {
        if (i > 0) line += "--- ::"[i];
        AppendNumber(line, static_cast<std::uint32_t>(parts[i]), i == 0 ? 4 : 2);
    }
    line.append(", ").append(platform::SystemVersion());
    // Where the file is: the working folder, which a shortcut may have set
    // elsewhere than the program's folder.
    line.append(", log ").append(platform::FullPath(name.c_str()));
    if (name != path)
        line.append(" (").append(path).append(" is held open by another program, such as another running copy of QM47)");
    Write(line);
    if (!m_file) return;
    fw::SetActionListener(this);
}

void DiagnosticLog::Close()
{
    if (!m_file) return;
    fw::SetActionListener(nullptr);
    m_file.reset();
}

void DiagnosticLog::Write(std::string_view line)
{
    if (!m_file) return;
    std::FILE* file = m_file.get();
    const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
                         std::fwrite(kLineEnd.data(), 1, kLineEnd.size(), file) == kLineEnd.size() && std::fflush(file) == 0;
    if (written) return;
    // Closed before the box is shown, so that the box is not written either.
    Close();
    fw::ShowMessage(nullptr, text::kCannotWriteLog, nullptr, {fw::MessageIcon::Exclamation});
}

void DiagnosticLog::WriteStamped(std::uint32_t atMs, std::string& line)
{
    std::string stamp(kStampOpen);
    AppendNumber(stamp, atMs - m_startMs, kStampDigits, ' ');
    stamp += kStampClose;
    line.replace(0, kStampSize, stamp);
    Write(line);
}

void DiagnosticLog::Line(std::string_view text)
{
    if (!m_file) return;
    std::string line(kStampSize, ' ');
    line += text;
    WriteStamped(platform::MonotonicMilliseconds(), line);
}

void DiagnosticLog::CallStarts(const char* exportName, const char* parameterNames,
                               std::initializer_list<CallArgument> arguments)
{
    if (m_file) Line(FormatCallSent(exportName, parameterNames, arguments));
}

void DiagnosticLog::CallEnded(std::uint32_t startedMs, const char* exportName, std::int32_t returned,
                              std::initializer_list<CallArgument> arguments, FieldsRead read,
                              std::uint32_t argumentBytes, std::uint32_t poppedBytes, bool libraryWindow)
{
    const std::uint32_t endedMs = platform::MonotonicMilliseconds();
    if (!m_file) return;
    std::string line(kStampSize, ' ');
    if (poppedBytes != kPoppedBytesUnknown && argumentBytes != 0) {
        const CallingConvention convention = ConventionOf(poppedBytes, argumentBytes);
        if (convention != m_convention) {
            m_convention = convention;
            line.append(kConvention).append(ConventionName(convention)).append(" (").append(exportName);
            line += " removed ";
            AppendNumber(line, poppedBytes);
            line += " of its ";
            AppendNumber(line, argumentBytes);
            line += " bytes of arguments)";
            WriteStamped(endedMs, line);
            line.assign(kStampSize, ' ');
        }
    }
    line.append(exportName).append(FormatCallReturned(returned, arguments, read));
    line += kTook;
    AppendNumber(line, endedMs - startedMs);
    line += libraryWindow ? kTookWithWindow : kTookEnd;
    WriteStamped(endedMs, line);
}

void DiagnosticLog::Fault(const char* exportName, std::uint32_t code, const void* address, const std::string& module)
{
    if (!m_file) return;
    std::string line(kFault);
    line.append(exportName).append(kException);
    AppendHexBytes(line, code, sizeof code);
    line += kFaultAt;
    AppendHexBytes(line, reinterpret_cast<std::uintptr_t>(address), sizeof address);
    line.append(module.empty() ? " (module not known)" : " in ").append(module);
    line += ", the program ends";
    Line(line);
}

void DiagnosticLog::Library(const std::string& path, unsigned long errorCode, const std::string& errorText,
                            const std::string& fileVersion, const std::string& missingExports)
{
    if (!m_file) return;
    std::string line(kLibrary);
    line += path;
    if (errorCode != 0) {
        line += kNotLoaded;
        AppendNumber(line, static_cast<std::uint32_t>(errorCode));
        line.append(": ").append(errorText);
    } else {
        line.append(fileVersion.empty() ? ", no file version" : ", file version ").append(fileVersion);
        line.append(kMissingExports).append(missingExports.empty() ? kNoneMissing : missingExports);
        line.append(sizeof(void*) == 4 ? "; calling convention: told by the first call with arguments"
                                       : "; calling convention: the 64-bit one");
    }
    Line(line);
}

void DiagnosticLog::Missing(const char* exportName)
{
    if (!m_file) return;
    Line(std::string(exportName).append(kNotCalled));
}

void DiagnosticLog::SerialLink(std::string_view port, std::string_view bytes, const LinkRecord& use)
{
    if (!m_file) return;
    const auto systemError = [](std::string& line, std::uint32_t code) {
        line += "system error ";
        AppendNumber(line, code);
        line.append(": ").append(platform::SystemErrorText(code));
    };
    std::string line(kLink);
    line += ' ';
    AppendQuoted(line, port, Quoting::Letters);
    if (!use.open.opened) {
        line.append(kLinkOpenFailed).append(OpenStepName(use.open.failedStep)).append(" failed, ");
        systemError(line, use.open.systemError);
        Line(line);
        return;
    }
    line += kLinkOpened;
    AppendNumber(line, static_cast<std::uint32_t>(bytes.size()));
    line += kLinkBytes;
    for (const char c : bytes) {
        line += ' ';
        AppendHexByte(line, static_cast<unsigned char>(c));
    }
    Line(line);
    for (const RefusedByte& refused : use.send.refusedBytes) {
        line.assign(kLink).append(kLinkRefused);
        AppendNumber(line, static_cast<std::uint32_t>(refused.position));
        line += " refused ";
        AppendNumber(line, refused.refusals);
        line += refused.taken ? " times, taken after " : " times, given up after ";
        AppendNumber(line, refused.milliseconds);
        line += " ms, last ";
        systemError(line, refused.systemError);
        Line(line);
    }
    line.assign(kLink).append(kLinkTaken);
    AppendNumber(line, static_cast<std::uint32_t>(use.send.bytesTaken));
    line += kLinkOf;
    AppendNumber(line, static_cast<std::uint32_t>(bytes.size()));
    line += " bytes taken, then a pause of ";
    AppendNumber(line, CSerialLink::kPauseAfterSendMs);
    line += " ms, port closed";
    Line(line);
}

void DiagnosticLog::OnMessageClosed(std::string_view text, std::string_view caption, fw::MessageAnswer answer)
{
    std::string line(kMessage);
    AppendQuoted(line, text, Quoting::Letters);
    line += kCaption;
    AppendQuoted(line, caption, Quoting::Letters);
    line += kClosedBy;
    line += answer == fw::MessageAnswer::Yes ? kAnswerYes : answer == fw::MessageAnswer::No ? kAnswerNo : kAnswerOk;
    Line(line);
}

void DiagnosticLog::PageOpened(std::string_view buttonText)
{
    if (!m_file) return;
    std::string line(kPage);
    AppendQuoted(line, WithoutMnemonic(buttonText), Quoting::Letters);
    Line(line);
}

void DiagnosticLog::PageClosed()
{
    Line(kPageClosed);
}

void DiagnosticLog::EndOfSession()
{
    Line(kEndOfSession);
}

void DiagnosticLog::OnButtonPressed(std::string_view text, int id)
{
    if (!m_file) return;
    std::string line(kButton);
    AppendQuoted(line, WithoutMnemonic(text), Quoting::Letters);
    line += kButtonId;
    AppendNumber(line, static_cast<std::uint32_t>(id));
    line += kButtonIdEnd;
    Line(line);
}

void DiagnosticLog::OnInput(int id, const InputValue& value)
{
    if (!m_file) return;
    std::string line(kInput);
    AppendNumber(line, static_cast<std::uint32_t>(id));
    line += ' ';
    if (const auto* text = std::get_if<std::string>(&value)) {
        AppendQuoted(line, *text, Quoting::Ascii);
    } else if (const auto* date = std::get_if<fw::Date>(&value)) {
        AppendNumber(line, static_cast<std::uint32_t>(date->year), 4);
        line += '-';
        AppendNumber(line, static_cast<std::uint32_t>(date->month), 2);
        line += '-';
        AppendNumber(line, static_cast<std::uint32_t>(date->day), 2);
    } else {
        line += std::get<bool>(value) ? kOn : kOff;
    }
    Line(line);
}

} // namespace qm47
