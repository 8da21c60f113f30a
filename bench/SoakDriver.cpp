// Soak run of QM47.exe, driven from outside as a user would: Connect,
// Refresh and Disconnect many times, then every page opened, used once
// through its main button (answering the message box it shows) and closed,
// many times. Samples the program's kernel handles, private bytes, working
// set, windows, and GDI and USER objects before the cycles, after a warm-up
// and at fixed steps, prints a table and a verdict per quantity.
//
//     SoakDriver.exe FOLDER [--connect=N] [--pages=N] [--warmup=N]
//                    [--every-connect=N] [--every-pages=N] [--port=COM3]
//                    [--handle-margin=N] [--window-margin=N] [--object-margin=N]
//                    [--private-limit-kib=N]      (0: shown, not judged)
//                    [--only=PAGE]   (clock, rates, header, fiscal, display,
//                                     reports, goods, service or sale)
//                    [--log]         QM47.exe started with /log (its log in FOLDER)
//
// FOLDER holds QM47.exe and the simulated printer; the program runs there.
// Every sample is taken in the same state: disconnected, no page or box open,
// every posted message handled. Growth is measured from the warm-up sample
// to the last one. Exit code 0 when no quantity grew beyond its margin.
// The last line is "N passed, N failed" (one check per quantity).

#include "res/ControlLists.h"
#include "res/ResourceIds.h"
#include "tools/drive/Drive.h"

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace qm47::drive;

// One reading of what the program holds.
struct Sample {
    std::string label;
    int cycles = 0;
    DWORD handles = 0;
    SIZE_T privateBytes = 0;
    SIZE_T processHeap = 0; // committed in the default heap's first block
    SIZE_T workingSet = 0;
    int topLevelWindows = 0;
    int childWindows = 0;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
};

struct WindowCount {
    int topLevel = 0;
    int children = 0;
};

BOOL CALLBACK CountChild(HWND, LPARAM context)
{
    ++reinterpret_cast<WindowCount*>(context)->children;
    return TRUE;
}

BOOL CALLBACK CountThreadWindow(HWND window, LPARAM context)
{
    auto* count = reinterpret_cast<WindowCount*>(context);
    ++count->topLevel;
    EnumChildWindows(window, CountChild, context); // every descendant, once
    return TRUE;
}

// The process's handles in the system's handle table (where the process's
// own count is not available: Wine answers 0 to GetProcessHandleCount on
// another process).
DWORD HandlesInSystemTable(DWORD processId)
{
    using Query = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 0;
    std::vector<unsigned char> buffer(1 << 16);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        const NTSTATUS status = query(SystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            const auto* table = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
            DWORD count = 0;
            for (ULONG i = 0; i < table->Count; ++i)
                if (table->Handle[i].OwnerPid == processId) ++count;
            return count;
        }
        buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
    }
    return 0;
}

// Where the process's default heap (GetProcessHeap) starts, read from its
// process environment block (the 32-bit one for a 32-bit program); 0 when
// it cannot be read. The system libraries allocate there; the program's and
// the device library's C++ allocations go to the C runtime's own heap.
std::uintptr_t ProcessHeapBase(HANDLE process)
{
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (!query) return 0;
    ULONG_PTR peb32 = 0;
    if (query(process, ProcessWow64Information, &peb32, sizeof peb32, nullptr) == 0 && peb32 != 0) {
        std::uint32_t heap = 0; // PEB32.ProcessHeap
        return ReadProcessMemory(process, reinterpret_cast<void*>(peb32 + 0x18), &heap, sizeof heap, nullptr) ? heap : 0;
    }
    PROCESS_BASIC_INFORMATION basic{};
    if (query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return 0;
    std::uint64_t heap = 0; // PEB64.ProcessHeap
    const auto* field = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress) + 0x30;
    return ReadProcessMemory(process, field, &heap, sizeof heap, nullptr) ? static_cast<std::uintptr_t>(heap) : 0;
}

struct PrivateMemory {
    SIZE_T total = 0;       // committed private bytes
    SIZE_T processHeap = 0; // of which the default heap's first block
};

// The process's committed private memory, region by region.
PrivateMemory CommittedPrivateBytes(HANDLE process, std::uintptr_t heapBase)
{
    PrivateMemory memory;
    MEMORY_BASIC_INFORMATION region{};
    for (auto* address = static_cast<unsigned char*>(nullptr);
         VirtualQueryEx(process, address, &region, sizeof region) == sizeof region;
         address = static_cast<unsigned char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            memory.total += region.RegionSize;
            if (reinterpret_cast<std::uintptr_t>(region.AllocationBase) == heapBase) memory.processHeap += region.RegionSize;
        }
        if (region.RegionSize == 0) break;
    }
    return memory;
}

// The program's kernel handles, memory, windows and GDI and USER objects now;
// `notes` collects how a quantity had to be counted here.
Sample Measure(const Program& program, std::string label, int cycles, std::set<std::string>& notes)
{
    const HANDLE process = program.Process();
    Sample sample{std::move(label), cycles};
    if (!GetProcessHandleCount(process, &sample.handles) || sample.handles == 0) {
        sample.handles = HandlesInSystemTable(program.ProcessId());
        notes.insert("handles: counted in the system handle table (GetProcessHandleCount answers 0 here)");
    }
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory)) {
        sample.privateBytes = memory.PrivateUsage;
        sample.workingSet = memory.WorkingSetSize;
    }
    const PrivateMemory regions = CommittedPrivateBytes(process, ProcessHeapBase(process));
    sample.processHeap = regions.processHeap;
    if (sample.privateBytes == 0) {
        sample.privateBytes = regions.total;
        notes.insert("private bytes: committed private regions summed (VirtualQueryEx; PrivateUsage is 0 here)");
    }
    WindowCount windows;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread{};
    thread.dwSize = sizeof thread;
    for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread))
        if (thread.th32OwnerProcessID == program.ProcessId())
            EnumThreadWindows(thread.th32ThreadID, CountThreadWindow, reinterpret_cast<LPARAM>(&windows));
    CloseHandle(snapshot);
    sample.topLevelWindows = windows.topLevel;
    sample.childWindows = windows.children;
    sample.gdiObjects = GetGuiResources(process, GR_GDIOBJECTS);
    sample.userObjects = GetGuiResources(process, GR_USEROBJECTS);
    return sample;
}

// What a user does on each page of the page table: what is typed before its
// main button is pressed, and that button.
struct PageUse {
    std::vector<std::pair<int, const char*>> typed; // UTF-8
    int mainButton;
};

const std::map<std::string_view, PageUse> kPageUses = {
    {"clock", {{}, IDC_CLOCK_SET}},
    {"rates", {{}, IDC_TAX_RATES_SET}},
    {"header", {{{IDC_HEADER_LINE1, "QM47 pr\u00F3ba"}}, IDC_HEADER_SET}},
    {"fiscal", {{{IDC_FISCAL_NIP, "5260001246"}}, IDC_FISCAL_SEND}},
    {"display",
     {{{IDC_DISPLAY_CUSTOMER_LINE1, "Cena: 12,50 z\u0142"}, {IDC_DISPLAY_CUSTOMER_LINE2, "Dzi\u0119kujemy"}},
      IDC_DISPLAY_CUSTOMER_SEND}},
    {"reports", {{}, IDC_REPORTS_DAILY}},
    {"goods", {{{IDC_GOODS_NAME, "Kawa"}, {IDC_GOODS_RATE, "B"}}, IDC_GOODS_CHECK}},
    {"service", {{{IDC_SERVICE_DAYS, "30"}, {IDC_SERVICE_PHONE, "22 123-45-67"}}, IDC_SERVICE_SET}},
    {"sale", {{{IDC_SALE_RATE, "B"}}, IDC_SALE_RUN}},
};

struct Options {
    std::wstring folder;
    std::string port = "COM3";
    int connectCycles = 1000;
    int pageCycles = 200;
    int warmup = 10;
    int everyConnect = 100;
    int everyPages = 100;
    long handleMargin = 0;
    long windowMargin = 0;
    long objectMargin = 0;
    long privateLimitKiB = 64;
    std::string only; // one page's name: the page cycles use that page alone
    bool log = false; // the program writes its diagnostic log
};

Options ParseOptions(int argc, wchar_t** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--log") {
            options.log = true;
            continue;
        }
        const auto equals = argument.find(L'=');
        if (argument.rfind(L"--", 0) != 0 || equals == std::wstring::npos) {
            options.folder = argument;
            continue;
        }
        const std::wstring name = argument.substr(2, equals - 2);
        const std::wstring value = argument.substr(equals + 1);
        const long number = std::wcstol(value.c_str(), nullptr, 10);
        if (name == L"port") options.port = Utf8FromWide(value);
        else if (name == L"connect") options.connectCycles = static_cast<int>(number);
        else if (name == L"pages") options.pageCycles = static_cast<int>(number);
        else if (name == L"warmup") options.warmup = static_cast<int>(number);
        else if (name == L"every-connect") options.everyConnect = static_cast<int>(number);
        else if (name == L"every-pages") options.everyPages = static_cast<int>(number);
        else if (name == L"handle-margin") options.handleMargin = number;
        else if (name == L"window-margin") options.windowMargin = number;
        else if (name == L"object-margin") options.objectMargin = number;
        else if (name == L"private-limit-kib") options.privateLimitKiB = number;
        else if (name == L"only") options.only = Utf8FromWide(value);
        else throw Failure("unknown option " + Utf8FromWide(argument));
    }
    if (options.folder.empty()) throw Failure("no folder given");
    if (options.everyConnect < 1 || options.everyPages < 1) throw Failure("sample steps must be at least 1");
    return options;
}

// Runs the cycles, sampling as it goes.
class Soak {
public:
    Soak(const Options& options, const Program& program) : m_options(options), m_program(program) {}

    void Run()
    {
        m_program.MainWindow().Item(IDC_MAIN_PORT).SetText(m_options.port);
        Take("start", 0);

        // Warm-up: everything once or more, so what is made once is made.
        for (int i = 0; i < m_options.warmup; ++i) ConnectCycle();
        Connect();
        for (int i = 0; i < 2; ++i) PageCycle();
        Disconnect();
        Take("warm-up", 0);

        for (int cycle = 1; cycle <= m_options.connectCycles; ++cycle) {
            ConnectCycle();
            if (cycle % m_options.everyConnect == 0 || cycle == m_options.connectCycles) Take("connect", cycle);
        }
        Connect();
        for (int cycle = 1; cycle <= m_options.pageCycles; ++cycle) {
            PageCycle();
            if (cycle % m_options.everyPages == 0 || cycle == m_options.pageCycles) {
                Disconnect();
                Take("pages", cycle);
                if (cycle != m_options.pageCycles) Connect();
            }
        }
        if (m_options.pageCycles == 0) Disconnect();
    }

    const std::vector<Sample>& Samples() const { return m_samples; }
    const std::map<std::string, std::map<std::string, int>>& Boxes() const { return m_boxes; }
    const std::set<std::string>& Notes() const { return m_notes; }

private:
    void Take(const char* label, int cycles)
    {
        if (!m_program.Settle()) throw Failure("the program did not settle");
        if (!m_program.MessageBoxes().empty() || !m_program.Pages().empty()) throw Failure("a window is still open");
        m_samples.push_back(Measure(m_program, label, cycles, m_notes));
    }

    // Answers every box now open (OK, else Yes); returns their texts.
    std::vector<std::string> AnswerBoxes() const
    {
        std::vector<std::string> texts;
        for (int round = 0; round < 4; ++round) {
            const auto boxes = m_program.MessageBoxes();
            if (boxes.empty()) break;
            const MessageBoxWindow& box = boxes.front();
            box.WaitVisible();
            texts.push_back(box.Message());
            const bool hasOk = box.Item(IDOK).Visible();
            if (!hasOk && !box.Item(IDYES)) throw Failure("a box without OK or Yes: " + texts.back());
            box.Press(hasOk ? IDOK : IDYES);
            if (!WaitUntil([&] { return !box; })) throw Failure("a box did not close");
            if (!m_program.Settle()) throw Failure("the program did not settle");
        }
        return texts;
    }

    void ExpectNoBox(const char* step) const
    {
        const auto texts = AnswerBoxes();
        if (!texts.empty()) throw Failure(std::string(step) + " showed a box: " + texts.front());
    }

    void Connect() const
    {
        m_program.ClickMain(IDC_MAIN_CONNECT);
        ExpectNoBox("Connect");
        if (!m_program.MainWindow().Item(IDC_MAIN_DISCONNECT).Enabled()) throw Failure("not connected");
    }

    void Disconnect() const
    {
        m_program.ClickMain(IDC_MAIN_DISCONNECT);
        ExpectNoBox("Disconnect");
    }

    void ConnectCycle() const
    {
        Connect();
        m_program.ClickMain(IDC_MAIN_REFRESH);
        ExpectNoBox("Refresh");
        Disconnect();
    }

    void PageCycle()
    {
        for (const qm47::res::PageButton& row : qm47::res::kMainPageButtons) {
            if (!m_options.only.empty() && m_options.only != row.name) continue;
            const PageUse& use = kPageUses.at(row.name);
            m_program.ClickMain(row.id);
            const Window page = m_program.WaitForPage();
            if (!page) {
                const auto texts = AnswerBoxes();
                throw Failure(std::string("the page ") + row.name + " did not open" +
                              (texts.empty() ? "" : ": " + texts.front()));
            }
            for (const auto& [id, text] : use.typed) page.Item(id).SetText(text);
            m_program.Click(page, use.mainButton);
            const auto texts = AnswerBoxes();
            auto& seen = m_boxes[row.name];
            if (texts.empty()) ++seen["(no box)"];
            for (const auto& text : texts) ++seen[text];
            m_program.Click(page, row.cancel);
            if (!WaitUntil([&] { return !page; })) throw Failure(std::string("the page ") + row.name + " did not close");
        }
    }

    const Options& m_options;
    const Program& m_program;
    std::vector<Sample> m_samples;
    std::map<std::string, std::map<std::string, int>> m_boxes;
    std::set<std::string> m_notes;
};

void PrintTable(const std::vector<Sample>& samples)
{
    std::printf("%-8s %6s %8s %12s %9s %12s %9s %6s %6s %6s\n", "sample", "cycles", "handles", "private KiB",
                "heap KiB", "working KiB", "top-level", "child", "GDI", "USER");
    for (const Sample& s : samples)
        std::printf("%-8s %6d %8lu %12llu %9llu %12llu %9d %6d %6lu %6lu\n", s.label.c_str(), s.cycles,
                    static_cast<unsigned long>(s.handles), static_cast<unsigned long long>(s.privateBytes / 1024),
                    static_cast<unsigned long long>(s.processHeap / 1024),
                    static_cast<unsigned long long>(s.workingSet / 1024), s.topLevelWindows, s.childWindows,
                    static_cast<unsigned long>(s.gdiObjects), static_cast<unsigned long>(s.userObjects));
}

struct Verdicts {
    int passed = 0;
    int failed = 0;

    // After the warm-up a count may not rise above the warm-up reading plus
    // `margin`, at any sample.
    void Check(const char* name, long warm, long last, long highest, long margin, const char* unit)
    {
        const long growth = last - warm;
        const bool ok = growth <= margin && highest - warm <= margin;
        std::printf("%-14s warm-up %ld, end %ld, highest %ld: growth %+ld %s (allowed %ld): %s\n", name, warm, last,
                    highest, growth, unit, margin, ok ? "no growth" : "GROWS");
        (ok ? passed : failed) += 1;
    }
};

template <class Get>
void CheckQuantity(Verdicts& verdicts, const char* name, const std::vector<Sample>& samples, std::size_t warm, Get get,
                   long margin, const char* unit)
{
    long highest = get(samples[warm]);
    for (std::size_t i = warm; i < samples.size(); ++i) highest = std::max(highest, get(samples[i]));
    verdicts.Check(name, get(samples[warm]), get(samples.back()), highest, margin, unit);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    try {
        const Options options = ParseOptions(argc, argv);
        Program program(std::filesystem::path(options.folder) / L"QM47.exe", options.folder, options.log ? L"/log" : L"");
        if (!program.WaitForMainWindow()) throw Failure("the main window did not appear");
        Soak soak(options, program);
        const auto started = std::chrono::steady_clock::now();
        soak.Run();
        const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        const auto& samples = soak.Samples();

        std::printf("%d connect cycles, %d page cycles (9 pages each) in %.1f s\n", options.connectCycles,
                    options.pageCycles, seconds);
        PrintTable(samples);
        for (const std::string& note : soak.Notes()) std::printf("%s\n", note.c_str());
        std::printf("boxes answered per page:\n");
        for (const auto& [page, texts] : soak.Boxes())
            for (const auto& [text, count] : texts) std::printf("  %-8s %5d x %s\n", page.c_str(), count, text.c_str());

        const std::size_t warm = 1;
        Verdicts verdicts;
        CheckQuantity(verdicts, "handles", samples, warm, [](const Sample& s) { return static_cast<long>(s.handles); },
                      options.handleMargin, "");
        CheckQuantity(verdicts, "top-level", samples, warm, [](const Sample& s) { return static_cast<long>(s.topLevelWindows); },
                      options.windowMargin, "");
        CheckQuantity(verdicts, "child windows", samples, warm, [](const Sample& s) { return static_cast<long>(s.childWindows); },
                      options.windowMargin, "");
        bool objectsCounted = false;
        for (const Sample& s : samples) objectsCounted = objectsCounted || s.gdiObjects != 0 || s.userObjects != 0;
        if (objectsCounted) {
            CheckQuantity(verdicts, "GDI objects", samples, warm, [](const Sample& s) { return static_cast<long>(s.gdiObjects); },
                          options.objectMargin, "");
            CheckQuantity(verdicts, "USER objects", samples, warm, [](const Sample& s) { return static_cast<long>(s.userObjects); },
                          options.objectMargin, "");
        } else {
            std::printf("GDI, USER      not counted: GetGuiResources answers 0 here (Wine does not count them); "
                        "the windows above are what can be counted\n");
        }
        const long warmKiB = static_cast<long>(samples[warm].privateBytes / 1024);
        const long lastKiB = static_cast<long>(samples.back().privateBytes / 1024);
        if (options.privateLimitKiB > 0) {
            const bool privateOk = lastKiB - warmKiB < options.privateLimitKiB;
            std::printf("%-14s warm-up %ld KiB, end %ld KiB: growth %+ld KiB (limit < %ld KiB): %s\n", "private bytes",
                        warmKiB, lastKiB, lastKiB - warmKiB, options.privateLimitKiB, privateOk ? "within" : "GROWS");
            (privateOk ? verdicts.passed : verdicts.failed) += 1;
        } else {
            std::printf("%-14s warm-up %ld KiB, end %ld KiB: growth %+ld KiB (shown, not judged)\n", "private bytes",
                        warmKiB, lastKiB, lastKiB - warmKiB);
        }
        const long heapGrowth = static_cast<long>(samples.back().processHeap / 1024) -
                                static_cast<long>(samples[warm].processHeap / 1024);
        if (samples[warm].processHeap == 0)
            std::printf("  of which       not told apart: the default heap's place could not be read\n");
        else
            std::printf("  of which       the system libraries' default heap %+ld KiB, everything else (the program's and "
                        "the device library's own heap, stacks, images) %+ld KiB\n",
                        heapGrowth, lastKiB - warmKiB - heapGrowth);
        std::printf("working set    warm-up %ld KiB, end %ld KiB (shown, not judged)\n",
                    static_cast<long>(samples[warm].workingSet / 1024), static_cast<long>(samples.back().workingSet / 1024));
        std::printf("%d passed, %d failed\n", verdicts.passed, verdicts.failed);
        std::fflush(stdout);
        return verdicts.failed == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::printf("soak: %s\n0 passed, 1 failed\n", error.what());
        std::fflush(stdout);
        return 1;
    }
}
