// Dialog 144: the fiscalization page.

#include "res/TemplateParts.h"

namespace qm47::res {

namespace {

constexpr fw::ControlTemplate kFiscalControls[] = {
    {IDC_FISCAL_NIP, Edit, nullptr, {65, 65, 135, 14}, fw::kTabStop | fw::kGroup | fw::kCentered | fw::kAutoHScroll},
    {IDC_FISCAL_SEND, PushButton, cp1250<"&Wyślij">(), {26, 126, 208, 14}, fw::kTabStop},
    {IDC_FISCAL_CANCEL, PushButton, cp1250<"&Anuluj">(), {107, 164, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Fiskalizacja">(), {7, 7, 251, 196}},
    {kNoId, Static, cp1250<"Numer NIP:">(), {23, 67, 42, 8}},
};

} // namespace

constinit const fw::DialogTemplate kFiscalDialog = PageTemplate(IDD_FISCAL, kFiscalControls);

} // namespace qm47::res
