#include "platform/DynamicLibrary.h"

#include <dlfcn.h>
#include <link.h>

#include <utility>

namespace platform {

DynamicLibrary::DynamicLibrary(const char* fileName) : m_handle(dlopen(fileName, RTLD_NOW | RTLD_LOCAL))
{
    if (!m_handle) m_errorCode = 1;
}

std::string DynamicLibrary::ErrorText() const
{
    return m_errorCode ? "dlopen failed" : "";
}

DynamicLibrary::~DynamicLibrary()
{
    if (m_handle) dlclose(m_handle);
}

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_errorCode(other.m_errorCode)
{
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept
{
    if (this != &other) {
        if (m_handle) dlclose(m_handle);
        m_handle = std::exchange(other.m_handle, nullptr);
        m_errorCode = other.m_errorCode;
    }
    return *this;
}

void* DynamicLibrary::Symbol(const char* exportName) const
{
    return m_handle ? dlsym(m_handle, exportName) : nullptr;
}

std::string DynamicLibrary::Path() const
{
    const link_map* map = nullptr;
    if (!m_handle || dlinfo(m_handle, RTLD_DI_LINKMAP, &map) != 0 || !map) return {};
    return map->l_name;
}

std::string DynamicLibrary::FileVersion() const
{
    return {};
}

} // namespace platform
