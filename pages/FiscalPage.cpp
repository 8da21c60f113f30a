#include "pages/FiscalPage.h"

#include "framework/DataExchange.h"
#include "framework/Window.h"
#include "pages/NipRules.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"
#include "serial/FiscalizationFrame.h"

namespace qm47 {

CFiscalPage::CFiscalPage(CServiceApp& app) : CPage(app, res::kFiscalDialog)
{
    OnClick(IDC_FISCAL_SEND, &CFiscalPage::OnSend);
}

void CFiscalPage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_FISCAL_NIP, m_nip, kNipLimit);
}

// No on-line check and no answer read: the printer shows whether it took the
// command.
void CFiscalPage::OnSend()
{
    if (!UpdateData(fw::Exchange::Save) || !ConfirmFiscalization()) return;
    const OwnLinkSend sent = m_app.SendOverOwnLink(FiscalizationFrame(m_nip));

    // Each outcome tells what may be done next. A frame that never left the
    // PC, or left it only in part, may be sent again; one that went out whole
    // must not be, since fiscalization cannot be undone, even when the
    // library did not get its port back. The frame went out whole only when
    // the zero byte after it was taken too: the port takes a byte only once
    // the one before it has left, so a zero byte given up means the frame's
    // last byte may still have been waiting when the port closed.
    if (!sent.opened) MessageBox(text::kCannotOpenPort);
    else if (!sent.sentWhole) MessageBox(text::kFiscalizationNotSentWhole);
    else if (!sent.portGivenBack) MessageBox(text::kFiscalizationSentPortNotReopened);
}

bool CFiscalPage::ConfirmFiscalization() const
{
    const NipCheck check = CheckNip(m_nip);
    if (check != NipCheck::Valid) {
        MessageBox(check == NipCheck::NotTenDigits ? text::kNipNotTenDigits.view() : text::kNipWrongCheckDigit.view(),
                   nullptr, {fw::MessageIcon::Exclamation});
        Wnd().SetFocus(IDC_FISCAL_NIP);
        Wnd().SelectAll(IDC_FISCAL_NIP);
        return false;
    }
    return MessageBox(fw::Substitute(text::kConfirmFiscalization, {m_nip}), nullptr,
                      {fw::MessageIcon::Question, fw::MessageButtons::YesNo, fw::MessageAnswer::No}) ==
           fw::MessageAnswer::Yes;
}

} // namespace qm47
