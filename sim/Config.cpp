#include "sim/Config.h"

#include "sim/ExportNames.h"
#include "sim/Text.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace sim {

namespace {

enum class Verdict { Applied, UnknownKey, BadValue };

// A slow printer, not a hung one: a minute at most.
constexpr std::int32_t kLongestDelayMs = 60000;

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> items;
    while (true) {
        const std::size_t at = text.find(separator);
        items.push_back(Trim(text.substr(0, at)));
        if (at == std::string_view::npos) break;
        text.remove_prefix(at + 1);
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
Verdict Assign(T& target, const std::optional<T>& value)
{
    if (!value) return Verdict::BadValue;
    target = *value;
    return Verdict::Applied;
}

// `name:rate` or `name:rate:blocked`: the rate a letter A..G (its rate at
// load) or a rate text, never inactive; blocked 1 (the default) or 0.
std::optional<GoodsSetting> ParseGoods(std::string_view text)
{
    const auto parts = Split(text, ':');
    if (parts.size() < 2 || parts.size() > 3 || parts[0].empty()) return std::nullopt;
    GoodsSetting goods{std::string(parts[0]), {}, true};
    if (parts[1].size() == 1 && RateIndex(static_cast<unsigned char>(parts[1][0]))) {
        goods.rate = kRatesAtLoad[*RateIndex(static_cast<unsigned char>(parts[1][0]))];
    } else if (const auto rate = ParseRate(parts[1])) {
        goods.rate = *rate;
    } else {
        return std::nullopt;
    }
    // "101.00" is what the database answers for a name never sold.
    if (goods.rate.kind == Rate::Kind::Inactive) return std::nullopt;
    if (parts.size() == 3) {
        const auto blocked = ParseChoice(parts[2], "1", "0");
        if (!blocked) return std::nullopt;
        goods.blocked = *blocked;
    }
    return goods;
}

Verdict ApplyList(std::set<std::string, std::less<>>& names, std::string_view value)
{
    std::set<std::string, std::less<>> listed;
    for (const std::string_view name : Split(value, ',')) {
        if (name.empty()) continue;
        if (!IsExportName(name)) return Verdict::BadValue;
        listed.emplace(name);
    }
    names.merge(listed);
    return Verdict::Applied;
}

// `fault.<EXPORT> = <code>`, `= handled <code>` or `= null_write`.
Verdict ApplyFault(Config& config, std::string_view exportName, std::string_view value)
{
    if (!IsExportName(exportName)) return Verdict::UnknownKey;
    FaultSetting fault;
    if (value == "null_write") {
        fault.kind = FaultSetting::Kind::NullWrite;
    } else {
        if (value.starts_with("handled ")) {
            fault.kind = FaultSetting::Kind::Handled;
            value.remove_prefix(8);
        } else if (value.starts_with("twice ")) {
            fault.kind = FaultSetting::Kind::RaisedTwice;
            value.remove_prefix(6);
        }
        const auto code = ParseCode(value);
        if (!code) return Verdict::BadValue;
        fault.code = static_cast<std::uint32_t>(*code);
    }
    config.faults[std::string(exportName)] = fault;
    return Verdict::Applied;
}

Verdict Apply(Config& config, std::string_view key, std::string_view value)
{
    if (key == "online") return Assign(config.online, ParseOnlineAnswer(value));
    if (key == "online_sequence") {
        std::vector<OnlineAnswer> sequence;
        for (const std::string_view item : Split(value, ',')) {
            const auto answer = ParseOnlineAnswer(item);
            if (!answer) return Verdict::BadValue;
            sequence.push_back(*answer);
        }
        config.onlineSequence = std::move(sequence);
        return Verdict::Applied;
    }
    if (key == "pe") return Assign(config.pe, ParseCode(value));
    if (key == "err") return Assign(config.err, ParseCode(value));
    if (key == "cash_register") return Assign(config.cashRegisterOk, ParseChoice(value, "ok", "fail"));
    if (key == "fsk") {
        const auto fsk = ParseCode(value);
        if (!fsk) return Verdict::BadValue;
        config.fsk = *fsk;
        return Verdict::Applied;
    }
    if (key == "cmd") return Assign(config.cmd, ParseCode(value));
    if (key == "trf") return Assign(config.trf, ParseCode(value));
    if (key == "transaction") return Assign(config.transaction, ParseChoice(value, "1", "0"));
    if (key == "port_open") return Assign(config.portOpenOk, ParseChoice(value, "ok", "fail"));
    if (key.starts_with("result.")) {
        const std::string_view exportName = key.substr(7);
        if (!IsExportName(exportName)) return Verdict::UnknownKey;
        const auto code = ParseCode(value);
        if (!code) return Verdict::BadValue;
        config.results[std::string(exportName)] = *code;
        return Verdict::Applied;
    }
    if (key.starts_with("fault.")) return ApplyFault(config, key.substr(6), value);
    if (key == "unfilled") return ApplyList(config.unfilled, value);
    if (key == "null_texts") return ApplyList(config.nullTexts, value);
    if (key == "device_name") {
        const std::size_t bar = value.find('|');
        config.deviceNamePart1 = std::string(value.substr(0, bar));
        config.deviceNamePart2 = bar == std::string_view::npos ? std::string() : std::string(value.substr(bar + 1));
        return Verdict::Applied;
    }
    if (key == "fiscal") return Assign(config.fiscal, ParseChoice(value, "1", "0"));
    if (key == "error_box") return Assign(config.errorBox, ParseChoice(value, "1", "0"));
    if (key == "error_box_owner") return Assign(config.errorBoxOwned, ParseChoice(value, "active", "none"));
    if (key == "delay_ms") {
        const auto delay = ParseCode(value);
        if (!delay || *delay < 0 || *delay > kLongestDelayMs) return Verdict::BadValue;
        config.delayMs = *delay;
        return Verdict::Applied;
    }
    if (key.starts_with("notice.")) {
        if (!IsExportName(key.substr(7))) return Verdict::UnknownKey;
        const auto shown = ParseCode(value);
        if (!shown || *shown < 0 || *shown > kLongestDelayMs) return Verdict::BadValue;
        config.notices[std::string(key.substr(7))] = *shown;
        return Verdict::Applied;
    }
    // The library's windows that an export's call makes or shows.
    for (auto [name, setting] : {std::pair{"helper_window", &Config::helperWindowExport},
                                 {"progress", &Config::progressExport},
                                 {"status_window", &Config::statusWindowExport}})
        if (key == name) {
            if (!IsExportName(value)) return Verdict::BadValue;
            config.*setting = std::string(value);
            return Verdict::Applied;
        }
    if (key == "replay")
        return Assign(config.replay, value.empty() ? std::nullopt : std::optional<std::string>(value));
    if (key == "replay.session") {
        const auto session = ParseCode(value);
        return Assign(config.replaySession, session && *session >= 1 ? session : std::nullopt);
    }
    if (key == "replay.timing") return Assign(config.replayTiming, ParseChoice(value, "1", "0"));
    if (key == "open_receipt") return Assign(config.openReceipt, ParseChoice(value, "1", "0"));
    if (key == "goods") {
        std::vector<GoodsSetting> goods;
        if (!value.empty()) {
            for (const std::string_view item : Split(value, ',')) {
                auto setting = ParseGoods(item);
                if (!setting) return Verdict::BadValue;
                goods.push_back(std::move(*setting));
            }
        }
        config.goods = std::move(goods);
        return Verdict::Applied;
    }
    if (key == "totalizers") {
        const auto items = Split(value, ',');
        if (items.size() != 7) return Verdict::BadValue;
        std::array<std::int64_t, 7> totalizers{};
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto amount = ParseHundredths(items[i]);
            if (!amount) return Verdict::BadValue;
            totalizers[i] = *amount;
        }
        config.totalizers = totalizers;
        return Verdict::Applied;
    }
    if (key == "receipt_count") {
        const auto count = ParseCode(value);
        if (!count || *count < 0) return Verdict::BadValue;
        config.receiptCount = *count;
        return Verdict::Applied;
    }
    return Verdict::UnknownKey;
}

std::string_view PolishReason(std::string_view reason)
{
    if (reason == "no-equals-sign") return "brak znaku „=”";
    if (reason == "unknown-key") return "nieznany klucz";
    return "nieprawidłowa wartość";
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
    int number = 0;
    while (!text.empty()) {
        ++number;
        const std::size_t end = text.find('\n');
        const std::string_view whole = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const std::string_view line = Trim(whole.substr(0, whole.find('#')));
        if (line.empty()) continue;
        const std::size_t equals = line.find('=');
        std::string_view reason;
        if (equals == std::string_view::npos) {
            reason = "no-equals-sign";
        } else {
            switch (Apply(config, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)))) {
            case Verdict::Applied: break;
            case Verdict::UnknownKey: reason = "unknown-key"; break;
            case Verdict::BadValue: reason = "bad-value"; break;
            }
        }
        if (!reason.empty()) config.problems.push_back({number, std::string(whole), std::string(reason)});
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

std::string ConfigProblemsText(const std::vector<ConfigProblem>& problems)
{
    std::string text = "Nie można odczytać pliku ";
    text += kConfigFileName;
    text += ":";
    for (const ConfigProblem& problem : problems) {
        text += "\nwiersz " + std::to_string(problem.line) + ": „" + Cp1250ToUtf8(problem.text) + "” – ";
        text += PolishReason(problem.reason);
    }
    text += problems.size() == 1 ? "\nTen wiersz pominięto: to, co by ustawił, ma wartość domyślną."
                                 : "\nTe wiersze pominięto: to, co by ustawiły, ma wartości domyślne.";
    return text;
}

} // namespace sim
