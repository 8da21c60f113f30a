// The version shown to the technician comes from the one project version.

#include "res/Dialogs.h"
#include "res/Version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(VersionTest, TextIsMajorDotTwoDigitMinorLikeTheResourceNumbers)
{
    // FILEVERSION QM47_VERSION_MAJOR, QM47_VERSION_MINOR must read as the text does.
    static_assert(QM47_VERSION_MINOR >= 0 && QM47_VERSION_MINOR <= 99);
    const std::string minor = std::to_string(QM47_VERSION_MINOR);
    EXPECT_EQ(std::string(QM47_VERSION_TEXT),
              std::to_string(QM47_VERSION_MAJOR) + (minor.size() == 1 ? ".0" : ".") + minor);
}

TEST(VersionTest, AboutBoxShowsTheVersion)
{
    const std::string expected = std::string("Program serwisowy TALMIR v ") + QM47_VERSION_TEXT;
    const auto& controls = qm47::res::kAboutDialog.controls;
    const auto shown = std::count_if(controls.begin(), controls.end(), [&](const fw::ControlTemplate& control) {
        return control.kind == fw::ControlKind::Static && control.text && control.text == expected;
    });
    EXPECT_EQ(shown, 1) << "no static text \"" << expected << "\" in the about box";
}

} // namespace
