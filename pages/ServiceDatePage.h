#pragma once
// The service-inspection page: programs the days until the printer's next
// service inspection and the service telephone number. It does not read the
// printer's current values.

#include "pages/Page.h"

#include <string>

namespace qm47 {

class CServiceDatePage : public CPage {
public:
    explicit CServiceDatePage(CServiceApp& app);

private:
    void DoDataExchange(fw::DataExchange& dx) override;
    void OnSet();

    std::string m_days;  // as typed; converted by the usual decimal rule when sent
    std::string m_phone; // sent exactly as typed
};

} // namespace qm47
