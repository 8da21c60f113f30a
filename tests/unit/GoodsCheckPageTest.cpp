// The goods database check page against the recording fake library: the
// query and the printout records byte by byte, the answer fields, and the
// stops (off-line, a rate text that names no rate, no answer).

#include "PageFixture.h"

#include "pages/GoodsCheckPage.h"
#include "res/Texts.h"

namespace qm47 {
namespace {

using Bytes = std::vector<unsigned char>;
using Names = std::vector<std::string>;
using Texts = std::vector<std::string>;

const std::string kNull = "<null>";
constexpr std::size_t kPointer = sizeof(void*);

class GoodsCheckPageTest : public testing::PageTest<CGoodsCheckPage> {
protected:
    // The printer answers `rate` and `blocked` for any name.
    void Answer(std::uint8_t blocked, const char* rate)
    {
        fake.fillGoods = [=](GoodsQueryResult& r) {
            r.blocked = blocked;
            r.rateText = rate;
        };
    }

    // Name, rate asked, printer rate, status, as the answer fields show them.
    Texts AnswerFields() const
    {
        return {Text(IDC_GOODS_ANSWER_NAME), Text(IDC_GOODS_ANSWER_RATE_ASKED), Text(IDC_GOODS_ANSWER_PRINTER_RATE),
                Text(IDC_GOODS_ANSWER_STATUS)};
    }

    void Check(std::string_view name, std::string_view rate)
    {
        Press(IDC_GOODS_CHECK, {{IDC_GOODS_NAME, name}, {IDC_GOODS_RATE, rate}});
    }
};

TEST_F(GoodsCheckPageTest, OpensEmptyAtRateAWithoutPrintout)
{
    Open();
    EXPECT_EQ(Text(IDC_GOODS_NAME), "");
    EXPECT_EQ(Text(IDC_GOODS_RATE), "A");
    EXPECT_EQ(window->Control(IDC_GOODS_RATE).items, (Texts{"A", "B", "C", "D", "E", "F", "G"}));
    EXPECT_EQ(window->Control(IDC_GOODS_PRINT).check, 0);
    EXPECT_EQ(AnswerFields(), Texts(4, ""));
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(window->FocusId(), IDC_GOODS_NAME);
}

TEST_F(GoodsCheckPageTest, QueryWithoutPrintout)
{
    Open();
    Answer(0, "22.00");
    Check("Kawa", "A");
    EXPECT_EQ(fake.Names(), (Names{"GetStatus_Printer", "LBDBREPRS"}));
    const auto query = fake.CallsOf("LBDBREPRS").at(0);
    EXPECT_EQ(query.texts, Texts{"Kawa"});
    EXPECT_EQ(query.numbers, std::vector<std::int64_t>{'A'});
    // The result record as the library received it: flag 0, rate text null.
    EXPECT_EQ(query.recordBytes, Bytes(1 + kPointer, 0));
    EXPECT_EQ(AnswerFields(), (Texts{"Kawa", "A", "22.00", std::string(text::kGoodsStatusNotBlocked.view())}));
    EXPECT_TRUE(ui.messages.empty()) << "no success message";
    EXPECT_FALSE(window->Ended());
}

TEST_F(GoodsCheckPageTest, PrintoutStepsThenQuery)
{
    Open();
    Answer(1, "7.00");
    window->Click(IDC_GOODS_PRINT);
    Check("Chleb", "B");
    EXPECT_EQ(fake.Names(), (Names{"GetStatus_Printer", "LBDBREP", "LBDBREP", "LBDBREP", "LBDBREPRS"}));
    const auto steps = fake.CallsOf("LBDBREP");
    const Texts expectedTexts[3] = {
        {kNull, kNull, kNull, kNull}, {"Chleb", "B", kNull, kNull}, {kNull, kNull, "001", "SERWIS"}};
    for (std::size_t step = 0; step < 3; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        const auto& call = steps.at(step);
        ASSERT_EQ(call.recordBytes.size(), 1 + 4 * kPointer);
        EXPECT_EQ(call.recordBytes[0], step);
        EXPECT_EQ(call.texts, expectedTexts[step]);
        EXPECT_EQ(call.numbers, std::vector<std::int64_t>{0}) << "the one-byte argument";
        // The pointers left null are zero bytes.
        for (std::size_t field = 0; field < 4; ++field) {
            if (expectedTexts[step][field] != kNull) continue;
            const auto at = call.recordBytes.begin() + static_cast<std::ptrdiff_t>(1 + field * kPointer);
            EXPECT_EQ(Bytes(at, at + static_cast<std::ptrdiff_t>(kPointer)), Bytes(kPointer, 0)) << "field " << field;
        }
    }
    EXPECT_EQ(fake.CallsOf("LBDBREPRS").at(0).numbers, std::vector<std::int64_t>{'B'});
    EXPECT_EQ(AnswerFields(), (Texts{"Chleb", "B", "7.00", std::string(text::kGoodsStatusBlocked.view())}));

    // Printout results are not examined.
    fake.results["LBDBREP"] = -13;
    Check("Chleb", "B");
    EXPECT_EQ(fake.Names(), (Names{"GetStatus_Printer", "LBDBREP", "LBDBREP", "LBDBREP", "LBDBREPRS"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(GoodsCheckPageTest, EmptyNameSentAsEmptyText)
{
    Open();
    Answer(0, "101.00");
    Check("", "G");
    const auto query = fake.CallsOf("LBDBREPRS").at(0);
    EXPECT_EQ(query.texts, Texts{""});
    EXPECT_EQ(query.numbers, std::vector<std::int64_t>{'G'});
}

TEST_F(GoodsCheckPageTest, StopsBeforeSending)
{
    const std::string offline(text::kOfflineOperation.view());
    const std::string unknown(text::kUnknownRate.view());
    const struct {
        const char* label;
        std::int32_t onl;
        const char* rate;
        std::string message;
        fw::MessageIcon icon;
    } cases[] = {
        {"off-line", 0, "A", offline, fw::MessageIcon::None},
        {"no answer", 9, "A", offline, fw::MessageIcon::None},
        {"lower-case letter", 1, "a", unknown, fw::MessageIcon::Exclamation},
        {"letter beyond G", 1, "H", unknown, fw::MessageIcon::Exclamation},
        {"empty rate text", 1, "", unknown, fw::MessageIcon::Exclamation},
        {"two letters", 1, "AB", unknown, fw::MessageIcon::Exclamation},
    };
    Open();
    window->Click(IDC_GOODS_PRINT);
    Answer(0, "22.00");
    Check("Kawa", "A");
    const Texts shown = AnswerFields();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        fake.onl = c.onl;
        Check("Inny", c.rate);
        EXPECT_EQ(fake.Names(), Names{"GetStatus_Printer"}) << "neither printout nor query";
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].caption, fw::ApplicationName());
        EXPECT_EQ(ui.messages[0].icon, c.icon);
        EXPECT_EQ(ui.messages[0].buttons, fw::MessageButtons::Ok);
        EXPECT_EQ(ui.messages[0].owner, &page);
        EXPECT_EQ(AnswerFields(), shown);
        EXPECT_EQ(Text(IDC_GOODS_RATE), c.rate) << "the combo box keeps what was typed";
    }
}

TEST_F(GoodsCheckPageTest, NoAnswerKeepsTheFields)
{
    Open();
    Answer(0, "22.00");
    Check("Kawa", "A");
    const Texts shown = AnswerFields();
    const struct {
        const char* label;
        std::function<void(GoodsQueryResult&)> fill;
    } cases[] = {
        {"record left unfilled", nullptr},
        {"rate text null, flag 1", [](GoodsQueryResult& r) { r = {1, nullptr}; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        fake.fillGoods = c.fill;
        fake.results["LBDBREPRS"] = -2;
        Check("Chleb", "B");
        // The library says what failed; the earlier answer stays, but does not pass for this one.
        EXPECT_EQ(fake.Names(), (Names{"GetStatus_Printer", "LBDBREPRS", "ErrorMessage"}));
        EXPECT_EQ(fake.CallsOf("ErrorMessage").at(0).numbers.at(0), -2);
        EXPECT_EQ(AnswerFields(), shown);
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(GoodsCheckPageTest, MissingExports)
{
    // Without LBDBREP the printout is told missing and the query still goes.
    Open({"LBDBREP"});
    Answer(0, "22.00");
    window->Click(IDC_GOODS_PRINT);
    Check("Kawa", "A");
    EXPECT_EQ(fake.Names(), (Names{"GetStatus_Printer", "LBDBREPRS"}));
    EXPECT_EQ(MessageTexts(), Texts{std::string(text::kMissingExportPrefix.view()) + "LBDBREP"});
    EXPECT_EQ(Text(IDC_GOODS_ANSWER_PRINTER_RATE), "22.00");

    app.SetLibrary(fake.Bind({"LBDBREPRS"}));
    Check("Kawa", "B");
    EXPECT_EQ(MessageTexts(), Texts{std::string(text::kMissingExportPrefix.view()) + "LBDBREPRS"});
    EXPECT_EQ(Text(IDC_GOODS_ANSWER_RATE_ASKED), "A");
}

} // namespace
} // namespace qm47
