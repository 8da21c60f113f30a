#pragma once
// What the dialog templates of res/ are written with: the control kinds by
// name, texts in Windows-1250, and the frame every page shares.

#include "framework/Cp1250.h"
#include "framework/DialogTemplate.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"

#include <span>

namespace qm47::res {

using fw::cp1250;
using fw::kNoId;
using enum fw::ControlKind;

// A page: no caption, laid over the main window's client area at 115, 15,
// 265 dialog units wide, in "MS Sans Serif" at 8 points.
constexpr fw::DialogTemplate PageTemplate(int id, std::span<const fw::ControlTemplate> controls, int height = 210)
{
    return {id, fw::DialogFrame::Page, nullptr, {115, 15, 265, height}, "MS Sans Serif", 8, controls};
}

} // namespace qm47::res
