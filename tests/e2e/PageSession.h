#pragma once
// Pages driven from outside: connect to the simulated printer, open a page
// from its main-window button, act on its controls, and set or read the date
// pickers, whose messages carry pointers into the program's own memory.

#include "tests/e2e/Session.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qm47::e2e::pages {

using drive::kPickerReplyMs;
using drive::RemoteBuffer;

// Connects to the answering simulated printer; fails the test (fatally)
// when the main window does not end up connected.
inline void ConnectOnline(Session& session)
{
    session.Click(main_window::kConnect);
    const auto boxes = session.run.MessageBoxes();
    ASSERT_TRUE(boxes.empty()) << Describe(boxes);
    ASSERT_TRUE(session.main.Item(main_window::kDisconnect).Enabled()) << "not connected";
}

// Presses a page button and waits for the page; an empty Window when none appears.
inline Window OpenPage(Session& session, int button)
{
    session.Click(button);
    return session.run.WaitForPage();
}

// How most page tests start: a session connected to the answering simulated
// printer (set up by `simConfig`, on `port` when one is given) with the page
// of `pageButton` open. Throws when the program does not connect or the page
// does not appear.
class PageSession : public Session {
public:
    explicit PageSession(int pageButton, std::string_view simConfig = {}, const std::string& port = {})
        : Session(Library::Full, simConfig)
    {
        if (!port.empty()) main.Item(main_window::kPort).SetText(port);
        Click(main_window::kConnect);
        if (const auto boxes = run.MessageBoxes(); !boxes.empty() || !main.Item(main_window::kDisconnect).Enabled())
            throw std::runtime_error("not connected; " + Describe(boxes));
        connected = JournalSize();
        page = OpenPage(*this, pageButton);
        if (!page) throw std::runtime_error("the page did not open; " + Describe(run.MessageBoxes()));
        opened = JournalSize();
    }

    std::size_t connected = 0; // the journal's length before the page opened
    std::size_t opened = 0;    // and once it was open
    Window page;
};

// A page's name from the page table, as a template argument.
template <std::size_t N>
struct PageName {
    consteval PageName(const char (&name)[N]) { std::copy_n(name, N, text); }
    char text[N];
};

// How a page's tests start, as a fixture: a PageSession with the page of the
// page table called `name` open.
template <PageName name>
class OnPage : public ::testing::Test {
protected:
    PageSession session{main_window::Page(name.text)};
    const Window page = session.page;
};

// Clicks a page control and waits until the program has handled the click
// (or shows a box that the click raised).
inline void ClickAndSettle(const Session& session, const Window& page, int id)
{
    session.run.Click(page, id);
}

// Sets a date picker's date (at `hour` o'clock) as a user's pick would;
// false when the picker refused it or did not answer.
inline bool SetPickerDate(const ProgramRun& run, const Window& picker, WORD year, WORD month, WORD day,
                          WORD hour = 0)
{
    return drive::SetPickerDate(run.ProcessId(), picker, year, month, day, hour);
}

// The date a picker shows, as y-m-d; nullopt when it could not be read.
inline std::optional<SYSTEMTIME> PickerDate(const ProgramRun& run, const Window& picker)
{
    RemoteBuffer buffer(run.ProcessId(), sizeof(SYSTEMTIME));
    DWORD_PTR state = 0;
    SYSTEMTIME date{};
    if (!buffer.Valid() ||
        !SendMessageTimeoutW(picker.Handle(), DTM_GETSYSTEMTIME, 0, buffer.Address(), SMTO_NORMAL, kPickerReplyMs,
                             &state) ||
        state != GDT_VALID || !buffer.Read(&date, sizeof date))
        return std::nullopt;
    return date;
}

// The first and last date a picker offers, as "yyyy-mm-dd/yyyy-mm-dd"
// (an open end shows as "none").
inline std::string PickerRange(const ProgramRun& run, const Window& picker)
{
    RemoteBuffer buffer(run.ProcessId(), 2 * sizeof(SYSTEMTIME));
    SYSTEMTIME range[2] = {};
    if (!buffer.Valid() || !buffer.Write(range, sizeof range)) return "<no memory>";
    DWORD_PTR flags = 0;
    if (!SendMessageTimeoutW(picker.Handle(), DTM_GETRANGE, 0, buffer.Address(), SMTO_NORMAL, kPickerReplyMs,
                             &flags) ||
        !buffer.Read(range, sizeof range))
        return "<no answer>";
    const auto text = [](bool set, const SYSTEMTIME& d) {
        if (!set) return std::string("none");
        char out[16];
        std::snprintf(out, sizeof out, "%04u-%02u-%02u", d.wYear, d.wMonth, d.wDay);
        return std::string(out);
    };
    return text(flags & GDTR_MIN, range[0]) + "/" + text(flags & GDTR_MAX, range[1]);
}

} // namespace qm47::e2e::pages
