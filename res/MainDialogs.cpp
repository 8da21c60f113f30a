// Dialogs 102 (the main window) and 100 (the about box).

#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Version.h"

#include "framework/Cp1250.h"

namespace qm47::res {

using fw::cp1250;
using fw::kNoId;
using enum fw::ControlKind;

namespace {

constexpr const char* kFont = "MS Sans Serif";
constexpr std::uint32_t kButton = fw::kTabStop;
constexpr std::uint32_t kOnlineButton = fw::kTabStop | fw::kDisabled;
constexpr std::uint32_t kValue = fw::kCentered;

constexpr const char* kPorts[] = {"com1", "com2", "com3", "com4", "com5", "com6"};

constexpr fw::ControlTemplate kMainControls[] = {
    {1000, PushButton, cp1250<"Połąc&z">(), {20, 245, 50, 14}, kButton | fw::kGroup},
    {1002, PushButton, cp1250<"Rozłą&cz">(), {130, 245, 50, 14}, kOnlineButton},
    {1048, PushButton, cp1250<"Programowanie ze&gara">(), {15, 14, 92, 14}, kOnlineButton},
    {1050, PushButton, cp1250<"Programowanie &nagłówka">(), {15, 32, 92, 14}, kOnlineButton},
    {1049, PushButton, cp1250<"Zmiana stawek &PTU">(), {15, 50, 92, 14}, kOnlineButton},
    {1057, PushButton, cp1250<"&Fiskalizacja">(), {15, 68, 92, 14}, kOnlineButton},
    {1051, PushButton, cp1250<"Obsługa &wyświetlacza">(), {15, 86, 92, 14}, kOnlineButton},
    {1052, PushButton, cp1250<"&Raporty">(), {15, 104, 92, 14}, kOnlineButton},
    {1053, PushButton, cp1250<"Kontrola &bazy danych">(), {15, 122, 92, 14}, kOnlineButton},
    {1055, PushButton, cp1250<"Przegląd &serwisowy">(), {15, 158, 92, 14}, kOnlineButton},
    {1056, PushButton, cp1250<"Sprzedaż &kontrolna">(), {15, 176, 92, 14}, kOnlineButton},
    {2, PushButton, cp1250<"Kon&iec">(), {15, 212, 92, 14}, kButton | fw::kCancelButton},
    {1016, PushButton, cp1250<"&Odśwież">(), {420, 251, 58, 12}, kOnlineButton},
    {kNoId, GroupBox, cp1250<"Połączenie">(), {7, 230, 184, 40}},

    // The "Status" group: labels and value fields.
    {kNoId, GroupBox, cp1250<"Status">(), {398, 1, 102, 269}},
    {1044, Static, cp1250<"Nazwa urządzenia:">(), {423, 9, 61, 8}},
    {1045, Static, "", {402, 20, 95, 19}, kValue},
    {1042, Static, cp1250<"Numer unikatowy:">(), {423, 38, 58, 8}},
    {1043, Static, "", {402, 48, 95, 11}, kValue},
    {1030, Static, cp1250<"Tryb pracy:">(), {432, 59, 36, 8}},
    {1018, Static, "", {402, 67, 95, 10}, kValue},
    {1019, Static, cp1250<"Ilość zerowań RAM:">(), {420, 78, 64, 8}},
    {1021, Static, "", {428, 87, 40, 15}, kValue},
    {1022, Static, cp1250<"Ostatni zapis do FM:">(), {420, 100, 65, 8}},
    {1023, Static, "", {428, 111, 40, 11}, kValue},
    {1024, Static, cp1250<"Stawki PTU:">(), {432, 123, 41, 8}},
    {1020, Static, cp1250<"A :">(), {418, 135, 10, 8}},
    {1025, Static, "", {436, 135, 47, 10}, kValue},
    {1027, Static, cp1250<"B :">(), {418, 149, 10, 8}},
    {1026, Static, "", {436, 149, 47, 10}, kValue},
    {1029, Static, cp1250<"C :">(), {418, 163, 10, 8}},
    {1028, Static, "", {436, 163, 47, 10}, kValue},
    {1033, Static, cp1250<"D :">(), {418, 177, 10, 8}},
    {1032, Static, "", {436, 177, 47, 10}, kValue},
    {1035, Static, cp1250<"E :">(), {418, 190, 10, 8}},
    {1034, Static, "", {436, 191, 47, 10}, kValue},
    {1037, Static, cp1250<"F :">(), {418, 204, 9, 8}},
    {1036, Static, "", {436, 205, 47, 10}, kValue},
    {1039, Static, cp1250<"G :">(), {418, 219, 10, 8}},
    {1038, Static, "", {436, 219, 47, 10}, kValue},
    {1040, Static, cp1250<"Ilość paragonów:">(), {425, 228, 55, 8}},
    {1041, Static, "", {439, 239, 24, 9}, kValue},

    // The lamps.
    {kNoId, GroupBox, "ENQ", {199, 230, 104, 40}},
    {kNoId, Static, "FSK", {204, 241, 14, 8}},
    {1004, Static, "", {207, 255, 8, 8}, kValue},
    {kNoId, Static, "CMD", {228, 241, 17, 8}},
    {1005, Static, "", {232, 255, 8, 8}, kValue},
    {kNoId, Static, "PAR", {256, 241, 16, 8}},
    {1006, Static, "", {260, 255, 8, 8}, kValue},
    {kNoId, Static, "TRF", {281, 241, 15, 8}},
    {1007, Static, "", {285, 255, 8, 8}, kValue},
    {kNoId, GroupBox, "DLE", {309, 230, 81, 40}},
    {kNoId, Static, "ONL", {315, 241, 16, 8}},
    {1008, Static, "", {317, 255, 8, 8}, kValue},
    {kNoId, Static, "PE", {341, 241, 10, 8}},
    {1009, Static, "", {343, 255, 8, 8}, kValue},
    {kNoId, Static, "ERR", {367, 241, 16, 8}},
    {1010, Static, "", {371, 255, 8, 8}, kValue},

    {kNoId, Bitmap, nullptr, {129, 46, 243, 140}, fw::kStyleNone, {}, IDB_PRINTER},
    {3, PushButton, cp1250<"O programie...">(), {15, 194, 92, 14}, kButton},
    {1076, ComboBox, nullptr, {77, 245, 47, 95}, fw::kTabStop | fw::kSorted | fw::kVScroll, kPorts},
    {kNoId, Static, cp1250<"Program serwisowy dedykowany dla drukarek z homologacją 2001.">(), {140, 27, 216, 8}},
    {kNoId, Static, cp1250<"Wersja beta - uwagi proszę zgłaszać na adres serwis@qm47.example">(), {129, 201, 242, 8}},
};

constexpr fw::ControlTemplate kAboutControls[] = {
    {kNoId, Icon, nullptr, {11, 17, 20, 20}, fw::kStyleNone, {}, IDI_APP},
    {kNoId, Static, cp1250<"Program serwisowy TALMIR v " QM47_VERSION_TEXT>(), {40, 10, 119, 8}},
    {1, PushButton, "OK", {178, 7, 50, 14}, fw::kTabStop | fw::kGroup},
    {kNoId, Static, cp1250<"Obsługa drukarek fiskalnych TALMIR">(), {40, 18, 119, 8}},
    {kNoId, Static, cp1250<"Copyright © 2026 Zespół QM47">(), {40, 26, 119, 8}},
    {kNoId, Static, cp1250<"serwis@qm47.example">(), {40, 42, 119, 8}},
};

} // namespace

const fw::DialogTemplate kMainDialog{
    IDD_MAIN, fw::DialogFrame::Main, "TALMIR POLSKA", {0, 0, 507, 277}, kFont, 8, kMainControls,
};

const fw::DialogTemplate kAboutDialog{
    IDD_ABOUT, fw::DialogFrame::About, cp1250<"O programie...">(), {0, 0, 235, 63}, kFont, 8, kAboutControls,
};

} // namespace qm47::res
