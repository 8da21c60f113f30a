#include "tests/e2e/Session.h"

#include <cstdio>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace qm47::e2e {

namespace main_window {

std::vector<int> PanelFields()
{
    std::vector<int> fields = {kDeviceName, kUniqueNumber, kMode, kRamResets, kLastFmWrite};
    fields.insert(fields.end(), std::begin(kMainRates), std::end(kMainRates));
    fields.insert(fields.end(), {kReceipts, kFsk, kCmd, kPar, kTrf, kOnl, kPe, kErr});
    return fields;
}

std::vector<int> AllButtons()
{
    std::vector<int> buttons = {kConnect, kDisconnect};
    for (const res::PageButton& button : res::kMainPageButtons) buttons.push_back(button.id);
    buttons.insert(buttons.end(), {kExit, kRefresh, kAbout});
    return buttons;
}

} // namespace main_window

Session::Session(Library library, std::string_view simConfig, std::wstring_view arguments)
    : folder(library, simConfig), run(folder, arguments)
{
    main = run.WaitForMainWindow();
    if (!main) {
        const auto exitCode = run.WaitForExit(0ms);
        char ended[64] = {};
        if (exitCode) std::snprintf(ended, sizeof(ended), "the program ended with exit code 0x%lX", *exitCode);
        throw std::runtime_error("the main window did not appear; " +
                                 (exitCode ? std::string(ended) : Describe(run.MessageBoxes())));
    }
}

std::map<int, std::string> PanelTexts(const Window& main)
{
    std::map<int, std::string> texts;
    for (int id : main_window::PanelFields()) texts[id] = main.Item(id).Text();
    return texts;
}

::testing::AssertionResult EnabledButtonsAre(const Window& main, const std::set<int>& enabled)
{
    std::ostringstream wrong;
    for (int id : main_window::AllButtons()) {
        const Window button = main.Item(id);
        if (!button) {
            wrong << " " << id << " is missing;";
            continue;
        }
        const bool expected = enabled.count(id) != 0;
        if (button.Enabled() != expected)
            wrong << " " << id << " \"" << button.Text() << "\" is " << (button.Enabled() ? "enabled" : "disabled") << ";";
    }
    if (wrong.str().empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "buttons:" << wrong.str();
}

::testing::AssertionResult PanelIsEmpty(const Window& main)
{
    std::ostringstream filled;
    for (const auto& [id, text] : PanelTexts(main))
        if (!text.empty()) filled << " " << id << "=\"" << text << "\"";
    if (filled.str().empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "panel fields not empty:" << filled.str();
}

std::vector<std::string> AnswerAllBoxes(const ProgramRun& run)
{
    std::vector<std::string> shown;
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(run.Settle());
        const auto boxes = run.MessageBoxes();
        if (boxes.empty()) break;
        if (!boxes.front().WaitVisible()) continue;
        shown.push_back(boxes.front().Caption() + ": " + boxes.front().Message());
        const auto buttons = boxes.front().Buttons();
        boxes.front().Press(buttons.size() == 2 ? IDNO : IDOK);
    }
    return shown;
}

void AnswerMessageBox(ProgramRun& run, const ExpectedBox& expected, int answer)
{
    if (AnswerMessageBoxOnly(run, expected, answer) && run.MainWindow()) {
        EXPECT_TRUE(run.Settle());
    }
}

bool AnswerMessageBoxOnly(const ProgramRun& run, const ExpectedBox& expected, int answer)
{
    SCOPED_TRACE("message box \"" + expected.text + "\"");
    const auto box = run.WaitForMessageBox();
    if (!box) {
        ADD_FAILURE() << "no message box appeared";
        return false;
    }
    const auto open = run.MessageBoxes();
    EXPECT_EQ(open.size(), 1u) << Describe(open);
    EXPECT_EQ(box->Message(), expected.text);
    EXPECT_EQ(box->Caption(), expected.caption);
    EXPECT_EQ(GetWindow(box->Handle(), GW_OWNER), expected.owner) << "the box's owner window";
    EXPECT_STREQ(Name(box->Icon()), Name(expected.icon));
    box->Press(answer);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box->Handle()); })) << "the box did not close";
    return true;
}

void TypeLetter(const ProgramRun& run, const Window& control, char letter)
{
    const char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
    ASSERT_TRUE(upper >= 'A' && upper <= 'Z') << "not a letter: " << letter;
    control.PressKey(static_cast<UINT>(upper)); // a letter's virtual key is its capital
    // The key's WM_CHAR is posted behind whatever was queued when the key was
    // taken: the first settling sees the key taken, the second the character.
    ASSERT_TRUE(run.Settle());
    ASSERT_TRUE(run.Settle());
}

} // namespace qm47::e2e
