#include "sim/Library.h"

#include "sim/ErrorCodes.h"
#include "sim/Platform.h"
#include "sim/WindowCheck.h"

#include <algorithm>

namespace sim {

LibraryState::LibraryState(const Config& atLoad)
    : printer(&LocalNow, atLoad),
      replay(atLoad.replay.empty() ? nullptr : std::make_unique<AnswersFromLog>(atLoad.replay.c_str(), atLoad.replaySession))
{
}

LibraryState& TheLibrary(const Config& atLoad)
{
    static LibraryState library(atLoad);
    return library;
}

Call::Call(std::string_view exportName)
    : m_exportName(exportName),
      m_config(LoadConfig()),
      m_library(TheLibrary(m_config)),
      m_printer(m_library.printer),
      m_line(exportName)
{
    ReportConfigProblems();
    // A slow printer: the call answers only after the configured time.
    if (m_config.delayMs > 0) Pause(m_config.delayMs);
    ShowConfiguredWindows();
    if (m_config.measureWindows.contains(m_exportName)) MeasureWindowsWhenIdle(std::string(m_exportName));
    RaiseConfiguredFault();
}

void Call::ShowConfiguredWindows()
{
    if (const auto notice = m_config.notices.find(m_exportName); notice != m_config.notices.end())
        m_noticeCallerEnabled = ShowNotice(notice->second);
    void*& helper = m_library.helperWindow;
    if (helper) m_helperWindowLost = !WindowExists(helper);
    else if (m_config.helperWindowExport == m_exportName) helper = MakeHelperWindow();
    if (m_config.progressExport == m_exportName) m_progress = ShowProgress();
    void*& status = m_library.statusWindow;
    if (status) m_statusWindow = LookAtStatusWindow(status);
    else if (m_config.statusWindowExport == m_exportName) status = ShowStatusWindow();
}

void Call::RaiseConfiguredFault()
{
    const auto fault = m_config.faults.find(m_exportName);
    if (fault != m_config.faults.end()) RaiseFault(fault->second);
}

void Call::ReportConfigProblems()
{
    if (m_config.problems == m_library.reportedProblems) return;
    m_library.reportedProblems = m_config.problems;
    for (const ConfigProblem& problem : m_config.problems) {
        JournalLine line(kConfigFileName);
        line.Integer("line", problem.line);
        line.Text("text", problem.text.c_str());
        line.Value("ignored", problem.reason);
        AppendToFile(kJournalFileName, line.Line() + '\n');
    }
    if (!m_config.problems.empty() && m_config.errorBox)
        ShowErrorBox(std::string(kErrorBoxCaption), ConfigProblemsText(m_config.problems));
}

std::optional<ReplayedCall> Call::Replayed()
{
    if (!m_library.replay) return std::nullopt;
    std::string note;
    auto answer = m_library.replay->Answer(m_exportName, m_line.Line(), note);
    if (!note.empty()) AppendToFile(kJournalFileName, note + '\n');
    if (answer && answer->fault) RaiseFault({FaultSetting::Kind::Raised, *answer->fault});
    if (answer && m_config.replayTiming && !answer->libraryWindow)
        Pause(static_cast<std::int32_t>(std::min<std::uint32_t>(answer->tookMs, 0x7FFFFFFF)));
    return answer;
}

std::int32_t Call::EndReplayed(const ReplayedCall& replayed)
{
    const std::int32_t result = End(replayed.result);
    if (replayed.libraryWindow)
        ShowErrorBox(std::string(kErrorBoxCaption), std::string(kReplayedWindowText), m_config.errorBoxOwned);
    return result;
}

std::int32_t Call::End(std::int32_t result)
{
    if (m_noticeCallerEnabled) m_line.Value("notice", *m_noticeCallerEnabled ? "caller-enabled" : "caller-disabled");
    if (m_helperWindowLost) m_line.Value("helper_window", "gone");
    if (!m_progress.empty()) m_line.Value("progress", m_progress);
    if (!m_statusWindow.empty()) m_line.Value("status_window", m_statusWindow);
    if (m_layoutChecked) m_line.Value("layout", LayoutVerdict(m_layoutDifferences));
    m_line.Result(result);
    AppendToFile(kJournalFileName, m_line.Line() + '\n');
    const std::string printed = m_printer.TakePrintout();
    if (!printed.empty()) AppendToFile(kPrintoutFileName, printed);
    return result;
}

} // namespace sim
