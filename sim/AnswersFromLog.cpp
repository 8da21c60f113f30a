#include "sim/AnswersFromLog.h"

#include "sim/Journal.h"

#include <cstdio>
#include <memory>

namespace sim {

namespace {

std::string ReadFile(const char* path)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path, "rb"), &std::fclose);
    if (!file) return {};
    std::string bytes;
    char buffer[65536];
    while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, file.get())) bytes.append(buffer, read);
    return bytes;
}

} // namespace

AnswersFromLog::AnswersFromLog(const char* path, int session)
{
    const replay::Log log = replay::ReadLog(ReadFile(path));
    replay::Problem why = log.problem.value_or(replay::Problem{});
    const replay::Session* found = log.problem ? nullptr : replay::FindSession(log, session, why);
    if (!found) {
        m_problem = why.text;
        m_problemLine = why.line;
        return;
    }
    m_session = *found;
    for (const replay::LogLine& line : m_session.lines) {
        if (line.kind == replay::Kind::CallSent) m_calls.push_back({&line, nullptr});
        else if (line.kind == replay::Kind::CallReturned || line.kind == replay::Kind::Fault) m_calls.back().end = &line;
    }
}

std::optional<ReplayedCall> AnswersFromLog::Answer(std::string_view exportName, std::string_view sent, std::string& journal)
{
    m_texts.erase(std::string(exportName));
    if (m_stopped) return std::nullopt;
    m_stopped = true;
    JournalLine note("replay");
    if (!m_problem.empty()) {
        note.Word("unreadable");
        note.Integer("line", m_problemLine);
        note.Text("problem", m_problem.c_str());
        journal = note.Line();
        return std::nullopt;
    }
    if (m_next == m_calls.size()) {
        note.Word("differs");
        note.Integer("line", m_session.lines.empty() ? m_session.firstLine : m_session.lines.back().number);
        note.Null("logged");
        note.Text("got", std::string(sent).c_str());
        journal = note.Line();
        return std::nullopt;
    }
    const LoggedCall& call = m_calls[m_next];
    if (call.sent->body != sent) {
        note.Word("differs");
        note.Integer("line", call.sent->number);
        note.Text("logged", call.sent->body.c_str());
        note.Text("got", std::string(sent).c_str());
        journal = note.Line();
        return std::nullopt;
    }
    if (!call.end) {
        note.Word("unfinished");
        note.Integer("line", call.sent->number);
        note.Text("logged", call.sent->body.c_str());
        journal = note.Line();
        return std::nullopt;
    }
    ++m_next;
    m_stopped = false;
    if (call.end->kind == replay::Kind::Fault) return ReplayedCall{.fault = call.end->code};
    return ReplayedCall{call.end->result, call.end->fields, call.end->libraryWindow, call.end->tookMs, std::nullopt};
}

const char* AnswersFromLog::Keep(std::string_view exportName, std::string text)
{
    auto found = m_texts.find(exportName);
    if (found == m_texts.end()) found = m_texts.emplace(std::string(exportName), std::deque<std::string>()).first;
    return found->second.emplace_back(std::move(text)).c_str();
}

} // namespace sim
