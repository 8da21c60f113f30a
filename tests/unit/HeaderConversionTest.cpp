// The header text conversion with its two working files, each test in its
// own empty working directory.

#include "ScratchDirectory.h"

#include "framework/testing/TestBackend.h"
#include "pages/HeaderConversion.h"
#include "res/Texts.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace qm47 {
namespace {

using fw::literals::operator""_cp1250;
using fw::testing::TestUi;
using testing::AsOrdinaryUser;
using testing::Hex;
using testing::ReadFile;
using testing::ScratchDirectory;

namespace fs = std::filesystem;

// The 18 letters in Windows-1250 (encoded independently of the conversion's
// table) and their Mazovia codes, letter for letter.
constexpr auto kPolishLetters = "ĄąĆćĘęŁłŃńÓóŚśŹźŻż"_cp1250;
const std::string kMazoviaLetters =
    "\x8F\x86\x95\x8D\x90\x91\x9C\x92\xA5\xA4\xA3\xA2\x98\x9E\xA0\xA6\xA1\xA7";

const std::string kErrorCaption(text::kConversionErrorCaption.view());

class HeaderConversionTest : public ::testing::Test {
protected:
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& m : ui.messages) texts.push_back(m.text);
        return texts;
    }
    static bool Exists(const char* name) { return fs::exists(fs::symlink_status(name)); }

    ScratchDirectory directory;
    TestUi ui;
};

TEST_F(HeaderConversionTest, ConvertsThroughTheWorkingFiles)
{
    const std::string noPolish = "\x0E" "   NAZWA SKLEPU\x0E\r ul. Dluga 1\r\r";
    std::string allBytes; // every byte but zero and line feed, Polish letters included
    for (int byte = 1; byte < 256; ++byte)
        if (byte != '\n') allBytes += static_cast<char>(byte);
    std::string allBytesConverted = allBytes;
    for (char& byte : allBytesConverted) {
        const auto at = kPolishLetters.view().find(byte);
        if (at != std::string_view::npos) byte = kMazoviaLetters[at];
    }
    const std::string long287 = std::string(160, 'a') + "\xA3\xF3" + std::string(125, 'b');
    const std::string long287Converted = std::string(160, 'a') + "\x9C\xA2" + std::string(125, 'b');

    struct Case {
        const char* label;
        std::string input;
        std::string result;     // what the conversion returns
        std::string outputFile; // what "naglowek.txt" holds afterwards
    };
    const std::vector<Case> cases = {
        {"the word Lodz", "\xA3\xF3\x64\x9F", "\x9C\xA2\x64\xA6", "\x9C\xA2\x64\xA6"},
        {"all 18 letters", kPolishLetters.str(), kMazoviaLetters, kMazoviaLetters},
        {"no Polish letters, SO and CR kept", noPolish, noPolish, noPolish},
        {"letters outside the table (a umlaut, section sign)", "\xE4\xA7 \xA7", "\xE4\xA7 \xA7", "\xE4\xA7 \xA7"},
        {"empty text", "", "", ""},
        {"a line feed ends the result", "ab\xB3\ncd\n", "ab\x92\n", "ab\x92\ncd\n"},
        {"287 bytes: 199 returned, all kept in the file", long287, long287Converted.substr(0, 199), long287Converted},
        {"every byte value", allBytes, allBytesConverted.substr(0, 199), allBytesConverted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ui.messages.clear();
        const std::optional<std::string> result = ConvertHeaderText(c.input);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(Hex(*result), Hex(c.result));
        EXPECT_EQ(Hex(ReadFile("naglowek.txt").value_or("(missing)")), Hex(c.outputFile));
        EXPECT_FALSE(Exists("naglowek_we.txt"));
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
    }
}

TEST_F(HeaderConversionTest, FailuresShowTheirMessageAndReturnNothing)
{
    const std::string cannotOpenInput(text::kCannotOpenInputFile.view());
    const std::string cannotOpenOutput(text::kCannotOpenOutputFile.view());
    const std::string cannotWrite(text::kCannotWriteOutputFile.view());
    const auto writeOnlyInputCopy = [] {
        std::ofstream("naglowek_we.txt") << "old";
        chmod("naglowek_we.txt", 0222);
    };
    const auto outputIsDirectory = [] { fs::create_directory("naglowek.txt"); };

    struct Case {
        const char* label;
        std::function<void()> prepare; // runs as an ordinary user, in the empty working directory
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases = {
        {"working directory not writable", [] { chmod(".", 0555); }, {cannotWrite}},
        {"input copy name taken by a directory", [] { fs::create_directory("naglowek_we.txt"); }, {cannotWrite}},
        {"input copy cannot take the bytes", [] { fs::create_symlink("/dev/full", "naglowek_we.txt"); },
         {cannotWrite}},
        {"a read-only input copy is left from before", [] {
             std::ofstream("naglowek_we.txt") << "old";
             chmod("naglowek_we.txt", 0444);
         }, {cannotWrite}},
        {"input copy cannot be read back", writeOnlyInputCopy, {cannotOpenInput}},
        {"output copy cannot be created", outputIsDirectory, {cannotOpenOutput}},
        {"neither copy opens", [&] { writeOnlyInputCopy(); outputIsDirectory(); },
         {cannotOpenInput, cannotOpenOutput}},
        {"output copy cannot take the bytes", [] { fs::create_symlink("/dev/full", "naglowek.txt"); },
         {cannotWrite}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchDirectory own; // a fresh directory per case
        ui.messages.clear();
        std::optional<std::string> result;
        {
            AsOrdinaryUser user;
            c.prepare();
            result = ConvertHeaderText("\xA3\xF3\x64\x9F\r");
        }
        EXPECT_FALSE(result.has_value()) << "got " << Hex(result.value_or(""));
        EXPECT_EQ(MessageTexts(), c.messages);
        for (const auto& m : ui.messages) {
            EXPECT_EQ(m.caption, kErrorCaption);
            EXPECT_EQ(m.icon, fw::MessageIcon::None);
            EXPECT_EQ(m.buttons, fw::MessageButtons::Ok);
            EXPECT_EQ(m.owner, nullptr);
        }
        // Only a directory in its place keeps the input copy from being removed.
        if (!fs::is_directory("naglowek_we.txt")) {
            EXPECT_FALSE(Exists("naglowek_we.txt"));
        }
    }
}

TEST_F(HeaderConversionTest, ALeftoverReadOnlyInputCopyIsRemovedSoTheNextConversionWorks)
{
    AsOrdinaryUser user;
    std::ofstream("naglowek_we.txt") << "old";
    chmod("naglowek_we.txt", 0444);
    EXPECT_FALSE(ConvertHeaderText("x").has_value());
    EXPECT_FALSE(Exists("naglowek_we.txt"));
    EXPECT_EQ(ConvertHeaderText("\xA3\r"), "\x9C\r");
}

} // namespace
} // namespace qm47
