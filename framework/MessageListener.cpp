#include "framework/MessageBox.h"

#include "framework/DialogTemplate.h"

namespace fw {

namespace {
// One per process, like the fault text: the application's log while it is open.
ActionListener* g_listener = nullptr;
} // namespace

void SetActionListener(ActionListener* listener)
{
    g_listener = listener;
}

void detail::NotifyMessageClosed(std::string_view text, std::string_view caption, MessageAnswer answer)
{
    if (g_listener) g_listener->OnMessageClosed(text, caption, answer);
}

void detail::NotifyInputs(const DialogTemplate& dialogTemplate, const Window& window)
{
    if (!g_listener) return;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (control.id == kNoId) continue;
        switch (control.kind) {
        case ControlKind::Edit:
        case ControlKind::ComboBox: g_listener->OnInput(control.id, window.GetText(control.id)); break;
        case ControlKind::DatePicker: g_listener->OnInput(control.id, window.GetDate(control.id)); break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: g_listener->OnInput(control.id, window.GetCheck(control.id) != 0); break;
        default: break;
        }
    }
}

void detail::NotifyButtonPressed(std::string_view text, int id)
{
    if (g_listener) g_listener->OnButtonPressed(text, id);
}

} // namespace fw
