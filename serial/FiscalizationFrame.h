#pragma once
// The fiscalization command as it travels on the line:
//
//     ESC "P" | "1" "$f" "NIP " <nip> 0xFF | check sum | ESC "\"
//
// The check sum (two lowercase hex digits) covers the part between the
// start and the check sum. The NIP is taken byte for byte as typed
// (Windows-1250), without conversion or checks.

#include <string>
#include <string_view>

namespace qm47 {

std::string FiscalizationFrame(std::string_view nip);

} // namespace qm47
