#include "app/DiagnosticLog.h"

#include "platform/System.h"
#include "platform/Time.h"
#include "res/Texts.h"
#include "res/Version.h"

#include <cctype>
#include <string>

namespace qm47 {

namespace {

bool SameLetters(std::string_view text, std::string_view lowerCase)
{
    if (text.size() != lowerCase.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != lowerCase[i]) return false;
    return true;
}

// A message's text in quotes: control bytes, `"` and `\` as \xHH; letters
// (Windows-1250 like the file) as they are.
void AppendQuoted(std::string& line, std::string_view text)
{
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    line += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '"' || c == '\\') {
            line += "\\x";
            line += kHexDigits[byte >> 4];
            line += kHexDigits[byte & 0x0F];
        } else {
            line += c;
        }
    }
    line += '"';
}

// `value` in decimal, padded with `pad` on the left to at least `width` characters.
std::string Padded(std::int64_t value, std::size_t width, char pad = '0')
{
    std::string digits = std::to_string(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), pad);
    return digits;
}

const char* ConventionName(std::uint32_t convention)
{
    return convention == 0 ? "__cdecl" : convention == 1 ? "__stdcall" : "neither __cdecl nor __stdcall";
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

void DiagnosticLog::Open(const char* path)
{
    m_file.reset(std::fopen(path, "ab"));
    m_startMs = platform::MonotonicMilliseconds();
    if (!m_file) {
        fw::ShowMessage(nullptr, text::kCannotWriteLog, nullptr, {fw::MessageIcon::Exclamation});
        return;
    }
    const platform::LocalTime now = platform::Now();
    Write("==== QM47 " QM47_VERSION_TEXT ", " + Padded(now.year, 4) + '-' + Padded(now.month, 2) + '-' +
          Padded(now.day, 2) + ' ' + Padded(now.hour, 2) + ':' + Padded(now.minute, 2) + ':' + Padded(now.second, 2) +
          ", " + platform::SystemVersion());
    if (m_file) fw::SetMessageListener(this);
}

void DiagnosticLog::Close()
{
    if (!m_file) return;
    fw::SetMessageListener(nullptr);
    m_file.reset();
}

void DiagnosticLog::Write(std::string_view line)
{
    if (!m_file) return;
    std::FILE* file = m_file.get();
    const bool written = std::fwrite(line.data(), 1, line.size(), file) == line.size() &&
                         std::fwrite("\r\n", 1, 2, file) == 2 && std::fflush(file) == 0;
    if (written) return;
    // Closed before the box is shown, so that the box is not written either.
    Close();
    fw::ShowMessage(nullptr, text::kCannotWriteLog, nullptr, {fw::MessageIcon::Exclamation});
}

void DiagnosticLog::Stamped(std::int64_t atMs, std::string_view text)
{
    if (!m_file) return;
    Write('[' + Padded(atMs - m_startMs, 8, ' ') + " ms] " + std::string(text));
}

void DiagnosticLog::Line(std::string_view text)
{
    Stamped(platform::MonotonicMilliseconds(), text);
}

void DiagnosticLog::Call(std::string_view callText, std::int64_t startedMs, std::int64_t endedMs,
                         std::uint32_t argumentBytes, std::uint32_t poppedBytes)
{
    Stamped(startedMs, std::string(callText) + " (took " + std::to_string(endedMs - startedMs) + " ms)");
    if (poppedBytes == kPoppedBytesUnknown || argumentBytes == 0) return;
    const std::uint32_t convention = poppedBytes == 0 ? 0 : poppedBytes == argumentBytes ? 1 : 2;
    if (convention == m_convention) return;
    m_convention = convention;
    const std::string_view exportName = callText.substr(0, callText.find(' '));
    Stamped(endedMs, std::string("calling convention: ") + ConventionName(convention) + " (" +
                         std::string(exportName) + " removed " + std::to_string(poppedBytes) + " of its " +
                         std::to_string(argumentBytes) + " bytes of arguments)");
}

void DiagnosticLog::Missing(const char* exportName)
{
    Line(std::string(exportName) + " not called: the library has no such export");
}

void DiagnosticLog::OnMessageClosed(std::string_view text, std::string_view caption, fw::MessageAnswer answer)
{
    std::string line = "message ";
    AppendQuoted(line, text);
    line += " caption ";
    AppendQuoted(line, caption);
    line += answer == fw::MessageAnswer::Yes ? " closed by Yes" : answer == fw::MessageAnswer::No ? " closed by No"
                                                                                                : " closed by OK";
    Line(line);
}

} // namespace qm47
