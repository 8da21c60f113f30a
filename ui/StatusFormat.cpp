#include "ui/StatusFormat.h"

#include "app/Records.h"
#include "res/Texts.h"

#include <string_view>

namespace qm47 {

std::string FormatDeviceName(const char* firstPart, const char* secondPart)
{
    std::string name = firstPart ? firstPart : "";
    name += ' ';
    name += secondPart ? secondPart : "";
    return name;
}

bool IsWarnedModel(const char* firstPart)
{
    return firstPart && std::string_view(firstPart) == text::kWarnedModel.view();
}

std::string FormatFiscalMemoryDate(std::uint8_t day, std::uint8_t month, std::uint8_t registerYear)
{
    return std::to_string(day) + "-" + std::to_string(month) + "-" + std::to_string(kFirstRegisterYear + registerYear);
}

std::string FormatMode(std::uint8_t fiscalFlag)
{
    return std::string(fiscalFlag == 1 ? text::kFiscal.view() : text::kNonFiscal.view());
}

std::string FormatRate(const char* rateText)
{
    const std::string rate = FiscalText(rateText);
    if (rate == text::kRateTextExempt.view()) return text::kRateExempt.str();
    if (rate == text::kRateTextInactive.view()) return text::kRateInactive.str();
    return rate;
}

std::string FiscalText(const char* text)
{
    return text ? text : "0";
}

} // namespace qm47
