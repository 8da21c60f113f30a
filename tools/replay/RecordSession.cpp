// Records the sessions of tests/replay/ (tools/replay/record.sh runs it under
// Wine): starts QM47.exe with /log in FOLDER beside the simulated printer,
// connects on COM3, uses pages as a technician would (types values, presses
// the page's button, answers each box: Yes to a question, else OK, closes
// the page) and ends the program with "Koniec". QM47.log is the recording.
//
//     RecordSession.exe FOLDER SCENARIO
//
// A scenario is a list of page uses (below).

#include "res/ControlLists.h"
#include "res/ResourceIds.h"
#include "tools/drive/Drive.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace qm47::drive;

// Where a value stands in for a click on the control (a check box, a radio button).
constexpr const char* kClick = nullptr;

// One page used once: its main-window button, what is typed or clicked
// (UTF-8), and the button then pressed (none: the page is only opened and
// closed).
struct Use {
    int page;
    std::vector<std::pair<int, const char*>> values;
    int button;
};

const Use kClock = {qm47::res::PageCalled("clock").id, {}, IDC_CLOCK_SET};
const Use kHeader = {qm47::res::PageCalled("header").id,
                     {{IDC_HEADER_LINE1, "Sklep \u017Babka \"Pod Lipami\""}, {IDC_HEADER_DOUBLE1, kClick},
                      {IDC_HEADER_CENTER1, kClick}, {IDC_HEADER_LINE2, "ul. \u0141\u0105kowa 7"}},
                     IDC_HEADER_SET};
const Use kRates = {qm47::res::PageCalled("rates").id,
                    {{IDC_TAX_RATES_A, "23"}, {IDC_TAX_RATES_B, "8"}, {IDC_TAX_RATES_C, "5"}, {IDC_TAX_RATES_D, "0"},
                     {IDC_TAX_RATES_E, "101"}, {IDC_TAX_RATES_F, "101"}, {IDC_TAX_RATES_G, "100"}},
                    IDC_TAX_RATES_SET};
const Use kFiscal = {qm47::res::PageCalled("fiscal").id, {{IDC_FISCAL_NIP, "526-000-12-46"}}, IDC_FISCAL_SEND};
const Use kDisplay = {qm47::res::PageCalled("display").id,
                      {{IDC_DISPLAY_CUSTOMER_LINE1, "Dzie\u0144 dobry"}, {IDC_DISPLAY_CUSTOMER_LINE2, "Kasa 1"}},
                      IDC_DISPLAY_CUSTOMER_SEND};
const Use kDailyReport = {qm47::res::PageCalled("reports").id, {}, IDC_REPORTS_DAILY};
const Use kGoods = {qm47::res::PageCalled("goods").id, {{IDC_GOODS_NAME, "Kawa"}, {IDC_GOODS_RATE, "B"}, {IDC_GOODS_PRINT, kClick}},
                    IDC_GOODS_CHECK};
const Use kService = {qm47::res::PageCalled("service").id, {{IDC_SERVICE_DAYS, "30"}, {IDC_SERVICE_PHONE, "22 123-45-67"}},
                      IDC_SERVICE_SET};
const Use kSale = {qm47::res::PageCalled("sale").id, {{IDC_SALE_NAME, "Towar testowy"}, {IDC_SALE_RATE, "B"}}, IDC_SALE_RUN};

const std::map<std::string, std::vector<Use>> kScenarios = {
    // Every page, the fiscalization's bytes on the serial line included.
    {"every-page", {kClock, kHeader, kRates, kFiscal, kDisplay, kDailyReport, kGoods, kService, kSale}},
    // Values the program refuses with a box of its own.
    {"refusals",
     {{qm47::res::PageCalled("clock").id, {{IDC_CLOCK_YEAR, "123"}}, IDC_CLOCK_SET},
      {qm47::res::PageCalled("fiscal").id, {{IDC_FISCAL_NIP, "1234567890"}}, IDC_FISCAL_SEND},
      {qm47::res::PageCalled("reports").id,
       {{IDC_REPORTS_BY_NUMBERS, kClick}, {IDC_REPORTS_FIRST_NUMBER, "5"}, {IDC_REPORTS_LAST_NUMBER, "2"}},
       IDC_REPORTS_PERIODIC}}},
    // With a library that lacks LBSETCK, ErrorMessage and GetStatus_CashRegister.
    {"missing-exports", {kClock}},
    // With `result.LBDAYREP` set: a call that fails, told by the library's box.
    {"library-box", {kDailyReport}},
    // With `fault.LBDAYREP` set: the library's fault ends the program.
    {"fault", {kDailyReport}},
    // The pages whose calls carry records, for the 32-bit program.
    {"records", {kHeader, kRates, kGoods, kSale}},
    // Every page opened and closed; with `online_sequence` set so, the
    // clock page refuses to open off-line.
    {"pages-opened",
     {{qm47::res::PageCalled("clock").id, {}, 0}, {qm47::res::PageCalled("header").id, {}, 0}, {qm47::res::PageCalled("rates").id, {}, 0}, {qm47::res::PageCalled("fiscal").id, {}, 0},
      {qm47::res::PageCalled("display").id, {}, 0}, {qm47::res::PageCalled("reports").id, {}, 0}, {qm47::res::PageCalled("goods").id, {}, 0},
      {qm47::res::PageCalled("service").id, {}, 0}, {qm47::res::PageCalled("sale").id, {}, 0}}},
};

int CancelOf(int pageButton)
{
    for (const qm47::res::PageButton& page : qm47::res::kMainPageButtons)
        if (page.id == pageButton) return page.cancel;
    throw Failure("no page has the button " + std::to_string(pageButton));
}

// Answers every box as it comes (Yes where there is one, else OK) until
// the program settles without one or ends.
void AnswerBoxes(const Program& program)
{
    while (program.Running() && program.Settle()) {
        const auto boxes = program.MessageBoxes();
        if (boxes.empty()) return;
        const MessageBoxWindow& box = boxes.front();
        box.WaitVisible();
        box.Press(box.Item(IDYES) ? IDYES : IDOK);
        if (!WaitUntil([&] { return !box; })) throw Failure("a box did not close");
    }
}

void Record(const std::vector<Use>& uses, Program& program)
{
    const Window main = program.WaitForMainWindow();
    if (!main) throw Failure("the main window did not appear");
    main.Item(IDC_MAIN_PORT).SetText("COM3");
    main.Item(IDC_MAIN_CONNECT).Click();
    AnswerBoxes(program);
    for (const Use& use : uses) {
        main.Item(use.page).Click();
        AnswerBoxes(program);
        if (program.Pages().empty()) continue; // it refused to open
        const Window page = program.WaitForPage();
        if (!page) throw Failure("the page of button " + std::to_string(use.page) + " did not show");
        for (const auto& [id, value] : use.values) {
            if (value) page.Item(id).SetText(value);
            else program.Click(page, id);
        }
        if (use.button != 0) page.Item(use.button).Click();
        AnswerBoxes(program);
        if (!program.Running()) return;
        page.Item(CancelOf(use.page)).Click();
        if (!WaitUntil([&] { return !page; })) throw Failure("the page did not close");
        program.Settle();
    }
    main.Item(IDC_MAIN_EXIT).Click();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    try {
        const auto scenario = argc == 3 ? kScenarios.find(Utf8FromWide(argv[2])) : kScenarios.end();
        if (scenario == kScenarios.end()) throw Failure("usage: RecordSession.exe FOLDER SCENARIO");
        const std::filesystem::path folder = argv[1];
        Program program(folder / L"QM47.exe", folder, L"/log");
        Record(scenario->second, program);
        if (!program.WaitForExit()) throw Failure("the program did not end");
        return 0;
    } catch (const std::exception& error) {
        std::printf("record: %s\n", error.what());
        return 1;
    }
}
