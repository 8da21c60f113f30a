#include "platform/Files.h"

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

void ClearReadOnly(const char* path)
{
    struct stat status {};
    if (stat(path, &status) != 0 || (status.st_mode & S_IWUSR) != 0) return;
    chmod(path, (status.st_mode & 07777) | S_IWUSR);
}

bool RemoveFile(const char* path)
{
    return unlink(path) == 0;
}

} // namespace platform
