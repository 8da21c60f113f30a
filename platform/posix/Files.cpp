#include "platform/Files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

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

std::string FullPath(const char* path)
{
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.string();
}

UnsharedFile OpenUnsharedForAppend(const char* path)
{
    const int descriptor = open(path, O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) return {};
    // An advisory lock, which every writer of these files asks for; it goes
    // with the descriptor, so it also holds between two opens in one process.
    if (flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(descriptor);
        return {.heldElsewhere = held};
    }
    UniqueFile file(fdopen(descriptor, "a+b"));
    if (!file) close(descriptor);
    return {.file = std::move(file)};
}

} // namespace platform
