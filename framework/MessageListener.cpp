#include "framework/MessageBox.h"

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

void detail::NotifyButtonPressed(std::string_view text, int id)
{
    if (g_listener) g_listener->OnButtonPressed(text, id);
}

} // namespace fw
