#pragma once
// The simulated printer answering as a technician's printer did, from the
// diagnostic log QM47 wrote there (`replay = <path>` in qm47sim.ini). The log
// is read once, at the library's first call. Each call is matched with the
// log's next call: when the export and every field sent agree, it gets the
// logged result and the logged fields as left (a logged fault is raised with
// the logged code). At the first call that disagrees, or one the log does
// not have, the journal gets the log's line, the logged call and the call
// received, and from then on the printer answers as it does without a log.

#include "sim/ReplayLog.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// What a replayed call answers.
struct ReplayedCall {
    std::int32_t result = 0;
    std::vector<replay::Field> fields; // of the record the library fills, as left
    bool libraryWindow = false;        // the library showed a window of its own
    std::uint32_t tookMs = 0;
    std::optional<std::uint32_t> fault; // raised with this code instead of returning
};

class AnswersFromLog {
public:
    // Session `session` (0: the last) of the log at `path`.
    AnswersFromLog(const char* path, int session);
    AnswersFromLog(const AnswersFromLog&) = delete;
    AnswersFromLog& operator=(const AnswersFromLog&) = delete;

    // The answer to a call whose journal line so far (the export and every
    // field sent) is `sent`, or nullopt when the log gives none: then
    // `journal` holds a line for the journal when the replay stops here
    // (the first difference, the log's end, a log that cannot be read).
    std::optional<ReplayedCall> Answer(std::string_view exportName, std::string_view sent, std::string& journal);

    // Keeps a text that a call of `exportName` hands out, until that
    // export's next call (as the library's own texts live).
    const char* Keep(std::string_view exportName, std::string text);

private:
    struct LoggedCall {
        const replay::LogLine* sent;
        const replay::LogLine* end; // its result or fault; null where the log ends first
    };

    replay::Session m_session;
    std::string m_problem; // why the log cannot be replayed, or empty
    int m_problemLine = 0;
    std::vector<LoggedCall> m_calls;
    std::size_t m_next = 0;
    bool m_stopped = false;
    std::map<std::string, std::deque<std::string>, std::less<>> m_texts;
};

} // namespace sim
