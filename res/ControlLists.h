#pragma once
// The controls that come in rows, each row written once, in the order the
// program fills and reads them: the windows, their unit and end-to-end
// tests and the tools take them from here.

#include "res/ResourceIds.h"

namespace qm47::res {

// The main window's page buttons, in the order of the column, each with the
// short name the tools know its page by (scripts/demo.sh's QM47_DEMO_PAGE)
// and the page's "Anuluj" button.
struct PageButton {
    int id;
    const char* name;
    int cancel;
};
inline constexpr PageButton kMainPageButtons[] = {
    {IDC_MAIN_CLOCK, "clock", IDC_CLOCK_CANCEL},
    {IDC_MAIN_HEADER, "header", IDC_HEADER_CANCEL},
    {IDC_MAIN_TAX_RATES, "rates", IDC_TAX_RATES_CANCEL},
    {IDC_MAIN_FISCAL, "fiscal", IDC_FISCAL_CANCEL},
    {IDC_MAIN_DISPLAY, "display", IDC_DISPLAY_CANCEL},
    {IDC_MAIN_REPORTS, "reports", IDC_REPORTS_CANCEL},
    {IDC_MAIN_GOODS_CHECK, "goods", IDC_GOODS_CANCEL},
    {IDC_MAIN_SERVICE_DATE, "service", IDC_SERVICE_CANCEL},
    {IDC_MAIN_CONTROL_SALE, "sale", IDC_SALE_CANCEL},
};

// The status panel's tax rates, A to G.
inline constexpr int kMainRates[] = {IDC_MAIN_RATE_A, IDC_MAIN_RATE_B, IDC_MAIN_RATE_C, IDC_MAIN_RATE_D,
                                     IDC_MAIN_RATE_E, IDC_MAIN_RATE_F, IDC_MAIN_RATE_G};

// The clock page's new setting: year, month, day, hour, minute, second.
inline constexpr int kClockEdits[] = {IDC_CLOCK_YEAR, IDC_CLOCK_MONTH,  IDC_CLOCK_DAY,
                                      IDC_CLOCK_HOUR, IDC_CLOCK_MINUTE, IDC_CLOCK_SECOND};

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
