#include "pages/ControlSalePage.h"

#include "app/Requests.h"
#include "framework/DataExchange.h"
#include "pages/GoodsRules.h"
#include "res/ControlLists.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47 {

namespace {

constexpr int kNameLimit = 40;
static_assert(std::size(res::kSaleTotalizers) == kRateCount);

} // namespace

CControlSalePage::CControlSalePage(CServiceApp& app)
    : CPage(app, res::kControlSaleDialog), m_name(text::kControlSaleName.view()),
      m_rate(text::kDefaultRateLetter.view())
{
    OnClick(IDC_SALE_RUN, &CControlSalePage::ControlSale);
}

bool CControlSalePage::OnInitDialog()
{
    m_totalizers = ReadRateTexts(Library()).totalizers;
    return CPage::OnInitDialog();
}

void CControlSalePage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_SALE_NAME, m_name, kNameLimit);
    dx.ComboText(IDC_SALE_RATE, m_rate);
    for (std::size_t i = 0; i < m_totalizers.size(); ++i) dx.Text(res::kSaleTotalizers[i], m_totalizers[i]);
}

void CControlSalePage::ControlSale()
{
    // Only a printer that says it is off-line stops the sale; no answer goes on.
    if (!PrinterReady(OnlineRule::NotOffLine)) return;
    const DeviceLibrary& library = Library();
    if (m_app.IsInTransaction() == 1) {
        if (MessageBox(text::kCancelTransactionQuestion, "", {fw::MessageIcon::None, fw::MessageButtons::YesNo}) !=
            fw::MessageAnswer::Yes)
            return;
        if (ReportMissing(library.LBTREXITCAN(text::kRegisterNumber.c_str(), text::kCashier.c_str()))) return;
    }
    if (!UpdateData(fw::Exchange::Save)) return;
    // The combo box takes any text; only "A" to "G" name a rate.
    const auto letter = RateLetter(m_rate);
    if (!letter) {
        MessageBox(text::kUnknownRate, nullptr, {fw::MessageIcon::Exclamation});
        return;
    }

    // The blocked test needs the rates as the printer holds them: without
    // them the sale stops, before anything is asked or sold.
    const RateTexts before = ReadRateTexts(library);
    if (ReportError(before.result)) return;
    GoodsQueryResult goods{0, nullptr};
    library.LBDBREPRS(m_name.c_str(), static_cast<unsigned char>(*letter), &goods);
    // No rate text: the library answered nothing, which blocks nothing.
    const char* heldRate = goods.rateText;
    if (heldRate && IsBlockedAtOtherRate(goods.blocked, heldRate, before.ptuRates[*letter - 'A']))
        MessageBox(text::kGoodsBlockedRename);
    else
        Sell(*letter);

    m_totalizers = ReadRateTexts(library).totalizers;
    UpdateData(fw::Exchange::Load);
}

void CControlSalePage::Sell(char letter)
{
    const DeviceLibrary& library = Library();
    if (ReportMissing(library.LBTRSHDR(kPlainReceipt))) return;
    SaleLineRequest line = SaleLine(m_name.c_str(), letter);
    // A refused line is told, and the receipt is ended all the same.
    ReportError(library.LBTRSLN(&line));
    ReceiptEndRequest end = ReceiptEnd();
    ReportMissing(library.O_LBTRXEND(&end));
}

} // namespace qm47
