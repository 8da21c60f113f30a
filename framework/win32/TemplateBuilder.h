#pragma once
// Turns a plain-data dialog template into the in-memory extended dialog
// template (DLGTEMPLATEEX with its DLGITEMTEMPLATEEX items) that
// DialogBoxIndirectParamW runs.

#include "framework/DialogTemplate.h"

#include <cstdint>
#include <vector>

namespace fw::win32 {

// The template as 16-bit words; its data() is suitably aligned.
std::vector<std::uint16_t> BuildDialogTemplate(const DialogTemplate& dialog);

} // namespace fw::win32
