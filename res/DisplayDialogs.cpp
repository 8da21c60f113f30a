// Dialog 135: the display page.

#include "res/TemplateParts.h"

namespace qm47::res {

namespace {

constexpr std::uint32_t kLineEdit = fw::kTabStop | fw::kAutoHScroll;

constexpr fw::ControlTemplate kDisplayControls[] = {
    {IDC_DISPLAY_CUSTOMER_LINE1, Edit, nullptr, {55, 29, 115, 14}, kLineEdit | fw::kGroup},
    {IDC_DISPLAY_CUSTOMER_LINE2, Edit, nullptr, {55, 47, 115, 14}, kLineEdit},
    {IDC_DISPLAY_CUSTOMER_SEND, PushButton, cp1250<"Wyślij">(), {183, 38, 50, 14}, fw::kTabStop},
    {IDC_DISPLAY_OPERATOR_LINE1, Edit, nullptr, {54, 82, 115, 14}, kLineEdit},
    {IDC_DISPLAY_OPERATOR_LINE2, Edit, nullptr, {54, 99, 115, 14}, kLineEdit},
    {IDC_DISPLAY_OPERATOR_SEND, PushButton, cp1250<"Wyślij">(), {182, 91, 50, 14}, fw::kTabStop},
    {IDC_DISPLAY_DATE_TIME, PushButton, cp1250<"Wyświetlanie daty i czasu">(), {31, 141, 98, 14}, fw::kTabStop},
    {IDC_DISPLAY_CASH_REGISTER, PushButton, cp1250<"Tryb kasowy">(), {139, 141, 98, 14}, fw::kTabStop},
    {IDC_DISPLAY_CANCEL, PushButton, cp1250<"&Anuluj">(), {107, 178, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Obsługa wyświetlacza">(), {7, 7, 251, 196}},
    {kNoId, GroupBox, cp1250<"Wyświetlacz klienta (VFD)">(), {23, 17, 217, 48}},
    {kNoId, Static, cp1250<"linia 1:">(), {29, 32, 26, 8}},
    {kNoId, Static, cp1250<"linia 2:">(), {29, 50, 26, 8}},
    {kNoId, GroupBox, cp1250<"Wyświetlacz operatora">(), {23, 70, 217, 48}},
    {kNoId, Static, cp1250<"linia 1:">(), {29, 84, 25, 8}},
    {kNoId, Static, cp1250<"linia 2:">(), {29, 101, 25, 8}},
    {kNoId, GroupBox, cp1250<"Wyświetlanie:">(), {22, 125, 219, 42}},
};

} // namespace

constinit const fw::DialogTemplate kDisplayDialog = PageTemplate(IDD_DISPLAY, kDisplayControls);

} // namespace qm47::res
