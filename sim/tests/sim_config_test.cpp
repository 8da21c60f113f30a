// Reading qm47sim.ini: the printer's state at load, and the lines that cannot
// be read (ignored, their defaults kept, each named by its number).

#include "sim/Config.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using sim::ConfigProblem;
using sim::ParseConfig;

TEST(SimConfig, UnreadableLinesAreIgnoredAndNamedByNumber)
{
    const struct {
        const char* line;
        const char* reason; // nullptr: read
    } cases[] = {
        {"online = 0", nullptr},
        {"   # only a comment", nullptr},
        {"", nullptr},
        {"onlin = 0", "unknown-key"},
        {"online 0", "no-equals-sign"},
        {"= 1", "unknown-key"},
        {"online = maybe", "bad-value"},
        {"transaction = yes", "bad-value"},
        {"result.LBSETCK = -7", nullptr},
        {"result.LBSETCKK = -7", "unknown-key"},
        {"result.LBSETCK = seven", "bad-value"},
        {"unfilled = LBIDRQ, LBFSTRQ", nullptr},
        {"unfilled = LBIDRQ, LBFSTQR", "bad-value"},
        {"null_texts = lbidrq", "bad-value"},
        {"open_receipt = 1", nullptr},
        {"open_receipt = 2", "bad-value"},
        {"goods = Mleko:B, Chleb:22.00, Gazeta:0:0, Usługa:100", nullptr},
        {"goods =", nullptr},
        {"goods = Mleko", "bad-value"},
        {"goods = Mleko:D", "bad-value"},      // D is inactive at load
        {"goods = Mleko:101", "bad-value"},    // the mark of a name never sold
        {"goods = Mleko:H", "bad-value"},
        {"goods = Mleko:B:2", "bad-value"},
        {"goods = :B", "bad-value"},
        {"goods = Mleko:B,", "bad-value"},
        {"totalizers = 1, 2, 3, 4, 5, 6, 7.5", nullptr},
        {"totalizers = 1, 2, 3, 4, 5, 6", "bad-value"},
        {"totalizers = 1, 2, 3, 4, 5, 6, -7", "bad-value"},
        {"totalizers = 1, 2, 3, 4, 5, 6, 7.555", "bad-value"},
        {"receipt_count = 40", nullptr},
        {"receipt_count = -1", "bad-value"},
        {"delay_ms = 2000", nullptr},
        {"delay_ms = -1", "bad-value"},
        {"delay_ms = 60001", "bad-value"}, // a minute at most
        {"delay_ms = 2s", "bad-value"},
        {"notice.LBDAYREP = 300", nullptr},
        {"notice.LBDAYREPP = 300", "unknown-key"},
        {"notice.LBDAYREP = 60001", "bad-value"},
        {"helper_window = LBSENDCK", nullptr},
        {"helper_window = LBSENDCKK", "bad-value"},
        {"measure_windows = Port_Open, LBDBREPRS", nullptr},
        {"measure_windows = Port_Opn", "bad-value"},
        {"replay =", "bad-value"},
        {"replay.session = 0", "bad-value"},
        {"replay.timing = 2", "bad-value"},
        {"error_box_owner = none", nullptr},
        {"error_box_owner = nobody", "bad-value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        // The line under test stands between two good ones, which still apply.
        const sim::Config config = ParseConfig(std::string("pe = 4\r\n") + c.line + "\r\nerr = 5\r\n");
        EXPECT_EQ(config.pe, 4);
        EXPECT_EQ(config.err, 5);
        if (c.reason) {
            ASSERT_EQ(config.problems.size(), 1u);
            EXPECT_EQ(config.problems[0], (ConfigProblem{2, c.line, c.reason}));
        } else {
            EXPECT_TRUE(config.problems.empty()) << config.problems[0].reason;
        }
    }
}

TEST(SimConfig, AnIgnoredLineKeepsWhatItWouldHaveSet)
{
    const sim::Config config = ParseConfig("\xEF\xBB\xBF" "online = 0\n"
                                           "online = sometimes\n"
                                           "unfilled = LBIDRQ\n"
                                           "unfilled = LBFSTRQ, nonsense\n"
                                           "goods = Mleko:B\n"
                                           "goods = Chleb:X\n"
                                           "totalizers = 1,2,3\n"
                                           "delay_ms = 250\n"
                                           "delay_ms = 0.5\n");
    EXPECT_EQ(config.online, 0) << "the earlier line's value stands";
    EXPECT_EQ(config.unfilled, (std::set<std::string, std::less<>>{"LBIDRQ"})) << "nothing of the bad list is taken";
    ASSERT_TRUE(config.goods);
    ASSERT_EQ(config.goods->size(), 1u);
    EXPECT_EQ(config.goods->front().name, "Mleko");
    EXPECT_FALSE(config.totalizers);
    EXPECT_EQ(config.delayMs, 250);
    const std::vector<int> lines = {2, 4, 6, 7, 9};
    ASSERT_EQ(config.problems.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(config.problems[i].line, lines[i]);
}

TEST(SimConfig, MessageNamesEachIgnoredLineInPolish)
{
    const std::string one = sim::ConfigProblemsText({{3, "onlin = 0", "unknown-key"}});
    EXPECT_EQ(one, "Nie można odczytać pliku qm47sim.ini:\n"
                   "wiersz 3: „onlin = 0” – nieznany klucz\n"
                   "Ten wiersz pominięto: to, co by ustawił, ma wartość domyślną.");
    const std::string two =
        sim::ConfigProblemsText({{1, "online 0", "no-equals-sign"}, {7, "goods = \xA3\xF3" "d\x9F:X", "bad-value"}});
    EXPECT_NE(two.find("wiersz 1: „online 0” – brak znaku „=”"), std::string::npos) << two;
    EXPECT_NE(two.find("wiersz 7: „goods = Łódź:X” – nieprawidłowa wartość"), std::string::npos)
        << "the line's Windows-1250 bytes are shown as letters: " << two;
    EXPECT_NE(two.find("Te wiersze pominięto"), std::string::npos) << two;
}

} // namespace
