// Times program start-up from inside Wine: starts a program, polls (1 ms
// steps, bounded) until a visible top-level window of that process with the
// given caption exists, takes the milliseconds, the process's peak working
// set so far and the window's number of controls, and closes the program.
// Alternates the programs run by run so all see the same machine.
//
//     LaunchTimer.exe RUNS EXE1 CAPTION1 EXE2 CAPTION2 ...
//
// Prints three lines per program, in the order given (the first, untimed
// warm-up launch of each is left out):
//     ms <ms> <ms> ...
//     peak-kib <KiB> <KiB> ...
//     controls <count of the last run>

#include <windows.h>
#include <psapi.h>

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

BOOL CALLBACK CountControl(HWND, LPARAM context)
{
    ++*reinterpret_cast<int*>(context);
    return TRUE;
}

struct Launch {
    double ms = -1; // until the window shows; -1 when it does not within 30 s
    SIZE_T peakWorkingSet = 0;
    int controls = 0;
};

Launch TimeStart(const std::wstring& exe, const wchar_t* caption)
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
        return {};
    Search search{process.dwProcessId, caption, nullptr};
    Launch launch;
    for (int step = 0; step < 30000; ++step) {
        EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            QueryPerformanceCounter(&now);
            launch.ms = 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
            PROCESS_MEMORY_COUNTERS memory{};
            memory.cb = sizeof memory;
            if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) launch.peakWorkingSet = memory.PeakWorkingSetSize;
            EnumChildWindows(search.found, CountControl, reinterpret_cast<LPARAM>(&launch.controls));
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    if (search.found) PostMessageW(search.found, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return launch;
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
    std::vector<std::vector<Launch>> launches(programs);
    for (int p = 0; p < programs; ++p) TimeStart(argv[2 + 2 * p], argv[3 + 2 * p]); // warm-up
    for (int run = 0; run < runs; ++run)
        for (int p = 0; p < programs; ++p) {
            const Launch launch = TimeStart(argv[2 + 2 * p], argv[3 + 2 * p]);
            if (launch.ms < 0) {
                std::fwprintf(stderr, L"%ls showed no window\n", argv[2 + 2 * p]);
                return 1;
            }
            launches[p].push_back(launch);
        }
    for (int p = 0; p < programs; ++p) {
        std::wprintf(L"ms");
        for (const Launch& launch : launches[p]) std::wprintf(L" %.1f", launch.ms);
        std::wprintf(L"\npeak-kib");
        for (const Launch& launch : launches[p]) std::wprintf(L" %llu", static_cast<unsigned long long>(launch.peakWorkingSet / 1024));
        std::wprintf(L"\ncontrols %d\n", launches[p].back().controls);
    }
    return 0;
}
