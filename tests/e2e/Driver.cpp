#include "tests/e2e/Driver.h"

#include "app/DeviceLibraryExports.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace qm47::e2e {

namespace fs = std::filesystem;

namespace {

std::wstring EnvironmentValue(const wchar_t* name)
{
    std::wstring value(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    value.resize(length < value.size() ? length : 0);
    return value;
}

fs::path ModuleDirectory()
{
    std::wstring path(MAX_PATH * 4, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return fs::path(path).parent_path();
}

std::string SystemMessage(DWORD error)
{
    return std::system_category().message(static_cast<int>(error)) + " (" + std::to_string(error) + ")";
}

std::vector<std::string> ReadLines(const fs::path& file)
{
    std::vector<std::string> lines;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string SafeFolderName(std::string name)
{
    for (char& c : name)
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|')
            c = '_';
    return name;
}

// The exports that reached a simulated printer in this run's tests.
std::set<std::string>& ExportsCalled()
{
    static std::set<std::string> called;
    return called;
}

// With QM47_E2E_EVERY_EXPORT=1, a run that leaves out tests (the second
// calling convention's) must still call every export the program calls: at
// the end of the run, one that no test called fails it, by name.
class EveryExportCalled : public ::testing::Environment {
    void TearDown() override
    {
        if (EnvironmentValue(L"QM47_E2E_EVERY_EXPORT") != L"1") return;
        std::string missing;
#define QM47_CHECK_CALLED(name, ...) missing += ExportsCalled().contains(#name) ? "" : " " #name;
#define QM47_NEVER_CALLED(name)
        QM47_DEVICE_LIBRARY_EXPORTS(QM47_CHECK_CALLED, QM47_NEVER_CALLED)
#undef QM47_CHECK_CALLED
#undef QM47_NEVER_CALLED
        EXPECT_TRUE(missing.empty()) << "no test of this run called" << missing;
    }
};
[[maybe_unused]] const ::testing::Environment* const kEveryExportCalled =
    ::testing::AddGlobalTestEnvironment(std::make_unique<EveryExportCalled>().release()); // GoogleTest owns it

} // namespace

const RunEnvironment& Environment()
{
    static const RunEnvironment environment = [] {
        RunEnvironment run;
        const std::wstring build = EnvironmentValue(L"QM47_E2E_BUILD");
        // Without the variable: the test program sits in <build>/tests/e2e.
        run.buildDir = build.empty() ? ModuleDirectory().parent_path().parent_path() : fs::path(build);
        const std::wstring sim = EnvironmentValue(L"QM47_E2E_SIM");
        run.simDir = sim.empty() ? run.buildDir / L"sim" : fs::path(sim);
        DWORD binaryType = 0;
        run.program32Bit = GetBinaryTypeW((run.buildDir / L"QM47.exe").c_str(), &binaryType) &&
                           binaryType == SCS_32BIT_BINARY;
        const std::wstring work = EnvironmentValue(L"QM47_E2E_WORK");
        run.workRoot = work.empty() ? fs::temp_directory_path() / L"qm47-e2e" : fs::path(work);
        run.comPort = Utf8FromWide(EnvironmentValue(L"QM47_E2E_COM"));
        run.lineCapture = EnvironmentValue(L"QM47_E2E_LINE");
        run.controlledComPort = Utf8FromWide(EnvironmentValue(L"QM47_E2E_CONTROLLED_COM"));
        run.controlledLineCapture = EnvironmentValue(L"QM47_E2E_CONTROLLED_LINE");
        run.lineControl = EnvironmentValue(L"QM47_E2E_LINE_CONTROL");
        run.keepFolders = !EnvironmentValue(L"QM47_E2E_KEEP").empty();
        run.i386Emulated = EnvironmentValue(L"QM47_I386_EMULATED") == L"1";
        return run;
    }();
    return environment;
}

namespace {

std::string FileBytes(const fs::path& path)
{
    if (path.empty()) return {};
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace

std::string SerialLineBytes()
{
    return FileBytes(Environment().lineCapture);
}

std::string ControlledLineBytes()
{
    return FileBytes(Environment().controlledLineCapture);
}

bool ControlLine(LineRequest request, std::chrono::milliseconds bound)
{
    const fs::path& control = Environment().lineControl;
    if (control.empty()) return false;
    const wchar_t* name = request == LineRequest::Xoff     ? L"xoff"
                          : request == LineRequest::Xon    ? L"xon"
                          : request == LineRequest::HangUp ? L"hangup"
                                                           : L"reconnect";
    const fs::path file = control / name;
    // The runner's controller removes the file once the line is in that state.
    if (!std::ofstream(file)) return false;
    return WaitUntil([&] { return !fs::exists(file); }, bound);
}

std::string WaitForSerialLineBytes(std::size_t from, std::chrono::milliseconds bound)
{
    std::string bytes;
    auto lastChange = std::chrono::steady_clock::now();
    WaitUntil(
        [&] {
            std::string now = SerialLineBytes();
            if (now.size() != bytes.size()) {
                bytes = std::move(now);
                lastChange = std::chrono::steady_clock::now();
                return false;
            }
            return bytes.size() > from && std::chrono::steady_clock::now() - lastChange >= 200ms;
        },
        bound);
    return bytes.size() > from ? bytes.substr(from) : std::string();
}

// --- Journal ---------------------------------------------------------------

std::optional<std::string> JournalEntry::Field(std::string_view field) const
{
    for (const auto& [name, value] : fields)
        if (name == field) return value;
    return std::nullopt;
}

JournalEntry ParseJournalLine(std::string_view line)
{
    JournalEntry entry;
    entry.line = std::string(line);
    std::size_t at = line.find(' ');
    entry.exportName = std::string(line.substr(0, at));
    while (at != std::string_view::npos && at < line.size()) {
        while (at < line.size() && line[at] == ' ') ++at;
        if (at >= line.size()) break;
        const std::size_t equals = line.find('=', at);
        const std::size_t space = line.find(' ', at);
        if (equals == std::string_view::npos || equals > space) {
            // A bare word (e.g. "unfilled"): kept as a field without a value.
            entry.fields.emplace_back(std::string(line.substr(at, space - at)), std::string());
            at = space;
            continue;
        }
        std::string name(line.substr(at, equals - at));
        std::size_t end = equals + 1;
        if (end < line.size() && line[end] == '"') {
            // Quotes and backslashes inside a text are escaped, so the next
            // quote closes it.
            const std::size_t close = line.find('"', end + 1);
            end = close == std::string_view::npos ? line.size() : close + 1;
        } else {
            end = line.find(' ', end);
            if (end == std::string_view::npos) end = line.size();
        }
        entry.fields.emplace_back(std::move(name), std::string(line.substr(equals + 1, end - equals - 1)));
        at = end;
    }
    return entry;
}

std::optional<std::string> JournalText(std::string_view value)
{
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') return std::nullopt;
    value = value.substr(1, value.size() - 2);
    std::string bytes;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 3 < value.size() && value[i + 1] == 'x') {
            bytes += static_cast<char>(std::stoi(std::string(value.substr(i + 2, 2)), nullptr, 16));
            i += 3;
        } else {
            bytes += value[i];
        }
    }
    return bytes;
}

std::optional<std::string> RecordLayoutProblem(const JournalEntry& entry, bool program32Bit)
{
    static constexpr std::string_view kRecordExports[] = {
        "GetStatus_Printer", "GetStatus_CashRegister", "LBIDRQ",    "LBFSTRQ", "LBSENDCK", "LBSETCK",
        "LBSETPTU",          "LBDAYREP",               "LBFSKREP_R", "LBFSKREP_D", "LBDBREPRS", "LBDBREP",
        "LBTRSLN",           "O_LBTRXEND",
    };
    const auto verdict = entry.Field("layout");
    if (verdict && verdict->starts_with("BAD"))
        return "the simulated printer found a record laid out otherwise than documented";
    if (!program32Bit || verdict) return std::nullopt;
    const bool passesRecord = std::find(std::begin(kRecordExports), std::end(kRecordExports), entry.exportName) !=
                              std::end(kRecordExports);
    const bool nullRecord = std::any_of(entry.fields.begin(), entry.fields.end(),
                                        [](const auto& field) { return field.second == "null"; });
    if (passesRecord && !nullRecord) return "the 32-bit simulated printer did not check the record's layout";
    return std::nullopt;
}

::testing::AssertionResult JournalMatches(const std::vector<std::string>& got,
                                          const std::vector<std::string>& expected)
{
    std::size_t firstDifference = std::max(got.size(), expected.size());
    std::string why;
    for (std::size_t i = 0; i < std::min(got.size(), expected.size()); ++i) {
        const JournalEntry line = ParseJournalLine(got[i]);
        const JournalEntry pattern = ParseJournalLine(expected[i]);
        if (line.exportName != pattern.exportName) {
            firstDifference = i;
            why = "export " + line.exportName + " where " + pattern.exportName + " was expected";
            break;
        }
        for (const auto& [name, value] : pattern.fields) {
            const auto actual = line.Field(name);
            if (!actual || *actual != value) {
                firstDifference = i;
                why = name + (actual ? "=" + *actual : std::string(" missing")) + " where " + name + "=" + value +
                      " was expected";
                break;
            }
        }
        if (!why.empty()) break;
    }
    if (why.empty() && got.size() == expected.size()) return ::testing::AssertionSuccess();
    if (why.empty()) why = std::to_string(got.size()) + " lines where " + std::to_string(expected.size()) + " were expected";

    std::ostringstream out;
    out << "journal differs at line " << firstDifference + 1 << ": " << why << "\n  got:\n";
    for (std::size_t i = 0; i < got.size(); ++i)
        out << (i == firstDifference ? "  > " : "    ") << got[i] << "\n";
    out << "  expected:\n";
    for (std::size_t i = 0; i < expected.size(); ++i)
        out << (i == firstDifference ? "  > " : "    ") << expected[i] << "\n";
    return ::testing::AssertionFailure() << out.str();
}

// --- Test folder -----------------------------------------------------------

TestFolder::TestFolder(Library library, std::string_view simConfig)
{
    const RunEnvironment& run = Environment();
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "outside-a-test";
    m_path = run.workRoot / WideFromUtf8(SafeFolderName(name));

    std::error_code error;
    fs::remove_all(m_path, error);
    fs::create_directories(m_path);

    const fs::path program = run.buildDir / L"QM47.exe";
    if (!fs::exists(program)) throw std::runtime_error("no program at " + program.string());
    fs::copy_file(program, Program(), fs::copy_options::overwrite_existing);

    fs::path libraryFile;
    switch (library) {
    case Library::Full: libraryFile = run.simDir; break;
    case Library::WithoutLbfstrq24: libraryFile = run.simDir / L"variants" / L"without-LBFSTRQ24"; break;
    case Library::Sparse: libraryFile = run.simDir / L"variants" / L"sparse"; break;
    case Library::Missing: break;
    }
    if (!libraryFile.empty()) {
        libraryFile /= L"VaronelServiceLibrary.dll";
        if (!fs::exists(libraryFile)) throw std::runtime_error("no simulated printer at " + libraryFile.string());
        fs::copy_file(libraryFile, m_path / L"VaronelServiceLibrary.dll", fs::copy_options::overwrite_existing);
    }
    if (!simConfig.empty()) WriteSimConfig(simConfig);
}

TestFolder::~TestFolder()
{
    for (const std::string& line : Journal()) {
        const JournalEntry entry = ParseJournalLine(line);
        ExportsCalled().insert(entry.exportName);
        if (const auto problem = RecordLayoutProblem(entry, Environment().program32Bit))
            ADD_FAILURE() << *problem << ": " << line;
    }
    if (Environment().keepFolders) return;
    std::error_code error;
    fs::remove_all(m_path, error);
}

void TestFolder::WriteSimConfig(std::string_view text) const
{
    // Written aside and renamed, so the simulated printer never reads half a file.
    const fs::path temporary = m_path / L"qm47sim.ini.new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!text.empty() && text.back() != '\n') out << '\n';
    }
    if (!MoveFileExW(temporary.c_str(), (m_path / L"qm47sim.ini").c_str(), MOVEFILE_REPLACE_EXISTING))
        throw std::runtime_error("cannot write qm47sim.ini: " + SystemMessage(GetLastError()));
}

std::vector<std::string> TestFolder::Journal() const
{
    return ReadLines(m_path / L"qm47sim.journal");
}

std::vector<std::string> TestFolder::JournalFrom(std::size_t from) const
{
    std::vector<std::string> lines = Journal();
    if (from >= lines.size()) return {};
    return {lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end()};
}

std::string TestFolder::ReadFile(std::wstring_view name) const
{
    std::ifstream in(m_path / fs::path(name), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace qm47::e2e
