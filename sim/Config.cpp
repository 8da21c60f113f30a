#include "sim/Config.h"

#include <cstdio>
#include <memory>

namespace sim {

namespace {

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> SplitList(std::string_view text)
{
    std::vector<std::string_view> items;
    while (true) {
        const std::size_t comma = text.find(',');
        items.push_back(Trim(text.substr(0, comma)));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return items;
}

std::optional<OnlineAnswer> ParseOnlineAnswer(std::string_view text)
{
    if (text == "none") return OnlineAnswer{};
    if (const auto code = ParseCode(text)) return OnlineAnswer{*code};
    return std::nullopt;
}

std::optional<bool> ParseChoice(std::string_view text, std::string_view yes, std::string_view no)
{
    if (text == yes) return true;
    if (text == no) return false;
    return std::nullopt;
}

template <class T>
void Assign(T& target, const std::optional<T>& value)
{
    if (value) target = *value;
}

void Apply(Config& config, std::string_view key, std::string_view value)
{
    if (key == "online") {
        Assign(config.online, ParseOnlineAnswer(value));
    } else if (key == "online_sequence") {
        std::vector<OnlineAnswer> sequence;
        for (const std::string_view item : SplitList(value)) {
            const auto answer = ParseOnlineAnswer(item);
            if (!answer) return;
            sequence.push_back(*answer);
        }
        config.onlineSequence = std::move(sequence);
    } else if (key == "pe") {
        Assign(config.pe, ParseCode(value));
    } else if (key == "err") {
        Assign(config.err, ParseCode(value));
    } else if (key == "cash_register") {
        Assign(config.cashRegisterOk, ParseChoice(value, "ok", "fail"));
    } else if (key == "fsk") {
        if (const auto fsk = ParseCode(value)) config.fsk = *fsk;
    } else if (key == "cmd") {
        Assign(config.cmd, ParseCode(value));
    } else if (key == "trf") {
        Assign(config.trf, ParseCode(value));
    } else if (key == "transaction") {
        Assign(config.transaction, ParseChoice(value, "1", "0"));
    } else if (key == "port_open") {
        Assign(config.portOpenOk, ParseChoice(value, "ok", "fail"));
    } else if (key.starts_with("result.")) {
        if (const auto code = ParseCode(value)) config.results[std::string(key.substr(7))] = *code;
    } else if (key == "unfilled" || key == "null_texts") {
        auto& names = key == "unfilled" ? config.unfilled : config.nullTexts;
        for (const std::string_view name : SplitList(value))
            if (!name.empty()) names.emplace(name);
    } else if (key == "device_name") {
        const std::size_t bar = value.find('|');
        config.deviceNamePart1 = std::string(value.substr(0, bar));
        config.deviceNamePart2 = bar == std::string_view::npos ? std::string() : std::string(value.substr(bar + 1));
    } else if (key == "fiscal") {
        Assign(config.fiscal, ParseChoice(value, "1", "0"));
    } else if (key == "error_box") {
        Assign(config.errorBox, ParseChoice(value, "1", "0"));
    }
}

} // namespace

std::optional<std::int32_t> Config::ForcedResult(std::string_view exportName) const
{
    const auto found = results.find(exportName);
    if (found == results.end()) return std::nullopt;
    return found->second;
}

std::optional<std::int32_t> ParseCode(std::string_view text)
{
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    unsigned base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9') digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f') digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F') digit = static_cast<unsigned>(c - 'A' + 10);
        else return std::nullopt;
        value = value * base + digit;
    }
    if (value > (negative ? 0x80000000u : 0xFFFFFFFFu)) return std::nullopt;
    const std::uint32_t bits = static_cast<std::uint32_t>(negative ? 0 - value : value);
    return static_cast<std::int32_t>(bits);
}

Config ParseConfig(std::string_view text)
{
    Config config;
    // A file saved by a Windows editor may start with a UTF-8 byte order mark.
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        line = line.substr(0, line.find('#'));
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        Apply(config, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
    return config;
}

Config LoadConfig(const char* path)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), &std::fclose);
    if (!file) return {};
    std::string text;
    char buffer[4096];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, file.get())) text.append(buffer, read);
    return ParseConfig(text);
}

} // namespace sim
