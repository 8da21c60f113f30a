#pragma once
// A loaded dynamic library (LoadLibraryA/GetProcAddress, dlopen/dlsym).
// Move-only; unloads in its destructor unless KeepLoaded() was called.

#include <string>

namespace platform {

class DynamicLibrary {
public:
    // Loads by the given name with the platform's usual search. Check Loaded().
    explicit DynamicLibrary(const char* fileName);
    ~DynamicLibrary();
    DynamicLibrary(DynamicLibrary&& other) noexcept;
    DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    bool Loaded() const { return m_handle != nullptr; }
    // The address of an export by its exact name, or nullptr.
    void* Symbol(const char* exportName) const;
    // Leaves the library loaded until the process ends.
    void KeepLoaded() { m_handle = nullptr; }

private:
    void* m_handle = nullptr;
};

} // namespace platform
