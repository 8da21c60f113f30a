#include "pages/TaxRatesPage.h"

#include "app/NumberText.h"
#include "app/Records.h"
#include "app/Reporting.h"
#include "app/ServiceApp.h"
#include "framework/DataExchange.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace qm47 {

namespace {

// The rate edits, A to G.
constexpr int kRateEdits[7] = {IDC_TAX_RATES_A, IDC_TAX_RATES_B, IDC_TAX_RATES_C, IDC_TAX_RATES_D,
                               IDC_TAX_RATES_E, IDC_TAX_RATES_F, IDC_TAX_RATES_G};

constexpr std::int32_t kHighestRate = 101; // 101: not in use

} // namespace

bool IsSendableRate(const std::string& rate)
{
    if (rate.empty()) return false;
    const std::int32_t number = ParseDecimal(rate);
    return number >= 0 && number <= kHighestRate;
}

CTaxRatesPage::CTaxRatesPage(CServiceApp& app) : fw::CDialog(res::kTaxRatesDialog), m_app(app)
{
    for (std::size_t i = 0; i < m_rates.size(); ++i) m_rates[i] = text::kDefaultPtuRates[i];
}

void CTaxRatesPage::DoDataExchange(fw::DataExchange& dx)
{
    for (std::size_t i = 0; i < m_rates.size(); ++i) dx.Text(kRateEdits[i], m_rates[i]);
}

bool CTaxRatesPage::OnCommand(int id, int notifyCode)
{
    if (notifyCode != fw::kNotifyClicked) return false;
    switch (id) {
    case IDC_TAX_RATES_SET: SetRates(); return true;
    default: return false;
    }
}

void CTaxRatesPage::SetRates()
{
    // This page tells nothing of an off-line printer or of a rate it refuses.
    if (m_app.IsPrinterOnline() != 1) return;
    if (!UpdateData(fw::Exchange::Save)) return;
    for (const std::string& rate : m_rates)
        if (!IsSendableRate(rate)) return;

    // The entries point at the texts as typed; record, entries and texts
    // stay put until LBSETPTU returns.
    std::array<PtuRateEntry, 7> entries{};
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i].rateText = m_rates[i].c_str();

    SetPtuRequest request{};
    request.count = static_cast<std::uint8_t>(entries.size());
    request.reserved1 = 0;
    request.entries = entries.data();
    request.registerNumber = text::kTaxRegisterNumber.c_str();
    request.cashier = text::kCashier.c_str();
    ReportResult(m_app, *this, m_app.Library().LBSETPTU(&request));
}

} // namespace qm47
