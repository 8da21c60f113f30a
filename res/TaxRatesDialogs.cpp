// Dialog 133: the tax-rate page.

#include "res/Dialogs.h"
#include "res/ResourceIds.h"

#include "framework/Cp1250.h"

namespace qm47::res {

using fw::cp1250;
using fw::kNoId;
using enum fw::ControlKind;

namespace {

constexpr std::uint32_t kRateEdit = fw::kTabStop | fw::kCentered | fw::kAutoHScroll;
constexpr std::uint32_t kLabel = fw::kCentered;

constexpr fw::ControlTemplate kTaxRatesControls[] = {
    {1024, Edit, nullptr, {138, 19, 25, 14}, kRateEdit | fw::kGroup},
    {1014, Edit, nullptr, {138, 37, 25, 14}, kRateEdit},
    {1015, Edit, nullptr, {138, 55, 25, 14}, kRateEdit},
    {1020, Edit, nullptr, {138, 73, 25, 14}, kRateEdit},
    {1023, Edit, nullptr, {138, 91, 25, 14}, kRateEdit},
    {1022, Edit, nullptr, {138, 109, 25, 14}, kRateEdit},
    {1016, Edit, nullptr, {138, 127, 25, 14}, kRateEdit},
    {1047, PushButton, cp1250<"&PROGRAMOWANIE">(), {26, 154, 208, 14}, fw::kTabStop},
    {2, PushButton, cp1250<"&Anuluj">(), {107, 182, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Zmiana stawek PTU">(), {7, 7, 251, 196}},
    {1025, Static, cp1250<"PTU A">(), {102, 22, 25, 8}, kLabel},
    {1026, Static, cp1250<"PTU B">(), {102, 40, 25, 8}, kLabel},
    {kNoId, Static, cp1250<"PTU C">(), {102, 58, 25, 8}, kLabel},
    {1027, Static, cp1250<"PTU D">(), {102, 76, 25, 8}, kLabel},
    {1028, Static, cp1250<"PTU E">(), {102, 94, 25, 8}, kLabel},
    {1029, Static, cp1250<"PTU F">(), {102, 112, 25, 8}, kLabel},
    {1030, Static, cp1250<"PTU G">(), {102, 130, 25, 8}, kLabel},
};

} // namespace

const fw::DialogTemplate kTaxRatesDialog{
    IDD_TAX_RATES, fw::DialogFrame::Page, nullptr, {115, 15, 265, 210}, "MS Sans Serif", 8, kTaxRatesControls,
};

} // namespace qm47::res
