#include "res/Dialogs.h"

namespace fw {

const DialogTemplate* FindDialogTemplate(int id)
{
    static constexpr const DialogTemplate* kAll[] = {
        &qm47::res::kAboutDialog,
        &qm47::res::kMainDialog,
        &qm47::res::kClockDialog,
        &qm47::res::kTaxRatesDialog,
        &qm47::res::kReportsDialog,
        &qm47::res::kHeaderDialog,
        &qm47::res::kFiscalDialog,
        &qm47::res::kGoodsCheckDialog,
        &qm47::res::kControlSaleDialog,
        &qm47::res::kDisplayDialog,
        &qm47::res::kServiceDateDialog,
    };
    for (const DialogTemplate* dialog : kAll)
        if (dialog->id == id) return dialog;
    return nullptr;
}

} // namespace fw
