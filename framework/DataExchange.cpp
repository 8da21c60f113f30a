#include "framework/DataExchange.h"

#include "framework/Window.h"

namespace fw {

namespace {

std::string TooManyCharactersMessage(int limit)
{
    return Substitute("Please enter no more than %1 characters.", {std::to_string(limit)});
}

} // namespace

DataExchange::DataExchange(const CDialog& dialog, Window& window, Exchange direction)
    : m_dialog(dialog), m_window(window), m_direction(direction)
{
}

bool DataExchange::Text(int id, std::string& value, int limit)
{
    if (!m_ok) return false;
    if (Loading()) {
        if (limit > 0) m_window.LimitText(id, limit);
        // An unchanged text is not set again, so the control reports no change.
        if (m_window.GetText(id) != value) m_window.SetText(id, value);
        return true;
    }
    std::string text = m_window.GetText(id);
    if (limit > 0 && text.size() > static_cast<std::size_t>(limit)) {
        ShowMessage(&m_dialog, TooManyCharactersMessage(limit), nullptr, {MessageIcon::Exclamation});
        m_window.SetFocus(id);
        m_window.SelectAll(id);
        m_ok = false;
        return false;
    }
    value = std::move(text);
    return true;
}

bool DataExchange::Check(int id, bool& checked)
{
    if (!m_ok) return false;
    if (Loading()) m_window.SetCheck(id, checked ? 1 : 0);
    else checked = m_window.GetCheck(id) == 1;
    return true;
}

bool DataExchange::Radio(int id, int& index)
{
    if (!m_ok) return false;
    if (Loading()) m_window.SetCheck(id, index == 0 ? 1 : 0);
    else index = m_window.GetCheck(id) == 1 ? 0 : -1;
    return true;
}

bool DataExchange::Date(int id, fw::Date& value, const fw::Date& first, const fw::Date& last)
{
    if (!m_ok) return false;
    if (Loading()) {
        m_window.SetDateRange(id, first, last);
        if (value.year != 0) m_window.SetDate(id, value);
    } else {
        value = m_window.GetDate(id);
    }
    return true;
}

bool DataExchange::ComboText(int id, std::string& value)
{
    if (!m_ok) return false;
    if (Loading()) {
        // An empty text selects no entry: the box shows what was used, not "com1".
        if (value.empty() || !m_window.SelectComboEntry(id, value)) m_window.SetText(id, value);
    } else {
        value = m_window.GetText(id);
    }
    return true;
}

} // namespace fw
