#pragma once
// The names of the library's 27 exports, from the program's own list, so
// that a misspelt name in a setting or a log is noticed.

#include "app/DeviceLibraryExports.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace sim {

#define QM47_SIM_NAME_CALLED(name, params, args) #name,
#define QM47_SIM_NAME_RESOLVED(name) #name,
inline constexpr std::string_view kExportNames[] = {
    QM47_DEVICE_LIBRARY_EXPORTS(QM47_SIM_NAME_CALLED, QM47_SIM_NAME_RESOLVED)};
#undef QM47_SIM_NAME_CALLED
#undef QM47_SIM_NAME_RESOLVED

inline bool IsExportName(std::string_view name)
{
    return std::find(std::begin(kExportNames), std::end(kExportNames), name) != std::end(kExportNames);
}

} // namespace sim
