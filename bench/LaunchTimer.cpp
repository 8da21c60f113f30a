// Times program start-up from inside Wine: starts a program, polls (1 ms
// steps, bounded) until a visible top-level window of that process with the
// given caption exists, takes the milliseconds and the process's peak working
// set so far, and closes the program.
// Alternates the programs run by run so all see the same machine.
//
//     LaunchTimer.exe RUNS EXE1 CAPTION1 EXE2 CAPTION2 ...
//
// Prints two lines per program, in the order given (the first, untimed
// warm-up launch of each is left out):
//     ms <ms> <ms> ...
//     peak-kib <KiB> <KiB> ...

#include "tools/drive/Drive.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace qm47::drive;

struct Launch {
    double ms = -1; // until the window shows; -1 when it does not within 30 s
    SIZE_T peakWorkingSet = 0;
};

Launch TimeStart(const std::filesystem::path& exe, const std::string& caption)
{
    Launch launch;
    const auto start = std::chrono::steady_clock::now();
    const Program program(exe, exe.parent_path());
    Window shown;
    const bool found = WaitUntil(
        [&] {
            for (HWND window : program.TopLevelWindows())
                if (Window(window).Visible() && Window(window).Caption() == caption) shown = Window(window);
            return shown || !program.Running();
        },
        30s, 1ms);
    if (!found || !shown) return launch;
    launch.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(program.Process(), &memory, sizeof memory)) launch.peakWorkingSet = memory.PeakWorkingSetSize;
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
    try {
    const auto timeStart = [&](int p) { return TimeStart(argv[2 + 2 * p], Utf8FromWide(argv[3 + 2 * p])); };
    for (int p = 0; p < programs; ++p) timeStart(p); // warm-up
    for (int run = 0; run < runs; ++run)
        for (int p = 0; p < programs; ++p) {
            const Launch launch = timeStart(p);
            if (launch.ms < 0) {
                std::fwprintf(stderr, L"%ls showed no window\n", argv[2 + 2 * p]);
                return 1;
            }
            launches[p].push_back(launch);
        }
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    for (int p = 0; p < programs; ++p) {
        std::wprintf(L"ms");
        for (const Launch& launch : launches[p]) std::wprintf(L" %.1f", launch.ms);
        std::wprintf(L"\npeak-kib");
        for (const Launch& launch : launches[p]) std::wprintf(L" %llu", static_cast<unsigned long long>(launch.peakWorkingSet / 1024));
        std::wprintf(L"\n");
    }
    return 0;
}
