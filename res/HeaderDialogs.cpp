// Dialog 134: the header page.

#include "res/TemplateParts.h"

namespace qm47::res {

namespace {

constexpr std::uint32_t kLineEdit = fw::kTabStop | fw::kAutoHScroll;
constexpr std::uint32_t kFlag = fw::kTabStop;

constexpr fw::ControlTemplate kHeaderControls[] = {
    {IDC_HEADER_LINE1, Edit, nullptr, {17, 27, 168, 16}, kLineEdit | fw::kGroup},
    {IDC_HEADER_DOUBLE1, CheckBox, cp1250<"Podw.">(), {216, 25, 36, 10}, kFlag},
    {IDC_HEADER_CENTER1, CheckBox, cp1250<"Center">(), {216, 36, 37, 10}, kFlag},
    {IDC_HEADER_LINE2, Edit, nullptr, {17, 47, 168, 16}, kLineEdit},
    {IDC_HEADER_DOUBLE2, CheckBox, cp1250<"Podw.">(), {216, 46, 36, 10}, kFlag},
    {IDC_HEADER_CENTER2, CheckBox, cp1250<"Center">(), {216, 56, 37, 10}, kFlag},
    {IDC_HEADER_LINE3, Edit, nullptr, {17, 67, 168, 16}, kLineEdit},
    {IDC_HEADER_DOUBLE3, CheckBox, cp1250<"Podw.">(), {216, 65, 36, 10}, kFlag},
    {IDC_HEADER_CENTER3, CheckBox, cp1250<"Center">(), {216, 74, 37, 10}, kFlag},
    {IDC_HEADER_LINE4, Edit, nullptr, {17, 87, 168, 16}, kLineEdit},
    {IDC_HEADER_DOUBLE4, CheckBox, cp1250<"Podw.">(), {216, 86, 36, 10}, kFlag},
    {IDC_HEADER_CENTER4, CheckBox, cp1250<"Center">(), {216, 95, 37, 10}, kFlag},
    {IDC_HEADER_LINE5, Edit, nullptr, {17, 107, 168, 16}, kLineEdit},
    {IDC_HEADER_DOUBLE5, CheckBox, cp1250<"Podw.">(), {216, 106, 36, 10}, kFlag},
    {IDC_HEADER_CENTER5, CheckBox, cp1250<"Center">(), {216, 115, 37, 10}, kFlag},
    {IDC_HEADER_LINE6, Edit, nullptr, {17, 127, 168, 16}, kLineEdit},
    {IDC_HEADER_DOUBLE6, CheckBox, cp1250<"Podw.">(), {215, 125, 36, 10}, kFlag},
    {IDC_HEADER_CENTER6, CheckBox, cp1250<"Center">(), {215, 135, 37, 10}, kFlag},
    {IDC_HEADER_LINE7, Edit, nullptr, {17, 145, 168, 16}, kLineEdit},
    {IDC_HEADER_DOUBLE7, CheckBox, cp1250<"Podw.">(), {215, 144, 36, 10}, kFlag},
    {IDC_HEADER_CENTER7, CheckBox, cp1250<"Center">(), {215, 153, 37, 10}, kFlag},
    {IDC_HEADER_SET, PushButton, cp1250<"&PROGRAMOWANIE">(), {105, 183, 147, 14}, fw::kTabStop},
    {IDC_HEADER_CANCEL, PushButton, cp1250<"&Anuluj">(), {13, 183, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Programowanie nagłówka">(), {7, 7, 251, 196}},
    {kNoId, Static, cp1250<"Il znaków">(), {187, 14, 37, 8}},
    // The character counters of lines 1 to 7, blank until their line changes.
    {IDC_HEADER_COUNT1, Static, "", {193, 31, 8, 8}},
    {IDC_HEADER_COUNT2, Static, "", {193, 52, 8, 8}},
    {IDC_HEADER_COUNT3, Static, "", {193, 71, 8, 8}},
    {IDC_HEADER_COUNT4, Static, "", {193, 91, 8, 8}},
    {IDC_HEADER_COUNT5, Static, "", {193, 112, 8, 8}},
    {IDC_HEADER_COUNT6, Static, "", {193, 132, 8, 8}},
    {IDC_HEADER_COUNT7, Static, "", {193, 151, 8, 8}},
};

} // namespace

constinit const fw::DialogTemplate kHeaderDialog = PageTemplate(IDD_HEADER, kHeaderControls);

} // namespace qm47::res
