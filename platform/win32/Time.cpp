#include "platform/Time.h"

#include <windows.h>

namespace platform {

LocalTime Now()
{
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

std::uint32_t MonotonicMilliseconds()
{
    return GetTickCount();
}

void SleepMilliseconds(unsigned milliseconds)
{
    Sleep(milliseconds);
}

} // namespace platform
