#pragma once
// The header page (dialog 134): the seven lines of the receipt header, each
// with its double-width ("Podw.") and centre ("Center") flag and a counter of
// its characters. "&PROGRAMOWANIE" builds the header, converts it to the
// printer's code page and sends it.

#include "pages/Page.h"
#include "res/ControlLists.h"

#include <array>
#include <string>
#include <string_view>

namespace qm47 {

// One header line as the printer takes it. A double-width line is enclosed in
// SO bytes (0x0E) and is 20 characters wide, a normal one 40. A centred line
// gets half the room its text leaves free (rounded down) as leading spaces;
// nothing is added behind the text, and a text longer than its width is kept
// whole.
std::string BuildHeaderLine(std::string_view text, bool doubleWidth, bool centred);

class CHeaderPage : public CPage {
public:
    explicit CHeaderPage(CServiceApp& app);

private:
    void DoDataExchange(fw::DataExchange& dx) override;
    struct HeaderLine {
        std::string text;
        bool doubleWidth = false;
        bool centred = false;
    };

    void ProgramHeader();
    void RefreshCounter(std::size_t line);
    // Lines 1 to 7, each followed by CR (0x0D).
    std::string BuildHeaderText() const;

    std::array<HeaderLine, std::size(res::kHeaderLines)> m_lines;
};

} // namespace qm47
