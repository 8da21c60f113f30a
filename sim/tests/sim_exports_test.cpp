// The libraries export exactly the names their export lists give, and the
// lists name what each library is meant to lack.

#include "SimHarness.h"
#include "tests/unit/ExportNames.h"

#include <algorithm>
#include <set>

namespace simtest {
namespace {

using Names = std::set<std::string>;

Names AllExports()
{
    return Names(qm47::testing::kExportNames.begin(), qm47::testing::kExportNames.end());
}

Names Without(Names names, std::initializer_list<const char*> left_out)
{
    for (const char* name : left_out) names.erase(name);
    return names;
}

// The names of a .def file (after EXPORTS) or of a version script's global
// section.
Names ListedNames(const fs::path& file)
{
    Names names;
    bool inList = false;
    for (std::string line : SplitLines(ReadFile(file))) {
        line.erase(0, line.find_first_not_of(" \t"));
        if (!line.empty() && line.back() == ';') line.pop_back();
        if (line == "EXPORTS" || line == "global:") inList = true;
        else if (line == "local:") inList = false;
        else if (inList && !line.empty()) names.insert(line);
    }
    return names;
}

Names DefinedExports(const fs::path& library)
{
    LoadedLibrary loaded(library);
    Names names;
    for (const char* name : qm47::testing::kExportNames)
        if (loaded.Symbol(name)) names.insert(name);
    return names;
}

TEST(SimExports, ExportListsNameWhatEachLibraryHas)
{
    const fs::path folder = QM47_SIM_EXPORTS_DIR;
    const struct {
        const char* file;
        Names expected;
    } cases[] = {
        {"VaronelServiceLibrary.def", AllExports()},
        {"without-LBFSTRQ24.def", Without(AllExports(), {"LBFSTRQ24"})},
        {"sparse.def", Without(AllExports(), {"LBSETCK", "ErrorMessage", "GetStatus_CashRegister"})},
        {"qm47sim.map", AllExports()},
        {"without-LBFSTRQ24.map", Without(AllExports(), {"LBFSTRQ24"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(ListedNames(folder / c.file), c.expected);
    }
    EXPECT_EQ(AllExports().size(), 27u);
}

TEST(SimExports, BuiltLibrariesExportTheirLists)
{
    EXPECT_EQ(DefinedExports(QM47_SIM_PATH), AllExports());
    EXPECT_EQ(DefinedExports(QM47_SIM_WITHOUT_LBFSTRQ24_PATH), Without(AllExports(), {"LBFSTRQ24"}));
}

TEST(SimExports, NothingButTheExportsIsVisible)
{
    LoadedLibrary loaded(QM47_SIM_PATH);
    EXPECT_EQ(loaded.Symbol("_ZN3sim10ThePrinterEv"), nullptr); // sim::ThePrinter()
}

} // namespace
} // namespace simtest
