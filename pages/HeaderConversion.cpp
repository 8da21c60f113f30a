#include "pages/HeaderConversion.h"

#include "framework/MessageBox.h"
#include "platform/Files.h"
#include "res/Texts.h"

#include <cstdio>
#include <memory>

namespace qm47 {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File Open(const char* name, const char* mode)
{
    return File(std::fopen(name, mode));
}

// Closes a file that was written to; false when any of its bytes did not
// reach the file (buffered writes fail only when they are flushed).
bool CloseWritten(File file)
{
    const bool flushed = std::fflush(file.get()) == 0 && !std::ferror(file.get());
    const bool closed = std::fclose(file.release()) == 0;
    return flushed && closed;
}

// The Mazovia code of a Polish letter's Windows-1250 code; any other byte as it is.
unsigned char ToMazovia(unsigned char byte)
{
    for (const PolishLetterCodes& letter : PolishLetterTable)
        if (letter.windows1250 == byte) return letter.mazovia;
    return byte;
}

void ShowConversionError(std::string_view message)
{
    fw::ShowMessage(nullptr, message, text::kConversionErrorCaption.c_str());
}

// Writes the text, as it is, to the input copy.
bool WriteInputCopy(std::string_view text)
{
    File input = Open(text::kHeaderInputFile.c_str(), "wb");
    if (!input) return false;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), input.get()) != text.size()) return false;
    return CloseWritten(std::move(input));
}

// Converts the input copy byte by byte into the output copy. Shows its own
// messages.
bool ConvertInputCopy()
{
    File input = Open(text::kHeaderInputFile.c_str(), "rb");
    File output = Open(text::kHeaderOutputFile.c_str(), "wb");
    if (!input) ShowConversionError(text::kCannotOpenInputFile);
    if (!output) ShowConversionError(text::kCannotOpenOutputFile);
    if (!input || !output) return false;

    bool written = true;
    for (int byte; written && (byte = std::fgetc(input.get())) != EOF;)
        written = std::fputc(ToMazovia(static_cast<unsigned char>(byte)), output.get()) != EOF;
    // A read error ends the loop like the end of the file; the copy is then incomplete.
    written = written && !std::ferror(input.get());
    written = CloseWritten(std::move(output)) && written;
    if (!written) ShowConversionError(text::kCannotWriteOutputFile);
    return written;
}

// The first line of the output copy: at most kMaxConvertedHeaderBytes bytes,
// ending after the first line feed if one comes before.
std::optional<std::string> ReadConvertedLine()
{
    File output = Open(text::kHeaderOutputFile.c_str(), "rb");
    if (!output) return std::nullopt;
    std::string line;
    for (int byte; line.size() < kMaxConvertedHeaderBytes && (byte = std::fgetc(output.get())) != EOF;) {
        line.push_back(static_cast<char>(byte));
        if (byte == '\n') break;
    }
    if (std::ferror(output.get())) return std::nullopt;
    return line;
}

std::optional<std::string> ConvertThroughFiles(std::string_view text)
{
    if (!WriteInputCopy(text)) {
        ShowConversionError(text::kCannotWriteOutputFile);
        return std::nullopt;
    }
    if (!ConvertInputCopy()) return std::nullopt;
    std::optional<std::string> converted = ReadConvertedLine();
    if (!converted) ShowConversionError(text::kCannotWriteOutputFile);
    return converted;
}

} // namespace

std::optional<std::string> ConvertHeaderText(std::string_view text)
{
    std::optional<std::string> converted = ConvertThroughFiles(text);
    // The input copy is only a working file: it goes whatever happened, and a
    // failure to remove it changes nothing for the header.
    platform::ClearReadOnly(text::kHeaderInputFile.c_str());
    platform::RemoveFile(text::kHeaderInputFile.c_str());
    return converted;
}

} // namespace qm47
