#include "platform/Files.h"

#include <windows.h>

namespace platform {

void ClearReadOnly(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesA(path, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

bool RemoveFile(const char* path)
{
    return DeleteFileA(path) != 0;
}

} // namespace platform
