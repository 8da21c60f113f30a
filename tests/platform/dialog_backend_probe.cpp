// Checks of the Win32 dialog backend on real windows: the in-memory
// template, the modal runs and their owners, page placement, the typed
// control access, message boxes and faults. Runs unattended (it answers its
// own message boxes) and prints one line per check; the exit code is the
// number of failed checks. Run under Wine by tests/platform/run.sh.

#include "framework/Cp1250.h"
#include "framework/Dialog.h"
#include "framework/DialogTemplate.h"
#include "framework/LibraryCallGuard.h"
#include "framework/MessageBox.h"
#include "framework/Window.h"
#include "framework/win32/DialogWindow.h"
#include "framework/win32/UserInput.h"
#include "framework/win32/WideText.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <windows.h>
#include <commctrl.h>
#undef MessageBox

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

using namespace fw;

namespace {

int g_failures = 0;

void Check(bool ok, const std::string& what, const std::string& got = {})
{
    std::printf("%s %s%s\n", ok ? "ok  " : "FAIL", what.c_str(), ok || got.empty() ? "" : (" (got " + got + ")").c_str());
    std::fflush(stdout);
    if (!ok) ++g_failures;
}

std::string Hex(const std::string& bytes)
{
    std::string out;
    char digits[4];
    for (unsigned char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02x ", c);
        out += digits;
    }
    return out;
}

std::wstring WindowText(HWND hwnd)
{
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// ---------------------------------------------------------------------------
// Templates of the probe's own dialogs.

enum : int {
    kMainId = 900, kPageId = 901, kAboutId = 902, kEndedId = 903,
    kEditLimited = 1001, kEditCentred, kStaticText, kCheck, kRadioFirst, kRadioSecond, kCombo, kDate,
    kDisabledButton, kBitmapStatic, kCountedButton,
    kRunPage = 1100, kRunAbout, kAskQuestions, kThrow, kEndPage, kDropPress, kCountPresses,
};

constexpr const char* kPorts[] = {"com3", "com1", "com2"};

constexpr ControlTemplate kMainControls[] = {
    {kEditLimited, ControlKind::Edit, "", {10, 10, 80, 12}, kTabStop | kGroup | kAutoHScroll},
    {kEditCentred, ControlKind::Edit, "", {100, 10, 80, 12}, kTabStop | kCentered},
    {kStaticText, ControlKind::Static, "", {10, 26, 170, 8}, kCentered},
    {kCheck, ControlKind::CheckBox, "Check", {10, 38, 60, 10}, kTabStop},
    {kRadioFirst, ControlKind::RadioButton, "One", {10, 50, 40, 10}, kTabStop | kGroup},
    {kRadioSecond, ControlKind::RadioButton, "Two", {60, 50, 40, 10}},
    {kCombo, ControlKind::ComboBox, nullptr, {10, 64, 60, 60}, kTabStop | kGroup | kSorted | kVScroll, kPorts},
    {kDate, ControlKind::DatePicker, nullptr, {80, 64, 70, 14}, kTabStop},
    {kDisabledButton, ControlKind::PushButton, "Off", {10, 84, 50, 14}, kTabStop | kDisabled},
    {kNoId, ControlKind::Icon, nullptr, {200, 10, 20, 20}, kStyleNone, {}, IDI_APP},
    {kBitmapStatic, ControlKind::Bitmap, nullptr, {200, 40, 121, 70}, kStyleNone, {}, IDB_PRINTER},
    {kCountedButton, ControlKind::PushButton, "Counted", {70, 160, 50, 14}, kTabStop},
    {2, ControlKind::PushButton, "Cancel", {10, 160, 50, 14}, kTabStop | kCancelButton},
};
constexpr ControlTemplate kPageControls[] = {
    {kNoId, ControlKind::GroupBox, "Page", {2, 2, 150, 80}},
    {2, ControlKind::PushButton, "Cancel", {90, 60, 50, 14}, kTabStop},
};
constexpr ControlTemplate kAboutControls[] = {
    {1, ControlKind::PushButton, "OK", {10, 10, 50, 14}, kTabStop},
};

constexpr DialogTemplate kMainTemplate{kMainId, DialogFrame::Main, "Probe main", {0, 0, 340, 180}, "MS Sans Serif", 8,
                                       kMainControls};
constexpr DialogTemplate kPageTemplate{kPageId, DialogFrame::Page, nullptr, {115, 15, 156, 86}, "MS Sans Serif", 8,
                                       kPageControls};
constexpr DialogTemplate kAboutTemplate{kAboutId, DialogFrame::About, "Probe about", {0, 0, 80, 40}, "MS Sans Serif", 8,
                                        kAboutControls};
constexpr DialogTemplate kEndedTemplate{kEndedId, DialogFrame::About, "Probe ended", {0, 0, 80, 40}, "MS Sans Serif",
                                        8, kAboutControls};

// ---------------------------------------------------------------------------
// Message boxes answer themselves; every activation is recorded.

struct BoxSeen {
    std::wstring caption;
    std::wstring text;
    HWND owner;
};
std::vector<BoxSeen> g_boxes;
std::vector<int> g_boxAnswers; // WM_COMMAND ids, in order
std::vector<std::wstring> g_shown;

constexpr const char* kGivenCaption = "Given caption";
constexpr int kMessageBoxText = 0xFFFF; // the text static of a message box

bool IsMessageBox(HWND hwnd)
{
    const std::wstring caption = WindowText(hwnd);
    return caption == win32::Widen(ApplicationName()) || caption == win32::Widen(kGivenCaption);
}

LRESULT CALLBACK ActivationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        if (IsMessageBox(hwnd)) {
            g_boxes.push_back({WindowText(hwnd), WindowText(GetDlgItem(hwnd, kMessageBoxText)), GetWindow(hwnd, GW_OWNER)});
            const int answer = g_boxAnswers.empty() ? IDOK : g_boxAnswers.front();
            if (!g_boxAnswers.empty()) g_boxAnswers.erase(g_boxAnswers.begin());
            PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The handle of a running dialog's window.
HWND HandleOf(const CDialog& dialog)
{
    const auto* window = dynamic_cast<const win32::DialogWindow*>(dialog.LiveWindow());
    return window ? window->Handle() : nullptr;
}

LRESULT CALLBACK ShowHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_SHOWWINDOW && message->wParam)
        g_shown.push_back(WindowText(message->hwnd));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The dialogs.

class EndedDialog : public CDialog {
public:
    EndedDialog() : CDialog(kEndedTemplate) {}

protected:
    bool OnInitDialog() override
    {
        EndDialog(7);
        return true;
    }
};

class AboutDialog : public CDialog {
public:
    AboutDialog() : CDialog(kAboutTemplate) {}
    HWND owner = nullptr;
    RECT rect{};

protected:
    bool OnInitDialog() override
    {
        owner = GetWindow(HandleOf(*this), GW_OWNER);
        GetWindowRect(HandleOf(*this), &rect);
        EndDialog(kIdOk);
        return true;
    }
};

class PageDialog : public CDialog {
public:
    explicit PageDialog(HWND mainWindow) : CDialog(kPageTemplate), m_main(mainWindow)
    {
        OnClick(kRunAbout, &PageDialog::RunAbout);
    }

protected:
    bool OnInitDialog() override
    {
        HWND self = HandleOf(*this);
        Check(GetWindow(self, GW_OWNER) == m_main, "a page is owned by the dialog that runs it");
        const LONG style = GetWindowLongW(self, GWL_STYLE);
        Check(!(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU)), "a page has no caption and no frame");
        RECT offset{115, 15, 0, 0};
        MapDialogRect(self, &offset);
        POINT expected{offset.left, offset.top};
        ClientToScreen(m_main, &expected);
        RECT rect{};
        GetWindowRect(self, &rect);
        Check(rect.left == expected.x && rect.top == expected.y, "a page sits at its (x, y) in the owner's client area",
              std::to_string(rect.left - expected.x) + "," + std::to_string(rect.top - expected.y));
        PostMessageW(self, WM_COMMAND, MAKEWPARAM(kRunAbout, BN_CLICKED), 0);
        return true;
    }

    void RunAbout()
    {
        HWND self = HandleOf(*this);
        AboutDialog about;
        Check(about.DoModal() == kIdOk, "a nested about box runs and returns its result");
        Check(about.owner == self, "the box opened from a page is owned by the page, the innermost dialog");
        RECT page{};
        GetWindowRect(self, &page);
        const long dx = (about.rect.left + about.rect.right) - (page.left + page.right);
        const long dy = (about.rect.top + about.rect.bottom) - (page.top + page.bottom);
        Check(dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2, "an about box is centred on its owner",
              std::to_string(dx / 2) + "," + std::to_string(dy / 2));
        EndDialog(kIdCancel);
    }

private:
    HWND m_main;
};

class MainDialog : public CDialog {
public:
    MainDialog() : CDialog(kMainTemplate)
    {
        OnClick(kRunPage, &MainDialog::RunPage);
        OnClick(kAskQuestions, &MainDialog::AskQuestions);
        OnClick(kThrow, [] {
            g_boxes.clear();
            throw std::runtime_error("probe fault");
        });
        OnClick(kCountedButton, [this] { ++m_clicks; });
        // A press dropped unseen, then one the system pairs with it into a
        // double-click: a click of its own. (Steps as edit changes: a click's
        // command drops the input queued after it.)
        OnEditChange(kDropPress, [this] {
            HWND button = GetDlgItem(self, kCountedButton);
            for (const UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
                PostMessageW(button, press, MK_LBUTTON, 0);
                PostMessageW(button, WM_LBUTTONUP, 0, 0);
                if (press == WM_LBUTTONDOWN) win32::DiscardQueuedInput();
            }
            PostMessageW(self, WM_COMMAND, MAKEWPARAM(kCountPresses, EN_CHANGE), 0);
        });
        OnEditChange(kCountPresses, [this] {
            Check(m_clicks == 1, "a press dropped unseen is no first half of a double-click",
                  std::to_string(m_clicks) + " clicks");
            // A library's box takes a press and a key: the press is dropped,
            // the key left for the box; the call's end drops what is left,
            // touch input (WM_POINTERDOWN) too.
            MSG taken{};
            {
                const LibraryCallGuard call;
                PostMessageW(self, WM_COMMAND, MAKEWPARAM(kCountedButton, BN_CLICKED), 0);
                PostMessageW(self, WM_CHAR, L'x', 0);
                PostMessageW(self, 0x0246, 0, 0);
                while (PeekMessageW(&taken, self, WM_COMMAND, WM_COMMAND, PM_REMOVE)) DispatchMessageW(&taken);
                Check(PeekMessageW(&taken, self, WM_CHAR, WM_CHAR, PM_NOREMOVE) && m_clicks == 1,
                      "a press dropped in a library call leaves the library's box its input");
            }
            Check(!PeekMessageW(&taken, self, WM_CHAR, 0x024F, PM_NOREMOVE), "a library call's end drops keys and touch input");
            PostMessageW(self, WM_COMMAND, MAKEWPARAM(kThrow, BN_CLICKED), 0);
        });
    }
    HWND self = nullptr;

protected:
    bool OnInitDialog() override;

private:
    void RunPage();
    void AskQuestions();
    int m_clicks = 0;
};

void CheckControls(Window& window, HWND self)
{
    // Texts cross into the wide API as the right characters, and back.
    const std::string polish = cp1250<"Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ">();
    window.SetText(kStaticText, polish);
    Check(WindowText(GetDlgItem(self, kStaticText)) == L"Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ",
          "a Windows-1250 text shows as the same Unicode characters");
    Check(window.GetText(kStaticText) == polish, "a Polish text reads back as the same bytes",
          Hex(window.GetText(kStaticText)));

    // Typing is held to the limit; setting the text is not.
    window.LimitText(kEditLimited, 5);
    window.SetText(kEditLimited, "");
    for (wchar_t c : std::wstring(L"abcdefgh")) SendMessageW(GetDlgItem(self, kEditLimited), WM_CHAR, c, 1);
    Check(window.GetText(kEditLimited) == "abcde", "typing stops at the edit's limit", window.GetText(kEditLimited));
    window.SetText(kEditLimited, "1234567");
    Check(window.GetText(kEditLimited) == "1234567", "setting a text ignores the limit");
    window.SelectAll(kEditLimited);
    DWORD from = 0, to = 0;
    SendMessageW(GetDlgItem(self, kEditLimited), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                 reinterpret_cast<LPARAM>(&to));
    Check(from == 0 && to == 7, "select all selects the whole text", std::to_string(from) + ".." + std::to_string(to));

    const LONG edit = GetWindowLongW(GetDlgItem(self, kEditLimited), GWL_STYLE);
    const LONG centred = GetWindowLongW(GetDlgItem(self, kEditCentred), GWL_STYLE);
    // The dialog manager turns an edit's border into a sunken client edge.
    const auto bordered = [self](int id) {
        HWND control = GetDlgItem(self, id);
        return (GetWindowLongW(control, GWL_STYLE) & WS_BORDER) ||
               (GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    };
    Check(bordered(kEditLimited) && (edit & ES_AUTOHSCROLL) && !(edit & ES_CENTER), "an edit has a border and scrolls");
    Check(bordered(kEditCentred) && (centred & ES_CENTER) && !(centred & ES_AUTOHSCROLL), "a centred edit");

    window.SetCheck(kCheck, 1);
    Check(window.GetCheck(kCheck) == 1, "a check box checks");
    window.SetCheck(kCheck, 0);
    Check(window.GetCheck(kCheck) == 0, "a check box clears");
    window.SetCheck(kRadioSecond, 1);
    Check(window.GetCheck(kRadioSecond) == 1 && window.GetCheck(kRadioFirst) == 0, "a radio button checks");

    // The list comes from the template, sorted; selection by prefix, case ignored.
    HWND combo = GetDlgItem(self, kCombo);
    Check(SendMessageW(combo, CB_GETCOUNT, 0, 0) == 3, "the combo box holds the template's list");
    wchar_t first[16] = {};
    SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    Check(std::wstring(first) == L"com1", "the combo box list is sorted");
    Check(window.SelectComboEntry(kCombo, "CoM2"), "a prefix in other letter case selects an entry");
    Check(window.GetText(kCombo) == "com2", "the selected entry shows", window.GetText(kCombo));
    Check(!window.SelectComboEntry(kCombo, "lpt"), "a prefix no entry has selects nothing");
    Check(window.GetText(kCombo) == "com2", "and leaves the selection as it was", window.GetText(kCombo));
    window.SetText(kCombo, "COM9");
    Check(window.GetText(kCombo) == "COM9", "a typed port name shows unchanged");

    window.SetDateRange(kDate, {2003, 1, 1}, {2030, 12, 31});
    window.SetDate(kDate, {2004, 2, 29});
    Check(window.GetDate(kDate) == Date{2004, 2, 29}, "a date set reads back");
    window.SetDate(kDate, {1999, 5, 5});
    Check(window.GetDate(kDate) == Date{2004, 2, 29}, "a date before the range is refused");
    const LONG date = GetWindowLongW(GetDlgItem(self, kDate), GWL_STYLE);
    Check((date & DTS_RIGHTALIGN) && !(date & DTS_LONGDATEFORMAT), "the date picker: short date, right-aligned");

    Check(!window.IsEnabled(kDisabledButton), "a control can start disabled");
    window.Enable(kDisabledButton, true);
    Check(window.IsEnabled(kDisabledButton), "and be enabled");
    const LONG button = GetWindowLongW(GetDlgItem(self, kDisabledButton), GWL_STYLE);
    Check((button & BS_TYPEMASK) == BS_PUSHBUTTON, "a push button is never a default button");

    RECT bitmap{}, expected{200, 40, 200 + 121, 40 + 70};
    GetWindowRect(GetDlgItem(self, kBitmapStatic), &bitmap);
    MapWindowPoints(nullptr, self, reinterpret_cast<POINT*>(&bitmap), 2);
    MapDialogRect(self, &expected);
    Check(EqualRect(&bitmap, &expected), "the picture fills the template's rectangle",
          std::to_string(bitmap.right - bitmap.left) + "x" + std::to_string(bitmap.bottom - bitmap.top));
    Check(SendDlgItemMessageW(self, kBitmapStatic, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0, "the picture is loaded");

    bool threw = false;
    try {
        window.GetText(4242);
    } catch (const std::logic_error&) {
        threw = true;
    }
    Check(threw, "asking for a control the dialog lacks is a fault, not a silent nothing");

    window.SetIcon(IDI_APP);
    Check(SendMessageW(self, WM_GETICON, ICON_BIG, 0) != 0 && SendMessageW(self, WM_GETICON, ICON_SMALL, 0) != 0,
          "the window has a large and a small icon");
    window.AppendSystemMenuItem(IDM_ABOUTBOX, cp1250<"&Ósmy">());
    HMENU menu = GetSystemMenu(self, FALSE);
    const int count = GetMenuItemCount(menu);
    wchar_t item[32] = {};
    GetMenuStringW(menu, count - 1, item, 32, MF_BYPOSITION);
    Check(GetMenuItemID(menu, count - 1) == IDM_ABOUTBOX && std::wstring(item) == L"&Ósmy", "the system menu item is added");
    Check((GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR) != 0, "after a separator");
}

bool MainDialog::OnInitDialog()
{
    self = HandleOf(*this);
    Check(WindowText(self) == L"Probe main", "the main dialog exists when its init hook runs");
    const LONG style = GetWindowLongW(self, GWL_STYLE);
    const LONG exStyle = GetWindowLongW(self, GWL_EXSTYLE);
    Check((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) && (style & WS_MINIMIZEBOX) &&
              !(style & WS_MAXIMIZEBOX) && (exStyle & WS_EX_APPWINDOW),
          "the main window: caption, system menu, minimize box, in the task bar");
    Check(GetWindow(self, GW_OWNER) == nullptr, "the first dialog has no owner");
    CheckControls(Wnd(), self);
    PostMessageW(self, WM_COMMAND, MAKEWPARAM(kRunPage, BN_CLICKED), 0);
    return true;
}

void MainDialog::RunPage()
{
    EndedDialog ended;
    Check(ended.DoModal() == 7, "a dialog ended in its init hook returns its result");
    bool shown = false;
    for (const auto& caption : g_shown) shown = shown || caption == L"Probe ended";
    Check(!shown, "and is never shown");

    PageDialog page(self);
    Check(page.DoModal() == kIdCancel, "the page runs and returns its result");
    PostMessageW(self, WM_COMMAND, MAKEWPARAM(kAskQuestions, BN_CLICKED), 0);
}

void MainDialog::AskQuestions()
{
    g_boxAnswers = {IDYES, IDNO, IDOK};
    Check(MessageBox("yes?", nullptr, {MessageIcon::Exclamation, MessageButtons::YesNo}) == MessageAnswer::Yes,
          "a yes answer reads as yes");
    Check(MessageBox("no?", nullptr, {MessageIcon::None, MessageButtons::YesNo}) == MessageAnswer::No,
          "a no answer reads as no");
    Check(MessageBox(cp1250<"Zażółć">(), kGivenCaption) == MessageAnswer::Ok, "an OK box answers OK");
    Check(g_boxes.size() == 3 && g_boxes[0].owner == self, "a dialog's message box is owned by its window");
    Check(g_boxes.size() == 3 && g_boxes[0].caption == win32::Widen(ApplicationName()),
          "a box given no caption shows the application name");
    Check(g_boxes.size() == 3 && g_boxes[2].caption == L"Given caption", "a given caption shows");
    Check(g_boxes.size() == 3 && g_boxes[2].text == L"Zażółć", "the message shows its Polish letters");
    g_boxAnswers = {IDOK};
    ShowMessage(nullptr, "unowned");
    Check(g_boxes.size() == 4 && g_boxes[3].owner == nullptr, "a box given no owner has none");
    PostMessageW(self, WM_COMMAND, MAKEWPARAM(kDropPress, EN_CHANGE), 0);
}

} // namespace

int main()
{
    InitDialogSupport();
    SetFaultText(qm47::text::kProgramError);
    Check(ApplicationName() == "dialog_backend_probe", "the application name is the program file's title",
          std::string(ApplicationName()));
    SetWindowsHookExW(WH_CBT, &ActivationHook, nullptr, GetCurrentThreadId());
    SetWindowsHookExW(WH_CALLWNDPROC, &ShowHook, nullptr, GetCurrentThreadId());

    MainDialog main;
    const int result = main.DoModal();
    Check(result == -1, "a fault in a handler ends the dialog", std::to_string(result));
    const std::wstring expected = win32::Widen(std::string(qm47::text::kProgramError.view()) + "\nprobe fault");
    Check(g_boxes.size() == 1 && g_boxes[0].text == expected, "and the user is told what went wrong");
    Check(!g_boxes.empty() && g_boxes[0].owner == main.self, "in a box owned by the failing window");

    std::printf("%d failed\n", g_failures);
    return g_failures;
}
