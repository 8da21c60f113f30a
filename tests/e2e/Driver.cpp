#include "tests/e2e/Driver.h"

#include "res/ResourceIds.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace qm47::e2e {

namespace fs = std::filesystem;

namespace {

constexpr UINT kReplyTimeoutMs = 5000;
constexpr int kMessageBoxIconId = 0x0440;        // the icon static of Wine's message box
constexpr int kWindowsMessageBoxIconId = 0x0014; // and of Windows
constexpr std::string_view kMainCaption = "TALMIR POLSKA";

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

std::string WindowClass(HWND window)
{
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return Utf8FromWide(std::wstring_view(name, length > 0 ? static_cast<std::size_t>(length) : 0));
}

// Sends a message that needs no pointer marshalling and waits for the reply.
std::optional<LRESULT> SendQuery(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kReplyTimeoutMs, &reply))
        return std::nullopt;
    return static_cast<LRESULT>(reply);
}

HWND IconStatic(HWND box)
{
    for (int id : {kMessageBoxIconId, kWindowsMessageBoxIconId}) {
        HWND icon = GetDlgItem(box, id);
        if (icon && WindowClass(icon) == "Static" && (GetWindowLongW(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return icon;
    }
    return nullptr;
}

// A message box: a dialog with the text static 0xFFFF and the icon static
// of the system's message box template. (Statics and group boxes without an
// id of their own in the program's dialogs also have the id 0xFFFF.)
bool IsMessageBox(HWND window)
{
    return WindowClass(window) == "#32770" && GetDlgItem(window, kMessageBoxTextId) && IconStatic(window);
}

// The edit field that receives typing: the control itself or a combo box's edit.
HWND EditField(HWND control)
{
    if (WindowClass(control) == "ComboBox") {
        if (HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr)) return edit;
    }
    return control;
}

// A 32-bit top-down bitmap to read pixels from.
class Pixels {
public:
    Pixels(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~Pixels()
    {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;

    HDC Dc() const { return m_dc; }
    bool Valid() const { return m_bits != nullptr; }
    std::uint32_t At(int x, int y) const { return m_bits[y * m_width + x] & 0xFFFFFF; }
    void Fill(COLORREF colour) const
    {
        const RECT all{0, 0, m_width, m_height};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }

private:
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    std::uint32_t* m_bits = nullptr;
};

bool CloseEnough(std::uint32_t a, std::uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8) {
        const int da = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (da > 12 || da < -12) return false;
    }
    return true;
}

// How well the screen pixels match the stock icon drawn at the same size:
// the share of the icon's opaque pixels that look alike (0 to 1).
double IconMatch(const Pixels& screen, int width, int height, LPCWSTR stockIcon)
{
    HICON icon = LoadIconW(nullptr, stockIcon);
    if (!icon) return 0;
    Pixels onBlack(width, height);
    Pixels onWhite(width, height);
    if (!onBlack.Valid() || !onWhite.Valid()) return 0;
    onBlack.Fill(RGB(0, 0, 0));
    onWhite.Fill(RGB(255, 255, 255));
    DrawIconEx(onBlack.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    DrawIconEx(onWhite.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    GdiFlush();
    int opaque = 0;
    int alike = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (onBlack.At(x, y) != onWhite.At(x, y)) continue; // (partly) transparent
            ++opaque;
            if (CloseEnough(onBlack.At(x, y), screen.At(x, y))) ++alike;
        }
    }
    return opaque == 0 ? 0 : static_cast<double>(alike) / opaque;
}

// Tells the stock icon shown by an icon control from the screen's pixels.
BoxIcon RecogniseIcon(HWND iconControl)
{
    RECT rect{};
    GetWindowRect(iconControl, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return BoxIcon::Unknown;
    Pixels screen(width, height);
    if (!screen.Valid()) return BoxIcon::Unknown;
    HDC screenDc = GetDC(nullptr);
    BitBlt(screen.Dc(), 0, 0, width, height, screenDc, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screenDc);
    GdiFlush();

    const std::array<std::pair<BoxIcon, LPCWSTR>, 4> candidates{{
        {BoxIcon::Information, IDI_INFORMATION},
        {BoxIcon::Exclamation, IDI_WARNING},
        {BoxIcon::Question, IDI_QUESTION},
        {BoxIcon::Error, IDI_ERROR},
    }};
    BoxIcon best = BoxIcon::Unknown;
    double bestScore = 0.9; // below this the picture is not (yet) one of them
    for (const auto& [kind, stock] : candidates) {
        const double score = IconMatch(screen, width, height, stock);
        if (score > bestScore) {
            bestScore = score;
            best = kind;
        }
    }
    return best;
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

} // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound)
{
    const auto deadline = std::chrono::steady_clock::now() + bound;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(kPollStep);
    }
}

std::string Utf8FromWide(std::wstring_view text)
{
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::wstring WideFromUtf8(std::string_view text)
{
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Utf8FromCp1250(std::string_view bytes)
{
    if (bytes.empty()) return {};
    const int size = MultiByteToWideChar(1250, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(1250, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), size);
    return Utf8FromWide(wide);
}

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
        if (const auto problem = RecordLayoutProblem(ParseJournalLine(line), Environment().program32Bit))
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

// --- Windows ---------------------------------------------------------------

const char* Name(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::None: return "none";
    case BoxIcon::Information: return "information";
    case BoxIcon::Exclamation: return "exclamation";
    case BoxIcon::Question: return "question";
    case BoxIcon::Error: return "error";
    case BoxIcon::Unknown: return "unknown";
    }
    return "?";
}

Window Window::Item(int id) const
{
    if (!m_handle) return Window();
    return Window(GetDlgItem(m_handle, id));
}

std::string Window::Text() const
{
    if (!m_handle) return "<no window>";
    const auto length = SendQuery(m_handle, WM_GETTEXTLENGTH);
    if (!length) return "<no answer>";
    std::wstring text(static_cast<std::size_t>(*length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(m_handle, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                             kReplyTimeoutMs, &copied))
        return "<no answer>";
    text.resize(std::min<std::size_t>(copied, text.size()));
    return Utf8FromWide(text);
}

std::string Window::ClassName() const
{
    return m_handle ? WindowClass(m_handle) : std::string();
}

bool Window::Enabled() const
{
    return m_handle && IsWindowEnabled(m_handle);
}

bool Window::Visible() const
{
    return m_handle && IsWindowVisible(m_handle);
}

bool Window::WaitVisible(std::chrono::milliseconds bound) const
{
    return WaitUntil([&] { return !m_handle || !IsWindow(m_handle) || IsWindowVisible(m_handle); }, bound) &&
           Visible();
}

void Window::Click() const
{
    if (!m_handle) {
        ADD_FAILURE() << "click on a control that does not exist";
        return;
    }
    const int id = GetDlgCtrlID(m_handle);
    if (!IsWindowVisible(m_handle)) {
        ADD_FAILURE() << "click on hidden control " << id << " \"" << Text() << "\"";
        return;
    }
    if (!IsWindowEnabled(m_handle)) {
        ADD_FAILURE() << "click on disabled control " << id << " \"" << Text() << "\"";
        return;
    }
    PostMessageW(m_handle, BM_CLICK, 0, 0);
}

void Window::SetText(std::string_view utf8) const
{
    if (!m_handle) {
        ADD_FAILURE() << "setting the text of a control that does not exist";
        return;
    }
    const std::wstring text = WideFromUtf8(utf8);
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(m_handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                             kReplyTimeoutMs, &reply))
        ADD_FAILURE() << "WM_SETTEXT got no answer";
}

void Window::Type(std::string_view utf8) const
{
    if (!m_handle) {
        ADD_FAILURE() << "typing into a control that does not exist";
        return;
    }
    HWND edit = EditField(m_handle);
    for (wchar_t c : WideFromUtf8(utf8)) PostMessageW(edit, WM_CHAR, c, 1);
}

void Window::PressKey(UINT virtualKey) const
{
    if (!m_handle) {
        ADD_FAILURE() << "key press on a control that does not exist";
        return;
    }
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageW(m_handle, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageW(m_handle, WM_KEYUP, virtualKey, scan | 1 | (LPARAM{1} << 30) | (LPARAM{1} << 31));
}

BoxIcon MessageBoxWindow::Icon() const
{
    HWND icon = IconStatic(m_handle);
    if (!icon || !IsWindowVisible(icon)) return BoxIcon::None;
    const auto handle = SendQuery(icon, STM_GETICON);
    if (!handle || *handle == 0) return BoxIcon::None;
    // The icon is painted shortly after the box is shown.
    BoxIcon seen = BoxIcon::Unknown;
    WaitUntil([&] { return (seen = RecogniseIcon(icon)) != BoxIcon::Unknown; }, 3s);
    return seen;
}

std::vector<std::string> MessageBoxWindow::Buttons() const
{
    std::vector<std::string> texts;
    for (HWND child = GetWindow(m_handle, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClass(child) == "Button" && IsWindowVisible(child)) texts.push_back(Window(child).Text());
    }
    return texts;
}

void MessageBoxWindow::Press(int buttonId) const
{
    Item(buttonId).Click();
}

std::string Describe(const std::vector<MessageBoxWindow>& boxes)
{
    if (boxes.empty()) return "no message box";
    std::string out;
    for (const MessageBoxWindow& box : boxes)
        out += "[" + box.Caption() + "] \"" + box.Message() + "\" ";
    return out;
}

// --- Program run -------------------------------------------------------------

ProgramRun::ProgramRun(const TestFolder& folder)
{
    const std::wstring program = folder.Program().wstring();
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.Path().c_str(), &startup, &m_process))
        throw std::runtime_error("cannot start QM47.exe: " + SystemMessage(GetLastError()));
    m_processId = m_process.dwProcessId;
}

ProgramRun::~ProgramRun()
{
    // Close what is open, innermost first, as a user would; terminate the
    // process (this run's own, by handle) only if it does not end.
    for (int round = 0; round < 4 && Running(); ++round) {
        std::vector<HWND> windows = TopLevelWindows();
        for (HWND window : windows)
            if (window != m_main.Handle() && IsWindowEnabled(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        if (m_main && IsWindowEnabled(m_main.Handle())) PostMessageW(m_main.Handle(), WM_CLOSE, 0, 0);
        WaitForExit(1s);
    }
    if (Running()) {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 5000);
    }
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

bool ProgramRun::Running() const
{
    return WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ProgramRun::WaitForExit(std::chrono::milliseconds bound) const
{
    if (WaitForSingleObject(m_process.hProcess, static_cast<DWORD>(bound.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

namespace {
struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

// EnumWindows callback (a named function: the callback is __stdcall on i686).
BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId) search->found.push_back(window);
    return TRUE;
}
} // namespace

std::vector<HWND> ProgramRun::TopLevelWindows() const
{
    WindowSearch search{m_processId, {}};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

Window ProgramRun::WaitForMainWindow(std::chrono::milliseconds bound)
{
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows()) {
                if (WindowClass(window) == "#32770" && IsWindowVisible(window) &&
                    Window(window).Text() == kMainCaption) {
                    m_main = Window(window);
                    return true;
                }
            }
            return !Running();
        },
        bound);
    return m_main;
}

std::vector<MessageBoxWindow> ProgramRun::MessageBoxes() const
{
    std::vector<MessageBoxWindow> boxes;
    for (HWND window : TopLevelWindows()) {
        if (window != m_main.Handle() && IsMessageBox(window)) boxes.emplace_back(window);
    }
    return boxes;
}

std::vector<Window> ProgramRun::Dialogs() const
{
    std::vector<Window> dialogs;
    for (HWND window : TopLevelWindows()) {
        if (window == m_main.Handle() || WindowClass(window) != "#32770" || IsMessageBox(window)) continue;
        if (GetWindowTextLengthW(window) != 0) dialogs.emplace_back(window);
    }
    return dialogs;
}

std::optional<MessageBoxWindow> ProgramRun::WaitForMessageBox(std::chrono::milliseconds bound) const
{
    std::optional<MessageBoxWindow> shown;
    WaitUntil(
        [&] {
            for (const MessageBoxWindow& box : MessageBoxes()) {
                if (box.Visible()) {
                    shown = box;
                    return true;
                }
            }
            return !Running();
        },
        bound);
    return shown;
}

bool ProgramRun::WaitForNoMessageBox(std::chrono::milliseconds bound) const
{
    return WaitUntil([&] { return MessageBoxes().empty(); }, bound);
}

Window ProgramRun::Focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(m_process.dwThreadId, &info)) return Window();
    return Window(info.hwndFocus);
}

std::vector<Window> ProgramRun::Pages() const
{
    std::vector<Window> pages;
    for (HWND window : TopLevelWindows()) {
        if (window == m_main.Handle() || WindowClass(window) != "#32770") continue;
        if (GetWindow(window, GW_OWNER) != m_main.Handle() || GetWindowTextLengthW(window) != 0) continue;
        pages.emplace_back(window);
    }
    return pages;
}

bool ProgramRun::Settle(std::chrono::milliseconds bound) const
{
    // Posted messages are handled in order. A marker posted now (the port
    // combo box's extended-UI flag, which the program never uses, flipped
    // and flipped back) is handled only after everything posted before it,
    // or by the modal loop of a box that a handler opened.
    HWND combo = GetDlgItem(m_main.Handle(), IDC_MAIN_PORT);
    if (!combo) return false;
    const auto before = SendQuery(combo, CB_GETEXTENDEDUI);
    if (!before) return false;
    const WPARAM marker = *before ? FALSE : TRUE;
    PostMessageW(combo, CB_SETEXTENDEDUI, marker, 0);
    const bool settled = WaitUntil(
        [&] {
            const auto now = SendQuery(combo, CB_GETEXTENDEDUI);
            return !now || (*now != 0) == (marker != 0);
        },
        bound);
    SendQuery(combo, CB_SETEXTENDEDUI, *before ? TRUE : FALSE);
    return settled;
}

void ProgramRun::ClickMain(int id) const
{
    m_main.Item(id).Click();
    EXPECT_TRUE(Settle()) << "the program did not finish handling the click on " << id;
}

} // namespace qm47::e2e
