#include "pages/GoodsRules.h"

#include "app/NumberText.h"
#include "res/Texts.h"

namespace qm47 {

std::optional<char> RateLetter(std::string_view rateText)
{
    if (rateText.size() != 1 || rateText[0] < 'A' || rateText[0] > 'G') return std::nullopt;
    return rateText[0];
}

std::int32_t RateWholePart(std::string_view rateText)
{
    return ParseDecimal(rateText);
}

GoodsAnswer AnswerGoodsQuery(const GoodsAnswer& shown, std::string_view name, std::string_view rateAsked,
                             std::uint8_t blocked, std::string_view returnedRate)
{
    GoodsAnswer answer = shown;
    if (returnedRate == text::kRateTextInactive.view()) {
        // Never sold: the flag means nothing then.
        answer.name = name;
        answer.rateAsked.clear();
        answer.printerRate = text::kGoodsNeverSold.view();
        answer.status.clear();
        return answer;
    }
    if (returnedRate == text::kRateTextExempt.view()) {
        answer.printerRate = text::kGoodsSoldExempt.view();
        answer.name = name;
        answer.rateAsked = rateAsked;
    } else {
        answer.printerRate = returnedRate;
    }
    if (blocked == 1 || blocked == 0) {
        answer.status = blocked == 1 ? text::kGoodsStatusBlocked.view() : text::kGoodsStatusNotBlocked.view();
        answer.name = name;
        answer.rateAsked = rateAsked;
    }
    return answer;
}

bool IsBlockedAtOtherRate(std::uint8_t blocked, std::string_view returnedRate, std::string_view letterRate)
{
    return blocked == 1 && RateWholePart(returnedRate) != RateWholePart(letterRate);
}

} // namespace qm47
