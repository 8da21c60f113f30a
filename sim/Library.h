#pragma once
// The simulated library's side of one call: the configuration read afresh,
// the journal line, the forced result or the answer from a replayed log, and
// at the end the journal and the printout written to their files.

#include "sim/Config.h"
#include "sim/ErrorCodes.h"
#include "sim/Journal.h"
#include "sim/RecordFields.h"
#include "sim/RecordLayout.h"
#include "sim/AnswersFromLog.h"
#include "sim/VirtualPrinter.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// What the loaded library keeps between calls: its one virtual printer and
// the ignored lines of qm47sim.ini it reported last. The exports are plain C
// functions without a context argument, so this lives as long as the library
// is loaded; it is made at the first call, the printer's state at load and
// the log it replays (if any) taken from that call's configuration.
struct LibraryState {
    explicit LibraryState(const Config& atLoad);

    VirtualPrinter printer;
    std::vector<ConfigProblem> reportedProblems;
    void* helperWindow = nullptr; // helper_window: made at that export's first call
    void* statusWindow = nullptr; // status_window: shown at that export's first call
    std::unique_ptr<AnswersFromLog> replay;
};
LibraryState& TheLibrary(const Config& atLoad);

class Call {
public:
    explicit Call(std::string_view exportName);

    const Config& Settings() const { return m_config; }
    VirtualPrinter& Printer() { return m_printer; }
    JournalLine& Line() { return m_line; }

    // The code `result.<EXPORT>` forces, or the failure of a library whose
    // helper window is gone; the call then has no effect.
    std::optional<std::int32_t> Forced() const
    {
        if (m_helperWindowLost) return kHelperWindowLost;
        return m_config.ForcedResult(m_exportName);
    }

    // Journals an input record (or `name=null`) and checks its layout.
    template <class Record>
    void Input(std::string_view name, const Record* record)
    {
        if (record) {
            WriteFields(m_line, *record);
            CheckRecordLayout(*record);
        } else {
            m_line.Null(name);
        }
    }

    // Runs `command` unless a result is forced or the input record's layout
    // is wrong, then ends the call.
    template <class Command>
    std::int32_t Run(Command command)
    {
        if (const auto replayed = Replayed()) return EndReplayed(*replayed);
        const auto forced = Forced();
        if (forced) return End(*forced);
        return End(LayoutIsBad() ? kLayoutMismatch : command());
    }

    // A query that fills the caller's record `out` (journaled under `name`).
    // `query(record)` fills a copy; the caller's record receives it only when
    // the query answers 0 and the export is not listed in `unfilled`.
    template <class Record, class Query>
    std::int32_t RunQuery(std::string_view name, Record* out, Query query)
    {
        std::int32_t result = kMissingData;
        bool filled = false;
        if (!out) m_line.Null(name);
        if (const auto replayed = Replayed()) {
            for (const replay::Field& field : out ? replayed->fields : std::vector<replay::Field>{})
                filled = SetField(*out, field.name, field.value, [&](std::string text) {
                    return m_library.replay->Keep(m_exportName, std::move(text));
                }) || filled;
            if (filled) WriteFields(m_line, *out);
            else if (out) m_line.Word("unfilled");
            return EndReplayed(*replayed);
        }
        // The record as the caller passed it, then as it would go back: the
        // answer's values tell misplaced fields apart better than presets.
        if (out) CheckRecordLayout(*out);
        if (const auto forced = Forced()) {
            result = *forced;
        } else if (out) {
            Record answer = *out;
            result = LayoutIsBad() ? kLayoutMismatch : query(answer);
            if (result == 0) {
                CheckRecordLayout(answer);
                if (LayoutIsBad()) result = kLayoutMismatch;
            }
            if (result == 0 && !m_config.Unfilled(m_exportName)) {
                if (m_config.NullTexts(m_exportName)) ClearTexts(answer);
                *out = answer;
                filled = true;
            }
        }
        if (filled) WriteFields(m_line, *out);
        else if (out) m_line.Word("unfilled");
        return End(result);
    }

    // Writes the journal line with its result, and anything printed.
    std::int32_t End(std::int32_t result);

    // Where a log is replayed: its answer to this call, the journal line so
    // far being what was sent. Raises a logged fault, and takes as long as
    // the logged call with replay.timing. Nullopt: answer as without a log.
    std::optional<ReplayedCall> Replayed();
    // Ends a replayed call; a call during which the library showed a window
    // of its own shows a box of the simulated printer's own once journaled.
    std::int32_t EndReplayed(const ReplayedCall& replayed);

private:
    // Journals the ignored lines of the configuration, one journal line
    // each, and shows them in a message box (with error_box = 1), when they
    // differ from those reported last: a broken file is reported once, not
    // at every call.
    void ReportConfigProblems();
    // Raises the exception `fault.<EXPORT>` asks for, if any.
    void RaiseConfiguredFault();
    // The library's own windows: the notice `notice.<EXPORT>` asks for, the
    // hidden helper window that `helper_window` makes and later calls use,
    // the progress window of `progress` and the status window of
    // `status_window`.
    void ShowConfiguredWindows();

    // Where pointers are 32 bits: compares the record's bytes with the
    // documented layout (RecordLayout.h); End journals the verdict.
    template <class Record>
    void CheckRecordLayout(const Record& record)
    {
        if constexpr (kChecksRecordLayouts) {
            m_layoutChecked = true;
            m_layoutDifferences = CheckLayout(record);
        }
    }
    bool LayoutIsBad() const { return !m_layoutDifferences.empty(); }

    std::string_view m_exportName;
    Config m_config;
    LibraryState& m_library;
    VirtualPrinter& m_printer;
    JournalLine m_line;
    bool m_layoutChecked = false;
    bool m_helperWindowLost = false;
    std::optional<bool> m_noticeCallerEnabled;
    std::string m_progress;     // progress: the caller's state at each moment
    std::string m_statusWindow; // status_window: its state, from the second call on
    std::vector<std::string> m_layoutDifferences;
};

} // namespace sim
