#pragma once
// What the simulated printer prints, laid out as a 40-column receipt in
// readable UTF-8. The library appends it to qm47sim.printout.txt in the
// current working directory.

#include <string>
#include <string_view>

namespace sim {

inline constexpr const char* kPrintoutFileName = "qm47sim.printout.txt";
inline constexpr int kPaperColumns = 40;

class Printout {
public:
    void Line(std::string_view text = {});
    void Centered(std::string_view text);
    // `left` at the left margin and `right` at the right one.
    void Columns(std::string_view left, std::string_view right);
    void Rule(char c = '-');
    // A text in the Mazovia code page as the printer prints it: CR ends a
    // line, SO switches double width on and off (shown as spaced letters);
    // empty lines are left out.
    void MazoviaText(std::string_view bytes);

    bool Empty() const { return m_text.empty(); }
    std::string Take();

private:
    std::string m_text;
};

// Characters of a UTF-8 text (code points).
int Width(std::string_view utf8);

} // namespace sim
