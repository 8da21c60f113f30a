#pragma once
// A loaded dynamic library (LoadLibraryA/GetProcAddress, dlopen/dlsym).
// Move-only; unloads in its destructor unless KeepLoaded() was called.
// Texts it answers are Windows-1250 bytes.

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

    // When loading failed: the system's error code and its text.
    unsigned long ErrorCode() const { return m_errorCode; }
    std::string ErrorText() const;
    // When loaded: the file it was loaded from, and its file version
    // ("1.2.3.4"), empty when it carries none.
    std::string Path() const;
    std::string FileVersion() const;

private:
    void* m_handle = nullptr;
    unsigned long m_errorCode = 0;
};

} // namespace platform
