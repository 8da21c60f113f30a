// Dialogs 102 (the main window) and 100 (the about box).

#include "res/ControlLists.h"
#include "res/TemplateParts.h"
#include "res/Version.h"

namespace qm47::res {

namespace {

constexpr std::uint32_t kButton = fw::kTabStop;
constexpr std::uint32_t kOnlineButton = fw::kTabStop | fw::kDisabled;
constexpr std::uint32_t kValue = fw::kCentered;

constexpr const char* kPorts[] = {"com1", "com2", "com3", "com4", "com5", "com6"};

// The button of the page table's row `row`, in the column at `top`.
constexpr fw::ControlTemplate PageButtonAt(std::size_t row, short top)
{
    return {kMainPageButtons[row].id, PushButton, kMainPageButtons[row].text, {15, top, 100, 14}, kOnlineButton};
}
static_assert(std::size(kMainPageButtons) == 9, "a page's button needs its place in the column below");

constexpr fw::ControlTemplate kMainControls[] = {
    {IDC_MAIN_CONNECT, PushButton, cp1250<"Połąc&z">(), {20, 245, 50, 14}, kButton | fw::kGroup},
    {IDC_MAIN_DISCONNECT, PushButton, cp1250<"Rozłą&cz">(), {130, 245, 50, 14}, kOnlineButton},
    PageButtonAt(0, 14), PageButtonAt(1, 32), PageButtonAt(2, 50), PageButtonAt(3, 68), PageButtonAt(4, 86),
    PageButtonAt(5, 104), PageButtonAt(6, 122), PageButtonAt(7, 158), PageButtonAt(8, 176),
    {IDC_MAIN_EXIT, PushButton, cp1250<"Kon&iec">(), {15, 212, 100, 14}, kButton | fw::kCancelButton},
    {IDC_MAIN_REFRESH, PushButton, cp1250<"&Odśwież">(), {420, 251, 58, 12}, kOnlineButton},
    {kNoId, GroupBox, cp1250<"Połączenie">(), {7, 230, 184, 40}},

    // The "Status" group: labels and value fields.
    {kNoId, GroupBox, cp1250<"Status">(), {398, 1, 102, 269}},
    {IDC_MAIN_DEVICE_NAME_LABEL, Static, cp1250<"Nazwa urządzenia:">(), {401, 9, 95, 8}, kValue},
    {IDC_MAIN_DEVICE_NAME, Static, "", {402, 20, 95, 19}, kValue},
    {IDC_MAIN_UNIQUE_NUMBER_LABEL, Static, cp1250<"Numer unikatowy:">(), {401, 38, 95, 8}, kValue},
    {IDC_MAIN_UNIQUE_NUMBER, Static, "", {402, 48, 95, 11}, kValue},
    {IDC_MAIN_MODE_LABEL, Static, cp1250<"Tryb pracy:">(), {401, 59, 95, 8}, kValue},
    {IDC_MAIN_MODE, Static, "", {402, 67, 95, 10}, kValue},
    {IDC_MAIN_RAM_RESETS_LABEL, Static, cp1250<"Ilość zerowań RAM:">(), {401, 78, 95, 8}, kValue},
    {IDC_MAIN_RAM_RESETS, Static, "", {428, 87, 40, 15}, kValue},
    {IDC_MAIN_LAST_FM_WRITE_LABEL, Static, cp1250<"Ostatni zapis do FM:">(), {401, 100, 95, 8}, kValue},
    {IDC_MAIN_LAST_FM_WRITE, Static, "", {428, 111, 40, 11}, kValue},
    {IDC_MAIN_RATES_LABEL, Static, cp1250<"Stawki PTU:">(), {401, 123, 95, 8}, kValue},
    {IDC_MAIN_RATE_A_LABEL, Static, cp1250<"A :">(), {418, 135, 11, 8}},
    {IDC_MAIN_RATE_A, Static, "", {436, 135, 47, 10}, kValue},
    {IDC_MAIN_RATE_B_LABEL, Static, cp1250<"B :">(), {418, 149, 11, 8}},
    {IDC_MAIN_RATE_B, Static, "", {436, 149, 47, 10}, kValue},
    {IDC_MAIN_RATE_C_LABEL, Static, cp1250<"C :">(), {418, 163, 11, 8}},
    {IDC_MAIN_RATE_C, Static, "", {436, 163, 47, 10}, kValue},
    {IDC_MAIN_RATE_D_LABEL, Static, cp1250<"D :">(), {418, 177, 11, 8}},
    {IDC_MAIN_RATE_D, Static, "", {436, 177, 47, 10}, kValue},
    {IDC_MAIN_RATE_E_LABEL, Static, cp1250<"E :">(), {418, 190, 11, 8}},
    {IDC_MAIN_RATE_E, Static, "", {436, 191, 47, 10}, kValue},
    {IDC_MAIN_RATE_F_LABEL, Static, cp1250<"F :">(), {418, 204, 10, 8}},
    {IDC_MAIN_RATE_F, Static, "", {436, 205, 47, 10}, kValue},
    {IDC_MAIN_RATE_G_LABEL, Static, cp1250<"G :">(), {418, 219, 11, 8}},
    {IDC_MAIN_RATE_G, Static, "", {436, 219, 47, 10}, kValue},
    {IDC_MAIN_RECEIPTS_LABEL, Static, cp1250<"Ilość paragonów:">(), {401, 228, 95, 8}, kValue},
    {IDC_MAIN_RECEIPTS, Static, "", {439, 239, 24, 9}, kValue},

    // The lamps.
    {kNoId, GroupBox, "ENQ", {199, 230, 104, 40}},
    {kNoId, Static, "FSK", {204, 241, 14, 8}},
    {IDC_MAIN_FSK, Static, "", {207, 255, 8, 8}, kValue},
    {kNoId, Static, "CMD", {228, 241, 17, 8}},
    {IDC_MAIN_CMD, Static, "", {232, 255, 8, 8}, kValue},
    {kNoId, Static, "PAR", {256, 241, 16, 8}},
    {IDC_MAIN_PAR, Static, "", {260, 255, 8, 8}, kValue},
    {kNoId, Static, "TRF", {281, 241, 15, 8}},
    {IDC_MAIN_TRF, Static, "", {285, 255, 8, 8}, kValue},
    {kNoId, GroupBox, "DLE", {309, 230, 81, 40}},
    {kNoId, Static, "ONL", {315, 241, 17, 8}},
    {IDC_MAIN_ONL, Static, "", {317, 255, 8, 8}, kValue},
    {kNoId, Static, "PE", {341, 241, 10, 8}},
    {IDC_MAIN_PE, Static, "", {343, 255, 8, 8}, kValue},
    {kNoId, Static, "ERR", {367, 241, 16, 8}},
    {IDC_MAIN_ERR, Static, "", {371, 255, 8, 8}, kValue},

    {kNoId, Bitmap, nullptr, {129, 46, 243, 140}, fw::kStyleNone, {}, IDB_PRINTER},
    {IDC_MAIN_ABOUT, PushButton, cp1250<"O programie...">(), {15, 194, 100, 14}, kButton},
    // Scrolls its text, so that a typed name longer than the box is kept whole.
    {IDC_MAIN_PORT, ComboBox, nullptr, {77, 245, 47, 95}, fw::kTabStop | fw::kSorted | fw::kVScroll | fw::kAutoHScroll,
     kPorts},
    {kNoId, Static, cp1250<"Program serwisowy dedykowany dla drukarek z homologacją 2001.">(), {140, 27, 254, 8}},
    {kNoId, Static, cp1250<"Wersja beta - uwagi proszę zgłaszać na adres serwis@qm47.example">(), {129, 201, 266, 8}},
};

constexpr fw::ControlTemplate kAboutControls[] = {
    {kNoId, Icon, nullptr, {11, 17, 20, 20}, fw::kStyleNone, {}, IDI_APP},
    {kNoId, Static, cp1250<"Program serwisowy TALMIR v " QM47_VERSION_TEXT>(), {40, 10, 137, 8}},
    {IDC_ABOUT_OK, PushButton, "OK", {178, 7, 50, 14}, fw::kTabStop | fw::kGroup},
    {kNoId, Static, cp1250<"Obsługa drukarek fiskalnych TALMIR">(), {40, 18, 137, 8}},
    {kNoId, Static, cp1250<"Copyright © 2026 Zespół QM47">(), {40, 26, 119, 8}},
    {kNoId, Static, cp1250<"serwis@qm47.example">(), {40, 42, 119, 8}},
};

} // namespace

const fw::DialogTemplate kMainDialog{
    IDD_MAIN, fw::DialogFrame::Main, "TALMIR POLSKA", {0, 0, 507, 277}, kDialogFont, kDialogFontPoints, kMainControls,
};

const fw::DialogTemplate kAboutDialog{
    IDD_ABOUT, fw::DialogFrame::About, cp1250<"O programie...">(), {0, 0, 235, 63}, kDialogFont, kDialogFontPoints, kAboutControls,
};

} // namespace qm47::res
