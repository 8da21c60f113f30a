#include "platform/Files.h"

#include "platform/win32/WideText.h"

#include <fcntl.h>
#include <io.h>
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

std::string FullPath(const char* path)
{
    const std::wstring name = win32::Widen(path);
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size == 0 ? 0 : GetFullPathNameW(name.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return win32::Narrow(full);
}

UnsharedFile OpenUnsharedForAppend(const char* path)
{
    // Shared for reading only: a second writer is refused with a sharing
    // violation, a viewer is not.
    const HANDLE handle = CreateFileW(win32::Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {.heldElsewhere = GetLastError() == ERROR_SHARING_VIOLATION};
    // The C runtime writes each block at the file's end (_O_APPEND) and,
    // without _O_TEXT, byte for byte.
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_APPEND);
    if (descriptor == -1) {
        CloseHandle(handle);
        return {};
    }
    UniqueFile file(_fdopen(descriptor, "a+b"));
    if (!file) _close(descriptor);
    return {.file = std::move(file)};
}

} // namespace platform
