#pragma once
// Dialog data exchange: plain calls, one per bound value, in the dialog's
// DoDataExchange. The exchange stops at the first refused value: later calls
// do nothing and return false.

#include "framework/Dialog.h"
#include "framework/Window.h"

#include <string>

namespace fw {

class DataExchange {
public:
    DataExchange(const CDialog& dialog, Window& window, Exchange direction);

    bool Loading() const { return m_direction == Exchange::Load; }
    bool Ok() const { return m_ok; }

    // An edit or static text. `limit` > 0: on load the edit refuses typing
    // beyond it; on save a longer text shows "Please enter no more than %1
    // characters." (exclamation icon), focuses and selects the edit and fails.
    bool Text(int id, std::string& value, int limit = 0);
    // A check box as checked (exactly state 1) or not.
    bool Check(int id, bool& checked);
    // A radio button read on its own: 0 when it is checked, -1 when it is not.
    bool Radio(int id, int& index);
    // An editable combo box's text. On load: the first list entry beginning
    // with the value (case ignored) is selected, else the value itself shown;
    // an empty value selects nothing.
    bool ComboText(int id, std::string& value);
    // A date picker offering `first` to `last`. On load the range is set and
    // a date put in, unless the value is no date (year 0), which leaves the
    // picker on its own (today's).
    bool Date(int id, fw::Date& value, const fw::Date& first, const fw::Date& last);

private:
    const CDialog& m_dialog;
    Window& m_window;
    Exchange m_direction;
    bool m_ok = true;
};

} // namespace fw
