// Calls the test library, built once with __stdcall and once with __cdecl
// exports, the way the 32-bit program calls the device library: through
// LibraryCall with the device library's own slot types, and through the
// routine underneath with known register values. Checks the results, the
// records written, the bytes each export removed, the stack pointer over
// many calls, the registers the routine must preserve, and faults.
//
// Prints one line per failed check and ends with "N passed, N failed"
// (cases); exit code 0 only when every case passed.

#include "app/DeviceLibrary.h"
#include "app/LibraryCall.h"
#include "app/Records.h"
#include "tests/i686/ConventionLibrary.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

using namespace convention_test;
using qm47::DeviceLibrary;
using qm47::LibraryArgumentWord;
using qm47::LibraryCall;

namespace {

// Every typed call of the device library compiles for this target: taking the
// address of each slot's call instantiates it, with the argument widening
// checks it holds.
#define QM47_INSTANTIATE_CALL(name, params, args)                                                  \
    [[maybe_unused]] constexpr auto kCallOf_##name =                                                \
        &decltype(LibraryCall(DeviceLibrary::name##_fn{}, std::declval<qm47::LibraryFault&>()))::operator();
#define QM47_NOTHING(name)
QM47_DEVICE_LIBRARY_EXPORTS(QM47_INSTANTIATE_CALL, QM47_NOTHING)
#undef QM47_INSTANTIATE_CALL
#undef QM47_NOTHING

// Known values that qm47test_ProbeCall puts into the registers.
constexpr std::uint32_t kProbeEbx = 0x0B0B0B0B;
constexpr std::uint32_t kProbeEsi = 0x05050505;
constexpr std::uint32_t kProbeEdi = 0x0D0D0D0D;
constexpr std::uint32_t kProbeEbp = 0x0E0E0E0E;

struct ProbeOutcome {
    std::int32_t result;
    std::uint32_t popped;
    std::uint32_t espBefore;
    std::uint32_t espAfter;
    std::uint32_t ebx;
    std::uint32_t esi;
    std::uint32_t edi;
    std::uint32_t ebp;
};

} // namespace

extern "C" void qm47test_ProbeCall(const void* function, const std::uint32_t* arguments, std::uint32_t count,
                                   ProbeOutcome* outcome);

namespace {

// Counts cases; a case fails when any of its checks fails. Each failed check
// prints the case, the check, and the value it got against the expected one.
class Checks {
public:
    void BeginCase(std::string name)
    {
        m_case = std::move(name);
        m_caseFailed = false;
    }
    void EndCase() { ++(m_caseFailed ? m_failedCases : m_passedCases); }

    bool Expect(bool ok, const char* what, std::uint32_t got, std::uint32_t expected)
    {
        if (!ok) {
            if (Report()) {
                std::printf("FAILED %s: %s: got 0x%08lX, expected 0x%08lX\n", m_case.c_str(), what,
                            static_cast<unsigned long>(got), static_cast<unsigned long>(expected));
            }
            m_caseFailed = true;
        }
        return ok;
    }
    bool ExpectEqual(std::uint32_t got, std::uint32_t expected, const char* what)
    {
        return Expect(got == expected, what, got, expected);
    }
    bool ExpectText(const char* got, const char* expected, const char* what)
    {
        const bool ok = got != nullptr && std::strcmp(got, expected) == 0;
        if (!ok) {
            if (Report()) {
                std::printf("FAILED %s: %s: got \"%s\", expected \"%s\"\n", m_case.c_str(), what,
                            got != nullptr ? got : "(null)", expected);
            }
            m_caseFailed = true;
        }
        return ok;
    }

    int Summary() const
    {
        std::printf("%d passed, %d failed\n", m_passedCases, m_failedCases);
        return m_failedCases == 0 && m_passedCases > 0 ? 0 : 1;
    }

private:
    // The first failures tell what went wrong; a broken stack or register
    // can make every later check fail too.
    bool Report()
    {
        constexpr int kReportedFailures = 100;
        if (++m_failedChecks == kReportedFailures + 1) {
            std::printf("(further failed checks are not shown)\n");
        }
        return m_failedChecks <= kReportedFailures;
    }

    std::string m_case;
    int m_failedChecks = 0;
    bool m_caseFailed = false;
    int m_passedCases = 0;
    int m_failedCases = 0;
};

struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;

// One build of the test library and the bytes its exports remove per argument.
struct ConventionLibrary {
    const char* fileName;
    const char* label;
    std::uint32_t poppedPerArgument;
    Module module;

    template <class Slot>
    Slot Export(const char* name) const
    {
        return reinterpret_cast<Slot>(reinterpret_cast<void*>(GetProcAddress(module.get(), name)));
    }
};

// Calls `slot` with `args` through LibraryCall and, 200 times,
// through the routine underneath with known register values; expects
// `expected` every time and the stack and registers as they were.
template <class Slot, class... Args>
void ExpectCall(Checks& checks, const ConventionLibrary& library, Slot slot, std::uint32_t expected, Args... args)
{
    constexpr std::uint32_t count = sizeof...(Args);
    const std::uint32_t popped = library.poppedPerArgument * count;
    qm47::LibraryFault fault;

    checks.ExpectEqual(static_cast<std::uint32_t>(LibraryCall(slot, fault)(args...)), expected, "result");

    const std::array<std::uint32_t, count> words{LibraryArgumentWord<Args>(args)...};
    for (int call = 0; call < 200; ++call) {
        ProbeOutcome probe{};
        qm47test_ProbeCall(reinterpret_cast<const void*>(slot), words.data(), count, &probe);
        const bool ok = checks.ExpectEqual(static_cast<std::uint32_t>(probe.result), expected, "probed result") &&
                        checks.ExpectEqual(probe.popped, popped, "probed bytes removed") &&
                        checks.ExpectEqual(probe.espAfter, probe.espBefore, "ESP after the call") &&
                        checks.ExpectEqual(probe.ebx, kProbeEbx, "EBX after the call") &&
                        checks.ExpectEqual(probe.esi, kProbeEsi, "ESI after the call") &&
                        checks.ExpectEqual(probe.edi, kProbeEdi, "EDI after the call") &&
                        checks.ExpectEqual(probe.ebp, kProbeEbp, "EBP after the call");
        if (!ok) {
            break;
        }
    }
}

// The exports' shapes, each through the device library's own slot type.
void CheckEveryShape(Checks& checks, const ConventionLibrary& library)
{
    const auto noArguments = library.Export<DeviceLibrary::Port_Close_fn>("NoArguments");
    const auto oneInteger = library.Export<DeviceLibrary::LBSERM_fn>("OneInteger");
    const auto oneRecord = library.Export<DeviceLibrary::GetStatus_Printer_fn>("OneRecord");
    const auto textInteger = library.Export<DeviceLibrary::Port_Open_fn>("TextInteger");
    const auto integerText = library.Export<DeviceLibrary::LBDSP_fn>("IntegerText");
    const auto twoTexts = library.Export<DeviceLibrary::LBTREXITCAN_fn>("TwoTexts");
    const auto threeTexts = library.Export<DeviceLibrary::LBSETHDR_fn>("ThreeTexts");
    const auto textByteRecord = library.Export<DeviceLibrary::LBDBREPRS_fn>("TextByteRecord");
    const auto recordByte = library.Export<DeviceLibrary::LBDBREP_fn>("RecordByte");

    const std::string label = library.label;
    auto runCase = [&](const char* name, const std::function<void()>& body) {
        checks.BeginCase(label + ": " + name);
        body();
        checks.EndCase();
    };

    runCase("every export found by its undecorated name", [&] {
        const std::array<std::pair<const char*, const void*>, 9> exports = {{
            {"NoArguments", reinterpret_cast<const void*>(noArguments)},
            {"OneInteger", reinterpret_cast<const void*>(oneInteger)},
            {"OneRecord", reinterpret_cast<const void*>(oneRecord)},
            {"TextInteger", reinterpret_cast<const void*>(textInteger)},
            {"IntegerText", reinterpret_cast<const void*>(integerText)},
            {"TwoTexts", reinterpret_cast<const void*>(twoTexts)},
            {"ThreeTexts", reinterpret_cast<const void*>(threeTexts)},
            {"TextByteRecord", reinterpret_cast<const void*>(textByteRecord)},
            {"RecordByte", reinterpret_cast<const void*>(recordByte)},
        }};
        for (const auto& [name, address] : exports) {
            checks.ExpectText(address != nullptr ? name : nullptr, name, "export");
        }
    });
    if (!noArguments || !oneInteger || !oneRecord || !textInteger || !integerText || !twoTexts || !threeTexts ||
        !textByteRecord || !recordByte) {
        return;
    }

    runCase("no arguments (Port_Close)", [&] { ExpectCall(checks, library, noArguments, kNoArgumentsAnswer); });

    runCase("one integer (LBSERM)", [&] {
        for (const std::int32_t value : {0, 3, -1, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max()}) {
            ExpectCall(checks, library, oneInteger, Answer(kOneInteger, static_cast<std::uint32_t>(value)), value);
        }
    });

    runCase("one record (GetStatus_Printer)", [&] {
        for (const std::int32_t pe : {9, 0, -7}) {
            qm47::PrinterStatus status{9, pe, 9};
            ExpectCall(checks, library, oneRecord, Answer(kOneRecord, static_cast<std::uint32_t>(pe)), &status);
            checks.ExpectEqual(static_cast<std::uint32_t>(status.onl), kOnlineAnswer, "status.onl written");
            checks.ExpectEqual(static_cast<std::uint32_t>(status.pe), static_cast<std::uint32_t>(pe), "status.pe kept");
            checks.ExpectEqual(static_cast<std::uint32_t>(status.err), kErrAnswer, "status.err written");
        }
    });

    runCase("text and integer (Port_Open)", [&] {
        struct Row {
            const char* text;
            std::int32_t value;
        };
        for (const Row& row : {Row{"com1", 9600}, Row{"", 0}, Row{"\x8C\xB9\xEA\xB3", -5}}) {
            ExpectCall(checks, library, textInteger,
                       Answer(kTextInteger, TextWord(row.text), static_cast<std::uint32_t>(row.value)), row.text,
                       row.value);
        }
    });

    runCase("integer and text (LBDSP)", [&] {
        for (const std::int32_t mode : {0, 2, 255}) {
            const char* text = "KASA CZYNNA";
            ExpectCall(checks, library, integerText,
                       Answer(kIntegerText, static_cast<std::uint32_t>(mode), TextWord(text)), mode, text);
        }
    });

    runCase("two texts (LBTREXITCAN), order kept", [&] {
        ExpectCall(checks, library, twoTexts, Answer(kTwoTexts, TextWord("001"), TextWord("SERWIS")), "001", "SERWIS");
        ExpectCall(checks, library, twoTexts, Answer(kTwoTexts, TextWord("SERWIS"), TextWord("001")), "SERWIS", "001");
    });

    runCase("three texts (LBSETHDR), order kept", [&] {
        ExpectCall(checks, library, threeTexts,
                   Answer(kThreeTexts, TextWord("NAGLOWEK"), TextWord("001"), TextWord("Serwis")), "NAGLOWEK", "001",
                   "Serwis");
        ExpectCall(checks, library, threeTexts, Answer(kThreeTexts, TextWord(""), TextWord("b"), TextWord("a")), "",
                   "b", "a");
    });

    runCase("text, byte and record (LBDBREPRS), byte widened with zeros", [&] {
        for (const unsigned char letter : std::array<unsigned char, 6>{'A', 'G', 0x00, 0x7F, 0x80, 0xFF}) {
            qm47::GoodsQueryResult result{};
            ExpectCall(checks, library, textByteRecord, Answer(kTextByteRecord, TextWord("MLEKO"), letter), "MLEKO",
                       letter, &result);
            checks.ExpectEqual(result.blocked, 1, "result.blocked written");
            checks.ExpectText(result.rateText, kRateTextAnswer, "result.rateText written");
        }
    });

    runCase("record and byte (LBDBREP), byte widened with zeros", [&] {
        for (const unsigned char step : std::array<unsigned char, 3>{0, 1, 2}) {
            for (const unsigned char option : std::array<unsigned char, 3>{0x00, 0x01, 0xFF}) {
                qm47::GoodsPrintRequest request{};
                request.step = step;
                request.goodsName = "CHLEB";
                ExpectCall(checks, library, recordByte, Answer(kRecordByte, step, TextWord("CHLEB"), option), &request,
                           option);
            }
        }
    });

    runCase("100000 calls in a row", [&] {
        // A stack that drifts by as little as 4 bytes a call would run out
        // long before the end, and a lost argument would show in a result.
        qm47::LibraryFault fault;
        for (int call = 0; call < 100000; ++call) {
            const std::int32_t value = call;
            const bool ok =
                checks.ExpectEqual(static_cast<std::uint32_t>(LibraryCall(oneInteger, fault)(value)),
                                   Answer(kOneInteger, static_cast<std::uint32_t>(value)), "one integer") &&
                checks.ExpectEqual(static_cast<std::uint32_t>(LibraryCall(threeTexts, fault)("a", "bb", "ccc")),
                                   Answer(kThreeTexts, TextWord("a"), TextWord("bb"), TextWord("ccc")), "three texts") &&
                checks.ExpectEqual(static_cast<std::uint32_t>(LibraryCall(noArguments, fault)()), kNoArgumentsAnswer,
                                   "no arguments");
            if (!ok) {
                break;
            }
        }
    });

    // An export that takes other arguments than it is given: the routine
    // still returns with the stack and registers as they were.
    runCase("export removes more than it was given", [&] {
        ProbeOutcome probe{};
        qm47test_ProbeCall(reinterpret_cast<const void*>(oneInteger), nullptr, 0, &probe);
        checks.ExpectEqual(probe.popped, library.poppedPerArgument, "bytes removed by a one-argument export");
        checks.ExpectEqual(probe.espAfter, probe.espBefore, "ESP after the call");
        checks.ExpectEqual(probe.ebx, kProbeEbx, "EBX after the call");
        checks.ExpectEqual(probe.ebp, kProbeEbp, "EBP after the call");
    });

    runCase("export removes less than it was given", [&] {
        const std::array<std::uint32_t, 3> words = {41, 42, 43};
        ProbeOutcome probe{};
        qm47test_ProbeCall(reinterpret_cast<const void*>(oneInteger), words.data(), 3, &probe);
        checks.ExpectEqual(static_cast<std::uint32_t>(probe.result), Answer(kOneInteger, 41u), "result");
        checks.ExpectEqual(probe.popped, library.poppedPerArgument, "bytes removed by a one-argument export");
        checks.ExpectEqual(probe.espAfter, probe.espBefore, "ESP after the call");
        checks.ExpectEqual(probe.esi, kProbeEsi, "ESI after the call");
        checks.ExpectEqual(probe.edi, kProbeEdi, "EDI after the call");
    });

    runCase("a second exception while the first one's frames are unwound keeps the first code", [&] {
        const auto raisesTwice = library.Export<DeviceLibrary::Port_Close_fn>("RaisesAgainWhileUnwound");
        qm47::LibraryFault fault;
        const std::int32_t result = raisesTwice ? LibraryCall(raisesTwice, fault)() : -1;
        checks.ExpectEqual(static_cast<std::uint32_t>(result), 0u, "result");
        checks.ExpectEqual(fault.raised, 1u, "fault.raised");
        checks.ExpectEqual(fault.code, kFirstFaultCode, "fault.code");
    });

    runCase("no place for the bytes removed", [&] {
        const std::array<std::uint32_t, 2> words = {LibraryArgumentWord("com2"), 19200};
        qm47::LibraryFault fault;
        const std::int32_t result =
            qm47_CallLibrary32(reinterpret_cast<const void*>(textInteger), words.data(), 2, nullptr, &fault);
        checks.ExpectEqual(static_cast<std::uint32_t>(result), Answer(kTextInteger, TextWord("com2"), 19200u),
                           "result");
    });
}

} // namespace

int main()
{
    Checks checks;
    std::array<ConventionLibrary, 2> libraries = {{
        {"ConventionLibrary_stdcall.dll", "__stdcall", 4, nullptr},
        {"ConventionLibrary_cdecl.dll", "__cdecl", 0, nullptr},
    }};
    for (ConventionLibrary& library : libraries) {
        checks.BeginCase(std::string(library.label) + ": library loads");
        library.module.reset(LoadLibraryA(library.fileName));
        checks.Expect(library.module != nullptr, library.fileName, static_cast<std::uint32_t>(GetLastError()), 0);
        checks.EndCase();
        if (library.module != nullptr) {
            CheckEveryShape(checks, library);
        }
    }
    return checks.Summary();
}
