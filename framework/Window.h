#pragma once
// What a dialog class sees of its live window: typed access to its controls
// by id. Implemented by the Win32 backend (real controls) and by the test
// backend (virtual controls built from the same template).
//
// All texts are Windows-1250 bytes.

#include <string>
#include <string_view>

namespace fw {

struct Date {
    int year = 0;  // full year, e.g. 2003
    int month = 0; // 1..12
    int day = 0;   // 1..31
    friend bool operator==(const Date&, const Date&) = default;
};

class Window {
public:
    virtual ~Window() = default;

    virtual std::string GetText(int id) const = 0;
    // Like WM_SETTEXT: an edit reports one change; the edit's limit does not apply.
    virtual void SetText(int id, std::string_view text) = 0;

    // Check boxes and radio buttons: 1 checked, 0 clear.
    virtual int GetCheck(int id) const = 0;
    virtual void SetCheck(int id, int state) = 0;

    virtual void Enable(int id, bool enabled) = 0;
    virtual bool IsEnabled(int id) const = 0;

    // Edits: refuse typing beyond `chars` characters (0 lifts the limit).
    virtual void LimitText(int id, int chars) = 0;
    virtual void SetFocus(int id) = 0;
    // Edits: select the whole text.
    virtual void SelectAll(int id) = 0;

    // Combo boxes: select and show the first list entry that begins with
    // `prefix`, letter case ignored. False (and nothing changed) when none does.
    virtual bool SelectComboEntry(int id, std::string_view prefix) = 0;

    // Date pickers.
    virtual Date GetDate(int id) const = 0;
    virtual void SetDate(int id, const Date& date) = 0;
    virtual void SetDateRange(int id, const Date& first, const Date& last) = 0;

    // The window itself.
    virtual void End(int result) = 0; // end the modal run; before the first showing, never shown
    virtual void SetIcon(int iconResource) = 0; // large and small icon, also shown when minimised
    virtual void AppendSystemMenuItem(int command, std::string_view text) = 0; // after a separator
};

} // namespace fw
