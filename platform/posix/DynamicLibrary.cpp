#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

#include <utility>

namespace platform {

DynamicLibrary::DynamicLibrary(const char* fileName) : m_handle(dlopen(fileName, RTLD_NOW | RTLD_LOCAL)) {}

DynamicLibrary::~DynamicLibrary()
{
    if (m_handle) dlclose(m_handle);
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept
{
    if (this != &other) {
        if (m_handle) dlclose(m_handle);
        m_handle = std::exchange(other.m_handle, nullptr);
    }
    return *this;
}

void* DynamicLibrary::Symbol(const char* exportName) const
{
    return m_handle ? dlsym(m_handle, exportName) : nullptr;
}

} // namespace platform
