#pragma once
// The result codes the simulated printer answers, and the Polish texts its
// ErrorMessage shows for them.

#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

inline constexpr std::int32_t kOk = 0;
// The port cannot be opened, or the printer does not answer.
inline constexpr std::int32_t kNoConnection = -1;
// A command while no port is open.
inline constexpr std::int32_t kPortNotOpen = -2;
// A record or text the command needs is a null pointer.
inline constexpr std::int32_t kMissingData = -3;
// An unknown mode, kind, step or rate letter, or a wrong count.
inline constexpr std::int32_t kInvalidArgument = -4;
// A record whose bytes are not laid out as documented (32-bit builds).
inline constexpr std::int32_t kLayoutMismatch = -7;
// An export the simulated printer does not implement.
inline constexpr std::int32_t kNotSupported = -9;
// LBSETCK: an impossible date or time.
inline constexpr std::int32_t kInvalidClock = -10;
// LBSETPTU: a rate text that is not a rate.
inline constexpr std::int32_t kInvalidRate = -11;
// LBTRSLN: a sale at an inactive rate.
inline constexpr std::int32_t kInactiveRate = -12;
// LBTRSLN, O_LBTRXEND: no receipt is open; LBDBREP: a step out of order.
inline constexpr std::int32_t kOutOfSequence = -13;
// LBTRSLN: the name is blocked at another rate in the goods database.
inline constexpr std::int32_t kGoodsBlocked = -14;
// LBTRSLN: a value text that is not an amount.
inline constexpr std::int32_t kInvalidAmount = -15;
// Any call once the library's hidden helper window is gone (helper_window).
inline constexpr std::int32_t kHelperWindowLost = -16;
// Reports: a reversed range.
inline constexpr std::int32_t kInvalidRange = -25;
// Reports: an impossible date (month 0 or above 12, day 0 or above 31).
inline constexpr std::int32_t kInvalidReportDate = static_cast<std::int32_t>(0xE0000001u);

// Caption of the simulated printer's message box (UTF-8).
inline constexpr std::string_view kErrorBoxCaption = "Symulator drukarki";
// The box that stands for a window the library showed during a replayed
// call: the log does not hold what that window said.
inline constexpr std::string_view kReplayedWindowText =
    "Tu biblioteka pokazała własne okno (odtwarzany dziennik nie zawiera jego treści).";

// The text ErrorMessage shows for `code` (UTF-8), e.g. "Błąd -25: Błędny
// zakres"; an unknown code gives "Nieznany błąd drukarki: <code>". A
// non-empty caller's text (already UTF-8) follows on its own line.
std::string ErrorBoxText(std::int32_t code, std::string_view callerText);

} // namespace sim
