#pragma once
// Every message box of the program goes through ShowMessage: owner window,
// text, caption (the application name when none is given), icon and buttons.

#include "framework/Window.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace fw {

// A message with numbered places, "%1" to "%9", each replaced by the value
// of that number (Windows' own message texts use the same form).
inline std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> values)
{
    std::string message;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const char next = at + 1 < pattern.size() ? pattern[at + 1] : '\0';
        const std::size_t place = static_cast<std::size_t>(next - '1');
        if (pattern[at] == '%' && next >= '1' && next <= '9' && place < values.size()) {
            message += values.begin()[place];
            ++at;
        } else {
            message += pattern[at];
        }
    }
    return message;
}

class CDialog;
struct DialogTemplate;

enum class MessageIcon { None, Information, Exclamation, Question, Stop };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageOptions {
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    // The button that Enter presses: the first unless this names the second
    // (No of a Yes/No box, for a question whose yes cannot be taken back).
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
};

// `owner` null: a box owned by no window. `caption` null: the application name.
MessageAnswer ShowMessage(const CDialog* owner, std::string_view text, const char* caption = nullptr,
                          MessageOptions options = {});

// Told of what the user answered and pressed in the program's windows:
// - every box ShowMessage showed, once it is closed: its text, its caption
//   and the button that closed it (OK for a box with only OK);
// - every push button of a dialog that runs, however it was pressed (a
//   click, Space or Enter on it, Alt with its letter; Escape and the close
//   box run the dialog's cancel button): its text as the template has it,
//   mnemonic "&" included, and its id. Told before its command runs;
// - just before that button, what the user left in each input control of
//   the same dialog (its edits, combo boxes, date pickers, check boxes and
//   radio buttons), one control at a time in template order.
class ActionListener {
public:
    virtual void OnMessageClosed(std::string_view text, std::string_view caption, MessageAnswer answer) = 0;
    virtual void OnButtonPressed(std::string_view text, int id) = 0;
    // An edit's or combo box's text, a date picker's date, or whether a
    // check box or radio button is checked.
    using InputValue = std::variant<std::string, Date, bool>;
    virtual void OnInput(int id, const InputValue& value) = 0;

protected:
    ~ActionListener() = default;
};

// One listener for the process (the application's diagnostic log), or null
// for none. The listener must outlive every box and dialog shown while it is set.
void SetActionListener(ActionListener* listener);

namespace detail {
// The backends' ShowMessage reports each box here, the dialogs each button
// and, before it, the input controls of its dialog as `window` shows them.
void NotifyMessageClosed(std::string_view text, std::string_view caption, MessageAnswer answer);
void NotifyInputs(const DialogTemplate& dialogTemplate, const Window& window);
void NotifyButtonPressed(std::string_view text, int id);
} // namespace detail

// The innermost of the program's dialogs running now: the window the user
// works in, whose command is running. Null when none runs yet.
const CDialog* InnermostDialog();
// The innermost of them that the user sees: a dialog not shown yet (a page
// reading the printer as it opens) gives way to the one that owns it.
const CDialog* InnermostVisibleDialog();

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
