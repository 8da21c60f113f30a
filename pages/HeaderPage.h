#pragma once
// The header page (dialog 134): the seven lines of the receipt header, each
// with its double-width ("Podw.") and centre ("Center") flag and a counter of
// its characters. "&PROGRAMOWANIE" builds the header, converts it to the
// printer's code page and sends it.

#include "pages/HeaderRules.h"
#include "pages/Page.h"
#include "res/ControlLists.h"

#include <array>

namespace qm47 {

class CHeaderPage : public CPage {
public:
    explicit CHeaderPage(CServiceApp& app);

private:
    void DoDataExchange(fw::DataExchange& dx) override;
    void ProgramHeader();
    void RefreshCounter(std::size_t line);

    std::array<HeaderLine, std::size(res::kHeaderLines)> m_lines;
};

} // namespace qm47
