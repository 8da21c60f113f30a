// The dialog framework's data exchange and the fixed texts' bytes.

#include "framework/DataExchange.h"
#include "framework/testing/TestBackend.h"
#include "res/Texts.h"
#include "ui/StatusFormat.h"

#include <gtest/gtest.h>

namespace {

using fw::testing::TestUi;
using fw::testing::TestWindow;

constexpr int kEdit = 10, kCheck = 11, kRadioA = 12, kRadioB = 13, kCombo = 14, kButton = 15, kDate = 16;

constexpr const char* kItems[] = {"com2", "com1", "COM10"};
constexpr fw::ControlTemplate kControls[] = {
    {kEdit, fw::ControlKind::Edit, nullptr, {0, 0, 50, 14}, fw::kTabStop},
    {kCheck, fw::ControlKind::CheckBox, "Check", {0, 20, 50, 10}, fw::kTabStop},
    {kRadioA, fw::ControlKind::RadioButton, nullptr, {0, 30, 10, 10}, fw::kGroup},
    {kRadioB, fw::ControlKind::RadioButton, nullptr, {0, 40, 10, 10}},
    {kCombo, fw::ControlKind::ComboBox, nullptr, {0, 50, 50, 60}, fw::kTabStop | fw::kSorted | fw::kGroup, kItems},
    {kButton, fw::ControlKind::PushButton, "Go", {0, 70, 50, 14}, fw::kTabStop},
    {kDate, fw::ControlKind::DatePicker, nullptr, {0, 90, 50, 14}, fw::kTabStop},
};
constexpr fw::Date kFirstDate{1950, 1, 1}, kLastDate{2049, 12, 31};
constexpr fw::DialogTemplate kTemplate{9001, fw::DialogFrame::Page, nullptr, {115, 15, 100, 100}, "Tahoma", 8, kControls};

// A dialog with one value of each kind and a 5-character limit on the edit.
class ExchangeDialog : public fw::CDialog {
public:
    ExchangeDialog() : fw::CDialog(kTemplate)
    {
        OnClick(kButton, [this] {
            if (UpdateData(fw::Exchange::Save)) ++saves;
        });
    }
    std::string text = "abc";
    bool check = true;
    int radio = 0;
    std::string combo = "COM1";
    fw::Date date; // no date: the picker keeps its own
    int saves = 0;
    void Load() { UpdateData(fw::Exchange::Load); }

protected:
    void DoDataExchange(fw::DataExchange& dx) override
    {
        dx.Text(kEdit, text, 5);
        dx.Check(kCheck, check);
        dx.Radio(kRadioB, radio);
        dx.ComboText(kCombo, combo);
        dx.Date(kDate, date, kFirstDate, kLastDate);
    }
};

} // namespace

class FrameworkTest : public ::testing::Test {
protected:
    std::unique_ptr<TestWindow> Open()
    {
        return std::make_unique<TestWindow>(dialog, kTemplate);
    }
    TestUi ui;
    ExchangeDialog dialog;
};

TEST_F(FrameworkTest, LoadPutsMembersIntoControls)
{
    auto window = Open();
    window->Initialise();
    EXPECT_EQ(window->Control(kEdit).text, "abc");
    EXPECT_EQ(window->Control(kEdit).limit, 5);
    EXPECT_EQ(window->Control(kCheck).check, 1);
    EXPECT_EQ(window->Control(kRadioB).check, 1);
    EXPECT_EQ(window->Control(kCombo).text, "com1") << "first entry beginning with the text, case ignored";
    EXPECT_EQ(window->FocusId(), kEdit);
}

TEST_F(FrameworkTest, LimitRefusesTypingAndALongerValueStopsTheExchange)
{
    auto window = Open();
    window->Initialise();
    window->Type(kEdit, "defgh");
    EXPECT_EQ(window->Control(kEdit).text, "abcde") << "typing stops at the limit";
    window->Click(kButton);
    EXPECT_EQ(dialog.saves, 1);
    EXPECT_EQ(dialog.text, "abcde");
    EXPECT_TRUE(ui.messages.empty());

    // A text set from outside is not limited; the exchange refuses it.
    window->Replace(kEdit, "abcdefg");
    window->Click(kCheck); // focus elsewhere
    ASSERT_EQ(window->Control(kCheck).check, 0) << "the click cleared the box";
    window->Click(kButton);
    EXPECT_EQ(dialog.saves, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Please enter no more than 5 characters.");
    EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::Exclamation);
    EXPECT_EQ(ui.messages[0].caption, "QM47");
    EXPECT_EQ(window->FocusId(), kEdit);
    EXPECT_EQ(window->SelectedStart(), kEdit);
    EXPECT_EQ(dialog.text, "abcde") << "nothing is taken from a refused exchange";
    EXPECT_TRUE(dialog.check) << "the exchange stops at the refused value";
    EXPECT_FALSE(window->Ended()) << "the page stays open";
}

TEST_F(FrameworkTest, RadioIndexComesFromOneButtonAlone)
{
    auto window = Open();
    window->Initialise();
    window->Click(kRadioA);
    EXPECT_EQ(window->Control(kRadioB).check, 0) << "one group: checking A clears B";
    window->Click(kButton);
    EXPECT_EQ(dialog.radio, -1);
    window->Click(kRadioB);
    window->Click(kButton);
    EXPECT_EQ(dialog.radio, 0);
}

// Only state 1 is checked: a third state (2) reads as clear.
TEST_F(FrameworkTest, CheckBoxIsCheckedOnlyInStateOne)
{
    auto window = Open();
    window->Initialise();
    for (const auto& [state, checked] : {std::pair{1, true}, {0, false}, {2, false}}) {
        SCOPED_TRACE(state);
        window->SetCheck(kCheck, state);
        window->Click(kButton);
        EXPECT_EQ(dialog.check, checked);
    }
    dialog.check = false;
    dialog.Load();
    EXPECT_EQ(window->Control(kCheck).check, 0);
}

TEST_F(FrameworkTest, DatePickerTakesItsRangeAndKeepsItsOwnDateUntilOneIsLoaded)
{
    auto window = Open();
    ASSERT_TRUE(window->PickDate(kDate, {2024, 5, 6})); // what the picker shows by itself
    window->Initialise();
    EXPECT_EQ(window->Control(kDate).firstDate, kFirstDate);
    EXPECT_EQ(window->Control(kDate).lastDate, kLastDate);
    EXPECT_EQ(window->Control(kDate).date, (fw::Date{2024, 5, 6})) << "no date loaded: the picker's own stays";

    EXPECT_FALSE(window->PickDate(kDate, {2050, 1, 1})) << "outside the range";
    ASSERT_TRUE(window->PickDate(kDate, {2003, 3, 1}));
    window->Click(kButton);
    EXPECT_EQ(dialog.date, (fw::Date{2003, 3, 1}));

    dialog.date = {1999, 12, 30};
    dialog.Load();
    EXPECT_EQ(window->Control(kDate).date, (fw::Date{1999, 12, 30}));
}

TEST_F(FrameworkTest, EnterPressesTheFocusedButtonAndEndsNoWindow)
{
    auto window = Open();
    window->Initialise();
    window->PressEnter(); // the focus is in the edit: the OK command
    EXPECT_FALSE(window->Ended());
    EXPECT_EQ(dialog.saves, 0);
    window->SetFocus(kButton);
    window->PressEnter();
    EXPECT_EQ(dialog.saves, 1);
    EXPECT_FALSE(window->Ended());
    dialog.HandleCommand(fw::kIdCancel, fw::kNotifyClicked); // Escape
    EXPECT_TRUE(window->Ended());
    EXPECT_EQ(window->Result(), fw::kIdCancel);
}

TEST(FixedTextTest, HoldWindows1250Bytes)
{
    using namespace qm47::text;
    EXPECT_EQ(kOfflineOperation.str(), "Drukarka jest w trybie OFF-LINE, operacja nie mo\xBF" "e zosta\xE6 wykona" "na");
    EXPECT_EQ(kOperationDone.str(), "Operacja zako\xF1" "czona poprawnie");
    EXPECT_EQ(kPrinterNotConnected.str(), "Drukarka nie zosta\xB3" "a pod\xB3\xB9" "czona");
    EXPECT_EQ(kWarnedModelMessage.str(), "Drukarka OrbelaMakron - Nie\xB3" "adnie");
    EXPECT_EQ(std::string(fw::cp1250<"ŚśŹźŻżĄąĆćĘęŁłŃńÓó">()),
              "\x8C\x9C\x8F\x9F\xAF\xBF\xA5\xB9\xC6\xE6\xCA\xEA\xA3\xB3\xD1\xF1\xD3\xF3");
}

TEST(StatusFormatTest, FormatsAsThePanelShows)
{
    EXPECT_EQ(qm47::FormatFiscalMemoryDate(5, 3, 3), "5-3-2003");
    EXPECT_EQ(qm47::FormatFiscalMemoryDate(31, 12, 12), "31-12-2012");
    EXPECT_EQ(qm47::FormatFiscalMemoryDate(1, 1, 0), "1-1-2000");
    EXPECT_EQ(qm47::FormatFiscalMemoryDate(255, 255, 255), "255-255-2255");
    EXPECT_EQ(qm47::FormatMode(1), "Fiskalny");
    EXPECT_EQ(qm47::FormatMode(0x31), "Niefiskalny");
    EXPECT_EQ(qm47::FormatMode(0), "Niefiskalny");
    EXPECT_EQ(qm47::FormatRate("22.00"), "22.00");
    EXPECT_EQ(qm47::FormatRate("100.00"), "Zwolniona");
    EXPECT_EQ(qm47::FormatRate("101.00"), "Nieaktywna");
    EXPECT_EQ(qm47::FormatRate("100"), "100");
    EXPECT_EQ(qm47::FormatRate("101.000"), "101.000");
    EXPECT_EQ(qm47::FormatRate(nullptr), "0");
    EXPECT_EQ(qm47::FormatDeviceName("TALMIR", ""), "TALMIR ");
    EXPECT_EQ(qm47::FormatDeviceName(nullptr, "x"), " x");
}
