#include "platform/System.h"

#include <sys/utsname.h>

#include <cstring>
#include <ctime>

namespace platform {

std::string SystemVersion()
{
    utsname name{};
    if (uname(&name) != 0) return "POSIX";
    return std::string(name.sysname) + " " + name.release;
}

std::string SystemErrorText(unsigned long code)
{
    return std::strerror(static_cast<int>(code));
}

std::int64_t MonotonicMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace platform
