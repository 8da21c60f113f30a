#pragma once
// The dialog base class. A dialog class supplies its template, its data
// exchange, an init hook where it has one, and one handler per button, named
// once in its constructor (the dialog's message map).

#include "framework/MessageBox.h"

#include <functional>
#include <string_view>
#include <vector>

namespace fw {

class DataExchange;
class Window;
struct DialogTemplate;

// The OK command (IDOK): what the dialog manager sends for Enter where no
// button has the focus. It ends no window; a dialog with a real OK button
// handles that button's id itself.
inline constexpr int kIdOk = 1;
// The cancel command (IDCANCEL, also Escape): ends the window with kIdCancel.
inline constexpr int kIdCancel = 2;

// The bits of a system command that name it: the system uses the low four
// bits itself (WM_SYSCOMMAND).
inline constexpr int kSystemCommandMask = 0xFFF0;

// Notification codes passed with a command (the Win32 values).
inline constexpr int kNotifyClicked = 0;      // BN_CLICKED
inline constexpr int kNotifyEditChange = 0x300; // EN_CHANGE

enum class Exchange { Load, Save }; // Load: members to controls; Save: controls to members

class CDialog {
public:
    // The template must outlive the dialog (the program's are constants).
    explicit CDialog(const DialogTemplate& dialogTemplate);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    const DialogTemplate& Template() const { return m_template; }
    // The live window while the dialog runs, else nullptr (backends use it to
    // find the owner of a message box or of a nested dialog).
    Window* LiveWindow() const { return m_window; }

    // Runs the dialog modally, owned by the innermost running dialog (none for
    // the first one). Returns the value given to EndDialog.
    int DoModal();
    // Whether the last run opened: its initialisation did not end it (a page
    // that refuses to open ends before it is ever shown).
    bool Opened() const { return m_opened; }

    // Entry points for the backends.
    bool HandleInitDialog(Window& window); // true: give focus to the first control
    void HandleCommand(int id, int notifyCode);
    bool HandleSysCommand(int command);    // false: take the platform's default path
    void HandleDestroy();

protected:
    // Default: load the members into the controls; true gives the focus to
    // the first control in tab order.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange& dx);
    virtual bool OnSysCommand(int command);
    virtual void OnCancel(); // end with kIdCancel

    // The message map: a click on button `id`, or a change of edit `id`,
    // runs `handler`. A command the map does not name is not handled, but
    // for the cancel button, which ends the dialog through OnCancel.
    using Handler = std::function<void()>;
    void OnClick(int id, Handler handler) { m_commands.push_back({id, kNotifyClicked, std::move(handler)}); }
    void OnEditChange(int id, Handler handler) { m_commands.push_back({id, kNotifyEditChange, std::move(handler)}); }
    // A member function of the dialog as a click handler:
    //     OnClick(IDC_CLOCK_SET, &CClockPage::SetClock);
    template <class Dialog>
    void OnClick(int id, void (Dialog::*handler)())
    {
        OnClick(id, [this, handler] { (static_cast<Dialog*>(this)->*handler)(); });
    }

    // Runs the data exchange; false when a value was refused (the user has
    // been told) and the caller should stop.
    bool UpdateData(Exchange direction);
    void EndDialog(int result);
    MessageAnswer MessageBox(std::string_view text, const char* caption = nullptr,
                             MessageOptions options = {}) const;

    Window& Wnd() const;

private:
    struct Command {
        int id;
        int notifyCode;
        Handler handler;
    };

    const DialogTemplate& m_template;
    Window* m_window = nullptr;
    std::vector<Command> m_commands;
    bool m_initialising = false;
    bool m_opened = false;
};

// Implemented by the backend: runs `dialog` modally.
int RunModal(CDialog& dialog);

// The Win32 backend: the text a fault that ends a window or the program
// shows, above the fault's own description. Set once at start-up, before the
// first window; it must outlive the program's windows (a constant).
void SetFaultText(std::string_view text);

} // namespace fw
