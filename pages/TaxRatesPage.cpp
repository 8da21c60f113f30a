#include "pages/TaxRatesPage.h"

#include "app/Requests.h"
#include "framework/DataExchange.h"
#include "res/ControlLists.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <algorithm>

namespace qm47 {

static_assert(std::size(res::kTaxRateEdits) == kRateCount && std::size(text::kDefaultPtuRates) == kRateCount);

CTaxRatesPage::CTaxRatesPage(CServiceApp& app) : CPage(app, res::kTaxRatesDialog)
{
    std::copy(std::begin(text::kDefaultPtuRates), std::end(text::kDefaultPtuRates), m_rates.begin());
    OnClick(IDC_TAX_RATES_SET, &CTaxRatesPage::SetRates);
}

void CTaxRatesPage::DoDataExchange(fw::DataExchange& dx)
{
    for (std::size_t i = 0; i < m_rates.size(); ++i) dx.Text(res::kTaxRateEdits[i], m_rates[i]);
}

// This page tells nothing of an off-line printer or of a rate it refuses.
void CTaxRatesPage::SetRates()
{
    if (!PrinterReadyAndRead(OnlineRule::OnLineSilent)) return;
    if (!std::all_of(m_rates.begin(), m_rates.end(), IsSendableRate)) return;

    PtuRatesRequest request(m_rates);
    ReportResult(Library().LBSETPTU(request.Record()));
}

} // namespace qm47
