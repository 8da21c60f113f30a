#include "pages/GoodsCheckPage.h"

#include "app/Requests.h"
#include "framework/DataExchange.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47 {

CGoodsCheckPage::CGoodsCheckPage(CServiceApp& app)
    : CPage(app, res::kGoodsCheckDialog), m_rate(text::kDefaultRateLetter.view())
{
    OnClick(IDC_GOODS_CHECK, &CGoodsCheckPage::Check);
}

void CGoodsCheckPage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_GOODS_NAME, m_name);
    dx.Text(IDC_GOODS_ANSWER_PRINTER_RATE, m_answer.printerRate);
    dx.Text(IDC_GOODS_ANSWER_NAME, m_answer.name);
    dx.ComboText(IDC_GOODS_RATE, m_rate);
    dx.Text(IDC_GOODS_ANSWER_STATUS, m_answer.status);
    dx.Text(IDC_GOODS_ANSWER_RATE_ASKED, m_answer.rateAsked);
    dx.Check(IDC_GOODS_PRINT, m_print);
}

void CGoodsCheckPage::Check()
{
    if (!PrinterReadyAndRead()) return;
    // The combo box takes any text; only "A" to "G" name a rate.
    const auto letter = RateLetter(m_rate);
    if (!letter) {
        MessageBox(text::kUnknownRate, nullptr, {fw::MessageIcon::Exclamation});
        return;
    }

    // A printout that fails, or that the library cannot make, does not stop the query.
    if (m_print) PrintCheck(*letter);

    GoodsQueryResult result{0, nullptr};
    const LibraryResult query = Library().LBDBREPRS(m_name.c_str(), static_cast<unsigned char>(*letter), &result);
    if (ReportMissing(query)) return;
    // No rate text: the library answered nothing, so the fields keep what they
    // showed. When it also failed, the technician is told, or the answer of
    // an earlier query would pass for this one.
    if (result.rateText) m_answer = AnswerGoodsQuery(m_answer, m_name, m_rate, result.blocked, result.rateText);
    else if (query.code != 0) ShowLibraryError(query.code);
    UpdateData(fw::Exchange::Load);
}

void CGoodsCheckPage::PrintCheck(char letter)
{
    const std::string letterText(1, letter);
    for (const std::uint8_t step : kGoodsPrintSteps) {
        GoodsPrintRequest request = GoodsPrint(step, m_name.c_str(), letterText.c_str());
        if (ReportMissing(Library().LBDBREP(&request, kGoodsPrintOption))) return;
    }
}

} // namespace qm47
