#pragma once
// Loads a fresh copy of the simulated printer for each test, in a working
// folder of its own, and calls its exports with the program's own slot types.

#include "app/DeviceLibrary.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// The export `name` of the test's library, typed as the program's slot.
#define SIM(name) Export<qm47::DeviceLibrary::name##_fn>(#name)

namespace simtest {

namespace fs = std::filesystem;

// A dlopen handle, closed on destruction.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const fs::path& file) : m_handle(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL))
    {
        if (!m_handle) throw std::runtime_error(std::string("dlopen failed: ") + dlerror());
    }
    ~LoadedLibrary() { dlclose(m_handle); }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    void* Symbol(const char* name) const { return dlsym(m_handle, name); }

private:
    void* m_handle;
};

// A copy of a packed record's field: gtest's comparisons take references,
// which a packed field cannot bind to.
template <class T>
T Value(T value)
{
    return value;
}

// A FiscalStatus preset as the program presets it: every text "0".
inline qm47::FiscalStatus PresetFiscalStatus()
{
    qm47::FiscalStatus status{};
    // Index loops: the record is packed, its fields cannot bind to references.
    for (int i = 0; i < 7; ++i) {
        status.ptuRate[i] = "0";
        status.totalizer[i] = "0";
    }
    status.unused69 = "0";
    status.uniqueNumber = "0";
    return status;
}

inline bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

inline std::string ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Each test gets its own working folder (for qm47sim.ini, the journal and the
// printout) and its own copy of the library, so no state carries over.
class SimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "qm47sim-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        m_previousFolder = fs::current_path();
        fs::current_path(m_folder);
        fs::copy_file(QM47_SIM_PATH, m_folder / "libqm47sim-copy.so");
        m_library = std::make_unique<LoadedLibrary>(m_folder / "libqm47sim-copy.so");
    }

    void TearDown() override
    {
        m_library.reset();
        fs::current_path(m_previousFolder);
        fs::remove_all(m_folder);
    }

    template <class Function>
    Function Export(const char* name) const
    {
        void* symbol = m_library->Symbol(name);
        if (!symbol) throw std::runtime_error(std::string("missing export ") + name);
        return reinterpret_cast<Function>(symbol);
    }

    void WriteConfig(const std::string& text) const { std::ofstream(m_folder / "qm47sim.ini", std::ios::binary) << text; }

    std::vector<std::string> Journal() const { return SplitLines(ReadFile(m_folder / "qm47sim.journal")); }
    std::string LastJournalLine() const
    {
        const auto lines = Journal();
        return lines.empty() ? std::string() : lines.back();
    }
    std::string Printout() const { return ReadFile(m_folder / "qm47sim.printout.txt"); }

    void OpenPort() const { ASSERT_EQ(SIM(Port_Open)("com1", 9600), 0); }

    fs::path m_folder;

private:
    fs::path m_previousFolder;
    std::unique_ptr<LoadedLibrary> m_library;
};

} // namespace simtest
