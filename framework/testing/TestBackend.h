#pragma once
// The test backend: dialogs run on virtual controls built from their
// templates. A test opens a dialog, acts as the user would (type, click,
// choose), reads what the controls show, and answers message boxes from a
// script while they are recorded.

#include "framework/Dialog.h"
#include "framework/DialogTemplate.h"
#include "framework/Window.h"
#include "framework/testing/SoleInstance.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fw::testing {

struct ShownMessage {
    std::string text;
    std::string caption; // as shown: the application name when none was given
    MessageIcon icon;
    MessageButtons buttons;
    const CDialog* owner; // nullptr: owned by no window
    MessageAnswer defaultAnswer; // Ok: the first button is the default
};

class TestWindow;

// One test's user interface session. Create one per test (it installs itself
// for the backend while it lives).
class TestUi : public SoleInstance<TestUi> {
public:
    static constexpr const char* kName = "TestUi";

    // Every message box shown, in order.
    std::vector<ShownMessage> messages;
    // Answers for Yes/No boxes, taken in order; an OK box is always answered OK.
    std::deque<MessageAnswer> answers;
    // Called for each box as it is shown (before it is answered).
    std::function<void(const ShownMessage&)> onMessage;
    // Runs a nested modal dialog once it is open; when it returns and the
    // dialog is still open, the dialog is cancelled as by its id 2 button.
    std::function<void(TestWindow&)> onModal;

    // Wait cursor: how many are active now, and how many were ever shown.
    int waitCursorDepth = 0;
    int waitCursorsShown = 0;

    // Set by a fake library while a call runs: the library showed a window
    // of its own during it (a guard begun afterwards clears it).
    bool libraryWindowShown = false;
    // Library calls running now (their guards alive).
    int runningCalls = 0;

    // The dialogs currently running, outermost first.
    std::vector<TestWindow*> running;
};

struct VirtualControl {
    ControlTemplate source;
    std::string text;
    int check = 0;
    bool enabled = true;
    int limit = 0;
    std::vector<std::string> items;
    Date date;
    Date firstDate{1601, 1, 1};
    Date lastDate{9999, 12, 31};
};

class TestWindow final : public Window {
public:
    TestWindow(CDialog& dialog, const DialogTemplate& dialogTemplate);
    ~TestWindow() override;

    // Opens a top-level dialog for a test: builds the controls and runs the
    // dialog's initialisation. Check Ended() for a dialog that closed itself.
    static std::unique_ptr<TestWindow> Open(CDialog& dialog);

    // The user's actions. A disabled or missing control cannot be used: the
    // action answers false and does nothing.
    bool Click(int id);                         // button, check box or radio button
    // One character at a time into an edit or combo box, subject to the limit.
    // On a push button, check box or radio button the keyboard moves there
    // and the characters do nothing, as in the Win32 backend (no mnemonic is
    // pressed without Alt).
    bool Type(int id, std::string_view chars);
    bool Replace(int id, std::string_view text); // the whole text at once (one change)
    bool SysCommand(int command);
    // Enter, as the dialog manager turns it into a command: the focused push
    // button's, else the OK command (no dialog here has a default button).
    void PressEnter();
    bool PickDate(int id, const Date& date);    // refused outside the picker's range

    // What the controls show.
    const VirtualControl& Control(int id) const;
    int FocusId() const { return m_focusId; }
    bool Ended() const { return m_ended; }
    bool WasShown() const { return m_shown; }
    int Result() const { return m_result; }
    int IconResource() const { return m_icon; }
    const std::vector<std::pair<int, std::string>>& SystemMenuItems() const { return m_systemMenu; }
    CDialog& Dialog() const { return m_dialog; }
    const DialogTemplate& Template() const { return m_template; }

    // Runs the dialog's initialisation (done by Open and by nested runs).
    void Initialise();
    // The window is active again after a dialog it owned closed. As the
    // dialog manager does, the focus goes to the first enabled tab stop when
    // no enabled control holds it (a control disabled meanwhile lost it).
    void Reactivate();
    // Closes the window as the platform would after the modal run.
    void Destroy();

    // Window
    std::string GetText(int id) const override;
    void SetText(int id, std::string_view text) override;
    int GetCheck(int id) const override;
    void SetCheck(int id, int state) override;
    void Enable(int id, bool enabled) override;
    bool IsEnabled(int id) const override;
    void LimitText(int id, int chars) override;
    void SetFocus(int id) override;
    void SelectAll(int id) override;
    bool SelectComboEntry(int id, std::string_view prefix) override;
    Date GetDate(int id) const override;
    void SetDate(int id, const Date& date) override;
    void SetDateRange(int id, const Date& first, const Date& last) override;
    void End(int result) override;
    void SetIcon(int iconResource) override;
    void AppendSystemMenuItem(int command, std::string_view text) override;

    int SelectedStart() const { return m_selectionOf; } // id of the edit whose text was selected, or 0

private:
    VirtualControl* Find(int id);
    const VirtualControl* Find(int id) const;
    VirtualControl& Get(int id);
    int FirstTabStop() const; // 0: none

    CDialog& m_dialog;
    const DialogTemplate& m_template;
    std::vector<VirtualControl> m_controls;
    int m_focusId = 0;
    int m_selectionOf = 0;
    bool m_initialising = false;
    bool m_shown = false;
    bool m_ended = false;
    bool m_destroyed = false;
    int m_result = 0;
    int m_icon = 0;
    std::vector<std::pair<int, std::string>> m_systemMenu;
};

} // namespace fw::testing
