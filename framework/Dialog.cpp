#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/DialogTemplate.h"
#include "framework/LibraryCallGuard.h"
#include "framework/Window.h"

#include <stdexcept>

namespace fw {

CDialog::CDialog(const DialogTemplate& dialogTemplate) : m_template(dialogTemplate) {}

CDialog::~CDialog() = default;

int CDialog::DoModal()
{
    return RunModal(*this);
}

bool CDialog::HandleInitDialog(Window& window)
{
    m_window = &window;
    m_opened = true; // until the initialisation ends the run
    // Over when OnInitDialog returns or throws (the fault then ends the run).
    m_initialising = true;
    const struct Over {
        bool& initialising;
        ~Over() { initialising = false; }
    } over{m_initialising};
    return OnInitDialog();
}

void CDialog::HandleCommand(int id, int notifyCode)
{
    // A command that reaches the window while a library call runs (posted by
    // another program and dispatched by the library's own box) would start
    // inside that call: it is dropped, unheard.
    if (LibraryCallGuard::Running()) return;
    if (notifyCode == kNotifyClicked) {
        for (const ControlTemplate& control : m_template.controls)
            if (control.id == id && control.kind == ControlKind::PushButton) {
                if (m_window) detail::NotifyInputs(m_template, *m_window);
                detail::NotifyButtonPressed(control.text ? control.text : "", id);
            }
    }
    for (const Command& command : m_commands) {
        if (command.id == id && command.notifyCode == notifyCode) {
            command.handler();
            return;
        }
    }
    if (notifyCode == kNotifyClicked && id == kIdCancel) OnCancel();
}

bool CDialog::HandleSysCommand(int command)
{
    // Dropped during a library call like every command, the system's own too.
    if (LibraryCallGuard::Running()) return true;
    return OnSysCommand(command);
}

void CDialog::HandleDestroy()
{
    m_window = nullptr;
}

bool CDialog::OnInitDialog()
{
    UpdateData(Exchange::Load);
    return true;
}

void CDialog::DoDataExchange(DataExchange&) {}

bool CDialog::OnSysCommand(int)
{
    return false;
}

void CDialog::OnCancel()
{
    EndDialog(kIdCancel);
}

bool CDialog::UpdateData(Exchange direction)
{
    DataExchange dx(*this, Wnd(), direction);
    DoDataExchange(dx);
    return dx.Ok();
}

void CDialog::EndDialog(int result)
{
    if (m_initialising) m_opened = false;
    Wnd().End(result);
}

MessageAnswer CDialog::MessageBox(std::string_view text, const char* caption, MessageOptions options) const
{
    return ShowMessage(this, text, caption, options);
}

Window& CDialog::Wnd() const
{
    if (!m_window) throw std::logic_error("dialog used while it has no window");
    return *m_window;
}

} // namespace fw
