#include "sim/ErrorCodes.h"

namespace sim {

namespace {

struct KnownCode {
    std::int32_t code;
    std::string_view shown; // how the code is written in the message
    std::string_view meaning;
};

constexpr KnownCode kKnownCodes[] = {
    {kNoConnection, "-1", "Brak połączenia z drukarką"},
    {kPortNotOpen, "-2", "Port nie jest otwarty"},
    {kMissingData, "-3", "Brak danych w poleceniu"},
    {kInvalidArgument, "-4", "Błędny parametr polecenia"},
    {kLayoutMismatch, "-7", "Niezgodny układ rekordu"},
    {kNotSupported, "-9", "Polecenie nieobsługiwane"},
    {kInvalidClock, "-10", "Błędna data lub godzina"},
    {kInvalidRate, "-11", "Błędna stawka PTU"},
    {kInactiveRate, "-12", "Stawka PTU nieaktywna"},
    {kOutOfSequence, "-13", "Polecenie poza kolejnością"},
    {kGoodsBlocked, "-14", "Towar zablokowany w innej stawce PTU"},
    {kInvalidAmount, "-15", "Błędna kwota"},
    {kHelperWindowLost, "-16", "Utracono okno biblioteki"},
    {kInvalidRange, "-25", "Błędny zakres"},
    {kInvalidReportDate, "0xE0000001", "Błędna data raportu"},
};

} // namespace

std::string ErrorBoxText(std::int32_t code, std::string_view callerText)
{
    std::string text;
    for (const KnownCode& known : kKnownCodes) {
        if (known.code == code) {
            text = "Błąd ";
            text += known.shown;
            text += ": ";
            text += known.meaning;
        }
    }
    if (text.empty()) text = "Nieznany błąd drukarki: " + std::to_string(code);
    if (!callerText.empty()) {
        text += '\n';
        text += callerText;
    }
    return text;
}

} // namespace sim
