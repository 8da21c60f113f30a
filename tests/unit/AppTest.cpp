// The application core: binding, the on-line checks and result reporting.

#include "FakeLibrary.h"
#include "ScratchDirectory.h"

#include "app/DiagnosticLog.h"
#include "app/Reporting.h"
#include "app/ServiceApp.h"
#include "framework/testing/TestBackend.h"
#include "res/Dialogs.h"
#include "res/ResourceIds.h"
#include "entry/Pages.h"
#include "ui/MainDlg.h"

#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <type_traits>

namespace qm47 {
namespace {

using fw::testing::TestUi;
using fw::testing::TestWindow;
using testing::FakeLibrary;

TEST(BindingTest, WalksEveryExportOnceInLookupOrder)
{
    std::vector<std::string> asked;
    const DeviceLibrary library = DeviceLibrary::Resolve([&](const char* name) -> void* {
        asked.emplace_back(name);
        return nullptr;
    });
    const std::vector<std::string> expected = {
        "Port_Open", "Port_Close", "Send_BEL", "LBDSP", "LBRVINFO", "LBSETHDR", "LBSETRAB", "LBSETFSK", "LBSERM",
        "LBSETCK", "LBSETPTU", "LBTRSHDR", "LBTRSLN", "LBTREXITCAN", "O_LBTRXEND", "ErrorMessage",
        "GetStatus_CashRegister", "GetStatus_Printer", "LBFSTRQ", "LBIDRQ", "LBSENDCK", "LBDAYREP", "LBFSKREP_R",
        "LBFSKREP_D", "LBDBREPRS", "LBDBREP", "LBFSTRQ24"};
    EXPECT_EQ(asked, expected);
    EXPECT_TRUE(library.Port_Open("com1", 9600).missing);
    EXPECT_TRUE(library.Send_BEL().missing);
}

TEST(BindingTest, AnEmptySlotIsNeverCalled)
{
    FakeLibrary fake;
    const DeviceLibrary library = fake.Bind({"LBSETCK", "Port_Close"});
    SetClockRequest request{};
    const LibraryResult missing = library.LBSETCK(&request);
    EXPECT_TRUE(missing.missing);
    EXPECT_STREQ(missing.exportName, "LBSETCK");
    EXPECT_TRUE(library.Port_Close().missing);
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_FALSE(library.Send_BEL().missing);
    EXPECT_EQ(fake.Names(), std::vector<std::string>{"Send_BEL"}) << "the other slots are filled";
}

TEST(BindingTest, CallsPassArgumentsAndResultsAndShowTheWaitCursor)
{
    TestUi ui;
    FakeLibrary fake;
    fake.results["LBDSP"] = INT32_MIN;
    const DeviceLibrary library = fake.Bind();
    const LibraryResult result = library.LBDSP(5, "ab\rcd");
    EXPECT_FALSE(result.missing);
    EXPECT_EQ(result.code, INT32_MIN);
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_EQ(fake.calls[0].numbers, (std::vector<std::int64_t>{5}));
    EXPECT_EQ(fake.calls[0].texts, (std::vector<std::string>{"ab\rcd"}));
    EXPECT_EQ(fake.calls[0].waitCursorDepth, 1);
    EXPECT_EQ(ui.waitCursorDepth, 0);
}

// A value of each parameter type: an empty text, zero, a cleared record.
template <class T>
T Zero()
{
    if constexpr (std::is_same_v<T, const char*>) {
        return "";
    } else if constexpr (std::is_pointer_v<T>) {
        static std::remove_pointer_t<T> record{};
        return &record;
    } else {
        return T{};
    }
}
template <class... Params>
void WithZeros(std::int32_t (*)(Params...), const auto& call)
{
    call(Zero<Params>()...);
}

// Each call is written out by hand in app/DeviceLibrary.cpp: each must reach
// its own export and be logged under its name and its parameters' names as
// the export list has them (the list's order; a call left unwritten fails to link).
TEST(BindingTest, EveryCallReachesItsOwnExportAndIsLoggedAsTheListNamesIt)
{
    testing::ScratchDirectory scratch;
    FakeLibrary fake;
    DiagnosticLog log;
    log.Open("QM47.log");
    DeviceLibrary library = fake.Bind();
    library.SetLog(&log);
    std::vector<std::string> names;
    std::vector<std::string> sent;
#define QM47_CALL_WITH_ZEROS(name, params, args)                        \
    WithZeros(DeviceLibrary::name##_fn{}, [&](auto... zeros) {          \
        library.name(zeros...);                                         \
        names.push_back(#name);                                         \
        sent.push_back(FormatCallSent(#name, #args, {zeros...}));       \
    });
#define QM47_NOT_CALLED(name)
    QM47_DEVICE_LIBRARY_EXPORTS(QM47_CALL_WITH_ZEROS, QM47_NOT_CALLED)
#undef QM47_CALL_WITH_ZEROS
#undef QM47_NOT_CALLED
    EXPECT_EQ(fake.Names(), names);
    std::ifstream file("QM47.log", std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    std::size_t at = 0;
    for (const std::string& call : sent) {
        const std::size_t found = text.find("] " + call + "\r\n", at);
        EXPECT_NE(found, std::string::npos) << call << " not in the log after its call before:\n" << text;
        if (found != std::string::npos) at = found;
    }
}

TEST(OnlineCheckTest, MapsThePrinterStatus)
{
    struct Case { const char* label; std::int32_t onl; bool fills; bool exported; std::int32_t expected; };
    const Case cases[] = {
        {"on-line", 1, true, true, 1},    {"off-line", 0, true, true, 0},
        {"onl 2", 2, true, true, 9},      {"onl -1", -1, true, true, 9},
        {"untouched", 1, false, true, 9}, {"no GetStatus_Printer", 1, true, false, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FakeLibrary fake;
        fake.onl = c.onl;
        fake.printerFills = c.fills;
        CServiceApp app;
        app.SetLibrary(c.exported ? fake.Bind() : fake.Bind({"GetStatus_Printer"}));
        EXPECT_EQ(app.IsPrinterOnline(), c.expected);
        if (c.exported) {
            ASSERT_EQ(fake.calls.size(), 1u);
            EXPECT_EQ(fake.calls[0].recordBytes, (testing::BytesOf(PrinterStatus{9, 9, 9}))) << "preset to 9";
        }
    }
}

TEST(OnlineCheckTest, TransactionModeFromPar)
{
    struct Case { const char* label; std::int32_t par; bool fills; bool exported; std::int32_t expected; };
    const Case cases[] = {{"par 1", 1, true, true, 1},       {"par 0", 0, true, true, 0},
                          {"par 9 untouched", 1, false, true, 0}, {"par 2", 2, true, true, 0},
                          {"no GetStatus_CashRegister", 1, true, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FakeLibrary fake;
        fake.cashRegister = {0, 0, c.par, 0};
        fake.cashRegisterFills = c.fills;
        CServiceApp app;
        app.SetLibrary(c.exported ? fake.Bind() : fake.Bind({"GetStatus_CashRegister"}));
        EXPECT_EQ(app.IsInTransaction(), c.expected);
    }
}

// A page with nothing but its template, to own the message boxes.
class OwnerDialog : public fw::CDialog {
public:
    OwnerDialog() : fw::CDialog(res::kAboutDialog) {}
};

TEST(ReportingTest, SuccessErrorAndMissingExport)
{
    struct Case {
        const char* label;
        bool withSuccess;
        LibraryResult result;
        std::vector<std::string> without;
        std::vector<std::string> messages;
        fw::MessageIcon icon;
        std::vector<std::int64_t> errorCodes;
    };
    const std::vector<Case> cases = {
        {"success", true, {"LBSETCK", false, 0}, {}, {"Operacja zako\xF1" "czona poprawnie"}, fw::MessageIcon::Information, {}},
        {"success, silent page", false, {"LBSETCK", false, 0}, {}, {}, fw::MessageIcon::None, {}},
        {"error goes to ErrorMessage", true, {"LBSETCK", false, -25}, {}, {}, fw::MessageIcon::None, {-25}},
        {"large error code", false, {"LBSETCK", false, static_cast<std::int32_t>(0xE0000001)}, {}, {}, fw::MessageIcon::None,
         {-536870911}},
        {"missing export", true, {"LBSETCK", true, 0}, {}, {"Brak funkcji w bibliotece: LBSETCK"}, fw::MessageIcon::Exclamation, {}},
        {"no ErrorMessage", false, {"LBSETCK", false, -7}, {"ErrorMessage"}, {"B\xB3\xB9" "d drukarki, kod: -7"},
         fw::MessageIcon::Exclamation, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TestUi ui;
        FakeLibrary fake;
        CServiceApp app;
        std::vector<std::string_view> without(c.without.begin(), c.without.end());
        app.SetLibrary(fake.Bind(without));
        OwnerDialog owner;
        auto window = TestWindow::Open(owner);
        if (c.withSuccess) ReportResult(app, owner, c.result);
        else ReportError(app, owner, c.result);
        std::vector<std::string> texts;
        for (const auto& m : ui.messages) {
            texts.push_back(m.text);
            EXPECT_EQ(m.icon, c.icon);
            EXPECT_EQ(m.caption, "QM47");
            EXPECT_EQ(m.owner, &owner);
        }
        EXPECT_EQ(texts, c.messages);
        std::vector<std::int64_t> codes;
        for (const auto& call : fake.CallsOf("ErrorMessage")) {
            codes.push_back(call.numbers.at(0));
            EXPECT_EQ(call.texts, (std::vector<std::string>{""}));
        }
        EXPECT_EQ(codes, c.errorCodes);
    }
}

TEST(AboutBoxTest, OpensFromButtonAndSystemMenuAndClosesOnOk)
{
    TestUi ui;
    FakeLibrary fake;
    CServiceApp app;
    app.SetLibrary(fake.Bind());
    int aboutRuns = 0;
    ui.onModal = [&](TestWindow& about) {
        ++aboutRuns;
        EXPECT_EQ(about.Template().id, IDD_ABOUT);
        EXPECT_TRUE(about.Click(IDC_ABOUT_OK));
        EXPECT_TRUE(about.Ended());
        EXPECT_EQ(about.Result(), IDC_ABOUT_OK);
    };
    CMainDlg dialog(app, MakePage);
    auto window = TestWindow::Open(dialog);
    EXPECT_TRUE(window->Click(IDC_MAIN_ABOUT));
    EXPECT_TRUE(window->SysCommand(IDM_ABOUTBOX));
    EXPECT_TRUE(window->SysCommand(IDM_ABOUTBOX | 0x3)) << "the low four bits are ignored";
    EXPECT_FALSE(window->SysCommand(0xF060)) << "other system commands take the default path";
    EXPECT_EQ(aboutRuns, 3);
    EXPECT_TRUE(window->IsEnabled(IDC_MAIN_CONNECT)) << "the about box disables nothing";
    EXPECT_TRUE(fake.calls.empty());
}

} // namespace
} // namespace qm47

#include "ExportNames.h"
#include "platform/DynamicLibrary.h"

namespace qm47 {
namespace {

TEST(BindingTest, ResolvesEveryExportOfALoadedLibrary)
{
    struct Case { const char* label; const char* path; std::vector<std::string> absent; };
    const Case cases[] = {{"complete library", QM47_SIM_PATH, {}},
                          {"library without LBFSTRQ24", QM47_SIM_WITHOUT_LBFSTRQ24_PATH, {"LBFSTRQ24"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        platform::DynamicLibrary loaded(c.path);
        ASSERT_TRUE(loaded.Loaded());
        std::vector<std::string> found;
        DeviceLibrary::Resolve([&](const char* name) {
            void* address = loaded.Symbol(name);
            if (address) found.emplace_back(name);
            return address;
        });
        std::vector<std::string> expected;
        for (const char* name : testing::kExportNames)
            if (std::find(c.absent.begin(), c.absent.end(), name) == c.absent.end()) expected.emplace_back(name);
        EXPECT_EQ(found, expected);
    }
    EXPECT_FALSE(platform::DynamicLibrary("/nonexistent/VaronelServiceLibrary.so").Loaded());
}

} // namespace
} // namespace qm47
