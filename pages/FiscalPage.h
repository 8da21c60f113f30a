#pragma once
// The fiscalization page: sends the fiscalization frame with the NIP over the
// direct serial link, taking the port from the library for the moment of
// sending and giving it back.

#include "pages/Page.h"

#include <string>

namespace qm47 {

class CFiscalPage : public CPage {
public:
    explicit CFiscalPage(CServiceApp& app);

private:
    void DoDataExchange(fw::DataExchange& dx) override;
    void OnSend();
    // Before anything is sent or the port touched: refuses a NIP that breaks
    // the rule (exclamation box; the NIP's edit gets the keyboard with its
    // text selected) and asks whether a valid one is to be written (No the
    // default). True only when the technician answered Yes.
    bool ConfirmFiscalization() const;

    std::string m_nip;
};

} // namespace qm47
