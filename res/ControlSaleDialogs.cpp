// Dialog 143: the control sale page.

#include "res/TemplateParts.h"

namespace qm47::res {

namespace {

constexpr const char* kNoTotal = "000000.00";

constexpr fw::ControlTemplate kControlSaleControls[] = {
    {IDC_SALE_NAME, Edit, nullptr, {43, 47, 128, 14}, fw::kTabStop | fw::kAutoHScroll | fw::kGroup},
    {IDC_SALE_RATE, ComboBox, nullptr, {216, 46, 33, 94}, fw::kTabStop | fw::kSorted | fw::kVScroll, kRateLetters},
    {IDC_SALE_RUN, PushButton, cp1250<"&Wykonaj">(), {33, 71, 208, 14}, fw::kTabStop},
    {IDC_SALE_CANCEL, PushButton, cp1250<"&Anuluj">(), {107, 181, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Sprzedaż kontrolna">(), {7, 7, 251, 196}},
    {kNoId, Static, cp1250<"PTU:">(), {186, 50, 25, 8}},
    {kNoId, Static, cp1250<"Nazwa:">(), {14, 49, 29, 8}},
    {kNoId, Static, cp1250<"Program wykona sprzedaż w wybranej stawce na kwotę 0,01PLN.">(), {10, 23, 245, 8}, fw::kCentered},
    {kNoId, Static, cp1250<"Totalizer PTU A:">(), {80, 96, 61, 8}},
    {kNoId, Static, cp1250<"Totalizer PTU B:">(), {80, 107, 61, 8}},
    {kNoId, Static, cp1250<"Totalizer PTU C:">(), {80, 118, 61, 8}},
    {kNoId, Static, cp1250<"Totalizer PTU D:">(), {80, 129, 61, 8}},
    {kNoId, Static, cp1250<"Totalizer PTU E:">(), {80, 140, 61, 8}},
    {kNoId, Static, cp1250<"Totalizer PTU F:">(), {80, 151, 61, 8}},
    {kNoId, Static, cp1250<"Totalizer PTU G:">(), {80, 162, 61, 8}},
    {IDC_SALE_TOTALIZER_A, Static, kNoTotal, {150, 96, 70, 8}},
    {IDC_SALE_TOTALIZER_B, Static, kNoTotal, {150, 107, 70, 8}},
    {IDC_SALE_TOTALIZER_C, Static, kNoTotal, {150, 118, 70, 8}},
    {IDC_SALE_TOTALIZER_D, Static, kNoTotal, {150, 129, 70, 8}},
    {IDC_SALE_TOTALIZER_E, Static, kNoTotal, {150, 140, 70, 8}},
    {IDC_SALE_TOTALIZER_F, Static, kNoTotal, {150, 151, 70, 8}},
    {IDC_SALE_TOTALIZER_G, Static, kNoTotal, {150, 162, 70, 8}},
};

} // namespace

constinit const fw::DialogTemplate kControlSaleDialog = PageTemplate(IDD_CONTROL_SALE, kControlSaleControls);

} // namespace qm47::res
