// Times program start-up from inside Wine: starts a program, polls (1 ms
// steps, bounded) until a visible top-level window of that process with the
// given caption exists, prints the milliseconds, and closes the program.
// Alternates the programs run by run so both see the same machine.
//
//     LaunchTimer.exe RUNS EXE1 CAPTION1 EXE2 CAPTION2 ...
//
// Prints one line per program: "<exe> <ms> <ms> ..." (the first, untimed
// warm-up launch of each is left out).

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD processId;
    const wchar_t* caption;
    HWND found;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t text[128] = {};
    if (owner == search->processId && IsWindowVisible(window) && GetWindowTextW(window, text, 128) > 0 &&
        std::wstring(text) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// Milliseconds until the window shows, or -1 when it does not within 30 s.
double TimeStart(const std::wstring& exe, const wchar_t* caption)
{
    std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/"));
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &process))
        return -1;
    Search search{process.dwProcessId, caption, nullptr};
    double elapsed = -1;
    for (int step = 0; step < 30000; ++step) {
        EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            QueryPerformanceCounter(&now);
            elapsed = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    if (search.found) PostMessageW(search.found, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4 || (argc - 2) % 2 != 0) {
        std::fputs("usage: LaunchTimer RUNS EXE CAPTION [EXE CAPTION]...\n", stderr);
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    const int programs = (argc - 2) / 2;
    std::vector<std::vector<double>> times(programs);
    for (int p = 0; p < programs; ++p) TimeStart(argv[2 + 2 * p], argv[3 + 2 * p]); // warm-up
    for (int run = 0; run < runs; ++run)
        for (int p = 0; p < programs; ++p) {
            const double ms = TimeStart(argv[2 + 2 * p], argv[3 + 2 * p]);
            if (ms < 0) {
                std::fwprintf(stderr, L"%ls showed no window\n", argv[2 + 2 * p]);
                return 1;
            }
            times[p].push_back(ms);
        }
    for (int p = 0; p < programs; ++p) {
        std::wprintf(L"%ls", argv[2 + 2 * p]);
        for (double ms : times[p]) std::wprintf(L" %.1f", ms);
        std::wprintf(L"\n");
    }
    return 0;
}
