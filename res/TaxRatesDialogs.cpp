// Dialog 133: the tax-rate page.

#include "res/TemplateParts.h"

namespace qm47::res {

namespace {

constexpr std::uint32_t kRateEdit = fw::kTabStop | fw::kCentered | fw::kAutoHScroll;
constexpr std::uint32_t kLabel = fw::kCentered;

constexpr fw::ControlTemplate kTaxRatesControls[] = {
    {IDC_TAX_RATES_A, Edit, nullptr, {138, 19, 25, 14}, kRateEdit | fw::kGroup},
    {IDC_TAX_RATES_B, Edit, nullptr, {138, 37, 25, 14}, kRateEdit},
    {IDC_TAX_RATES_C, Edit, nullptr, {138, 55, 25, 14}, kRateEdit},
    {IDC_TAX_RATES_D, Edit, nullptr, {138, 73, 25, 14}, kRateEdit},
    {IDC_TAX_RATES_E, Edit, nullptr, {138, 91, 25, 14}, kRateEdit},
    {IDC_TAX_RATES_F, Edit, nullptr, {138, 109, 25, 14}, kRateEdit},
    {IDC_TAX_RATES_G, Edit, nullptr, {138, 127, 25, 14}, kRateEdit},
    {IDC_TAX_RATES_SET, PushButton, cp1250<"&PROGRAMOWANIE">(), {26, 154, 208, 14}, fw::kTabStop},
    {IDC_TAX_RATES_CANCEL, PushButton, cp1250<"&Anuluj">(), {107, 182, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Zmiana stawek PTU">(), {7, 7, 251, 196}},
    {IDC_TAX_RATES_A_LABEL, Static, cp1250<"PTU A">(), {102, 22, 25, 8}, kLabel},
    {IDC_TAX_RATES_B_LABEL, Static, cp1250<"PTU B">(), {102, 40, 25, 8}, kLabel},
    {kNoId, Static, cp1250<"PTU C">(), {102, 58, 25, 8}, kLabel},
    {IDC_TAX_RATES_D_LABEL, Static, cp1250<"PTU D">(), {102, 76, 25, 8}, kLabel},
    {IDC_TAX_RATES_E_LABEL, Static, cp1250<"PTU E">(), {102, 94, 25, 8}, kLabel},
    {IDC_TAX_RATES_F_LABEL, Static, cp1250<"PTU F">(), {102, 112, 25, 8}, kLabel},
    {IDC_TAX_RATES_G_LABEL, Static, cp1250<"PTU G">(), {102, 130, 25, 8}, kLabel},
};

} // namespace

constinit const fw::DialogTemplate kTaxRatesDialog = PageTemplate(IDD_TAX_RATES, kTaxRatesControls);

} // namespace qm47::res
