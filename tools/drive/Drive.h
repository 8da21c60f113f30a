#pragma once
// Drives QM47.exe from outside, as a user would: starts and ends it, finds its
// main window, pages, dialogs and message boxes, reads texts, clicks, types,
// and waits in bounded polls. The desk's tools (the replay, the recorder),
// the end-to-end tests, the soak benchmark, the start-up timer and the demo
// all drive the program through this.
//
// Texts read from windows are UTF-8. An action a user could not do (a missing,
// hidden or disabled control, a program that no longer answers) throws
// drive::Failure.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qm47::drive {

using namespace std::chrono_literals;

inline constexpr auto kPollStep = 5ms;
inline constexpr auto kWaitBound = 10s;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Polls `condition` every `step` until it holds (true) or `bound` passes (false).
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound = kWaitBound,
               std::chrono::milliseconds step = kPollStep);

std::string Utf8FromCp1250(std::string_view bytes);
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

// The main window's caption, from the program's own template.
std::string MainCaption();

// The top-level windows of a process.
std::vector<HWND> TopLevelWindows(DWORD processId);

// The icon a message box shows.
enum class BoxIcon { None, Information, Exclamation, Question, Error, Unknown };
const char* Name(BoxIcon icon);

// A window of the program, reached by handle.
class Window {
public:
    Window() = default;
    explicit Window(HWND handle) : m_handle(handle) {}

    HWND Handle() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr && IsWindow(m_handle); }

    // The child control `id` (an empty Window when there is none).
    Window Item(int id) const;
    // Its text (WM_GETTEXT).
    std::string Text() const;
    // A top-level window's caption, read without a message to its thread.
    std::string Caption() const;
    std::string ClassName() const;
    bool Enabled() const;
    bool Visible() const;
    // Waits until the window is shown (a dialog shows itself once its modal
    // loop first finds no message waiting).
    bool WaitVisible(std::chrono::milliseconds bound = kWaitBound) const;

    // A user's click: posts BM_CLICK to a visible, enabled control.
    void Click() const;
    // A click of the mouse: moves it to the middle of the visible, enabled
    // control and presses and releases the left button there (SendInput).
    // Unlike Click, this goes through the system's input queue, so the
    // system makes double-clicks of two such clicks and the program sees them
    // arrive while it is busy. `time` stamps both events (0: the system's
    // time): the system pairs two presses into a double-click by their
    // stamps, so a test can make one whatever the program did in between.
    void ClickWithMouse(DWORD time = 0) const;
    // Replaces the text (WM_SETTEXT; for a combo box, its edit field).
    void SetText(std::string_view utf8) const;
    // Types characters one by one (WM_CHAR posted to the edit field), so
    // that the control's length limit applies.
    void Type(std::string_view utf8) const;
    // Presses and releases a key (WM_KEYDOWN, WM_KEYUP posted to the control).
    void PressKey(UINT virtualKey) const;

protected:
    HWND m_handle = nullptr;
};

// A click of the mouse at a point of the screen, as Window::ClickWithMouse
// makes one (a title bar or a close box has no control to aim at).
void ClickWithMouseAt(POINT screen, DWORD time = 0);

// A key pressed and released on the keyboard (SendInput): it reaches the
// window that has the keyboard when the program takes it from its queue.
void PressKeyOnKeyboard(WORD virtualKey);

// The id of a system message box's text static (a Windows convention; the
// program's own controls without an id carry it too).
inline constexpr int kMessageBoxTextId = 0xFFFF;

// A message box shown by the program.
class MessageBoxWindow : public Window {
public:
    using Window::Window;
    std::string Message() const { return Item(kMessageBoxTextId).Text(); }
    BoxIcon Icon() const;
    // The texts of its push buttons, in z-order.
    std::vector<std::string> Buttons() const;
    // Presses IDOK, IDYES, IDNO or IDCANCEL.
    void Press(int buttonId) const;
};

// A block of memory in the program's process, for the date pickers' messages.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD processId, std::size_t size)
        : m_process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
          m_size(size)
    {
        if (m_process)
            m_address = VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer()
    {
        if (m_address) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        if (m_process) CloseHandle(m_process);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return m_address != nullptr; }
    LPARAM Address() const { return reinterpret_cast<LPARAM>(m_address); }
    bool Write(const void* data, std::size_t size) const
    {
        SIZE_T written = 0;
        return size <= m_size && WriteProcessMemory(m_process, m_address, data, size, &written) && written == size;
    }
    bool Read(void* data, std::size_t size) const
    {
        SIZE_T read = 0;
        return size <= m_size && ReadProcessMemory(m_process, m_address, data, size, &read) && read == size;
    }

private:
    HANDLE m_process;
    void* m_address = nullptr;
    std::size_t m_size;
};

inline constexpr DWORD kPickerReplyMs = 5000;

// Sets a date picker's date (at `hour` o'clock) as a user's pick would;
// false when the picker refused it or did not answer.
bool SetPickerDate(DWORD processId, const Window& picker, WORD year, WORD month, WORD day, WORD hour = 0);

// A short description of message boxes (for failure messages).
std::string Describe(const std::vector<MessageBoxWindow>& boxes);

// QM47.exe running: started by this object, which ends it again (closing
// what is open, innermost first, as a user would; terminating it only if it
// hangs), or found running by its main window and left running.
class Program {
public:
    // Starts `exe` with `folder` as its working folder and `arguments` on
    // its command line.
    Program(const std::filesystem::path& exe, const std::filesystem::path& folder, std::wstring_view arguments = {});
    // The running program whose main window shows within `bound`.
    explicit Program(std::chrono::milliseconds bound);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD ProcessId() const { return m_processId; }
    HANDLE Process() const { return m_process; }
    bool Running() const;
    // The exit code, once the process has ended within `bound`.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds bound = kWaitBound) const;

    // The main window, waited for (empty on time-out or when the program ends).
    Window WaitForMainWindow(std::chrono::milliseconds bound = kWaitBound);
    Window MainWindow() const { return m_main; }

    std::vector<HWND> TopLevelWindows() const { return drive::TopLevelWindows(m_processId); }
    // Message boxes now open (shown or about to be), the library's included.
    std::vector<MessageBoxWindow> MessageBoxes() const;
    // Dialogs with a caption other than the main window and message boxes
    // (the about box).
    std::vector<Window> Dialogs() const;
    // Captionless dialogs owned by the main window (the pages).
    std::vector<Window> Pages() const;
    // The page, waited for until it is shown (empty on time-out).
    Window WaitForPage(std::chrono::milliseconds bound = kWaitBound) const;
    // The first message box, waited for until it is shown.
    std::optional<MessageBoxWindow> WaitForMessageBox(std::chrono::milliseconds bound = kWaitBound) const;
    // Waits until no message box is open.
    bool WaitForNoMessageBox(std::chrono::milliseconds bound = kWaitBound) const;
    // The control that has the keyboard focus in the program.
    Window Focus() const;
    // The program's active window (empty when none of its windows is).
    Window Active() const;

    // Waits until the program has handled every message posted to it so far
    // (clicks, typed characters), or is showing a modal box raised by one.
    // Returns false on time-out.
    bool Settle(std::chrono::milliseconds bound = kWaitBound) const;
    // Clicks control `id` of `dialog` and settles; throws when the program
    // does not settle.
    void Click(const Window& dialog, int id) const;
    void ClickMain(int id) const { Click(m_main, id); }

private:
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
    DWORD m_threadId = 0;
    bool m_started = false;
    Window m_main;
};

} // namespace qm47::drive
