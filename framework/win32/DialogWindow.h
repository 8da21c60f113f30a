#pragma once
// The live window of one modal run: a real dialog whose controls the dialog
// class reaches through fw::Window. Lives on RunModal's stack for the whole
// run, so it outlives the window it describes.

#include "framework/DialogTemplate.h"
#include "framework/Window.h"

#include <windows.h>

#include <memory>
#include <string_view>
#include <type_traits>

namespace fw {
class CDialog;
}

namespace fw::win32 {

// Whether `window` is of the window class `lowerCaseName` (at most 31
// characters), ignoring the case of A to Z.
bool HasClassName(HWND window, std::wstring_view lowerCaseName);

// Whether `window` is a dialog the program runs (RunModal), not yet ended.
bool IsRunningDialog(HWND window);

// The innermost dialog the program runs that is shown, or nullptr.
HWND InnermostVisibleDialogWindow();

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

class DialogWindow final : public Window {
public:
    DialogWindow(CDialog& dialog, const DialogTemplate& dialogTemplate);
    ~DialogWindow() override;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    CDialog& Dialog() const { return m_dialog; }
    const DialogTemplate& Template() const { return m_template; }
    HWND Handle() const { return m_hwnd; }
    // The large icon set by SetIcon, or nullptr.
    HICON LargeIcon() const { return m_largeIcon.get(); }
    // True once End was called: the run is over even if the window still exists.
    bool Ended() const { return m_ended; }

    // True once WM_INITDIALOG arrived: the window was made.
    bool Created() const { return m_created; }

    void Attach(HWND hwnd)
    {
        m_hwnd = hwnd;
        m_created = true;
    }
    void Detach() { m_hwnd = nullptr; }

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

private:
    // The control with the given id; throws when the dialog has none.
    HWND Item(int id) const;

    CDialog& m_dialog;
    const DialogTemplate& m_template;
    HWND m_hwnd = nullptr;
    bool m_created = false;
    bool m_ended = false;
    IconHandle m_largeIcon;
    IconHandle m_smallIcon;
};

} // namespace fw::win32
