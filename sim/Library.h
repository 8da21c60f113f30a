#pragma once
// The simulated library's side of one call: the configuration read afresh,
// the journal line, the forced result, and at the end the journal and the
// printout written to their files.

#include "sim/Config.h"
#include "sim/ErrorCodes.h"
#include "sim/Journal.h"
#include "sim/RecordFields.h"
#include "sim/VirtualPrinter.h"

#include <cstdint>
#include <string_view>

namespace sim {

// The one virtual printer of the loaded library. The exports are plain C
// functions without a context argument, so the printer lives as long as the
// library is loaded.
VirtualPrinter& ThePrinter();

class Call {
public:
    explicit Call(std::string_view exportName);

    const Config& Settings() const { return m_config; }
    VirtualPrinter& Printer() { return m_printer; }
    JournalLine& Line() { return m_line; }

    // The code `result.<EXPORT>` forces; the call then has no effect.
    std::optional<std::int32_t> Forced() const { return m_config.ForcedResult(m_exportName); }

    // Journals an input record (or `name=null`).
    template <class Record>
    void Input(std::string_view name, const Record* record)
    {
        if (record) WriteFields(m_line, *record);
        else m_line.Null(name);
    }

    // Runs `command` unless a result is forced, then ends the call.
    template <class Command>
    std::int32_t Run(Command command)
    {
        const auto forced = Forced();
        return End(forced ? *forced : command());
    }

    // A query that fills the caller's record `out` (journaled under `name`).
    // `query(record)` fills a copy; the caller's record receives it only when
    // the query answers 0 and the export is not listed in `unfilled`.
    template <class Record, class Query>
    std::int32_t RunQuery(std::string_view name, Record* out, Query query)
    {
        std::int32_t result = kMissingData;
        bool filled = false;
        if (const auto forced = Forced()) {
            result = *forced;
        } else if (out) {
            Record answer = *out;
            result = query(answer);
            if (result == 0 && !m_config.Unfilled(m_exportName)) {
                if (m_config.NullTexts(m_exportName)) ClearTexts(answer);
                *out = answer;
                filled = true;
            }
        }
        if (!out) m_line.Null(name);
        else if (filled) WriteFields(m_line, *out);
        else m_line.Word("unfilled");
        return End(result);
    }

    // Writes the journal line with its result, and anything printed.
    std::int32_t End(std::int32_t result);

private:
    std::string_view m_exportName;
    Config m_config;
    VirtualPrinter& m_printer;
    JournalLine m_line;
};

} // namespace sim
