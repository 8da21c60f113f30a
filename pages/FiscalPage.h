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

    static constexpr int kNipLimit = 13; // a ten-digit NIP with its three dashes

private:
    void DoDataExchange(fw::DataExchange& dx) override;
    void OnSend();

    std::string m_nip;
};

} // namespace qm47
