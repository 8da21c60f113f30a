#include "pages/GoodsCheckPage.h"

#include "app/Records.h"
#include "app/Reporting.h"
#include "app/ServiceApp.h"
#include "framework/DataExchange.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47 {

namespace {

// The steps of the printout on one record: heading, the goods line, end.
constexpr std::uint8_t kPrintHeading = 0, kPrintGoods = 1, kPrintEnd = 2;
// LBDBREP's second argument, which the library gives no meaning here.
constexpr unsigned char kPrintOption = 0;

} // namespace

CGoodsCheckPage::CGoodsCheckPage(CServiceApp& app)
    : fw::CDialog(res::kGoodsCheckDialog), m_app(app), m_rate(text::kDefaultRateLetter.view())
{
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

bool CGoodsCheckPage::OnCommand(int id, int notifyCode)
{
    if (notifyCode != fw::kNotifyClicked) return false;
    switch (id) {
    case IDC_GOODS_CHECK: Check(); return true;
    default: return false;
    }
}

void CGoodsCheckPage::Check()
{
    if (m_app.IsPrinterOnline() != 1) {
        ShowOfflineMessage(*this);
        return;
    }
    if (!UpdateData(fw::Exchange::Save)) return;
    // The combo box takes any text; only "A" to "G" name a rate.
    const auto letter = RateLetter(m_rate);
    if (!letter) {
        MessageBox(text::kUnknownRate, nullptr, {fw::MessageIcon::Exclamation});
        return;
    }

    // A printout that fails, or that the library cannot make, does not stop the query.
    if (m_print == 1) PrintCheck(*letter);

    GoodsQueryResult result{0, nullptr};
    const LibraryResult query =
        m_app.Library().LBDBREPRS(m_name.c_str(), static_cast<unsigned char>(*letter), &result);
    if (ReportMissing(*this, query)) return;
    // No rate text: the library answered nothing, so the fields keep what they
    // showed. When it also failed, the technician is told, or the answer of
    // an earlier query would pass for this one.
    if (result.rateText) m_answer = AnswerGoodsQuery(m_answer, m_name, m_rate, result.blocked, result.rateText);
    else if (query.code != 0) ShowLibraryError(m_app, *this, query.code);
    UpdateData(fw::Exchange::Load);
}

void CGoodsCheckPage::PrintCheck(char letter)
{
    const std::string letterText(1, letter);
    for (const std::uint8_t step : {kPrintHeading, kPrintGoods, kPrintEnd}) {
        GoodsPrintRequest request{};
        request.step = step;
        if (step == kPrintGoods) {
            request.goodsName = m_name.c_str();
            request.rateLetter = letterText.c_str();
        }
        if (step == kPrintEnd) {
            request.registerNumber = text::kRegisterNumber.c_str();
            request.cashier = text::kCashier.c_str();
        }
        if (ReportMissing(*this, m_app.Library().LBDBREP(&request, kPrintOption))) return;
    }
}

} // namespace qm47
