#pragma once
// Every message box of the program goes through ShowMessage: owner window,
// text, caption (the application name when none is given), icon and buttons.

#include <string_view>

namespace fw {

class CDialog;

enum class MessageIcon { None, Information, Exclamation };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageOptions {
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// `owner` null: a box owned by no window. `caption` null: the application name.
MessageAnswer ShowMessage(const CDialog* owner, std::string_view text, const char* caption = nullptr,
                          MessageOptions options = {});

// The application name: the program file's name without its extension.
std::string_view ApplicationName();

// Shows the wait cursor while it lives (a library call blocking the window).
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    void* m_previous = nullptr;
};

// Step 1 of start-up: hosting of common controls in dialogs.
void InitDialogSupport();

} // namespace fw
