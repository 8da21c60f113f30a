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

} // namespace platform
