#include "framework/win32/DialogWindow.h"

#include "framework/win32/WideText.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

namespace fw::win32 {

namespace {

SYSTEMTIME ToSystemTime(const Date& date)
{
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(date.year);
    time.wMonth = static_cast<WORD>(date.month);
    time.wDay = static_cast<WORD>(date.day);
    return time;
}

IconHandle LoadIconSized(int resource, int sizeMetricX, int sizeMetricY)
{
    return IconHandle(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resource),
                                                    IMAGE_ICON, GetSystemMetrics(sizeMetricX),
                                                    GetSystemMetrics(sizeMetricY), LR_DEFAULTCOLOR)));
}

// An editable combo box takes the edit messages in its own form.
bool IsComboBox(HWND control)
{
    return HasClassName(control, L"combobox");
}

} // namespace

// Compared by hand: the system's ordinal comparison ignoring case is missing
// before Vista, and the program runs on XP too.
bool HasClassName(HWND window, std::wstring_view lowerCaseName)
{
    wchar_t className[32] = {};
    const int length = GetClassNameW(window, className, 32);
    const auto lower = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; };
    return std::ranges::equal(std::wstring_view(className, length > 0 ? length : 0), lowerCaseName, {}, lower);
}

DialogWindow::DialogWindow(CDialog& dialog, const DialogTemplate& dialogTemplate)
    : m_dialog(dialog), m_template(dialogTemplate)
{
}

DialogWindow::~DialogWindow()
{
    // The dialog procedure lets go of this object when the window is
    // destroyed; should the window outlive it, no message may reach it.
    if (m_hwnd && IsWindow(m_hwnd)) SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
}

HWND DialogWindow::Item(int id) const
{
    HWND item = GetDlgItem(m_hwnd, id == kNoId ? 0xFFFF : id);
    if (!item)
        throw std::logic_error("dialog " + std::to_string(m_template.id) + " has no control " + std::to_string(id));
    return item;
}

std::string DialogWindow::GetText(int id) const
{
    HWND item = Item(id);
    const int length = GetWindowTextLengthW(item);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(item, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return Narrow(text);
}

void DialogWindow::SetText(int id, std::string_view text)
{
    const std::wstring wide = Widen(text);
    SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

int DialogWindow::GetCheck(int id) const
{
    return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void DialogWindow::SetCheck(int id, int state)
{
    SendMessageW(Item(id), BM_SETCHECK, state ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DialogWindow::Enable(int id, bool enabled)
{
    EnableWindow(Item(id), enabled ? TRUE : FALSE);
}

bool DialogWindow::IsEnabled(int id) const
{
    return IsWindowEnabled(Item(id)) != FALSE;
}

void DialogWindow::LimitText(int id, int chars)
{
    HWND control = Item(id);
    SendMessageW(control, IsComboBox(control) ? CB_LIMITTEXT : EM_LIMITTEXT, static_cast<WPARAM>(chars), 0);
}

void DialogWindow::SetFocus(int id)
{
    // The dialog's own way of moving the focus, which also keeps the
    // default-button highlight right.
    SendMessageW(m_hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

void DialogWindow::SelectAll(int id)
{
    HWND control = Item(id);
    if (IsComboBox(control))
        SendMessageW(control, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else
        SendMessageW(control, EM_SETSEL, 0, -1);
}

bool DialogWindow::SelectComboEntry(int id, std::string_view prefix)
{
    const std::wstring wide = Widen(prefix);
    const LRESULT index = SendMessageW(Item(id), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(wide.c_str()));
    return index != CB_ERR;
}

Date DialogWindow::GetDate(int id) const
{
    SYSTEMTIME time{};
    if (SendMessageW(Item(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) return {};
    return {time.wYear, time.wMonth, time.wDay};
}

void DialogWindow::SetDate(int id, const Date& date)
{
    SYSTEMTIME time = ToSystemTime(date);
    SendMessageW(Item(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void DialogWindow::SetDateRange(int id, const Date& first, const Date& last)
{
    // The range covers the whole of its last day: the control compares full
    // times, and a date picked keeps the time of day it had, so a bound at
    // 00:00 would refuse the last day at any later hour.
    SYSTEMTIME range[2] = {ToSystemTime(first), ToSystemTime(last)};
    range[1].wHour = 23;
    range[1].wMinute = 59;
    range[1].wSecond = 59;
    range[1].wMilliseconds = 999;
    SendMessageW(Item(id), DTM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(range));
}

void DialogWindow::End(int result)
{
    m_ended = true;
    EndDialog(m_hwnd, result);
}

void DialogWindow::SetIcon(int iconResource)
{
    IconHandle largeIcon = LoadIconSized(iconResource, SM_CXICON, SM_CYICON);
    IconHandle smallIcon = LoadIconSized(iconResource, SM_CXSMICON, SM_CYSMICON);
    SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon.get()));
    SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    // The window no longer uses the previous icons: they go now.
    m_largeIcon = std::move(largeIcon);
    m_smallIcon = std::move(smallIcon);
}

void DialogWindow::AppendSystemMenuItem(int command, std::string_view text)
{
    HMENU menu = GetSystemMenu(m_hwnd, FALSE);
    if (!menu) return;
    const std::wstring wide = Widen(text);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), wide.c_str());
}

} // namespace fw::win32
