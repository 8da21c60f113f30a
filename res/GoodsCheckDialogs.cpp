// Dialog 137: the goods database check page.

#include "res/TemplateParts.h"

namespace qm47::res {

namespace {

constexpr fw::ControlTemplate kGoodsCheckControls[] = {
    {IDC_GOODS_NAME, Edit, nullptr, {31, 37, 105, 14}, fw::kTabStop | fw::kAutoHScroll | fw::kGroup},
    {IDC_GOODS_RATE, ComboBox, nullptr, {180, 39, 48, 89}, fw::kTabStop | fw::kSorted | fw::kVScroll, kRateLetters},
    {IDC_GOODS_PRINT, CheckBox, cp1250<"Wyd&ruk">(), {29, 60, 41, 10}, fw::kTabStop},
    {IDC_GOODS_CHECK, PushButton, cp1250<"&Wykonaj">(), {28, 75, 208, 14}, fw::kTabStop},
    {IDC_GOODS_CANCEL, PushButton, cp1250<"&Anuluj">(), {107, 179, 50, 14}, fw::kTabStop | fw::kCancelButton},
    {kNoId, GroupBox, cp1250<"Kontrola bazy danych">(), {7, 7, 251, 196}},
    {kNoId, Static, cp1250<"Nazwa towaru:">(), {30, 26, 58, 8}},
    {kNoId, Static, cp1250<"Stawka PTU:">(), {182, 26, 47, 8}},
    {kNoId, Static, cp1250<"Odpowiedź drukarki:">(), {99, 95, 80, 8}},
    {IDC_GOODS_ANSWER_NAME, Static, "", {91, 110, 126, 12}},
    {IDC_GOODS_ANSWER_PRINTER_RATE, Static, "", {91, 144, 126, 12}},
    {IDC_GOODS_ANSWER_RATE_ASKED, Static, "", {91, 126, 126, 12}},
    {IDC_GOODS_ANSWER_STATUS, Static, "", {91, 161, 126, 12}},
    {kNoId, Static, cp1250<"Nazwa towaru:">(), {33, 110, 58, 8}},
    {kNoId, Static, cp1250<"PTU serwer:">(), {33, 126, 58, 8}},
    {kNoId, Static, cp1250<"PTU drukarka:">(), {33, 144, 58, 8}},
    {kNoId, Static, cp1250<"Status towaru:">(), {33, 161, 58, 8}},
};

} // namespace

constinit const fw::DialogTemplate kGoodsCheckDialog = PageTemplate(IDD_GOODS_CHECK, kGoodsCheckControls);

} // namespace qm47::res
