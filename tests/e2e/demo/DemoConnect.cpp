// Used by scripts/demo.sh on a display of its own: waits for QM47.exe's main
// window, presses "Połąc&z" as a user would, waits until the status panel
// shows the printer, has the window repainted and prints its place on the
// screen as "x y width height". Exit code 0 when the panel filled, 1 if not.
// Given a page's name as its argument (clock, rates, ...), it then opens that
// page too; an unknown name lists the names and exits with 2.

#include "res/ResourceIds.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Wine's and Windows' message boxes: the text static, and the icon static
// that the program's own dialogs never have.
constexpr int kMessageBoxText = 0xFFFF;
constexpr int kWineMessageBoxIcon = 0x0440;
constexpr int kWindowsMessageBoxIcon = 0x0014;

struct Page {
    std::string_view name;
    int button;
};

constexpr Page kPages[] = {
    {"clock", IDC_MAIN_CLOCK},
    {"rates", IDC_MAIN_TAX_RATES},
    {"header", IDC_MAIN_HEADER},
    {"fiscal", IDC_MAIN_FISCAL},
    {"display", IDC_MAIN_DISPLAY},
    {"reports", IDC_MAIN_REPORTS},
    {"goods", IDC_MAIN_GOODS_CHECK},
    {"service", IDC_MAIN_SERVICE_DATE},
    {"sale", IDC_MAIN_CONTROL_SALE},
};

// The button that opens the named page, or 0 for a name no page has.
int PageButton(std::string_view name)
{
    for (const Page& page : kPages)
        if (page.name == name) return page.button;
    return 0;
}

template <class Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds bound)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::wstring Text(HWND window)
{
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &copied);
    return text;
}

struct MessageBoxSearch {
    DWORD processId;
    HWND found;
};

// EnumWindows callback (a named function: the callback is __stdcall on i686).
BOOL CALLBACK FindMessageBoxOfProcess(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<MessageBoxSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // The program's own dialogs hold statics with the id 0xFFFF too,
    // but no icon static 0x440 (Wine's message box) or 0x14 (Windows').
    if (owner == search->processId && IsWindowVisible(window) && GetDlgItem(window, kMessageBoxText) &&
        (GetDlgItem(window, kWineMessageBoxIcon) || GetDlgItem(window, kWindowsMessageBoxIcon))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A message box of the program's process, if one is open.
HWND OpenMessageBox(DWORD processId)
{
    MessageBoxSearch search{processId, nullptr};
    EnumWindows(FindMessageBoxOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The page shown over the main window: a visible dialog it owns, without a caption.
HWND OpenPage(HWND main)
{
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT))
        if (GetWindow(window, GW_OWNER) == main && IsWindowVisible(window) && GetWindowTextLengthW(window) == 0)
            return window;
    return nullptr;
}

void PrintUtf8(const wchar_t* prefix, const std::wstring& text)
{
    const std::wstring line = prefix + text + L"\n";
    char utf8[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8, sizeof(utf8) - 1, nullptr, nullptr);
    std::fputs(utf8, stderr);
}

} // namespace

int main(int argc, char** argv)
{
    int pageButton = 0;
    if (argc > 1 && (pageButton = PageButton(argv[1])) == 0) {
        std::fprintf(stderr, "demo: no page is called \"%s\"; the pages are:", argv[1]);
        for (const Page& page : kPages) std::fprintf(stderr, " %.*s", static_cast<int>(page.name.size()), page.name.data());
        std::fputs("\n", stderr);
        return 2;
    }
    HWND main = nullptr;
    if (!WaitUntil([&] { return (main = FindWindowW(L"#32770", L"TALMIR POLSKA")) != nullptr && IsWindowVisible(main); },
                   30s)) {
        std::fputs("demo: the main window did not appear\n", stderr);
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);

    PostMessageW(GetDlgItem(main, IDC_MAIN_CONNECT), BM_CLICK, 0, 0);
    HWND box = nullptr;
    const bool filled = WaitUntil(
        [&] {
            if ((box = OpenMessageBox(processId)) != nullptr) return true;
            return !Text(GetDlgItem(main, IDC_MAIN_DEVICE_NAME)).empty() && IsWindowEnabled(GetDlgItem(main, IDC_MAIN_DISCONNECT));
        },
        10s);
    if (box) {
        PrintUtf8(L"demo: the program says: ", Text(GetDlgItem(box, kMessageBoxText)));
        return 1;
    }
    if (!filled) {
        std::fputs("demo: the status panel did not fill\n", stderr);
        return 1;
    }
    PrintUtf8(L"demo: connected to ", Text(GetDlgItem(main, IDC_MAIN_DEVICE_NAME)));

    if (pageButton != 0) {
        PostMessageW(GetDlgItem(main, pageButton), BM_CLICK, 0, 0);
        HWND page = nullptr;
        if (!WaitUntil([&] { return (page = OpenPage(main)) != nullptr; }, 10s)) {
            std::fputs("demo: the page did not open\n", stderr);
            return 1;
        }
        RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT place{};
    GetWindowRect(main, &place);
    std::printf("%ld %ld %ld %ld\n", place.left, place.top, place.right - place.left, place.bottom - place.top);
    return 0;
}
