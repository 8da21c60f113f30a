#include "framework/testing/TestBackend.h"

#include "framework/LibraryCallGuard.h"
#include "framework/MessageBox.h"
#include "platform/Time.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace fw {

namespace {
std::string Lower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}
} // namespace

int RunModal(CDialog& dialog)
{
    auto& ui = testing::TestUi::Current();
    testing::TestWindow window(dialog, dialog.Template());
    window.Initialise();
    if (!window.Ended() && ui.onModal) ui.onModal(window);
    if (!window.Ended()) dialog.HandleCommand(kIdCancel, kNotifyClicked);
    window.Destroy();
    if (!ui.running.empty()) ui.running.back()->Reactivate();
    return window.Result();
}

MessageAnswer ShowMessage(const CDialog* owner, std::string_view text, const char* caption, MessageOptions options)
{
    auto& ui = testing::TestUi::Current();
    testing::ShownMessage shown{std::string(text), caption ? std::string(caption) : std::string(ApplicationName()),
                                options.icon, options.buttons, owner, options.defaultAnswer};
    ui.messages.push_back(shown);
    if (ui.onMessage) ui.onMessage(shown);
    MessageAnswer answer = MessageAnswer::Ok;
    if (options.buttons != MessageButtons::Ok) {
        if (ui.answers.empty())
            throw std::runtime_error("a Yes/No box was shown with no scripted answer: " + shown.text);
        answer = ui.answers.front();
        ui.answers.pop_front();
    }
    detail::NotifyMessageClosed(shown.text, shown.caption, answer);
    return answer;
}

const CDialog* InnermostDialog()
{
    const auto& running = testing::TestUi::Current().running;
    return running.empty() ? nullptr : &running.back()->Dialog();
}

const CDialog* InnermostVisibleDialog()
{
    const auto& running = testing::TestUi::Current().running;
    for (auto window = running.rbegin(); window != running.rend(); ++window)
        if ((*window)->WasShown()) return &(*window)->Dialog();
    return nullptr;
}

std::string_view ApplicationName()
{
    return "QM47";
}

WaitCursor::WaitCursor()
{
    if (auto* ui = testing::TestUi::Installed()) {
        ++ui->waitCursorDepth;
        ++ui->waitCursorsShown;
    }
}

WaitCursor::~WaitCursor()
{
    if (auto* ui = testing::TestUi::Installed()) --ui->waitCursorDepth;
}

// No windows to disable here: a call only learns whether the fake library
// said it showed a window of its own, and commands are dropped meanwhile.
struct LibraryCallGuard::State {};

LibraryCallGuard::LibraryCallGuard()
{
    auto* ui = testing::TestUi::Installed();
    if (!ui) return;
    ui->libraryWindowShown = false;
    ++ui->runningCalls;
}

LibraryCallGuard::~LibraryCallGuard()
{
    if (auto* ui = testing::TestUi::Installed()) --ui->runningCalls;
}

bool LibraryCallGuard::Running()
{
    const auto* ui = testing::TestUi::Installed();
    return ui && ui->runningCalls > 0;
}

bool LibraryCallGuard::LibraryShowedWindow() const
{
    const auto* ui = testing::TestUi::Installed();
    return ui && ui->libraryWindowShown;
}

void InitDialogSupport() {}

namespace testing {

TestWindow::TestWindow(CDialog& dialog, const DialogTemplate& dialogTemplate)
    : m_dialog(dialog), m_template(dialogTemplate)
{
    const platform::LocalTime now = platform::Now();
    for (const ControlTemplate& source : dialogTemplate.controls) {
        VirtualControl control;
        control.source = source;
        control.text = source.text ? source.text : "";
        control.enabled = (source.style & kDisabled) == 0;
        control.items.assign(source.items.begin(), source.items.end());
        // A sorted list box orders its entries with letter case ignored, as Windows does.
        if (source.style & kSorted)
            std::stable_sort(control.items.begin(), control.items.end(),
                             [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
        control.date = {now.year, now.month, now.day};
        if (source.kind == ControlKind::Edit || source.kind == ControlKind::ComboBox) control.text.clear();
        m_controls.push_back(std::move(control));
    }
}

TestWindow::~TestWindow()
{
    Destroy();
}

std::unique_ptr<TestWindow> TestWindow::Open(CDialog& dialog)
{
    auto window = std::make_unique<TestWindow>(dialog, dialog.Template());
    window->Initialise();
    return window;
}

void TestWindow::Initialise()
{
    auto& running = TestUi::Current().running;
    running.push_back(this);
    m_initialising = true;
    const bool focusFirst = m_dialog.HandleInitDialog(*this);
    m_initialising = false;
    if (focusFirst && m_focusId == 0) m_focusId = FirstTabStop();
    m_shown = !m_ended;
}

int TestWindow::FirstTabStop() const
{
    for (const VirtualControl& control : m_controls)
        if ((control.source.style & kTabStop) && control.enabled) return control.source.id;
    return 0;
}

void TestWindow::Reactivate()
{
    const VirtualControl* focused = Find(m_focusId);
    if (!focused || !focused->enabled) m_focusId = FirstTabStop();
}

void TestWindow::Destroy()
{
    if (m_destroyed) return;
    m_destroyed = true;
    m_dialog.HandleDestroy();
    if (auto* ui = TestUi::Installed()) std::erase(ui->running, this);
}

VirtualControl* TestWindow::Find(int id)
{
    for (VirtualControl& control : m_controls)
        if (control.source.id == id && id != kNoId) return &control;
    return nullptr;
}

const VirtualControl* TestWindow::Find(int id) const
{
    return const_cast<TestWindow*>(this)->Find(id);
}

VirtualControl& TestWindow::Get(int id)
{
    VirtualControl* control = Find(id);
    if (!control) throw std::out_of_range("dialog " + std::to_string(m_template.id) + " has no control " + std::to_string(id));
    return *control;
}

const VirtualControl& TestWindow::Control(int id) const
{
    return const_cast<TestWindow*>(this)->Get(id);
}

bool TestWindow::Click(int id)
{
    VirtualControl* control = Find(id);
    if (!control || !control->enabled || m_ended) return false;
    switch (control->source.kind) {
    case ControlKind::CheckBox:
        control->check = control->check ? 0 : 1;
        break;
    case ControlKind::RadioButton: {
        // Clear the other radio buttons of its group (delimited by group starts).
        auto self = m_controls.begin() + (control - m_controls.data());
        auto first = self;
        while (first != m_controls.begin() && !(first->source.style & kGroup)) --first;
        auto last = self + 1;
        while (last != m_controls.end() && !(last->source.style & kGroup)) ++last;
        for (auto it = first; it != last; ++it)
            if (it->source.kind == ControlKind::RadioButton) it->check = 0;
        control->check = 1;
        break;
    }
    case ControlKind::PushButton:
        break;
    default:
        return false;
    }
    m_focusId = id;
    m_dialog.HandleCommand(id, kNotifyClicked);
    return true;
}

void TestWindow::PressEnter()
{
    if (m_ended) return;
    const VirtualControl* focused = Find(m_focusId);
    const bool onButton = focused && focused->enabled && focused->source.kind == ControlKind::PushButton;
    m_dialog.HandleCommand(onButton ? m_focusId : kIdOk, kNotifyClicked);
}

bool TestWindow::Type(int id, std::string_view chars)
{
    VirtualControl* control = Find(id);
    if (!control || !control->enabled || m_ended) return false;
    const ControlKind kind = control->source.kind;
    if (kind == ControlKind::PushButton || kind == ControlKind::CheckBox || kind == ControlKind::RadioButton) {
        m_focusId = id;
        return true;
    }
    if (kind != ControlKind::Edit && kind != ControlKind::ComboBox) return false;
    m_focusId = id;
    for (char c : chars) {
        control = &Get(id); // a handler may have changed the controls
        if (control->limit > 0 && control->text.size() >= static_cast<std::size_t>(control->limit)) continue;
        control->text.push_back(c);
        if (control->source.kind == ControlKind::Edit) m_dialog.HandleCommand(id, kNotifyEditChange);
    }
    return true;
}

bool TestWindow::Replace(int id, std::string_view text)
{
    VirtualControl* control = Find(id);
    if (!control || !control->enabled || m_ended) return false;
    SetText(id, text);
    return true;
}

bool TestWindow::SysCommand(int command)
{
    if (m_ended) return false;
    return m_dialog.HandleSysCommand(command);
}

bool TestWindow::PickDate(int id, const Date& date)
{
    VirtualControl* control = Find(id);
    if (!control || !control->enabled || m_ended || control->source.kind != ControlKind::DatePicker) return false;
    const auto key = [](const Date& d) { return d.year * 10000 + d.month * 100 + d.day; };
    if (key(date) < key(control->firstDate) || key(date) > key(control->lastDate)) return false;
    control->date = date;
    return true;
}

std::string TestWindow::GetText(int id) const
{
    return Control(id).text;
}

void TestWindow::SetText(int id, std::string_view text)
{
    VirtualControl& control = Get(id);
    control.text = std::string(text);
    if (control.source.kind == ControlKind::Edit) m_dialog.HandleCommand(id, kNotifyEditChange);
}

int TestWindow::GetCheck(int id) const
{
    return Control(id).check;
}

void TestWindow::SetCheck(int id, int state)
{
    Get(id).check = state;
}

void TestWindow::Enable(int id, bool enabled)
{
    Get(id).enabled = enabled;
    // A disabled control cannot keep the focus.
    if (!enabled && id == m_focusId) m_focusId = 0;
}

bool TestWindow::IsEnabled(int id) const
{
    return Control(id).enabled;
}

void TestWindow::LimitText(int id, int chars)
{
    Get(id).limit = chars;
}

void TestWindow::SetFocus(int id)
{
    Get(id);
    m_focusId = id;
}

void TestWindow::SelectAll(int id)
{
    Get(id);
    m_selectionOf = id;
}

bool TestWindow::SelectComboEntry(int id, std::string_view prefix)
{
    VirtualControl& control = Get(id);
    const std::string wanted = Lower(prefix);
    for (const std::string& item : control.items)
        if (Lower(item).starts_with(wanted)) {
            control.text = item;
            return true;
        }
    return false;
}

Date TestWindow::GetDate(int id) const
{
    return Control(id).date;
}

void TestWindow::SetDate(int id, const Date& date)
{
    Get(id).date = date;
}

void TestWindow::SetDateRange(int id, const Date& first, const Date& last)
{
    VirtualControl& control = Get(id);
    control.firstDate = first;
    control.lastDate = last;
}

void TestWindow::End(int result)
{
    if (m_ended) return;
    m_ended = true;
    m_result = result;
}

void TestWindow::SetIcon(int iconResource)
{
    m_icon = iconResource;
}

void TestWindow::AppendSystemMenuItem(int command, std::string_view text)
{
    m_systemMenu.emplace_back(command, std::string(text));
}

} // namespace testing
} // namespace fw
