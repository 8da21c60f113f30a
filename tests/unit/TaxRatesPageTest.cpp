// The tax-rate page against the recording fake library: the defaults, the
// silent stops, and the rate request with its seven entries byte by byte.

#include "PageFixture.h"

#include "app/Requests.h"
#include "pages/TaxRatesPage.h"
#include "res/ControlLists.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <gtest/gtest.h>

namespace qm47 {
namespace {

const std::vector<std::string> kDefaults = {"22", "7", "0", "101", "101", "101", "100"};

class TaxRatesPageTest : public testing::PageTest<CTaxRatesPage> {
protected:
    std::vector<std::string> Rates() const
    {
        std::vector<std::string> rates;
        for (int id : res::kTaxRateEdits) rates.push_back(Text(id));
        return rates;
    }

    void TypeRates(const std::vector<std::string>& rates)
    {
        for (std::size_t i = 0; i < rates.size(); ++i) window->Replace(res::kTaxRateEdits[i], rates[i]);
    }
};

TEST_F(TaxRatesPageTest, OpensWithDefaultsAndSendsNothing)
{
    Open();
    EXPECT_EQ(Rates(), kDefaults);
    EXPECT_TRUE(fake.calls.empty()) << "no on-line check on opening";
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(window->FocusId(), res::kTaxRateEdits[0]);
}

TEST_F(TaxRatesPageTest, DefaultsSentAsRequestWithSevenEntries)
{
    Open();
    ASSERT_TRUE(window->Click(IDC_TAX_RATES_SET));
    EXPECT_EQ(fake.Names(), (std::vector<std::string>{"GetStatus_Printer", "LBSETPTU"}));
    const auto calls = fake.CallsOf("LBSETPTU");
    ASSERT_EQ(calls.size(), 1u);

    std::vector<std::string> texts = kDefaults;
    texts.insert(texts.end(), {"12345678", "SERWIS"});
    EXPECT_EQ(calls[0].texts, texts);

    // The record (count, reserved bytes, three pointers), then the seven
    // entries as the library read them: four reserved zero bytes and a pointer.
    const auto& bytes = calls[0].recordBytes;
    const std::size_t pointer = sizeof(void*);
    const std::size_t recordSize = 5 + 3 * pointer;
    ASSERT_EQ(bytes.size(), recordSize + 7 * (4 + pointer));
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 5),
              (std::vector<unsigned char>{7, 0, 0, 0, 0}));
    for (std::size_t i = 0; i < kRateCount; ++i) {
        SCOPED_TRACE("entry " + std::string(1, static_cast<char>('A' + i)));
        const auto entry = bytes.begin() + static_cast<std::ptrdiff_t>(recordSize + i * (4 + pointer));
        EXPECT_EQ(std::vector<unsigned char>(entry, entry + 4), std::vector<unsigned char>(4, 0));
    }
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{std::string(text::kOperationDone.view())});
    EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::Information);
    EXPECT_EQ(ui.messages[0].owner, &page);
    EXPECT_FALSE(window->Ended());
}

TEST_F(TaxRatesPageTest, RateTextsSentExactlyAsTyped)
{
    const std::vector<std::vector<std::string>> cases = {
        {"101", "100", "0", "22", "7", "3", "5"},
        {"abc", "22.5", " 7", "+8", "0099", "101xyz", "-0"},
    };
    Open();
    for (const auto& rates : cases) {
        SCOPED_TRACE(::testing::PrintToString(rates));
        fake.Clear();
        TypeRates(rates);
        window->Click(IDC_TAX_RATES_SET);
        const auto calls = fake.CallsOf("LBSETPTU");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(std::vector<std::string>(calls[0].texts.begin(), calls[0].texts.begin() + 7), rates);
        EXPECT_EQ(calls[0].recordBytes.at(0), 7);
        EXPECT_EQ(calls[0].recordBytes.at(1), 0) << "reserved byte written on every call";
    }
}

TEST_F(TaxRatesPageTest, SilentStops)
{
    std::vector<std::string> emptyG = kDefaults;
    emptyG[6] = "";
    std::vector<std::string> badA = kDefaults;
    badA[0] = "102";
    const struct {
        const char* label;
        std::int32_t onl;
        std::vector<std::string> rates;
    } cases[] = {
        {"off-line", 0, kDefaults},
        {"no answer", 9, kDefaults},
        {"rate G empty", 1, emptyG},
        {"rate A 102", 1, badA},
        {"rate C -1", 1, {"22", "7", "-1", "101", "101", "101", "100"}},
        {"rate D out of range beyond 32 bits", 1, {"22", "7", "0", "4294967318", "101", "101", "100"}},
        {"all invalid", 1, {"", "", "", "", "", "", ""}},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        Forget();
        fake.onl = c.onl;
        TypeRates(c.rates);
        window->Click(IDC_TAX_RATES_SET);
        EXPECT_EQ(fake.Names(), std::vector<std::string>{"GetStatus_Printer"});
        EXPECT_TRUE(ui.messages.empty()) << ::testing::PrintToString(MessageTexts());
        EXPECT_EQ(Rates(), c.rates) << "the edits keep what was typed";
        EXPECT_FALSE(window->Ended());
    }
}

TEST(TaxRateRuleTest, SendableRate)
{
    const struct {
        const char* rate;
        bool sendable;
    } cases[] = {
        {"0", true}, {"101", true}, {"100", true}, {"22.5", true}, {"abc", true}, {" 7", true},
        {"101.99", true}, {"", false}, {"102", false}, {"-1", false}, {"-0", true}, {"2147483648", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.rate + "\"");
        EXPECT_EQ(IsSendableRate(c.rate), c.sendable);
    }
}

TEST_F(TaxRatesPageTest, ResultReporting)
{
    const struct {
        testing::LibraryAnswer answer;
        std::vector<std::string> calls;
        std::vector<std::string> messages;
    } cases[] = {
        {{"error to ErrorMessage", {}, -7}, {"GetStatus_Printer", "LBSETPTU", "ErrorMessage"}, {}},
        {{"no LBSETPTU", {"LBSETPTU"}, 0}, {"GetStatus_Printer"},
         {std::string(text::kMissingExportPrefix.view()) + "LBSETPTU"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.label);
        const auto opened = OpenFresh("LBSETPTU", c.answer);
        Forget();
        opened->Click(IDC_TAX_RATES_SET);
        EXPECT_EQ(fake.Names(), c.calls);
        EXPECT_EQ(MessageTexts(), c.messages);
        ExpectErrorMessagesOf(c.answer.result);
    }
}

} // namespace
} // namespace qm47
