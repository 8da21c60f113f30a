// What creating and destroying one control leaves behind in the process's
// default heap (GetProcessHeap, where the system's window libraries
// allocate): plain Win32, no framework. For each control class it creates
// a batch of controls under a hidden window, optionally gives each a font
// (WM_SETFONT, as a dialog with a font does for every control), destroys
// them, many times over, and counts the heap's busy blocks and bytes before
// and after. It does so with the system's own controls and again with the
// common controls 6 (the activation context of the manifest the program
// carries as resource 2, the one QM47.exe asks for).
//
//     ControlHeapCheck.exe [rounds]      (default 50; 20 controls a round)
//
// One line per case: heap blocks and bytes left per control created (per
// message box shown), after a warm-up.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kControlsPerRound = 20;

struct HeapUse {
    long long blocks = 0;
    long long bytes = 0;   // asked for
    long long taken = 0;   // with the heap's own overhead
};

HeapUse BusyInProcessHeap()
{
    HeapUse use;
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
            ++use.blocks;
            use.bytes += static_cast<long long>(entry.cbData);
            use.taken += static_cast<long long>(entry.cbData) + entry.cbOverhead;
        }
    HeapUnlock(heap);
    return use;
}

struct Case {
    const char* name;
    const wchar_t* className;
    DWORD style;
};

constexpr Case kCases[] = {
    {"static, text", L"Static", SS_LEFT},
    {"static, centred text", L"Static", SS_CENTER},
    {"static, icon", L"Static", SS_ICON},
    {"edit", L"Edit", ES_LEFT | WS_BORDER},
    {"push button", L"Button", BS_PUSHBUTTON},
    {"group box", L"Button", BS_GROUPBOX},
    {"check box", L"Button", BS_AUTOCHECKBOX},
    {"combo box", L"ComboBox", CBS_DROPDOWN},
};

void Report(const char* library, const char* what, const char* font, const HeapUse& before, const HeapUse& after,
            double count, const char* unit)
{
    std::printf("%-18s %-21s %-11s %5.2f blocks, %6.1f bytes (%6.1f with overhead) per %s\n", library, what, font,
                static_cast<double>(after.blocks - before.blocks) / count,
                static_cast<double>(after.bytes - before.bytes) / count,
                static_cast<double>(after.taken - before.taken) / count, unit);
}

void CreateAndDestroy(HWND parent, const Case& control, HFONT font)
{
    HWND windows[kControlsPerRound] = {};
    for (int i = 0; i < kControlsPerRound; ++i) {
        windows[i] = CreateWindowExW(0, control.className, L"Tekst", WS_CHILD | WS_VISIBLE | control.style, 0, 20 * i,
                                     100, 18, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(1000 + i)),
                                     GetModuleHandleW(nullptr), nullptr);
        if (font) SendMessageW(windows[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    for (HWND window : windows) DestroyWindow(window);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

void Measure(const char* library, HWND parent, const Case& control, HFONT font, int rounds)
{
    for (int i = 0; i < 3; ++i) CreateAndDestroy(parent, control, font); // what is made once
    const HeapUse before = BusyInProcessHeap();
    for (int i = 0; i < rounds; ++i) CreateAndDestroy(parent, control, font);
    const HeapUse after = BusyInProcessHeap();
    const double created = static_cast<double>(rounds) * kControlsPerRound;
    Report(library, control.name, font ? "WM_SETFONT" : "no font", before, after, created, "control");
}

BOOL CALLBACK AnswerIfBox(HWND window, LPARAM)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window)) PostMessageW(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

// A message box (information icon and text), answered as soon as it shows.
void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), &AnswerIfBox, 0);
}

void ShowBoxes(int count)
{
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &AnswerBox);
    for (int i = 0; i < count; ++i)
        MessageBoxW(nullptr, L"Operacja zako\u0144czona poprawnie", L"QM47", MB_OK | MB_ICONINFORMATION);
    KillTimer(nullptr, timer);
}

void MeasureBoxes(const char* library, int rounds)
{
    ShowBoxes(3);
    const HeapUse before = BusyInProcessHeap();
    ShowBoxes(rounds);
    const HeapUse after = BusyInProcessHeap();
    Report(library, "message box", "", before, after, rounds, "box");
}

void MeasureAll(const char* library, HWND parent, HFONT font, int rounds)
{
    for (const Case& control : kCases) {
        Measure(library, parent, control, nullptr, rounds);
        Measure(library, parent, control, font, rounds);
    }
    MeasureBoxes(library, rounds);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 50;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET, 0, 0, 0, 0,
                             L"Tahoma");

    HWND systemParent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 200, 500, nullptr, nullptr, instance, nullptr);
    MeasureAll("system controls", systemParent, font, rounds);
    DestroyWindow(systemParent);

    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.hModule = instance;
    context.lpResourceName = MAKEINTRESOURCEW(2); // ISOLATIONAWARE_MANIFEST_RESOURCE_ID
    HANDLE activation = CreateActCtxW(&context);
    ULONG_PTR cookie = 0;
    if (activation == INVALID_HANDLE_VALUE || !ActivateActCtx(activation, &cookie)) {
        std::printf("common controls 6: no activation context (error %lu)\n", GetLastError());
    } else {
        HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 200, 500, nullptr, nullptr, instance, nullptr);
        MeasureAll("common controls 6", parent, font, rounds);
        DestroyWindow(parent);
        DeactivateActCtx(0, cookie);
        ReleaseActCtx(activation);
    }
    DeleteObject(font);
    std::fflush(stdout);
    return 0;
}
