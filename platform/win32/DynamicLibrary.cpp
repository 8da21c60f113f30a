#include "platform/DynamicLibrary.h"

#include <windows.h>

#include <utility>

namespace platform {

namespace {

HMODULE Module(void* handle)
{
    return static_cast<HMODULE>(handle);
}

} // namespace

DynamicLibrary::DynamicLibrary(const char* fileName) : m_handle(LoadLibraryA(fileName)) {}

DynamicLibrary::~DynamicLibrary()
{
    if (m_handle) FreeLibrary(Module(m_handle));
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept
{
    if (this != &other) {
        if (m_handle) FreeLibrary(Module(m_handle));
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

void* DynamicLibrary::Symbol(const char* exportName) const
{
    if (!m_handle) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(Module(m_handle), exportName));
}

} // namespace platform
