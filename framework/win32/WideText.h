#pragma once
// The framework's Win32 backend converts texts at the wide API with the
// platform's Windows-1250 conversion.

#include "platform/win32/WideText.h"

namespace fw::win32 {
using platform::win32::Narrow;
using platform::win32::Widen;
} // namespace fw::win32
