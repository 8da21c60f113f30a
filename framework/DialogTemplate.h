#pragma once
// A dialog template described as plain data. The Win32 backend builds a real
// in-memory dialog template from it; the test backend builds virtual controls
// from the same description, so both run the very same dialogs.
//
// Positions and sizes are in dialog units. Texts are Windows-1250 bytes.

#include <cstdint>
#include <span>

namespace fw {

inline constexpr int kNoId = -1; // statics, group boxes and pictures the program never touches

enum class ControlKind {
    PushButton,
    Edit,
    Static,
    GroupBox,
    CheckBox,    // auto check box
    RadioButton, // auto radio button
    ComboBox,    // editable drop-down
    DatePicker,  // short date, calendar drop-down right-aligned
    Icon,        // icon resource `resource`
    Bitmap,      // bitmap resource `resource`
};

// Style bits beyond what the control kind implies.
enum ControlStyle : std::uint32_t {
    kStyleNone = 0,
    kTabStop = 1u << 0,
    kGroup = 1u << 1,      // first control of a group (radio groups, tab groups)
    kDisabled = 1u << 2,   // starts disabled
    kCentered = 1u << 3,   // static: centred text; edit: centred text
    kAutoHScroll = 1u << 4,
    kBorder = 1u << 5,
    kSorted = 1u << 6,     // combo box list sorted
    kVScroll = 1u << 7,    // combo box list with a vertical scroll bar
    kCancelButton = 1u << 8, // push button that is the dialog's cancel (id 2)
};

struct Rect {
    int x, y, cx, cy;
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;   // caption, label or initial text; nullptr for none
    Rect rect;
    std::uint32_t style = kStyleNone;
    std::span<const char* const> items = {}; // combo box list, in template order
    int resource = 0;   // icon or bitmap resource id
};

enum class DialogFrame {
    Main,  // caption, system menu, minimize box, modal frame, shown in the task bar
    About, // caption, system menu, modal frame
    Page,  // no caption, no frame: laid over the owner's client area at (x, y)
};

struct DialogTemplate {
    int id;
    DialogFrame frame;
    const char* caption;   // nullptr for pages
    Rect rect;             // x, y used by pages (115, 15); cx, cy always
    const char* fontName;  // "Tahoma"
    int fontPoints;        // 8
    std::span<const ControlTemplate> controls; // resource order = tab order
};

} // namespace fw
