#include "pages/HeaderPage.h"

#include "framework/DataExchange.h"
#include "framework/Window.h"
#include "pages/HeaderConversion.h"
#include "pages/HeaderRules.h"
#include "res/ControlLists.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <optional>

namespace qm47 {

CHeaderPage::CHeaderPage(CServiceApp& app) : CPage(app, res::kHeaderDialog)
{
    OnClick(IDC_HEADER_SET, &CHeaderPage::ProgramHeader);
    for (std::size_t line = 0; line < std::size(res::kHeaderLines); ++line)
        OnEditChange(res::kHeaderLines[line].edit, [this, line] { RefreshCounter(line); });
}

void CHeaderPage::DoDataExchange(fw::DataExchange& dx)
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        dx.Text(res::kHeaderLines[i].edit, m_lines[i].text);
        dx.Check(res::kHeaderLines[i].doubleWidth, m_lines[i].doubleWidth);
        dx.Check(res::kHeaderLines[i].centred, m_lines[i].centred);
    }
}

void CHeaderPage::RefreshCounter(std::size_t line)
{
    if (!UpdateData(fw::Exchange::Save)) return;
    Wnd().SetText(res::kHeaderLines[line].counter, std::to_string(m_lines[line].text.size()));
    for (const std::string_view warning : LineWarnings(line, m_lines[line])) MessageBox(warning);
}

void CHeaderPage::ProgramHeader()
{
    if (!PrinterReadyAndRead()) return;
    const std::string header = BuildHeaderText(m_lines);
    if (!FitsThePrinter(header)) {
        MessageBox(fw::Substitute(text::kHeaderTooLong,
                                  {std::to_string(header.size()), std::to_string(kMaxConvertedHeaderBytes)}),
                   nullptr, {fw::MessageIcon::Exclamation});
        return;
    }
    // A failed conversion has told the technician why; an empty or partial
    // header must not replace the one the printer holds.
    const std::optional<std::string> converted = ConvertHeaderText(header);
    if (!converted) return;
    ReportError(Library().LBSETHDR(converted->c_str(), text::kRegisterNumber.c_str(), text::kHeaderCashier.c_str()));
}

} // namespace qm47
