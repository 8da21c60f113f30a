#pragma once
// How the status panel writes what the printer reports.

#include <cstdint>
#include <string>

namespace qm47 {

// First part, one blank, second part; a null part counts as empty.
std::string FormatDeviceName(const char* firstPart, const char* secondPart);
// Whether the first part of the name is that of the model the panel warns about.
bool IsWarnedModel(const char* firstPart);
// day-month-year, no leading zeros, the year counted from 2000
// (kFirstRegisterYear): 5-3-2003.
std::string FormatFiscalMemoryDate(std::uint8_t day, std::uint8_t month, std::uint8_t registerYear);
// "Fiskalny" for the byte value 1 only, else "Niefiskalny".
std::string FormatMode(std::uint8_t fiscalFlag);
// "100.00" -> "Zwolniona", "101.00" -> "Nieaktywna", anything else unchanged;
// a null text shows the preset "0".
std::string FormatRate(const char* rateText);
// A text of the fiscal status as it comes; null shows the preset "0".
std::string FiscalText(const char* text);

} // namespace qm47
