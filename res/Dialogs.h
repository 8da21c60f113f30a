#pragma once
// The dialog templates of the program, one constant per dialog resource.

#include "framework/DialogTemplate.h"

namespace qm47::res {

// The rate letters A to G, the list of the rate combo boxes of the goods
// check and the control sale.
inline constexpr const char* kRateLetters[] = {"A", "B", "C", "D", "E", "F", "G"};

extern const fw::DialogTemplate kAboutDialog;
extern const fw::DialogTemplate kMainDialog;
extern const fw::DialogTemplate kClockDialog;
extern const fw::DialogTemplate kTaxRatesDialog;
extern const fw::DialogTemplate kReportsDialog;
extern const fw::DialogTemplate kHeaderDialog;
extern const fw::DialogTemplate kFiscalDialog;
extern const fw::DialogTemplate kGoodsCheckDialog;
extern const fw::DialogTemplate kControlSaleDialog;
extern const fw::DialogTemplate kDisplayDialog;
extern const fw::DialogTemplate kServiceDateDialog;

} // namespace qm47::res
