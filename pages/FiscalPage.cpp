#include "pages/FiscalPage.h"

#include "app/ServiceApp.h"
#include "framework/DataExchange.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"
#include "serial/FiscalizationFrame.h"

namespace qm47 {

namespace {
constexpr int kBaudRate = 9600;
} // namespace

CFiscalPage::CFiscalPage(CServiceApp& app) : fw::CDialog(IDD_FISCAL), m_app(app) {}

void CFiscalPage::DoDataExchange(fw::DataExchange& dx)
{
    dx.Text(IDC_FISCAL_NIP, m_nip, kNipLimit);
}

bool CFiscalPage::OnCommand(int id, int notifyCode)
{
    if (id != IDC_FISCAL_SEND || notifyCode != fw::kNotifyClicked) return false;
    OnSend();
    return true;
}

// No on-line check and no answer read: the printer shows whether it took the
// command. The port belongs to the link only between Port_Close and Port_Open.
void CFiscalPage::OnSend()
{
    if (!UpdateData(fw::Exchange::Save)) return;
    const std::string frame = FiscalizationFrame(m_nip);
    const auto& library = m_app.Library();

    library.Port_Close();
    const bool sent = m_app.m_link.Open(m_app.m_portName) && m_app.m_link.Send(frame);
    m_app.m_link.Close();
    const LibraryResult reopened = library.Port_Open(m_app.m_portName.c_str(), kBaudRate);

    // A frame that never left the PC, or left it only in part (the device
    // went, or the printer held the line), or a port the library did not get
    // back, must not look like a fiscalization that went out.
    if (!sent || reopened.missing || reopened.code != 0) MessageBox(text::kCannotOpenPort);
}

} // namespace qm47
