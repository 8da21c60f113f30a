#pragma once
// The controls that come in rows, each row written once, in the order the
// program fills and reads them: the windows, their unit and end-to-end
// tests and the tools take them from here.

#include "framework/Cp1250.h"
#include "res/ResourceIds.h"

#include <string_view>

namespace qm47::res {

// The page table: the main window's pages, one row each in the order of its
// button column. A row holds the button that opens the page, the short name
// the tools and tests know the page by (scripts/demo.sh's QM47_DEMO_PAGE),
// the button's text and the page's "Anuluj". The main window's template and
// its commands, the page makers (entry/Pages.cpp), the demo, the soak and
// replay drivers and the tests all read it: a new page is a new row here.
struct PageButton {
    int id;
    const char* name;
    const char* text;
    int cancel;
};
inline constexpr PageButton kMainPageButtons[] = {
    {IDC_MAIN_CLOCK, "clock", fw::cp1250<"Programowanie ze&gara">(), IDC_CLOCK_CANCEL},
    {IDC_MAIN_HEADER, "header", fw::cp1250<"Programowanie &nagłówka">(), IDC_HEADER_CANCEL},
    {IDC_MAIN_TAX_RATES, "rates", fw::cp1250<"Zmiana stawek &PTU">(), IDC_TAX_RATES_CANCEL},
    {IDC_MAIN_FISCAL, "fiscal", fw::cp1250<"&Fiskalizacja">(), IDC_FISCAL_CANCEL},
    {IDC_MAIN_DISPLAY, "display", fw::cp1250<"Obsługa &wyświetlacza">(), IDC_DISPLAY_CANCEL},
    {IDC_MAIN_REPORTS, "reports", fw::cp1250<"&Raporty">(), IDC_REPORTS_CANCEL},
    {IDC_MAIN_GOODS_CHECK, "goods", fw::cp1250<"Kontrola &bazy danych">(), IDC_GOODS_CANCEL},
    {IDC_MAIN_SERVICE_DATE, "service", fw::cp1250<"Przegląd &serwisowy">(), IDC_SERVICE_CANCEL},
    {IDC_MAIN_CONTROL_SALE, "sale", fw::cp1250<"Sprzedaż &kontrolna">(), IDC_SALE_CANCEL},
};

// The row of the page called `name`; a name no row has does not compile.
consteval const PageButton& PageCalled(std::string_view name)
{
    for (const PageButton& page : kMainPageButtons)
        if (page.name == name) return page;
    throw "no page of the page table has that name";
}

// The status panel's tax rates, A to G.
inline constexpr int kMainRates[] = {IDC_MAIN_RATE_A, IDC_MAIN_RATE_B, IDC_MAIN_RATE_C, IDC_MAIN_RATE_D,
                                     IDC_MAIN_RATE_E, IDC_MAIN_RATE_F, IDC_MAIN_RATE_G};

// The clock page's new setting, in LBSETCK's order: each value's label (on
// the page, and named when the value is refused), its edit, and the range
// it must lie in.
inline constexpr int kLastDayOfMonth = 0; // a highest value: the last day of the month typed
struct ClockField {
    const char* label;
    int edit;
    int lowest;
    int highest;
};
inline constexpr ClockField kClockFields[] = {
    {fw::cp1250<"Rok">(), IDC_CLOCK_YEAR, 0, 99},
    {fw::cp1250<"Miesiąc">(), IDC_CLOCK_MONTH, 1, 12},
    {fw::cp1250<"Dzień">(), IDC_CLOCK_DAY, 1, kLastDayOfMonth},
    {fw::cp1250<"Godzina">(), IDC_CLOCK_HOUR, 0, 23},
    {fw::cp1250<"Minuta">(), IDC_CLOCK_MINUTE, 0, 59},
    {fw::cp1250<"Sekunda">(), IDC_CLOCK_SECOND, 0, 59},
};

// The tax-rate page's edits, A to G.
inline constexpr int kTaxRateEdits[] = {IDC_TAX_RATES_A, IDC_TAX_RATES_B, IDC_TAX_RATES_C, IDC_TAX_RATES_D,
                                        IDC_TAX_RATES_E, IDC_TAX_RATES_F, IDC_TAX_RATES_G};

// The header page's lines 1 to 7: the edit, its double-width and centre
// boxes and its character counter.
struct HeaderLineControls {
    int edit;
    int doubleWidth;
    int centred;
    int counter;
};
inline constexpr HeaderLineControls kHeaderLines[] = {
    {IDC_HEADER_LINE1, IDC_HEADER_DOUBLE1, IDC_HEADER_CENTER1, IDC_HEADER_COUNT1},
    {IDC_HEADER_LINE2, IDC_HEADER_DOUBLE2, IDC_HEADER_CENTER2, IDC_HEADER_COUNT2},
    {IDC_HEADER_LINE3, IDC_HEADER_DOUBLE3, IDC_HEADER_CENTER3, IDC_HEADER_COUNT3},
    {IDC_HEADER_LINE4, IDC_HEADER_DOUBLE4, IDC_HEADER_CENTER4, IDC_HEADER_COUNT4},
    {IDC_HEADER_LINE5, IDC_HEADER_DOUBLE5, IDC_HEADER_CENTER5, IDC_HEADER_COUNT5},
    {IDC_HEADER_LINE6, IDC_HEADER_DOUBLE6, IDC_HEADER_CENTER6, IDC_HEADER_COUNT6},
    {IDC_HEADER_LINE7, IDC_HEADER_DOUBLE7, IDC_HEADER_CENTER7, IDC_HEADER_COUNT7},
};

// The control sale's totalizers, A to G.
inline constexpr int kSaleTotalizers[] = {IDC_SALE_TOTALIZER_A, IDC_SALE_TOTALIZER_B, IDC_SALE_TOTALIZER_C,
                                          IDC_SALE_TOTALIZER_D, IDC_SALE_TOTALIZER_E, IDC_SALE_TOTALIZER_F,
                                          IDC_SALE_TOTALIZER_G};

} // namespace qm47::res
