#include "pages/FiscalPage.h"

#include "framework/DataExchange.h"
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
    if (!UpdateData(fw::Exchange::Save)) return;
    const std::string frame = FiscalizationFrame(m_nip);
    const auto& library = Library();

    library.Port_Close();
    CSerialLink& link = m_app.Link();
    const bool sent = link.Open(m_app.PortName()) && link.Send(frame);
    link.Close();
    const LibraryResult reopened = library.Port_Open(m_app.PortName().c_str(), kBaudRate);

    // A frame that never left the PC, or left it only in part (the device
    // went, or the printer held the line), or a port the library did not get
    // back, must not look like a fiscalization that went out.
    if (!sent || reopened.missing || reopened.code != 0) MessageBox(text::kCannotOpenPort);
}

} // namespace qm47
