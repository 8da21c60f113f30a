// Dialog 132: the clock page.

#include "res/ControlLists.h"
#include "res/TemplateParts.h"

namespace qm47::res {

namespace {

constexpr std::uint32_t kNumberEdit = fw::kTabStop | fw::kCentered | fw::kAutoHScroll;
constexpr std::uint32_t kLabel = fw::kCentered;

constexpr fw::ControlTemplate kClockControls[] = {
    {IDC_CLOCK_YEAR, Edit, nullptr, {67, 83, 24, 14}, kNumberEdit | fw::kGroup},
    {IDC_CLOCK_MONTH, Edit, nullptr, {117, 83, 24, 14}, kNumberEdit},
    {IDC_CLOCK_DAY, Edit, nullptr, {167, 83, 24, 14}, kNumberEdit},
    {IDC_CLOCK_HOUR, Edit, nullptr, {65, 119, 24, 14}, kNumberEdit},
    {IDC_CLOCK_MINUTE, Edit, nullptr, {115, 119, 24, 14}, kNumberEdit},
    {IDC_CLOCK_SECOND, Edit, nullptr, {165, 119, 24, 14}, kNumberEdit},
    {IDC_CLOCK_SET, PushButton, cp1250<"&PROGRAMOWANIE">(), {28, 154, 208, 14}, fw::kTabStop},
    {IDC_CLOCK_CANCEL, PushButton, cp1250<"&Anuluj">(), {107, 181, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Programowanie zegara">(), {7, 7, 251, 196}},
    {kNoId, Static, kClockFields[3].label, {61, 108, 32, 8}, kLabel},
    {kNoId, Static, kClockFields[4].label, {113, 108, 28, 8}, kLabel},
    {kNoId, Static, kClockFields[5].label, {160, 108, 35, 8}, kLabel},
    {IDC_CLOCK_YEAR_LABEL, Static, kClockFields[0].label, {73, 72, 14, 8}, kLabel},
    {IDC_CLOCK_MONTH_LABEL, Static, kClockFields[1].label, {114, 72, 30, 8}, kLabel},
    {IDC_CLOCK_DAY_LABEL, Static, kClockFields[2].label, {168, 72, 22, 8}, kLabel},
    {kNoId, GroupBox, cp1250<"Aktualne ustawienia drukarki:">(), {29, 18, 206, 40}},
    {kNoId, GroupBox, cp1250<"Nowe ustawienia:">(), {29, 62, 206, 79}},
    {IDC_CLOCK_PRINTER_DATE_LABEL, Static, cp1250<"Data (rr,mm,dd):">(), {36, 31, 63, 8}, kLabel},
    {IDC_CLOCK_PRINTER_DATE, Static, "", {137, 31, 79, 8}, kLabel},
    {IDC_CLOCK_PRINTER_TIME_LABEL, Static, cp1250<"Godzina (hh,mm,ss):">(), {34, 44, 78, 8}, kLabel},
    {IDC_CLOCK_PRINTER_TIME, Static, "", {137, 44, 79, 8}, kLabel},
};

} // namespace

constinit const fw::DialogTemplate kClockDialog = PageTemplate(IDD_CLOCK, kClockControls);

} // namespace qm47::res
