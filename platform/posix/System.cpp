#include "platform/System.h"

#include <dlfcn.h>
#include <sys/utsname.h>

#include <cstdlib>
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

std::string ModuleNameAt(const void* address)
{
    Dl_info info{};
    return dladdr(address, &info) && info.dli_fname ? info.dli_fname : "";
}

void EndProcessNow(std::uint32_t exitCode)
{
    std::_Exit(static_cast<int>(exitCode));
}

} // namespace platform
