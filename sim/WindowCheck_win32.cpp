#include "sim/WindowCheck.h"

#include "sim/Journal.h"
#include "sim/Platform.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace sim {

namespace {

constexpr std::wstring_view kPolishLetters = L"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ";

std::string Utf8(std::wstring_view text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::wstring WindowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

enum class Kind { PushButton, CheckBox, RadioButton, GroupBox, Label, Field };
constexpr const char* kKindNames[] = {"button", "checkbox", "radio", "group", "label", "field"};

// What a control is, or nullopt for one without a text in the dialog's font
// (a picture, an icon).
std::optional<Kind> KindOf(HWND control)
{
    wchar_t name[32] = {};
    GetClassNameW(control, name, 32);
    const std::wstring_view className(name);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (className == L"Button") {
        switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: return Kind::PushButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: return Kind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return Kind::RadioButton;
        case BS_GROUPBOX: return Kind::GroupBox;
        default: return std::nullopt;
        }
    }
    if (className == L"Static") {
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) return Kind::Label;
        return std::nullopt;
    }
    // Edits, combo boxes and date pickers: their texts may scroll, only their
    // font's letters count.
    return Kind::Field;
}

SIZE SizeOf(const RECT& rect)
{
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// The size a text needs in the selected font: on one line, or wrapped at
// `width` as a static wraps it (a word longer than the line widens the result).
SIZE TextSize(HDC dc, const std::wstring& text, UINT flags, LONG width = 0)
{
    RECT rect{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | flags);
    return SizeOf(rect);
}

struct Fit {
    SIZE need{};
    SIZE room{};
    const char* verdict = "ok";
};

Fit Measure(HWND control, Kind kind, HDC dc, const std::wstring& text)
{
    RECT client{};
    GetClientRect(control, &client);
    Fit fit{.room = SizeOf(client)};
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    switch (kind) {
    case Kind::Label: {
        const UINT noPrefix = (GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX) ? DT_NOPREFIX : 0;
        if (fit.room.cy >= 2 * metrics.tmHeight) {
            fit.need = TextSize(dc, text, DT_WORDBREAK | DT_EXPANDTABS | noPrefix, fit.room.cx);
            break;
        }
        // A label one line high shows only the first line of what it wraps
        // to, so its text must fit on one line, with some width to spare for
        // a substitute face slightly wider than the one measured: about a
        // tenth where the layout has room, at least a twentieth.
        fit.need = TextSize(dc, text, DT_SINGLELINE | DT_EXPANDTABS | noPrefix);
        if (fit.need.cx <= fit.room.cx && fit.need.cy <= fit.room.cy && fit.need.cx * 21 > fit.room.cx * 20)
            fit.verdict = "tight";
        break;
    }
    case Kind::PushButton:
    case Kind::CheckBox:
    case Kind::RadioButton:
        // The button's own account of its text, edges, square and gap.
        if (!SendMessageW(control, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&fit.need))) {
            fit.need = TextSize(dc, text, DT_SINGLELINE);
            fit.need.cx += kind == Kind::PushButton ? 4 * GetSystemMetrics(SM_CXEDGE)
                                                    : GetSystemMetrics(SM_CXMENUCHECK) + metrics.tmAveCharWidth;
        }
        // A push button's height is the design's; only its text must fit. A
        // check box's square is the system's size at this scaling (Windows
        // may draw it larger than the button's own account).
        if (kind == Kind::PushButton) fit.need.cy = std::min(fit.need.cy, fit.room.cy);
        else fit.need.cy = std::max<LONG>(fit.need.cy, GetSystemMetrics(SM_CYMENUCHECK));
        break;
    case Kind::GroupBox:
        // The frame's corner and a blank on either side of the text.
        fit.need = TextSize(dc, text, DT_SINGLELINE);
        fit.need.cx += 2 * metrics.tmAveCharWidth;
        break;
    case Kind::Field:
        return fit;
    }
    if (fit.need.cx > fit.room.cx || fit.need.cy > fit.room.cy) fit.verdict = "cut";
    return fit;
}

struct Report {
    std::string lines;
    int controls = 0;
    int problems = 0;
    int dpi = 0;
};

void MeasureControl(Report& report, const std::string& window, HWND control, Kind kind)
{
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HDC dc = GetDC(control);
    const HGDIOBJ before = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    report.dpi = GetDeviceCaps(dc, LOGPIXELSY);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    std::vector<WORD> glyphs(kPolishLetters.size());
    std::wstring missing;
    if (GetGlyphIndicesW(dc, kPolishLetters.data(), static_cast<int>(kPolishLetters.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        missing = kPolishLetters;
    } else {
        for (std::size_t i = 0; i < glyphs.size(); ++i)
            if (glyphs[i] == 0xFFFF) missing += kPolishLetters[i];
    }
    const std::wstring text = WindowText(control);
    const Fit fit = text.empty() ? Fit{} : Measure(control, kind, dc, text);
    SelectObject(dc, before);
    ReleaseDC(control, dc);

    ++report.controls;
    if (!missing.empty() || std::string_view(fit.verdict) != "ok") ++report.problems;
    report.lines += window + " id=" + std::to_string(GetDlgCtrlID(control)) + " " +
                    kKindNames[static_cast<int>(kind)] + " face=\"" + Utf8(face) + "\" letters=" +
                    (missing.empty() ? std::string("ok") : "missing:\"" + Utf8(missing) + "\"") +
                    " fit=" + fit.verdict + " need=" + std::to_string(fit.need.cx) + "x" +
                    std::to_string(fit.need.cy) + " room=" + std::to_string(fit.room.cx) + "x" +
                    std::to_string(fit.room.cy) + " text=\"" + Utf8(text) + "\"\n";
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM found)
{
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

// A window of the library's own (the notice, the helper) is not the program's.
bool LibraryWindow(HWND window)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return std::wstring_view(name) == kLibraryWindowClass;
}

void MeasureWindow(Report& report, HWND window)
{
    const std::wstring caption = WindowText(window);
    const std::string name = "\"" + (caption.empty() ? std::string("page") : Utf8(caption)) + "\"";
    std::vector<HWND> children;
    EnumChildWindows(window, &CollectVisible, reinterpret_cast<LPARAM>(&children));
    for (HWND control : children) {
        // A combo box's own edit is measured as the combo box.
        if (GetParent(control) != window) continue;
        if (const auto kind = KindOf(control)) MeasureControl(report, name, control, *kind);
    }
}

// The windows the user works in: the program's visible, enabled top-level
// windows (a page's owner is disabled while the page runs).
std::vector<HWND> WorkingWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), &CollectVisible, reinterpret_cast<LPARAM>(&windows));
    std::erase_if(windows, [](HWND window) { return !IsWindowEnabled(window) || LibraryWindow(window); });
    return windows;
}

// What the watch measured last, and why it is to measure next (empty: only
// when the windows change).
std::vector<HWND> g_measured;
std::string g_measureAfter;
UINT_PTR g_watch = 0;

// Every 100 ms, when the thread is idle: measures when a call asked for it
// or another window became the one the user works in.
void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD)
{
    std::vector<HWND> windows = WorkingWindows();
    // Between two windows (a page closed, its owner not enabled yet) there is
    // nothing to measure.
    if (windows.empty() || (g_measureAfter.empty() && windows == g_measured)) return;
    const std::string why = g_measureAfter.empty() ? std::string("windows changed") : g_measureAfter;
    AppendToFile(kWindowCheckFileName, "after " + why + ": " + MeasureWindows());
    g_measureAfter.clear();
    g_measured = std::move(windows);
}

} // namespace

std::string MeasureWindows()
{
    Report report;
    for (HWND window : WorkingWindows()) MeasureWindow(report, window);
    return "windows dpi=" + std::to_string(report.dpi) + " codepage=" + std::to_string(GetACP()) +
           " controls=" + std::to_string(report.controls) + " problems=" + std::to_string(report.problems) + "\n" +
           report.lines;
}

void MeasureWindowsWhenIdle(const std::string& after)
{
    g_measureAfter = after;
    // A thread timer's message comes only once the queue is otherwise empty.
    if (!g_watch) g_watch = SetTimer(nullptr, 0, 100, &Watch);
}

} // namespace sim
