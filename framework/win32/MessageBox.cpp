// Message boxes, the application name, the wait cursor and the common
// controls, on the wide Win32 API.

#include "framework/MessageBox.h"

#include "framework/Dialog.h"
#include "framework/win32/DialogWindow.h"
#include "framework/win32/UserInput.h"
#include "framework/win32/WideText.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace fw {

namespace {

HWND OwnerWindow(const CDialog* owner)
{
    if (!owner) return nullptr;
    const auto* window = dynamic_cast<const win32::DialogWindow*>(owner->LiveWindow());
    return window ? window->Handle() : nullptr;
}

UINT IconFlag(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    case MessageIcon::Exclamation:
        return MB_ICONEXCLAMATION;
    case MessageIcon::Question:
        return MB_ICONQUESTION;
    case MessageIcon::None:
        break;
    }
    return 0;
}

std::string ProgramFileTitle()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::wstring_view name(path);
    if (const auto slash = name.find_last_of(L"\\/"); slash != name.npos) name.remove_prefix(slash + 1);
    if (const auto dot = name.rfind(L'.'); dot != name.npos && dot > 0) name = name.substr(0, dot);
    return win32::Narrow(name);
}

} // namespace

MessageAnswer ShowMessage(const CDialog* owner, std::string_view text, const char* caption, MessageOptions options)
{
    HWND ownerWindow = OwnerWindow(owner);
    UINT flags = IconFlag(options.icon);
    flags |= options.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    if (options.defaultAnswer == MessageAnswer::No) flags |= MB_DEFBUTTON2;
    // A box without an owner is still the one the user must answer first.
    if (!ownerWindow) flags |= MB_TASKMODAL | MB_SETFOREGROUND;
    const std::wstring wideText = win32::Widen(text);
    const std::wstring wideCaption = win32::Widen(caption ? std::string_view(caption) : ApplicationName());
    // The window the user works in: the owner, else the window active now.
    HWND workWindow = ownerWindow ? ownerWindow : GetActiveWindow();
    // A key pressed before the box showed (a second Enter) must not answer it unread.
    win32::DiscardQueuedInput();
    const int answer = MessageBoxW(ownerWindow, wideText.c_str(), wideCaption.c_str(), flags);
    // That window takes the keyboard again: a box owned by no window leaves
    // none active when it closes.
    if (workWindow && IsWindowVisible(workWindow) && IsWindowEnabled(workWindow)) SetActiveWindow(workWindow);
    // A box that could not be shown is never taken for a yes.
    const MessageAnswer closedBy = options.buttons == MessageButtons::Ok ? MessageAnswer::Ok
                                   : answer == IDYES                     ? MessageAnswer::Yes
                                                                         : MessageAnswer::No;
    detail::NotifyMessageClosed(text, caption ? std::string_view(caption) : ApplicationName(), closedBy);
    return closedBy;
}

std::string_view ApplicationName()
{
    // Worked out once: the program file does not change while it runs.
    static const std::string name = ProgramFileTitle();
    return name;
}

// IDC_WAIT is an ordinal, the same for the narrow and the wide call.
WaitCursor::WaitCursor() : m_previous(SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)))) {}

WaitCursor::~WaitCursor()
{
    SetCursor(static_cast<HCURSOR>(m_previous));
}

void InitDialogSupport()
{
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_DATE_CLASSES;
    InitCommonControlsEx(&controls);
}

} // namespace fw
