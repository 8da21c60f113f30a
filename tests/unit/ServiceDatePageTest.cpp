// The service-inspection page against the recording fake library: the days
// by the decimal rule, the telephone exactly as typed, the off-line stop and
// the common reporting.

#include "PageFixture.h"

#include "pages/ServiceDatePage.h"
#include "res/Texts.h"

namespace qm47 {
namespace {

using ServiceDatePageTest = testing::PageTest<CServiceDatePage>;

TEST_F(ServiceDatePageTest, OpensEmptyAndSendsNothing)
{
    Open();
    EXPECT_EQ(Text(IDC_SERVICE_DAYS), "");
    EXPECT_EQ(Text(IDC_SERVICE_PHONE), "");
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(window->FocusId(), IDC_SERVICE_DAYS);
}

TEST_F(ServiceDatePageTest, SendsDaysByTheDecimalRuleAndThePhoneAsTyped)
{
    const struct {
        const char* days;
        std::string phone;
        std::int64_t sentDays;
    } cases[] = {
        {"", "", 0},
        {"30", "22 123-45-67", 30},
        {"-5", "+48 (22) 123 45 67", -5},
        {"12abc", "  601-100-200  ", 12},
        {"  \t7", "tel. s\xB3u\xBF" "by", 7},
        {"abc", "0", 0},
        {"99999999999", std::string(300, '9'), 2147483647},
    };
    Open();
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "days \"" << c.days << "\"");
        window->Replace(IDC_SERVICE_DAYS, c.days);
        window->Replace(IDC_SERVICE_PHONE, c.phone);
        Forget();
        ASSERT_TRUE(window->Click(IDC_SERVICE_SET));
        EXPECT_EQ(fake.Names(), (std::vector<std::string>{"GetStatus_Printer", "LBRVINFO"}));
        const auto calls = fake.CallsOf("LBRVINFO");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].numbers, std::vector<std::int64_t>{c.sentDays});
        EXPECT_EQ(calls[0].texts, std::vector<std::string>{c.phone});
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, text::kOperationDone.view());
        EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::Information);
        EXPECT_EQ(ui.messages[0].owner, &page);
        EXPECT_FALSE(window->Ended());
        EXPECT_EQ(Text(IDC_SERVICE_DAYS), c.days) << "the edits keep what was typed";
    }
}

TEST_F(ServiceDatePageTest, OfflineStopsBeforeAnythingIsSent)
{
    Open();
    window->Replace(IDC_SERVICE_DAYS, "30");
    for (const std::int32_t onl : {0, 2, 9}) {
        SCOPED_TRACE(::testing::Message() << "onl " << onl);
        fake.onl = onl;
        Forget();
        window->Click(IDC_SERVICE_SET);
        EXPECT_EQ(fake.Names(), std::vector<std::string>{"GetStatus_Printer"});
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{std::string(text::kOfflineOperation.view())});
        EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::None);
        EXPECT_FALSE(window->Ended());
    }
}

TEST_F(ServiceDatePageTest, ErrorsGoToErrorMessageWithoutTheSuccessBox)
{
    Open();
    for (const std::int32_t code : {-7, 3, static_cast<std::int32_t>(0xE0000001u)}) {
        SCOPED_TRACE(::testing::Message() << "code " << code);
        ExpectErrorGoesToErrorMessage(IDC_SERVICE_SET, "LBRVINFO", code);
    }
}

} // namespace
} // namespace qm47
