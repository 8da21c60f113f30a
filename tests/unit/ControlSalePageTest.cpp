// The control sale page against the recording fake library: the totalizers
// read on opening and after every attempt, the sale's records byte by byte,
// the blocked-name test for every letter, the open-transaction question and
// the stops.

#include "PageFixture.h"

#include "pages/ControlSalePage.h"
#include "res/ControlLists.h"
#include "res/Texts.h"

#include <cstring>

namespace qm47 {
namespace {

using Bytes = std::vector<unsigned char>;
using Names = std::vector<std::string>;
using Texts = std::vector<std::string>;

constexpr std::size_t kPointer = sizeof(void*);
const Names kSale = {"GetStatus_Printer", "GetStatus_CashRegister", "LBFSTRQ", "LBDBREPRS",
                     "LBTRSHDR", "LBTRSLN", "O_LBTRXEND", "LBFSTRQ"};
const Names kRefusedAsBlocked = {"GetStatus_Printer", "GetStatus_CashRegister", "LBFSTRQ", "LBDBREPRS",
                                 "LBFSTRQ"};

Bytes Slice(const Bytes& bytes, std::size_t offset, std::size_t size)
{
    if (offset + size > bytes.size()) return {};
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + size));
}

class ControlSalePageTest : public testing::PageTest<CControlSalePage> {
protected:
    ControlSalePageTest()
    {
        // Each LBFSTRQ reports the rates and the totalizers A to G of `rates` and `totals`.
        fake.fillFiscalStatus = [this](FiscalStatus& s) {
            ++statusReads;
            for (std::size_t i = 0; i < kRateCount; ++i) {
                s.ptuRate[i] = rates[i].c_str();
                s.totalizer[i] = totals[i].c_str();
            }
        };
        fake.fillGoods = [this](GoodsQueryResult& r) { r = {heldBlocked, heldRate}; };
    }

    Texts Totalizers() const
    {
        Texts shown;
        for (int id : res::kSaleTotalizers) shown.push_back(Text(id));
        return shown;
    }

    void Sell(std::string_view name, std::string_view rate)
    {
        Press(IDC_SALE_RUN, {{IDC_SALE_NAME, name}, {IDC_SALE_RATE, rate}});
    }

    std::array<std::string, kRateCount> rates = {"22.00", "7.00", "0.00", "101.00", "101.00", "101.00", "100.00"};
    std::array<std::string, kRateCount> totals = {"001234.56", "000789.10", "000045.00", "000000.00",
                                         "000000.00", "000000.00", "000012.30"};
    std::uint8_t heldBlocked = 0;
    const char* heldRate = "101.00";
    int statusReads = 0;
};

TEST_F(ControlSalePageTest, OpeningReadsTheTotalizersOnce)
{
    fake.fillFiscalStatus = [this](FiscalStatus& s) {
        // The record as preset: numbers 0 and every text "0".
        EXPECT_EQ(Slice(testing::BytesOf(s), 0, 9), Bytes(9, 0));
        const std::int32_t receiptCount = s.receiptCount; // copied: the record is packed
        EXPECT_EQ(receiptCount, 0);
        for (std::size_t i = 0; i < kRateCount; ++i) {
            EXPECT_STREQ(s.ptuRate[i], "0");
            EXPECT_STREQ(s.totalizer[i], "0");
        }
        EXPECT_STREQ(s.unused69, "0");
        EXPECT_STREQ(s.uniqueNumber, "0");
        for (std::size_t i = 0; i < kRateCount; ++i) s.totalizer[i] = totals[i].c_str();
    };
    Open();
    EXPECT_EQ(fake.Names(), Names{"LBFSTRQ"}) << "no on-line check on opening";
    EXPECT_EQ(Totalizers(), Texts(totals.begin(), totals.end()));
    EXPECT_EQ(Text(IDC_SALE_NAME), "Towar testowy");
    EXPECT_EQ(Text(IDC_SALE_RATE), "A");
    EXPECT_EQ(window->Control(IDC_SALE_RATE).items, (Texts{"A", "B", "C", "D", "E", "F", "G"}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ControlSalePageTest, UnfilledOrNullTotalizersShowZero)
{
    const struct {
        const char* label;
        std::function<void(FiscalStatus&)> fill;
    } cases[] = {
        {"unfilled", nullptr},
        {"null texts", [](FiscalStatus& s) {
             for (std::size_t i = 0; i < kRateCount; ++i) s.totalizer[i] = nullptr;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        fake.fillFiscalStatus = c.fill;
        const auto opened = OpenFresh();
        for (int id : res::kSaleTotalizers) EXPECT_EQ(opened->Control(id).text, "0") << id;
    }
}

TEST_F(ControlSalePageTest, SaleWithTheDefaults)
{
    Open();
    totals[0] = "001234.57";
    Sell("Towar testowy", "A");
    EXPECT_EQ(fake.Names(), kSale);
    EXPECT_TRUE(ui.messages.empty()) << "no success message";
    EXPECT_EQ(Totalizers()[0], "001234.57") << "re-read after the sale";

    const auto query = fake.CallsOf("LBDBREPRS").at(0);
    EXPECT_EQ(query.texts, Texts{"Towar testowy"});
    EXPECT_EQ(query.numbers, std::vector<std::int64_t>{'A'});
    EXPECT_EQ(query.recordBytes, Bytes(1 + kPointer, 0)) << "flag 0, rate text null";
    EXPECT_EQ(fake.CallsOf("LBTRSHDR").at(0).numbers, std::vector<std::int64_t>{0});

    // SaleLineRequest: bytes 1, 0, name, slot, quantity, letter, slot, price, slot, value, slot, last text.
    const auto line = fake.CallsOf("LBTRSLN").at(0);
    EXPECT_EQ(line.texts, (Texts{"Towar testowy", "1", "0.01", "0.01", "0"}));
    const Bytes& l = line.recordBytes;
    ASSERT_EQ(l.size(), 2 + 5 * kPointer + 4 * 4 + 1);
    EXPECT_EQ(Slice(l, 0, 2), (Bytes{1, 0}));
    const std::size_t letterAt = 2 + kPointer + 4 + kPointer;
    EXPECT_EQ(l[letterAt], 'A');
    for (std::size_t slot : {2 + kPointer, letterAt + 1, letterAt + 5 + kPointer, letterAt + 9 + 2 * kPointer}) {
        SCOPED_TRACE("number slot at " + std::to_string(slot));
        EXPECT_EQ(Slice(l, slot, 4), Bytes(4, 0));
    }

    // ReceiptEndRequest: end byte 3, ten zero bytes, code, the array, three
    // texts, a slot, the amount and eight (slot, empty text) pairs.
    const auto end = fake.CallsOf("O_LBTRXEND").at(0);
    Texts endTexts = {"1SW", "", "", "", "", "", "", "0.01"};
    endTexts.insert(endTexts.end(), 8, "");
    EXPECT_EQ(end.texts, endTexts);
    const Bytes& e = end.recordBytes;
    ASSERT_EQ(e.size(), 11 + 6 * kPointer + 4 + 8 * (4 + kPointer));
    EXPECT_EQ(e[0], 3);
    EXPECT_EQ(Slice(e, 1, 10), Bytes(10, 0));
    EXPECT_EQ(Slice(e, 11 + 5 * kPointer, 4), Bytes(4, 0)) << "the slot before the amount";
    for (std::size_t pair = 0; pair < 8; ++pair) {
        SCOPED_TRACE("pair " + std::to_string(pair));
        const std::size_t at = 15 + 6 * kPointer + pair * (4 + kPointer);
        EXPECT_EQ(Slice(e, at, 4), Bytes(4, 0));
        EXPECT_NE(Slice(e, at + 4, kPointer), Bytes(kPointer, 0)) << "an empty text, not null";
    }
}

TEST_F(ControlSalePageTest, BlockedTestForEveryLetter)
{
    Open();
    heldBlocked = 1;
    heldRate = "7.00";
    for (char letter = 'A'; letter <= 'G'; ++letter) {
        const std::size_t index = static_cast<std::size_t>(letter - 'A');
        for (const char* letterRate : {"7.00", "7.50", "22.00", "100.00"}) {
            SCOPED_TRACE(std::string(1, letter) + " at " + letterRate);
            rates.fill("23.00");
            rates[index] = letterRate;
            const bool refused = std::string_view(letterRate).substr(0, 2) != "7.";
            Sell("Chleb", std::string(1, letter));
            if (refused) {
                EXPECT_EQ(fake.Names(), kRefusedAsBlocked);
                ASSERT_EQ(ui.messages.size(), 1u);
                EXPECT_EQ(ui.messages[0].text, text::kGoodsBlockedRename.view());
                EXPECT_EQ(ui.messages[0].caption, fw::ApplicationName());
                EXPECT_EQ(ui.messages[0].buttons, fw::MessageButtons::Ok);
                EXPECT_EQ(ui.messages[0].owner, &page);
            } else {
                EXPECT_EQ(fake.Names(), kSale);
                EXPECT_TRUE(ui.messages.empty());
                const Bytes l = fake.CallsOf("LBTRSLN").at(0).recordBytes;
                EXPECT_EQ(l.at(2 + kPointer + 4 + kPointer), letter);
                EXPECT_EQ(fake.CallsOf("LBDBREPRS").at(0).numbers, std::vector<std::int64_t>{letter});
            }
        }
    }
}

TEST_F(ControlSalePageTest, NotBlockedOrNoAnswerSells)
{
    const struct {
        const char* label;
        std::uint8_t flag;
        const char* held;
        bool fills;
    } cases[] = {
        {"flag 0 at another rate", 0, "7.00", true},
        {"flag 2 at another rate", 2, "7.00", true},
        {"rate text null", 1, nullptr, true},
        {"record unfilled", 1, "7.00", false},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        heldBlocked = c.flag;
        heldRate = c.held;
        if (!c.fills) fake.fillGoods = nullptr;
        for (const char* letter : {"A", "D", "G"}) {
            SCOPED_TRACE(letter);
            Sell("Kawa", letter);
            EXPECT_EQ(fake.Names(), kSale);
        }
    }
}

TEST_F(ControlSalePageTest, NullRateOfTheLetterCountsAsZero)
{
    Open();
    fake.fillFiscalStatus = [](FiscalStatus& s) { s.ptuRate[2] = nullptr; };
    heldBlocked = 1;
    heldRate = "0.00";
    Sell("Gazeta", "C");
    EXPECT_EQ(fake.Names(), kSale);
    heldRate = "7.00";
    Sell("Gazeta", "C");
    EXPECT_EQ(fake.Names(), kRefusedAsBlocked);
}

TEST_F(ControlSalePageTest, OpenTransactionQuestion)
{
    Open();
    fake.cashRegister.par = 1;
    ui.answers = {fw::MessageAnswer::No};
    Sell("Towar testowy", "A");
    EXPECT_EQ(fake.Names(), (Names{"GetStatus_Printer", "GetStatus_CashRegister"})) << "nothing sent";
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, text::kCancelTransactionQuestion.view());
    EXPECT_EQ(ui.messages[0].caption, "") << "an empty caption";
    EXPECT_EQ(ui.messages[0].buttons, fw::MessageButtons::YesNo);
    EXPECT_EQ(ui.messages[0].owner, &page);
    EXPECT_EQ(statusReads, 1) << "the totalizers are not re-read";

    ui.answers = {fw::MessageAnswer::Yes};
    Sell("Towar testowy", "A");
    Names expected = kSale;
    expected.insert(expected.begin() + 2, "LBTREXITCAN");
    EXPECT_EQ(fake.Names(), expected);
    EXPECT_EQ(fake.CallsOf("LBTREXITCAN").at(0).texts, (Texts{"001", "SERWIS"}));

    // par other than 1 asks nothing.
    for (std::int32_t par : {0, 9, 2}) {
        SCOPED_TRACE(par);
        fake.cashRegister.par = par;
        Sell("Towar testowy", "A");
        EXPECT_EQ(fake.Names(), kSale);
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(ControlSalePageTest, OnlyOffLineStops)
{
    Open();
    fake.onl = 0;
    Sell("Towar testowy", "A");
    EXPECT_EQ(fake.Names(), Names{"GetStatus_Printer"});
    EXPECT_EQ(MessageTexts(), Texts{std::string(text::kOfflineOperation.view())});
    EXPECT_EQ(ui.messages[0].caption, fw::ApplicationName());

    for (std::int32_t onl : {9, 2, -1}) {
        SCOPED_TRACE(onl);
        fake.onl = onl;
        Sell("Towar testowy", "A");
        EXPECT_EQ(fake.Names(), kSale);
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(ControlSalePageTest, RateTextNamingNoRateIsRefused)
{
    Open();
    for (const char* rate : {"", "a", "H", "A1"}) {
        SCOPED_TRACE(std::string("\"") + rate + "\"");
        Sell("Towar testowy", rate);
        EXPECT_EQ(fake.Names(), (Names{"GetStatus_Printer", "GetStatus_CashRegister"}));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, text::kUnknownRate.view());
        EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::Exclamation);
        EXPECT_EQ(ui.messages[0].caption, fw::ApplicationName());
        EXPECT_EQ(ui.messages[0].owner, &page);
    }
    // After a cancelled transaction the refusal still comes before anything else is sent.
    fake.cashRegister.par = 1;
    ui.answers = {fw::MessageAnswer::Yes};
    Sell("Towar testowy", "X");
    EXPECT_EQ(fake.Names(), (Names{"GetStatus_Printer", "GetStatus_CashRegister", "LBTREXITCAN"}));
    EXPECT_EQ(ui.messages.back().text, text::kUnknownRate.view());
    EXPECT_EQ(statusReads, 1) << "the totalizers are not re-read";
}

TEST_F(ControlSalePageTest, RefusedLineStillEndsTheReceipt)
{
    Open();
    fake.results["LBTRSLN"] = -14;
    Sell("Towar testowy", "A");
    Names expected = kSale;
    expected.insert(expected.begin() + 6, "ErrorMessage");
    EXPECT_EQ(fake.Names(), expected);
    const auto error = fake.CallsOf("ErrorMessage").at(0);
    EXPECT_EQ(error.texts, Texts{""});
    EXPECT_EQ(error.numbers, std::vector<std::int64_t>{-14});
    EXPECT_TRUE(ui.messages.empty());

    // The other results of the sale are not examined.
    fake.results = {{"LBTRSHDR", -2}, {"O_LBTRXEND", -13}, {"LBDBREPRS", -2}};
    Sell("Towar testowy", "A");
    EXPECT_EQ(fake.Names(), kSale);
    EXPECT_TRUE(ui.messages.empty());
}

// Rates it could not read never refuse a sale, nor let one through: the
// failed read is told and the sale stops before the goods query.
TEST_F(ControlSalePageTest, UnreadRatesStopTheSale)
{
    Open();
    heldBlocked = 1;
    heldRate = "7.00";
    fake.results["LBFSTRQ"] = -9;
    Sell("Towar testowy", "A");
    EXPECT_EQ(fake.Names(), (Names{"GetStatus_Printer", "GetStatus_CashRegister", "LBFSTRQ", "ErrorMessage"}));
    EXPECT_EQ(fake.CallsOf("ErrorMessage").at(0).numbers, std::vector<std::int64_t>{-9});
    EXPECT_TRUE(ui.messages.empty()) << "not the blocked-name message";

    app.SetLibrary(fake.Bind({"LBFSTRQ"}));
    Sell("Towar testowy", "A");
    EXPECT_EQ(fake.Names(), (Names{"GetStatus_Printer", "GetStatus_CashRegister"}));
    EXPECT_EQ(MessageTexts(), Texts{text::kMissingExportPrefix.str() + "LBFSTRQ"});
}

} // namespace
} // namespace qm47
