#pragma once
// Test helpers for code that works with files in the current directory: a
// fresh empty working directory per test, and a guard that lets file
// permissions count when the tests run as root.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>

namespace qm47::testing {

// Makes an empty temporary directory the working directory; restores the
// previous one and removes the directory with everything in it at the end.
class ScratchDirectory {
public:
    ScratchDirectory() : m_previous(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "qm47-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch directory");
        m_path = pattern;
        std::filesystem::current_path(m_path);
    }
    ~ScratchDirectory()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add,
                                     ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

// Root ignores file permissions; while this lives, a root process acts as
// "nobody" (effective ids only, so root comes back at the end). The working
// directory is opened to everyone and, under root, given to nobody.
class AsOrdinaryUser {
public:
    AsOrdinaryUser()
    {
        chmod(".", 0777);
        if (geteuid() != 0) return;
        if (chown(".", kNobody, kNobody) != 0) throw std::runtime_error("cannot hand the directory to nobody");
        if (setegid(kNobody) != 0 || seteuid(kNobody) != 0) throw std::runtime_error("cannot act as nobody");
        m_wasRoot = true;
    }
    ~AsOrdinaryUser()
    {
        if (m_wasRoot && (seteuid(0) != 0 || setegid(0) != 0)) std::abort();
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    static constexpr uid_t kNobody = 65534;
    bool m_wasRoot = false;
};

// The whole content of a file, or nothing when it cannot be read.
inline std::optional<std::string> ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes as "41 0D 0E", for readable failure messages.
inline std::string Hex(const std::string& bytes)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char byte : bytes) {
        if (!hex.empty()) hex += ' ';
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

} // namespace qm47::testing
