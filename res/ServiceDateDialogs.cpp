// Dialog 142: the service-inspection page.

#include "res/TemplateParts.h"

namespace qm47::res {

namespace {

constexpr std::uint32_t kValueEdit = fw::kTabStop | fw::kCentered | fw::kAutoHScroll;

constexpr fw::ControlTemplate kServiceDateControls[] = {
    {IDC_SERVICE_DAYS, Edit, nullptr, {114, 45, 37, 14}, kValueEdit | fw::kGroup},
    {IDC_SERVICE_PHONE, Edit, nullptr, {83, 91, 100, 14}, kValueEdit},
    {IDC_SERVICE_SET, PushButton, cp1250<"&PROGRAMOWANIE">(), {28, 138, 208, 14}, fw::kTabStop},
    {IDC_SERVICE_CANCEL, PushButton, cp1250<"&Anuluj">(), {107, 177, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Data przeglądu serwisowego">(), {7, 7, 251, 196}},
    {kNoId, Static, cp1250<"Ilośc dni do następnego przegladu:">(), {77, 32, 137, 8}},
    {kNoId, Static, cp1250<"Telefon:">(), {119, 78, 33, 8}},
};

} // namespace

constinit const fw::DialogTemplate kServiceDateDialog = PageTemplate(IDD_SERVICE_DATE, kServiceDateControls);

} // namespace qm47::res
