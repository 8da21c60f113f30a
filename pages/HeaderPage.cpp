#include "pages/HeaderPage.h"

#include "framework/DataExchange.h"
#include "framework/Window.h"
#include "pages/HeaderConversion.h"
#include "res/ControlLists.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <optional>

namespace qm47 {

namespace {

constexpr std::size_t kDoubleWidthChars = 20;
constexpr std::size_t kNormalWidthChars = 40;
constexpr char kShiftOut = '\x0E'; // switches double width on and off
constexpr char kLineEnd = '\r';

} // namespace

std::string BuildHeaderLine(std::string_view text, bool doubleWidth, bool centred)
{
    const std::size_t width = doubleWidth ? kDoubleWidthChars : kNormalWidthChars;
    const std::size_t padding = centred && text.size() < width ? (width - text.size()) / 2 : 0;
    std::string line;
    if (doubleWidth) line += kShiftOut;
    line.append(padding, ' ');
    line += text;
    if (doubleWidth) line += kShiftOut;
    return line;
}

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
    const std::size_t length = m_lines[line].text.size();
    Wnd().SetText(res::kHeaderLines[line].counter, std::to_string(length));
    // Only line 1 warns, and only warns: the text stays as typed.
    if (line != 0) return;
    if (m_lines[0].doubleWidth && length > kDoubleWidthChars) MessageBox(text::kHeaderDoubleWidthLimit);
    if (length > kNormalWidthChars) MessageBox(text::kHeaderLineLimit);
}

std::string CHeaderPage::BuildHeaderText() const
{
    std::string header;
    for (const HeaderLine& line : m_lines) {
        header += BuildHeaderLine(line.text, line.doubleWidth, line.centred);
        header += kLineEnd;
    }
    return header;
}

void CHeaderPage::ProgramHeader()
{
    if (!PrinterReadyAndRead()) return;
    // A header the printer cannot take whole is refused: cut, its last line
    // would stand shortened on every receipt.
    const std::string header = BuildHeaderText();
    if (header.size() > kMaxConvertedHeaderBytes) {
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
