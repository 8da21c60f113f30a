#include "pages/TaxRatesPage.h"

#include "app/NumberText.h"
#include "framework/DataExchange.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <algorithm>

namespace qm47 {

namespace {

// The rate edits, A to G.
constexpr int kRateEdits[7] = {IDC_TAX_RATES_A, IDC_TAX_RATES_B, IDC_TAX_RATES_C, IDC_TAX_RATES_D,
                               IDC_TAX_RATES_E, IDC_TAX_RATES_F, IDC_TAX_RATES_G};

constexpr std::int32_t kHighestRate = 101; // 101: not in use

} // namespace

bool IsSendableRate(const std::string& rate)
{
    const std::int32_t number = ParseDecimal(rate);
    return !rate.empty() && number >= 0 && number <= kHighestRate;
}

CTaxRatesPage::CTaxRatesPage(CServiceApp& app) : CPage(app, res::kTaxRatesDialog)
{
    std::copy(std::begin(text::kDefaultPtuRates), std::end(text::kDefaultPtuRates), m_rates.begin());
    OnClick(IDC_TAX_RATES_SET, &CTaxRatesPage::SetRates);
}

void CTaxRatesPage::DoDataExchange(fw::DataExchange& dx)
{
    for (std::size_t i = 0; i < m_rates.size(); ++i) dx.Text(kRateEdits[i], m_rates[i]);
}

// This page tells nothing of an off-line printer or of a rate it refuses.
void CTaxRatesPage::SetRates()
{
    if (!PrinterReady(OnlineRule::OnLineSilent) || !UpdateData(fw::Exchange::Save)) return;
    if (!std::all_of(m_rates.begin(), m_rates.end(), IsSendableRate)) return;

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
    ReportResult(Library().LBSETPTU(&request));
}

} // namespace qm47
