// Dialog 134: the header page.

#include "res/Dialogs.h"
#include "res/ResourceIds.h"

#include "framework/Cp1250.h"

namespace qm47::res {

using fw::cp1250;
using fw::kNoId;
using enum fw::ControlKind;

namespace {

constexpr std::uint32_t kLineEdit = fw::kTabStop | fw::kAutoHScroll;
constexpr std::uint32_t kFlag = fw::kTabStop;

constexpr fw::ControlTemplate kHeaderControls[] = {
    {1008, Edit, nullptr, {17, 27, 168, 16}, kLineEdit | fw::kGroup},
    {1036, CheckBox, cp1250<"Podw.">(), {216, 25, 36, 10}, kFlag},
    {1037, CheckBox, cp1250<"Center">(), {216, 36, 37, 10}, kFlag},
    {1011, Edit, nullptr, {17, 47, 168, 16}, kLineEdit},
    {1038, CheckBox, cp1250<"Podw.">(), {216, 46, 36, 10}, kFlag},
    {1039, CheckBox, cp1250<"Center">(), {216, 56, 37, 10}, kFlag},
    {1012, Edit, nullptr, {17, 67, 168, 16}, kLineEdit},
    {1040, CheckBox, cp1250<"Podw.">(), {216, 65, 36, 10}, kFlag},
    {1041, CheckBox, cp1250<"Center">(), {216, 74, 37, 10}, kFlag},
    {1013, Edit, nullptr, {17, 87, 168, 16}, kLineEdit},
    {1042, CheckBox, cp1250<"Podw.">(), {216, 86, 36, 10}, kFlag},
    {1043, CheckBox, cp1250<"Center">(), {216, 95, 37, 10}, kFlag},
    {1014, Edit, nullptr, {17, 107, 168, 16}, kLineEdit},
    {1044, CheckBox, cp1250<"Podw.">(), {216, 106, 36, 10}, kFlag},
    {1045, CheckBox, cp1250<"Center">(), {216, 115, 37, 10}, kFlag},
    {1015, Edit, nullptr, {17, 127, 168, 16}, kLineEdit},
    {1051, CheckBox, cp1250<"Podw.">(), {215, 125, 36, 10}, kFlag},
    {1053, CheckBox, cp1250<"Center">(), {215, 135, 37, 10}, kFlag},
    {1016, Edit, nullptr, {17, 145, 168, 16}, kLineEdit},
    {1055, CheckBox, cp1250<"Podw.">(), {215, 144, 36, 10}, kFlag},
    {1056, CheckBox, cp1250<"Center">(), {215, 153, 37, 10}, kFlag},
    {1052, PushButton, cp1250<"&PROGRAMOWANIE">(), {105, 183, 147, 14}, fw::kTabStop},
    {2, PushButton, cp1250<"&Anuluj">(), {13, 183, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Programowanie nagłówka">(), {7, 7, 251, 196}},
    {kNoId, Static, cp1250<"Il znaków">(), {187, 14, 31, 8}},
    // The character counters of lines 1 to 7, blank until their line changes.
    {1046, Static, "", {193, 31, 8, 8}},
    {1047, Static, "", {193, 52, 8, 8}},
    {1048, Static, "", {193, 71, 8, 8}},
    {1049, Static, "", {193, 91, 8, 8}},
    {1050, Static, "", {193, 112, 8, 8}},
    {1054, Static, "", {193, 132, 8, 8}},
    {1057, Static, "", {193, 151, 8, 8}},
};

} // namespace

const fw::DialogTemplate kHeaderDialog{
    IDD_HEADER, fw::DialogFrame::Page, nullptr, {115, 15, 265, 210}, "MS Sans Serif", 8, kHeaderControls,
};

} // namespace qm47::res
