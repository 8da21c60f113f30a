// Dialog 136: the reports page.

#include "res/TemplateParts.h"

namespace qm47::res {

namespace {

constexpr std::uint32_t kNumberEdit = fw::kTabStop | fw::kCentered | fw::kAutoHScroll;

// The two radio buttons form one group (from "by dates" up to the next group
// start, the first number's edit), with the date pickers between them; the
// pickers are no radio buttons, so checking one radio button clears only the
// other.
constexpr fw::ControlTemplate kReportsControls[] = {
    {IDC_REPORTS_DAILY, PushButton, cp1250<"Wykonaj">(), {29, 38, 49, 14}, fw::kTabStop | fw::kGroup},
    {IDC_REPORTS_MONTH_YEAR, Edit, nullptr, {110, 43, 23, 14}, kNumberEdit},
    {IDC_REPORTS_MONTH, Edit, nullptr, {144, 43, 23, 14}, kNumberEdit},
    {IDC_REPORTS_MONTHLY_FULL, CheckBox, cp1250<"Raport pełny">(), {186, 31, 57, 10}, fw::kTabStop},
    {IDC_REPORTS_MONTHLY, PushButton, cp1250<"Wykonaj">(), {186, 45, 49, 14}, fw::kTabStop},
    {IDC_REPORTS_BY_DATES, RadioButton, nullptr, {28, 94, 16, 8}, fw::kGroup},
    {IDC_REPORTS_FIRST_DATE, DatePicker, nullptr, {66, 92, 57, 15}, fw::kTabStop},
    {IDC_REPORTS_LAST_DATE, DatePicker, nullptr, {66, 117, 58, 15}, fw::kTabStop},
    {IDC_REPORTS_BY_NUMBERS, RadioButton, nullptr, {143, 93, 16, 8}},
    {IDC_REPORTS_FIRST_NUMBER, Edit, nullptr, {195, 92, 40, 14}, kNumberEdit | fw::kGroup},
    {IDC_REPORTS_LAST_NUMBER, Edit, nullptr, {195, 117, 40, 14}, kNumberEdit},
    {IDC_REPORTS_PERIODIC_FULL, CheckBox, cp1250<"Raport pełny">(), {40, 143, 57, 10}, fw::kTabStop},
    {IDC_REPORTS_PERIODIC, PushButton, cp1250<"Wykonaj">(), {40, 159, 185, 14}, fw::kTabStop},
    {IDC_REPORTS_CANCEL, PushButton, cp1250<"&Anuluj">(), {107, 186, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Raporty">(), {7, 7, 251, 197}},
    {kNoId, GroupBox, cp1250<"Według dat">(), {23, 81, 107, 56}},
    {kNoId, Static, cp1250<"OD:">(), {44, 96, 14, 8}},
    {kNoId, Static, cp1250<"DO:">(), {44, 121, 14, 8}},
    {kNoId, GroupBox, cp1250<"Według numerów">(), {138, 81, 105, 56}},
    {kNoId, Static, cp1250<"OD:">(), {167, 97, 14, 8}},
    {kNoId, Static, cp1250<"DO:">(), {167, 122, 14, 8}},
    {kNoId, GroupBox, cp1250<"Raport dobowy">(), {17, 22, 75, 41}},
    {kNoId, GroupBox, cp1250<"Raport okresowy">(), {17, 70, 232, 112}},
    {kNoId, GroupBox, cp1250<"Raport miesięczny">(), {99, 22, 150, 41}},
    {kNoId, Static, cp1250<"Rok">(), {114, 32, 14, 8}},
    {kNoId, Static, cp1250<"Miesiąc">(), {144, 32, 30, 8}},
};

} // namespace

constinit const fw::DialogTemplate kReportsDialog = PageTemplate(IDD_REPORTS, kReportsControls, 211);

} // namespace qm47::res
