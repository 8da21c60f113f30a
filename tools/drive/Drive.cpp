#include "tools/drive/Drive.h"

#include "res/Dialogs.h"
#include "res/ResourceIds.h"

#include <commctrl.h>

#include <array>
#include <cstdint>
#include <system_error>
#include <thread>

namespace qm47::drive {

namespace fs = std::filesystem;

namespace {

constexpr UINT kReplyTimeoutMs = 5000;
constexpr int kMessageBoxIconId = 0x0440;        // the icon static of Wine's message box
constexpr int kWindowsMessageBoxIconId = 0x0014; // and of Windows
constexpr std::string_view kDialogClass = "#32770";

std::string SystemMessage(DWORD error)
{
    return std::system_category().message(static_cast<int>(error)) + " (" + std::to_string(error) + ")";
}

std::string WindowClass(HWND window)
{
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return Utf8FromWide(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0));
}

// Sends a message that needs no pointer marshalling and waits for the reply.
std::optional<LRESULT> SendQuery(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kReplyTimeoutMs, &reply))
        return std::nullopt;
    return static_cast<LRESULT>(reply);
}

HWND IconStatic(HWND box)
{
    for (int id : {kMessageBoxIconId, kWindowsMessageBoxIconId}) {
        HWND icon = GetDlgItem(box, id);
        if (icon && WindowClass(icon) == "Static" && (GetWindowLongW(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return icon;
    }
    return nullptr;
}

// A message box: a dialog with the text static 0xFFFF and the icon static
// of the system's message box template. (Statics and group boxes without an
// id of their own in the program's dialogs also have the id 0xFFFF.)
bool IsMessageBox(HWND window)
{
    return WindowClass(window) == kDialogClass && GetDlgItem(window, kMessageBoxTextId) && IconStatic(window);
}

// The edit field that receives typing: the control itself or a combo box's edit.
HWND EditField(HWND control)
{
    if (WindowClass(control) == "ComboBox") {
        if (HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr)) return edit;
    }
    return control;
}

// Throws unless a user could act on the control now.
void RequireUsable(HWND control, const char* action)
{
    if (!control || !IsWindow(control)) throw Failure(std::string(action) + " on a control that does not exist");
    // Named only on failure: reading the text waits for a busy program.
    const auto which = [&] { return std::to_string(GetDlgCtrlID(control)) + " \"" + Window(control).Text() + "\""; };
    if (!IsWindowVisible(control)) throw Failure(std::string(action) + " on hidden control " + which());
    if (!IsWindowEnabled(control)) throw Failure(std::string(action) + " on disabled control " + which());
}

// A 32-bit top-down bitmap to read pixels from.
class Pixels {
public:
    Pixels(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~Pixels()
    {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    HDC Dc() const { return m_dc; }
    bool Valid() const { return m_bits != nullptr; }
    std::uint32_t At(int x, int y) const { return m_bits[y * m_width + x] & 0xFFFFFF; }
    void Fill(COLORREF colour) const
    {
        const RECT all{0, 0, m_width, m_height};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    std::uint32_t* m_bits = nullptr;
};

bool CloseEnough(std::uint32_t a, std::uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int da = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (da > 12 || da < -12) return false;
    }
    return true;
}

// How well the screen pixels match the stock icon drawn at the same size:
// the share of the icon's opaque pixels that look alike (0 to 1).
double IconMatch(const Pixels& screen, int width, int height, LPCWSTR stockIcon)
{
    HICON icon = LoadIconW(nullptr, stockIcon);
    if (!icon) return 0;
    Pixels onBlack(width, height);
    Pixels onWhite(width, height);
    if (!onBlack.Valid() || !onWhite.Valid()) return 0;
    onBlack.Fill(RGB(0, 0, 0));
    onWhite.Fill(RGB(255, 255, 255));
    DrawIconEx(onBlack.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    DrawIconEx(onWhite.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    GdiFlush();
    int opaque = 0;
    int alike = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (onBlack.At(x, y) != onWhite.At(x, y)) continue; // (partly) transparent
            ++opaque;
            if (CloseEnough(onBlack.At(x, y), screen.At(x, y))) ++alike;
        }
    }
    return opaque == 0 ? 0 : static_cast<double>(alike) / opaque;
}

// Tells the stock icon shown by an icon control from the screen's pixels.
BoxIcon RecogniseIcon(HWND iconControl)
{
    RECT rect{};
    GetWindowRect(iconControl, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return BoxIcon::Unknown;
    Pixels screen(width, height);
    if (!screen.Valid()) return BoxIcon::Unknown;
    HDC screenDc = GetDC(nullptr);
    BitBlt(screen.Dc(), 0, 0, width, height, screenDc, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screenDc);
    GdiFlush();

    const std::array<std::pair<BoxIcon, LPCWSTR>, 4> candidates{{
        {BoxIcon::Information, IDI_INFORMATION},
        {BoxIcon::Exclamation, IDI_WARNING},
        {BoxIcon::Question, IDI_QUESTION},
        {BoxIcon::Error, IDI_ERROR},
    }};
    BoxIcon best = BoxIcon::Unknown;
    double bestScore = 0.9; // below this the picture is not (yet) one of them
    for (const auto& [kind, stock] : candidates) {
        const double score = IconMatch(screen, width, height, stock);
        if (score > bestScore) {
            bestScore = score;
            best = kind;
        }
    }
    return best;
}

// EnumWindows callback (a named function: the callback is __stdcall on i686).
BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->first) search->second.push_back(window);
    return TRUE;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound, std::chrono::milliseconds step)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(step);
    }
}

std::string Utf8FromWide(std::wstring_view text)
{
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::wstring WideFromUtf8(std::string_view text)
{
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Utf8FromCp1250(std::string_view bytes)
{
    if (bytes.empty()) return {};
    const int size = MultiByteToWideChar(1250, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(1250, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
    return Utf8FromWide(wide);
}

std::string MainCaption()
{
    return Utf8FromCp1250(res::kMainDialog.caption);
}

std::vector<HWND> TopLevelWindows(DWORD processId)
{
    std::pair<DWORD, std::vector<HWND>> search{processId, {}};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// --- Windows ---------------------------------------------------------------

const char* Name(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::None: return "none";
    case BoxIcon::Information: return "information";
    case BoxIcon::Exclamation: return "exclamation";
    case BoxIcon::Question: return "question";
    case BoxIcon::Error: return "error";
    case BoxIcon::Unknown: return "unknown";
    }
    return "?";
}

Window Window::Item(int id) const
{
    if (!m_handle) return Window();
    return Window(GetDlgItem(m_handle, id));
}

std::string Window::Text() const
{
    if (!m_handle) return "<no window>";
    const auto length = SendQuery(m_handle, WM_GETTEXTLENGTH);
    if (!length) return "<no answer>";
    std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(m_handle, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                             kReplyTimeoutMs, &copied))
        return "<no answer>";
    text.resize(std::min<std::size_t>(copied, text.size()));
    return Utf8FromWide(text);
}

std::string Window::Caption() const
{
    wchar_t text[256] = {};
    const int length = m_handle ? GetWindowTextW(m_handle, text, 256) : 0;
    return Utf8FromWide(std::wstring_view(text, length > 0 ? static_cast<std::size_t>(length) : 0));
}

std::string Window::ClassName() const
{
    return m_handle ? WindowClass(m_handle) : std::string();
}

bool Window::Enabled() const
{
    return m_handle && IsWindowEnabled(m_handle);
}

bool Window::Visible() const
{
    return m_handle && IsWindowVisible(m_handle);
}

bool Window::WaitVisible(std::chrono::milliseconds bound) const
{
    return WaitUntil([&] { return !m_handle || !IsWindow(m_handle) || IsWindowVisible(m_handle); }, bound) &&
           Visible();
}

void Window::Click() const
{
    RequireUsable(m_handle, "click");
    PostMessageW(m_handle, BM_CLICK, 0, 0);
}

void Window::ClickWithMouse(DWORD time) const
{
    RequireUsable(m_handle, "mouse click");
    RECT place{};
    GetWindowRect(m_handle, &place);
    ClickWithMouseAt({(place.left + place.right) / 2, (place.top + place.bottom) / 2}, time);
}

void ClickWithMouseAt(POINT screen, DWORD time)
{
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    const auto normalised = [](LONG pixel, int screenPixels) {
        return static_cast<LONG>((pixel * 65536LL + screenPixels / 2) / screenPixels);
    };
    const LONG x = normalised(screen.x, GetSystemMetrics(SM_CXSCREEN));
    const LONG y = normalised(screen.y, GetSystemMetrics(SM_CYSCREEN));
    INPUT events[2]{};
    const DWORD buttons[2] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (std::size_t i = 0; i < 2; ++i) {
        events[i].type = INPUT_MOUSE;
        events[i].mi = {x, y, 0, MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | buttons[i], time, 0};
    }
    if (SendInput(2, events, sizeof(INPUT)) != 2) throw Failure("the system refused the mouse input");
}

void PressKeyOnKeyboard(WORD virtualKey)
{
    INPUT events[2]{};
    for (std::size_t i = 0; i < 2; ++i) {
        events[i].type = INPUT_KEYBOARD;
        events[i].ki = {virtualKey, static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)),
                        i == 0 ? 0u : static_cast<DWORD>(KEYEVENTF_KEYUP), 0, 0};
    }
    if (SendInput(2, events, sizeof(INPUT)) != 2) throw Failure("the system refused the key press");
}

void Window::SetText(std::string_view utf8) const
{
    if (!m_handle) throw Failure("setting the text of a control that does not exist");
    const std::wstring text = WideFromUtf8(utf8);
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(m_handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                             kReplyTimeoutMs, &reply))
        throw Failure("WM_SETTEXT got no answer");
}

void Window::Type(std::string_view utf8) const
{
    if (!m_handle) throw Failure("typing into a control that does not exist");
    HWND edit = EditField(m_handle);
    for (wchar_t c : WideFromUtf8(utf8)) PostMessageW(edit, WM_CHAR, c, 1);
}

void Window::PressKey(UINT virtualKey) const
{
    if (!m_handle) throw Failure("key press on a control that does not exist");
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(m_handle, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageW(m_handle, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

BoxIcon MessageBoxWindow::Icon() const
{
    HWND icon = IconStatic(m_handle);
    if (!icon || !IsWindowVisible(icon)) return BoxIcon::None;
    const auto handle = SendQuery(icon, STM_GETICON);
    if (!handle || *handle == 0) return BoxIcon::None;
    // The icon is painted shortly after the box is shown.
    BoxIcon seen = BoxIcon::Unknown;
    WaitUntil([&] { return (seen = RecogniseIcon(icon)) != BoxIcon::Unknown; }, 3s);
    return seen;
}

std::vector<std::string> MessageBoxWindow::Buttons() const
{
    std::vector<std::string> texts;
    for (HWND child = GetWindow(m_handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClass(child) == "Button" && IsWindowVisible(child)) texts.push_back(Window(child).Text());
    }
    return texts;
}

void MessageBoxWindow::Press(int buttonId) const
{
    Item(buttonId).Click();
}

bool SetPickerDate(DWORD processId, const Window& picker, WORD year, WORD month, WORD day, WORD hour)
{
    RemoteBuffer buffer(processId, sizeof(SYSTEMTIME));
    SYSTEMTIME date{};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    date.wHour = hour;
    if (!buffer.Valid() || !buffer.Write(&date, sizeof date)) return false;
    DWORD_PTR accepted = 0;
    return SendMessageTimeoutW(picker.Handle(), DTM_SETSYSTEMTIME, GDT_VALID, buffer.Address(), SMTO_NORMAL,
                               kPickerReplyMs, &accepted) &&
           accepted != 0;
}

std::string Describe(const std::vector<MessageBoxWindow>& boxes)
{
    if (boxes.empty()) return "no message box";
    std::string out;
    for (const MessageBoxWindow& box : boxes)
        out += "[" + box.Caption() + "] \"" + box.Message() + "\" ";
    return out;
}

// --- The program -------------------------------------------------------------

Program::Program(const fs::path& exe, const fs::path& folder, std::wstring_view arguments) : m_started(true)
{
    std::wstring commandLine = L"\"" + exe.wstring() + L"\"";
    if (!arguments.empty()) commandLine.append(L" ").append(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        throw Failure("cannot start " + exe.string() + ": " + SystemMessage(GetLastError()));
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    m_processId = process.dwProcessId;
    m_threadId = process.dwThreadId;
}

Program::Program(std::chrono::milliseconds bound)
{
    const std::wstring caption = WideFromUtf8(MainCaption());
    HWND main = nullptr;
    if (!WaitUntil(
            [&] {
                main = FindWindowW(WideFromUtf8(kDialogClass).c_str(), caption.c_str());
                return main && IsWindowVisible(main);
            },
            bound))
        throw Failure("the main window did not appear");
    m_threadId = GetWindowThreadProcessId(main, &m_processId);
    m_process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, m_processId);
    if (!m_process) throw Failure("cannot open the program's process: " + SystemMessage(GetLastError()));
    m_main = Window(main);
}

Program::~Program()
{
    // Close what is open, innermost first, as a user would; terminate the
    // process (this run's own, by handle) only if it does not end.
    for (int round = 0; m_started && round < 4 && Running(); ++round) {
        for (HWND window : TopLevelWindows())
            if (window != m_main.Handle() && IsWindowEnabled(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        if (m_main && IsWindowEnabled(m_main.Handle())) PostMessageW(m_main.Handle(), WM_CLOSE, 0, 0);
        WaitForExit(1s);
    }
    if (m_started && Running()) {
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, 5000);
    }
    CloseHandle(m_process);
}

bool Program::Running() const
{
    return WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Program::WaitForExit(std::chrono::milliseconds bound) const
{
    if (WaitForSingleObject(m_process, static_cast<DWORD>(bound.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    return code;
}

Window Program::WaitForMainWindow(std::chrono::milliseconds bound)
{
    const std::string caption = MainCaption();
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows()) {
                const Window candidate(window);
                if (candidate.ClassName() == kDialogClass && candidate.Visible() && candidate.Caption() == caption) {
                    m_main = candidate;
                    return true;
                }
            }
            return !Running();
        },
        bound);
    return m_main;
}

std::vector<MessageBoxWindow> Program::MessageBoxes() const
{
    std::vector<MessageBoxWindow> boxes;
    for (HWND window : TopLevelWindows()) {
        if (window != m_main.Handle() && IsMessageBox(window)) boxes.emplace_back(window);
    }
    return boxes;
}

std::vector<Window> Program::Dialogs() const
{
    std::vector<Window> dialogs;
    for (HWND window : TopLevelWindows()) {
        if (window == m_main.Handle() || WindowClass(window) != kDialogClass || IsMessageBox(window)) continue;
        if (GetWindowTextLengthW(window) != 0) dialogs.emplace_back(window);
    }
    return dialogs;
}

std::vector<Window> Program::Pages() const
{
    std::vector<Window> pages;
    for (HWND window : TopLevelWindows()) {
        if (window == m_main.Handle() || WindowClass(window) != kDialogClass || IsMessageBox(window)) continue;
        if (GetWindow(window, GW_OWNER) != m_main.Handle() || GetWindowTextLengthW(window) != 0) continue;
        pages.emplace_back(window);
    }
    return pages;
}

Window Program::WaitForPage(std::chrono::milliseconds bound) const
{
    Window page;
    WaitUntil(
        [&] {
            const auto pages = Pages();
            if (!pages.empty() && pages.front().Visible()) page = pages.front();
            return page || !Running();
        },
        bound);
    return page;
}

std::optional<MessageBoxWindow> Program::WaitForMessageBox(std::chrono::milliseconds bound) const
{
    std::optional<MessageBoxWindow> shown;
    WaitUntil(
        [&] {
            for (const MessageBoxWindow& box : MessageBoxes()) {
                if (box.Visible()) {
                    shown = box;
                    return true;
                }
            }
            return !Running();
        },
        bound);
    return shown;
}

bool Program::WaitForNoMessageBox(std::chrono::milliseconds bound) const
{
    return WaitUntil([&] { return MessageBoxes().empty(); }, bound);
}

Window Program::Focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(m_threadId, &info)) return Window();
    return Window(info.hwndFocus);
}

Window Program::Active() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(m_threadId, &info)) return Window();
    return Window(info.hwndActive);
}

bool Program::Settle(std::chrono::milliseconds bound) const
{
    // Posted messages are handled in order. A marker posted now (the port
    // combo box's extended-UI flag, which the program never uses, flipped
    // and flipped back) is handled only after everything posted before it,
    // or by the modal loop of a box that a handler opened.
    HWND combo = GetDlgItem(m_main.Handle(), IDC_MAIN_PORT);
    if (!combo) return false;
    const auto before = SendQuery(combo, CB_GETEXTENDEDUI);
    if (!before) return false;
    const WPARAM marker = *before ? FALSE : TRUE;
    PostMessageW(combo, CB_SETEXTENDEDUI, marker, 0);
    const bool settled = WaitUntil(
        [&] {
            const auto now = SendQuery(combo, CB_GETEXTENDEDUI);
            return !now || (*now != 0) == (marker != 0);
        },
        bound);
    SendQuery(combo, CB_SETEXTENDEDUI, *before ? TRUE : FALSE);
    return settled;
}

void Program::Click(const Window& dialog, int id) const
{
    dialog.Item(id).Click();
    if (!Settle()) throw Failure("the program did not finish handling the click on " + std::to_string(id));
}

} // namespace qm47::drive
