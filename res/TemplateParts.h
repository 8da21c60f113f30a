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

// Every window's face: Tahoma, an outline face with every Polish letter
// that every Windows from XP on has (Windows' own "MS Shell Dlg 2" is Tahoma
// on every language) and Wine ships. Named itself, not through "MS Sans
// Serif" (a bitmap font with the Polish letters only where the system's code
// page is 1250, in fixed sizes) nor through a substitute name (whatever the
// machine's table maps it to). The layouts are measured in it.
inline constexpr const char* kDialogFont = "Tahoma";
inline constexpr int kDialogFontPoints = 8;

// A page: no caption, laid over the main window's client area at 115, 15,
// 265 dialog units wide.
constexpr fw::DialogTemplate PageTemplate(int id, std::span<const fw::ControlTemplate> controls, int height = 210)
{
    return {id, fw::DialogFrame::Page, nullptr, {115, 15, 265, height}, kDialogFont, kDialogFontPoints, controls};
}

} // namespace qm47::res
