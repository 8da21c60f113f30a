#pragma once
// The journal of the calls the simulated printer received: one line per
// call, appended to qm47sim.journal in the current working directory.
//
//     <EXPORT>[ <field>=<value>]... result=<code>
//
// Integers in signed decimal, one-byte fields in unsigned decimal, texts in
// double quotes with every byte outside 0x20..0x7E, and `"` and `\`, written
// \xHH, as the diagnostic log quotes a call's texts
// (app/LogFormat.h's Quoting::Ascii); a null text as `null`.

#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

inline constexpr const char* kJournalFileName = "qm47sim.journal";

class JournalLine {
public:
    explicit JournalLine(std::string_view exportName);

    void Integer(std::string_view field, std::int64_t value);
    void Byte(std::string_view field, std::uint8_t value);
    void Text(std::string_view field, const char* text);
    void Null(std::string_view field);
    // A value written as it is (no spaces), such as `layout=ok`.
    void Value(std::string_view field, std::string_view value);
    // A bare word, such as `unfilled` for an output record left untouched.
    void Word(std::string_view word);
    void Result(std::int32_t code);

    const std::string& Line() const { return m_line; }

private:
    void Field(std::string_view field);
    std::string m_line;
};

// A text as the journal writes it, quotes included.
std::string QuoteText(std::string_view bytes);

// `name[index]`, optionally followed by `.member`.
std::string Indexed(std::string_view name, std::size_t index, std::string_view member = {});

// Opens the file, appends `text` and closes it again, so
// that the file can be read while the program runs. Errors are ignored.
void AppendToFile(const char* path, std::string_view text);

} // namespace sim
