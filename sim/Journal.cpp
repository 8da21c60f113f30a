#include "sim/Journal.h"

#include "app/LogFormat.h"

#include <cstdio>
#include <memory>

namespace sim {

JournalLine::JournalLine(std::string_view exportName) : m_line(exportName) {}

void JournalLine::Field(std::string_view field)
{
    m_line += ' ';
    m_line += field;
    m_line += '=';
}

void JournalLine::Integer(std::string_view field, std::int64_t value)
{
    Field(field);
    m_line += std::to_string(value);
}

void JournalLine::Byte(std::string_view field, std::uint8_t value)
{
    Field(field);
    m_line += std::to_string(static_cast<unsigned>(value));
}

void JournalLine::Text(std::string_view field, const char* text)
{
    if (!text) {
        Null(field);
        return;
    }
    Field(field);
    m_line += QuoteText(text);
}

void JournalLine::Null(std::string_view field)
{
    Field(field);
    m_line += "null";
}

void JournalLine::Value(std::string_view field, std::string_view value)
{
    Field(field);
    m_line += value;
}

void JournalLine::Word(std::string_view word)
{
    m_line += ' ';
    m_line += word;
}

void JournalLine::Result(std::int32_t code) { Integer("result", code); }

std::string QuoteText(std::string_view bytes)
{
    std::string quoted;
    qm47::logformat::AppendQuoted(quoted, bytes, qm47::logformat::Quoting::Ascii);
    return quoted;
}

std::string Indexed(std::string_view name, std::size_t index, std::string_view member)
{
    std::string text(name);
    text += '[';
    text += std::to_string(index);
    text += ']';
    if (!member.empty()) {
        text += '.';
        text += member;
    }
    return text;
}

void AppendToFile(const char* path, std::string_view text)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "ab"), &std::fclose);
    if (!file) return;
    std::fwrite(text.data(), 1, text.size(), file.get());
    std::fflush(file.get());
}

} // namespace sim
