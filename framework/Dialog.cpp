#include "framework/Dialog.h"

#include "framework/DataExchange.h"
#include "framework/DialogTemplate.h"
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
    return OnInitDialog();
}

void CDialog::HandleCommand(int id, int notifyCode)
{
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
