// Used by scripts/demo.sh on a display of its own: waits for QM47.exe's main
// window, presses "Połąc&z" as a user would, waits until the status panel
// shows the printer, has the window repainted and prints its place on the
// screen as "x y width height". Exit code 0 when the panel filled, 1 if not.
// Given a page's name as its argument (clock, rates, ...), it then opens that
// page too; an unknown name lists the names and exits with 2.
//
// It waits as long as the demo waits for the window, and says as often that
// it still waits: QM47_DEMO_WINDOW_SECONDS (default 300) and
// QM47_DEMO_PROGRESS_SECONDS (default 15). A printer, or a machine, that
// answers slowly is not a failure of the demo.

#include "res/ControlLists.h"
#include "tools/drive/Drive.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>

namespace {

using namespace qm47::drive;

// The button that opens the named page, or 0 for a name no page has.
int PageButton(std::string_view name)
{
    for (const qm47::res::PageButton& page : qm47::res::kMainPageButtons)
        if (page.name == name) return page.id;
    return 0;
}

// One of the demo's limits, in seconds: the variable's value, or the default.
std::chrono::seconds Setting(const char* name, int seconds)
{
    const char* value = std::getenv(name);
    const int given = value ? std::atoi(value) : 0;
    return std::chrono::seconds(given > 0 ? given : seconds);
}

// Polls `condition` by the clock for at most the demo's limit, saying at
// every multiple of the progress step that it still waits for `what`. A note
// names the step it marks, not the moment it is printed: a poll waits for the
// program's answer, and the program answers only between its library calls,
// so a note may come a call's length after its mark.
bool WaitSaying(const char* what, const std::function<bool()>& condition)
{
    using Clock = std::chrono::steady_clock;
    const auto progress = Setting("QM47_DEMO_PROGRESS_SECONDS", 15);
    const Clock::time_point started = Clock::now();
    auto nextMark = progress;
    return WaitUntil(
        [&] {
            if (condition()) return true;
            for (; Clock::now() - started >= nextMark; nextMark += progress)
                std::fprintf(stderr, "demo: waiting for %s (%lld s)...\n", what,
                             static_cast<long long>(nextMark.count()));
            return false;
        },
        Setting("QM47_DEMO_WINDOW_SECONDS", 300));
}

void Repaint(const Window& window)
{
    RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

} // namespace

int main(int argc, char** argv)
{
    int pageButton = 0;
    if (argc > 1 && (pageButton = PageButton(argv[1])) == 0) {
        std::fprintf(stderr, "demo: no page is called \"%s\"; the pages are:", argv[1]);
        for (const qm47::res::PageButton& page : qm47::res::kMainPageButtons)
            std::fprintf(stderr, " %s", page.name);
        std::fputs("\n", stderr);
        return 2;
    }
    try {
        const Program program(Setting("QM47_DEMO_WINDOW_SECONDS", 300));
        const Window main = program.MainWindow();
        main.Item(IDC_MAIN_CONNECT).Click();
        std::optional<MessageBoxWindow> box;
        const bool filled = WaitSaying("the printer's answer", [&] {
            if (const auto boxes = program.MessageBoxes(); !boxes.empty()) return (box = boxes.front()).has_value();
            return !main.Item(IDC_MAIN_DEVICE_NAME).Text().empty() && main.Item(IDC_MAIN_DISCONNECT).Enabled();
        });
        if (box) throw Failure("the program says: " + box->Message());
        if (!filled) throw Failure("the status panel did not fill");
        std::fprintf(stderr, "demo: connected to %s\n", main.Item(IDC_MAIN_DEVICE_NAME).Text().c_str());

        if (pageButton != 0) {
            main.Item(pageButton).Click();
            Window page;
            WaitSaying("the page", [&] { return static_cast<bool>(page = program.WaitForPage(0ms)); });
            if (!page) throw Failure("the page did not open");
            Repaint(page);
        }
        Repaint(main);
        RECT place{};
        GetWindowRect(main.Handle(), &place);
        std::printf("%ld %ld %ld %ld\n", place.left, place.top, place.right - place.left, place.bottom - place.top);
        return 0;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "demo: %s\n", failure.what());
        return 1;
    }
}
