#pragma once
// The goods database check page: asks the printer what its goods database
// holds for one name and rate letter and shows the answer, optionally after
// having the printer print the same check. It shows no success message and
// examines no result code.

#include "pages/GoodsRules.h"
#include "pages/Page.h"

#include <string>

namespace qm47 {

class CGoodsCheckPage : public CPage {
public:
    explicit CGoodsCheckPage(CServiceApp& app);

private:
    void DoDataExchange(fw::DataExchange& dx) override;
    void Check();
    // The printout: LBDBREP steps 0, 1 and 2.
    void PrintCheck(char letter);

    std::string m_name;
    std::string m_rate; // the combo box's text
    bool m_print = false; // "Wydruk"
    GoodsAnswer m_answer;
};

} // namespace qm47
