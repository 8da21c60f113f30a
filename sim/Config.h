#pragma once
// The simulated printer's configuration for fault injection: the file
// qm47sim.ini in the current working directory, read afresh at every call.
// Lines are `key = value`; `#` starts a comment. A missing file means every
// default. A line that cannot be read (no `=`, an unknown key, a value that
// cannot be read) is ignored, so what it would have set keeps its default,
// and is listed in `problems` for the library to report.

#include "sim/Rate.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

inline constexpr const char* kConfigFileName = "qm47sim.ini";

// An `onl` answer: a number, or nullopt for no answer (`none`).
using OnlineAnswer = std::optional<std::int32_t>;

// A name the goods database holds when the library is loaded.
struct GoodsSetting {
    std::string name; // bytes as in the file (Windows-1250)
    Rate rate;        // the rate it was sold at
    bool blocked = true;
};

// A structured exception an export raises when called: not handled by the
// library (the program must catch it), handled inside the library before the
// call goes on as usual (the program must not notice it), not handled and
// followed by a second one (code + 1) that the library's clean-up raises
// while its frames are unwound (the program must keep the first), or a real
// write to address 0 (an access violation where the processor reports one).
struct FaultSetting {
    enum class Kind : std::uint8_t { Raised, Handled, RaisedTwice, NullWrite };
    Kind kind = Kind::Raised;
    std::uint32_t code = 0;
};

// A line of the file that was ignored.
struct ConfigProblem {
    int line = 0;       // counted from 1
    std::string text;   // the line as written, without surrounding blanks
    std::string reason; // "no-equals-sign", "unknown-key" or "bad-value"

    friend bool operator==(const ConfigProblem&, const ConfigProblem&) = default;
};

struct Config {
    OnlineAnswer online = 1;
    std::vector<OnlineAnswer> onlineSequence; // empty: not set
    std::int32_t pe = 0;
    std::int32_t err = 0;
    bool cashRegisterOk = true;
    std::optional<std::int32_t> fsk; // unset: 1 in fiscal mode, else 0
    std::int32_t cmd = 0;
    std::int32_t trf = 0;
    bool transaction = false;
    bool portOpenOk = true;
    std::map<std::string, std::int32_t, std::less<>> results; // result.<EXPORT>
    std::set<std::string, std::less<>> unfilled;
    std::set<std::string, std::less<>> nullTexts;
    std::string deviceNamePart1 = "TALMIR";
    std::string deviceNamePart2 = "Serwis";
    bool fiscal = false;
    bool errorBox = true;
    // ErrorMessage's box owned by the calling thread's active window, or by
    // no window (as some makers' libraries show it).
    bool errorBoxOwned = true;
    std::int32_t delayMs = 0; // how long every call takes before it answers
    std::map<std::string, FaultSetting, std::less<>> faults; // fault.<EXPORT>
    // notice.<EXPORT>: milliseconds an ownerless notice window shows during
    // that export's call before the library destroys it.
    std::map<std::string, std::int32_t, std::less<>> notices;
    // The export whose first call makes the library's hidden helper window.
    std::string helperWindowExport;
    // The export whose calls show a progress window with a box over it, and
    // the export whose first call shows a status window the library keeps.
    std::string progressExport;
    std::string statusWindowExport;
    // Exports after whose calls the program's windows are measured (WindowCheck.h).
    std::set<std::string, std::less<>> measureWindows;
    // Answers from a technician's log (AnswersFromLog.h): its path, the session (0:
    // the last) and whether calls take as long as they took there.
    std::string replay;
    std::int32_t replaySession = 0;
    bool replayTiming = false;

    // The printer's state when the library is loaded, taken from the file
    // as it stands at the library's first call.
    bool openReceipt = false;
    std::optional<std::vector<GoodsSetting>> goods; // unset: the built-in database
    std::optional<std::array<std::int64_t, 7>> totalizers; // hundredths
    std::optional<std::int32_t> receiptCount;

    std::vector<ConfigProblem> problems;

    // The code `result.<exportName>` forces, if any.
    std::optional<std::int32_t> ForcedResult(std::string_view exportName) const;
    bool Unfilled(std::string_view exportName) const { return unfilled.contains(exportName); }
    bool NullTexts(std::string_view exportName) const { return nullTexts.contains(exportName); }
    std::int32_t Fsk() const { return fsk.value_or(fiscal ? 1 : 0); }
};

// An integer in decimal or 0x hexadecimal, optionally negative, kept to its
// low 32 bits (so 0xE0000001 is -536870911); nullopt for anything else.
std::optional<std::int32_t> ParseCode(std::string_view text);

Config ParseConfig(std::string_view text);

// The message the library shows for ignored lines (UTF-8, Polish), naming
// each line by its number.
std::string ConfigProblemsText(const std::vector<ConfigProblem>& problems);

// Reads the file; a missing or unreadable file gives the defaults.
Config LoadConfig(const char* path = kConfigFileName);

} // namespace sim
