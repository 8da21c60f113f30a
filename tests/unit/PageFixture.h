#pragma once
// What every page test needs: the recording fake library, the test backend,
// the application object bound to the fake, and the page under test on
// virtual controls built from its template.

#include "FakeLibrary.h"

#include "app/ServiceApp.h"
#include "framework/testing/TestBackend.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qm47::testing {

// How a row of a table sets the library up for the export under test: the
// row's label, the exports the library lacks, and what the export answers.
struct LibraryAnswer {
    const char* label;
    std::initializer_list<std::string_view> without;
    std::int32_t result;
};

template <class Page>
class PageTest : public ::testing::Test {
protected:
    // Binds the fake (less the exports named) and opens the page.
    void Open(std::initializer_list<std::string_view> without = {})
    {
        app.SetLibrary(fake.Bind(without));
        window = fw::testing::TestWindow::Open(page);
    }

    // Binds the fake (less the exports named) and opens a page of its own,
    // so that each row of a table starts from a page no other row touched.
    // The page lives until the next call; the window returned must not.
    std::unique_ptr<fw::testing::TestWindow> OpenFresh(std::initializer_list<std::string_view> without = {})
    {
        app.SetLibrary(fake.Bind(without));
        freshPage.emplace(app);
        return fw::testing::TestWindow::Open(*freshPage);
    }

    // A page of its own (OpenFresh) on a library set up as `answer` says,
    // `exportName` answering its result.
    std::unique_ptr<fw::testing::TestWindow> OpenFresh(const std::string& exportName, const LibraryAnswer& answer)
    {
        fake.results[exportName] = answer.result;
        return OpenFresh(answer.without);
    }

    // What a control shows.
    const std::string& Text(int id) const { return window->Control(id).text; }

    // The texts of the message boxes shown so far, in order.
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& m : ui.messages) texts.push_back(m.text);
        return texts;
    }

    // The calls and boxes so far forgotten.
    void Forget()
    {
        fake.Clear();
        ui.messages.clear();
    }

    // One command from a fresh start: the calls and boxes so far forgotten,
    // each of `entries` replacing its control's text, then `button` clicked.
    void Press(int button, std::initializer_list<std::pair<int, std::string_view>> entries = {})
    {
        Forget();
        for (const auto& [id, text] : entries) window->Replace(id, text);
        ASSERT_TRUE(window->Click(button));
    }

    // The command stopped at the on-line check: nothing but GetStatus_Printer
    // was called and only the off-line message shown, owned by the page.
    void ExpectOfflineRefusal() const
    {
        EXPECT_EQ(fake.Names(), std::vector<std::string>{"GetStatus_Printer"});
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, text::kOfflineOperation.view());
        EXPECT_EQ(ui.messages[0].icon, fw::MessageIcon::None);
        EXPECT_EQ(ui.messages[0].owner, &page);
    }

    // Every ErrorMessage call so far was handed an empty text and `code`.
    void ExpectErrorMessagesOf(std::int32_t code) const
    {
        for (const auto& error : fake.CallsOf("ErrorMessage")) {
            EXPECT_EQ(error.texts, std::vector<std::string>{""});
            EXPECT_EQ(error.numbers, std::vector<std::int64_t>{code});
        }
    }

    // `button` clicked while `exportName` answers the error `code`: the
    // export follows the on-line check, ErrorMessage is asked for the code's
    // text, and the page shows no box of its own.
    void ExpectErrorGoesToErrorMessage(int button, const std::string& exportName, std::int32_t code)
    {
        fake.results[exportName] = code;
        Forget();
        window->Click(button);
        EXPECT_EQ(fake.Names(), (std::vector<std::string>{"GetStatus_Printer", exportName, "ErrorMessage"}));
        ExpectErrorMessagesOf(code);
        EXPECT_TRUE(ui.messages.empty());
    }

    fw::testing::TestUi ui;
    FakeLibrary fake;
    CServiceApp app;
    Page page{app};
    std::unique_ptr<fw::testing::TestWindow> window;
    std::optional<Page> freshPage; // the page OpenFresh opened last
};

} // namespace qm47::testing
