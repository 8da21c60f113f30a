#include "framework/MessageBox.h"

namespace fw {

namespace {
// One per process, like the fault text: the application's log while it is open.
MessageListener* g_listener = nullptr;
} // namespace

void SetMessageListener(MessageListener* listener)
{
    g_listener = listener;
}

void detail::NotifyMessageClosed(std::string_view text, std::string_view caption, MessageAnswer answer)
{
    if (g_listener) g_listener->OnMessageClosed(text, caption, answer);
}

} // namespace fw
