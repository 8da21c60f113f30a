#include "framework/win32/TemplateBuilder.h"

#include "framework/win32/WideText.h"

#include <windows.h>
#include <commctrl.h>

namespace fw::win32 {

namespace {

// Predefined window classes, written as ordinals in a template.
constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kEditClass = 0x0081;
constexpr std::uint16_t kStaticClass = 0x0082;
constexpr std::uint16_t kComboBoxClass = 0x0085;

class TemplateWriter {
public:
    void Word(std::uint16_t value) { m_words.push_back(value); }
    void DWord(std::uint32_t value)
    {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Short(int value) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))); }
    void Text(std::wstring_view text)
    {
        for (wchar_t c : text) Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    void Ordinal(std::uint16_t ordinal)
    {
        Word(0xFFFF);
        Word(ordinal);
    }
    // Items start on a 32-bit boundary.
    void AlignToDWord()
    {
        if (m_words.size() % 2 != 0) Word(0);
    }
    std::vector<std::uint16_t> Take() { return std::move(m_words); }

private:
    std::vector<std::uint16_t> m_words;
};

std::uint32_t FrameStyle(DialogFrame frame)
{
    constexpr std::uint32_t common = WS_POPUP | DS_SETFONT;
    switch (frame) {
    case DialogFrame::Main:
        return common | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER;
    case DialogFrame::About:
        // Centred on the owner when it starts (Windows centres DS_CENTER on the screen).
        return common | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    case DialogFrame::Page:
        // Windows places an owned popup at (x, y) of the owner's client area.
        return common;
    }
    return common;
}

std::uint32_t FrameExStyle(DialogFrame frame)
{
    return frame == DialogFrame::Main ? WS_EX_APPWINDOW : 0;
}

std::uint32_t CommonControlStyle(std::uint32_t bits)
{
    std::uint32_t style = WS_CHILD | WS_VISIBLE;
    if (bits & kTabStop) style |= WS_TABSTOP;
    if (bits & kGroup) style |= WS_GROUP;
    if (bits & kDisabled) style |= WS_DISABLED;
    return style;
}

std::uint32_t KindStyle(const ControlTemplate& control)
{
    const std::uint32_t bits = control.style;
    switch (control.kind) {
    case ControlKind::PushButton:
        return BS_PUSHBUTTON;
    case ControlKind::Edit: {
        std::uint32_t style = ES_LEFT | WS_BORDER;
        if (bits & kCentered) style |= ES_CENTER;
        if (bits & kAutoHScroll) style |= ES_AUTOHSCROLL;
        return style;
    }
    case ControlKind::Static: {
        std::uint32_t style = (bits & kCentered) ? SS_CENTER : SS_LEFT;
        if (bits & kBorder) style |= WS_BORDER;
        return style;
    }
    case ControlKind::GroupBox:
        return BS_GROUPBOX;
    case ControlKind::CheckBox:
        return BS_AUTOCHECKBOX;
    case ControlKind::RadioButton:
        return BS_AUTORADIOBUTTON;
    case ControlKind::ComboBox: {
        std::uint32_t style = CBS_DROPDOWN;
        if (bits & kSorted) style |= CBS_SORT;
        if (bits & kVScroll) style |= WS_VSCROLL;
        if (bits & kAutoHScroll) style |= CBS_AUTOHSCROLL;
        return style;
    }
    case ControlKind::DatePicker:
        return DTS_SHORTDATEFORMAT | DTS_RIGHTALIGN;
    case ControlKind::Icon:
        return SS_ICON;
    case ControlKind::Bitmap:
        // Drawn to the template's rectangle, whatever the screen's DPI.
        return SS_BITMAP | SS_REALSIZECONTROL;
    }
    return 0;
}

void WriteClass(TemplateWriter& out, ControlKind kind)
{
    switch (kind) {
    case ControlKind::PushButton:
    case ControlKind::GroupBox:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        out.Ordinal(kButtonClass);
        return;
    case ControlKind::Edit:
        out.Ordinal(kEditClass);
        return;
    case ControlKind::Static:
    case ControlKind::Icon:
    case ControlKind::Bitmap:
        out.Ordinal(kStaticClass);
        return;
    case ControlKind::ComboBox:
        out.Ordinal(kComboBoxClass);
        return;
    case ControlKind::DatePicker:
        out.Text(DATETIMEPICK_CLASSW);
        return;
    }
}

void WriteControl(TemplateWriter& out, const ControlTemplate& control)
{
    out.AlignToDWord();
    out.DWord(0); // help id
    out.DWord(0); // extended style
    out.DWord(CommonControlStyle(control.style) | KindStyle(control));
    out.Short(control.rect.x);
    out.Short(control.rect.y);
    out.Short(control.rect.cx);
    out.Short(control.rect.cy);
    out.DWord(control.id == kNoId ? 0xFFFF : static_cast<std::uint32_t>(control.id));
    WriteClass(out, control.kind);
    if (control.kind == ControlKind::Icon || control.kind == ControlKind::Bitmap)
        out.Ordinal(static_cast<std::uint16_t>(control.resource));
    else
        out.Text(Widen(control.text ? control.text : ""));
    out.Word(0); // no creation data
}

} // namespace

std::vector<std::uint16_t> BuildDialogTemplate(const DialogTemplate& dialog)
{
    TemplateWriter out;
    out.Word(1);      // extended template version
    out.Word(0xFFFF); // extended template signature
    out.DWord(0);     // help id
    out.DWord(FrameExStyle(dialog.frame));
    out.DWord(FrameStyle(dialog.frame));
    out.Word(static_cast<std::uint16_t>(dialog.controls.size()));
    out.Short(dialog.rect.x);
    out.Short(dialog.rect.y);
    out.Short(dialog.rect.cx);
    out.Short(dialog.rect.cy);
    out.Word(0); // no menu
    out.Word(0); // the standard dialog class
    out.Text(Widen(dialog.caption ? dialog.caption : ""));
    out.Word(static_cast<std::uint16_t>(dialog.fontPoints));
    out.Word(FW_NORMAL);
    // Not italic, and no character set asked for: the controls take their
    // texts through the wide API, which draws every letter the face holds
    // whatever the set (Wine ignores the template's set anyway).
    out.Word(MAKEWORD(FALSE, DEFAULT_CHARSET));
    out.Text(Widen(dialog.fontName ? dialog.fontName : "MS Shell Dlg"));
    for (const ControlTemplate& control : dialog.controls) WriteControl(out, control);
    return out.Take();
}

} // namespace fw::win32
