#pragma once
// The page behind each page button of the main window.

#include "framework/Dialog.h"

#include <memory>

namespace qm47 {

class CServiceApp;

// A new page for one of the main window's page buttons.
std::unique_ptr<fw::CDialog> MakePage(int buttonId, CServiceApp& app);

} // namespace qm47
