#include "pages/ControlSalePage.h"

#include "app/Records.h"
#include "app/Reporting.h"
#include "app/ServiceApp.h"
#include "framework/DataExchange.h"
#include "pages/GoodsRules.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47 {

namespace {

constexpr int kNameLimit = 40;
constexpr int kTotalizerFields[7] = {
    IDC_SALE_TOTALIZER_A, IDC_SALE_TOTALIZER_B, IDC_SALE_TOTALIZER_C, IDC_SALE_TOTALIZER_D,
    IDC_SALE_TOTALIZER_E, IDC_SALE_TOTALIZER_F, IDC_SALE_TOTALIZER_G,
};

constexpr std::int32_t kPlainReceipt = 0; // LBTRSHDR's argument
constexpr std::uint8_t kSaleLineByteA = 1, kSaleLineByteB = 0;
constexpr std::uint8_t kReceiptEndByte = 3;

// The rate and totalizer texts of the fiscal status, copied at once.
struct RateTexts {
    std::array<std::string, 7> ptuRates;
    std::array<std::string, 7> totalizers;
};

// LBFSTRQ with every text preset to "0" and every number to 0, so that what
// the library leaves unfilled, or fills with null, reads "0".
RateTexts ReadRateTexts(const DeviceLibrary& library)
{
    static constexpr const char* kPreset = "0";
    FiscalStatus status = PresetFiscalStatus();
    library.LBFSTRQ(&status);

    RateTexts texts;
    for (std::size_t i = 0; i < 7; ++i) {
        const char* rate = status.ptuRate[i];
        const char* totalizer = status.totalizer[i];
        texts.ptuRates[i] = rate ? rate : kPreset;
        texts.totalizers[i] = totalizer ? totalizer : kPreset;
    }
    return texts;
}

} // namespace

CControlSalePage::CControlSalePage(CServiceApp& app)
    : fw::CDialog(res::kControlSaleDialog), m_app(app), m_name(text::kControlSaleName.view()),
      m_rate(text::kDefaultRateLetter.view())
{
}

bool CControlSalePage::OnInitDialog()
{
    m_totalizers = ReadRateTexts(m_app.Library()).totalizers;
    return fw::CDialog::OnInitDialog();
}

void CControlSalePage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_SALE_NAME, m_name, kNameLimit);
    dx.ComboText(IDC_SALE_RATE, m_rate);
    for (std::size_t i = 0; i < m_totalizers.size(); ++i) dx.Text(kTotalizerFields[i], m_totalizers[i]);
}

bool CControlSalePage::OnCommand(int id, int notifyCode)
{
    if (notifyCode != fw::kNotifyClicked) return false;
    switch (id) {
    case IDC_SALE_RUN: ControlSale(); return true;
    default: return false;
    }
}

void CControlSalePage::ControlSale()
{
    // Only a printer that says it is off-line stops the sale; no answer goes on.
    if (m_app.IsPrinterOnline() == 0) {
        ShowOfflineMessage(*this);
        return;
    }
    const DeviceLibrary& library = m_app.Library();
    if (m_app.IsInTransaction() == 1) {
        if (MessageBox(text::kCancelTransactionQuestion, "", {fw::MessageIcon::None, fw::MessageButtons::YesNo}) !=
            fw::MessageAnswer::Yes)
            return;
        if (ReportMissing(*this, library.LBTREXITCAN(text::kRegisterNumber.c_str(), text::kCashier.c_str()))) return;
    }
    if (!UpdateData(fw::Exchange::Save)) return;
    // The combo box takes any text; only "A" to "G" name a rate.
    const auto letter = RateLetter(m_rate);
    if (!letter) {
        MessageBox(text::kUnknownRate, nullptr, {fw::MessageIcon::Exclamation});
        return;
    }

    const RateTexts before = ReadRateTexts(library);
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
    const DeviceLibrary& library = m_app.Library();
    if (ReportMissing(*this, library.LBTRSHDR(kPlainReceipt))) return;

    SaleLineRequest line{};
    line.lineByteA = kSaleLineByteA;
    line.lineByteB = kSaleLineByteB;
    line.name = m_name.c_str();
    line.quantity = text::kSaleQuantity.c_str();
    line.rateLetter = static_cast<std::uint8_t>(letter);
    line.price = text::kSaleAmount.c_str();
    line.value = text::kSaleAmount.c_str();
    line.lastText = text::kSaleLineLastText.c_str();
    // A refused line is told, and the receipt is ended all the same.
    ReportError(m_app, *this, library.LBTRSLN(&line));

    static constexpr const char* kEmptyTexts[3] = {"", "", ""};
    ReceiptEndRequest end{};
    end.endByte = kReceiptEndByte;
    end.code = text::kReceiptEndCode.c_str();
    end.texts3 = kEmptyTexts;
    end.text19 = "";
    end.text23 = "";
    end.text27 = "";
    end.amount = text::kSaleAmount.c_str();
    for (std::size_t i = 0; i < 8; ++i) end.pairs[i] = {0, ""};
    ReportMissing(*this, library.O_LBTRXEND(&end));
}

} // namespace qm47
