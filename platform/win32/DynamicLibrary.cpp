#include "platform/DynamicLibrary.h"

#include "platform/System.h"
#include "platform/win32/WideText.h"

#include <windows.h>

#include <cstring>
#include <utility>

namespace platform {

namespace {

HMODULE Module(void* handle)
{
    return static_cast<HMODULE>(handle);
}

} // namespace

DynamicLibrary::DynamicLibrary(const char* fileName) : m_handle(LoadLibraryA(fileName))
{
    if (!m_handle) m_errorCode = GetLastError();
}

std::string DynamicLibrary::ErrorText() const
{
    return SystemErrorText(m_errorCode);
}

DynamicLibrary::~DynamicLibrary()
{
    if (m_handle) FreeLibrary(Module(m_handle));
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_errorCode(other.m_errorCode)
{
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept
{
    if (this != &other) {
        if (m_handle) FreeLibrary(Module(m_handle));
        m_handle = std::exchange(other.m_handle, nullptr);
        m_errorCode = other.m_errorCode;
    }
    return *this;
}

void* DynamicLibrary::Symbol(const char* exportName) const
{
    if (!m_handle) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(Module(m_handle), exportName));
}

std::string DynamicLibrary::Path() const
{
    if (!m_handle) return {};
    wchar_t path[MAX_PATH * 2];
    const DWORD length = GetModuleFileNameW(Module(m_handle), path, static_cast<DWORD>(std::size(path)));
    return win32::Narrow(std::wstring_view(path, length < std::size(path) ? length : 0));
}

std::string DynamicLibrary::FileVersion() const
{
    // The version resource (RT_VERSION, id 1) holds a VS_FIXEDFILEINFO, which
    // begins with its signature on a 32-bit boundary.
    if (!m_handle) return {};
    const HRSRC found = FindResourceW(Module(m_handle), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
    const HGLOBAL loaded = found ? LoadResource(Module(m_handle), found) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes) return {};
    const DWORD size = SizeofResource(Module(m_handle), found);
    constexpr DWORD kSignature = 0xFEEF04BD;
    for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
        VS_FIXEDFILEINFO info;
        std::memcpy(&info, bytes + at, sizeof info);
        if (info.dwSignature != kSignature) continue;
        std::string version;
        for (const DWORD part : {info.dwFileVersionMS >> 16, info.dwFileVersionMS & 0xFFFF,
                                 info.dwFileVersionLS >> 16, info.dwFileVersionLS & 0xFFFF}) {
            AppendDecimal(version, part);
            version += '.';
        }
        version.pop_back();
        return version;
    }
    return {};
}

} // namespace platform
