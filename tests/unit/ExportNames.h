#pragma once
// The device library's export names in the order start-up looks them up, from
// the one list that drives the program's table.

#include "app/DeviceLibraryExports.h"

#include <array>

namespace qm47::testing {

inline constexpr std::array kExportNames = {
#define QM47_NAME(name, ...) #name,
    QM47_DEVICE_LIBRARY_EXPORTS(QM47_NAME, QM47_NAME)
#undef QM47_NAME
};

} // namespace qm47::testing
