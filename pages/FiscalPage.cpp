#include "pages/FiscalPage.h"

#include "framework/DataExchange.h"
#include "pages/NipRules.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"
#include "serial/FiscalizationFrame.h"

namespace qm47 {

namespace {
constexpr int kBaudRate = 9600;
} // namespace

CFiscalPage::CFiscalPage(CServiceApp& app) : CPage(app, res::kFiscalDialog)
{
    OnClick(IDC_FISCAL_SEND, &CFiscalPage::OnSend);
}

void CFiscalPage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_FISCAL_NIP, m_nip, kNipLimit);
}

// No on-line check and no answer read: the printer shows whether it took the
// command. The port belongs to the link only between Port_Close and Port_Open.
void CFiscalPage::OnSend()
{
    if (!UpdateData(fw::Exchange::Save) || !ConfirmFiscalization(*this, m_nip)) return;
    const std::string frame = FiscalizationFrame(m_nip);
    const auto& library = Library();

    library.Port_Close();
    CSerialLink& link = m_app.Link();
    const OpenResult opened = link.Open(m_app.PortName());
    const SendResult sent = opened.opened ? link.Send(frame) : SendResult{};
    link.Close();
    m_app.Log().SerialLink(m_app.PortName(), std::string_view(frame.c_str(), frame.size() + 1), link.LastUse());
    const LibraryResult reopened = library.Port_Open(m_app.PortName().c_str(), kBaudRate);

    // Each outcome tells what may be done next. A frame that never left the
    // PC, or left it only in part, may be sent again; one that went out whole
    // must not be, since fiscalization cannot be undone, even when the
    // library did not get its port back. The zero byte after the frame is
    // not part of it.
    if (!opened.opened) MessageBox(text::kCannotOpenPort);
    else if (sent.bytesTaken < frame.size()) MessageBox(text::kFiscalizationNotSentWhole);
    else if (reopened.missing || reopened.code != 0) MessageBox(text::kFiscalizationSentPortNotReopened);
}

} // namespace qm47
