#pragma once
// The diagnostic log a technician can send: QM47.log in the working folder,
// written only when the program was started with /log (or -log, in any
// case). One session is appended per start, in Windows-1250 text with CR LF;
// a copy that finds QM47.log held by another running copy writes QM47-2.log
// (the lowest free number) and says so at the end of its first line:
//
//     ==== QM47 1.03, 2024-05-06 14:03:12, Windows 10.0.19045 (Wine 8.0), log C:\serwis\QM47.log
//     [       0 ms] library C:\serwis\VaronelServiceLibrary.dll, file version 1.0.0.0; missing exports: none;
//                   calling convention: told by the first call with arguments        (one line)
//     [    2630 ms] Port_Open port="com1" baud=9600
//     [    2630 ms] calling convention: __stdcall (Port_Open removed 8 of its 8 bytes of arguments)
//     [    2630 ms] Port_Open result=0 (took 4 ms)
//     [    2634 ms] GetStatus_Printer
//     [    2634 ms] GetStatus_Printer onl=1 pe=0 err=0 result=0 (took 0 ms)
//     [    5120 ms] ErrorMessage text="" code=-25
//     [    8530 ms] ErrorMessage result=0 (took 3410 ms, with the library's own window)
//     [    9120 ms] message "Operacja zakończona poprawnie" caption "QM47" closed by OK
//
// A library call is written twice (app/CallText.h): before the library gets
// it, the export with everything sent; when it returns, the export with the
// fields the program goes on to read of a record the library filled, the
// result and how long it took. A call that never returns, or takes the
// program down, is thus the last line; a fault inside it is written next,
// then the box that tells the user. Every line reaches the file at once, so that a log survives a
// crash. When the file cannot be written the user is told once and the
// program goes on without a log.

#include "app/CallText.h"
#include "framework/MessageBox.h"
#include "platform/Files.h"
#include "serial/SerialLink.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm47 {

// Whether the program's arguments ask for the log: "/log" or "-log", in any case.
bool LogSwitchGiven(int argc, const char* const* argv);

// A copy of the program that finds the log held open by another writes a log
// of its own: the lowest number from 2 up whose file is free.
inline constexpr std::uint32_t kMaxLogCopies = 99;
// The log of copy `copy` (1, 2, ...): `name` itself for the first, then
// "-<copy>" before its extension, "QM47-2.log".
std::string NumberedLogName(std::string_view name, std::uint32_t copy);

// The bytes a 32-bit call's export removed from the stack, when not measured
// (64-bit and native builds have one convention only).
inline constexpr std::uint32_t kPoppedBytesUnknown = 0xFFFFFFFF;

// The calling convention a 32-bit export showed by the bytes of arguments it
// removed from the stack.
enum class CallingConvention : std::uint8_t {
    Cdecl,   // none: the caller removes them
    Stdcall, // all of them
    Neither, // some other count
};

class DiagnosticLog : public fw::ActionListener {
public:
    // A log that writes nothing until Open.
    DiagnosticLog() = default;
    ~DiagnosticLog();
    DiagnosticLog(const DiagnosticLog&) = delete;
    DiagnosticLog& operator=(const DiagnosticLog&) = delete;

    // Opens `path` for appending, or its first free numbered name when
    // another writer holds it (NumberedLogName), writes the session's first
    // line with the file's full path and hears every message box from then
    // on. Tells the user when it cannot: when the file cannot be written, or
    // when every numbered name up to kMaxLogCopies is held too.
    void Open(const char* path);
    bool Active() const { return m_file != nullptr; }

    // One line, stamped with the time since the session began. Nothing when
    // the log is not active. The serial link and the pages write through it.
    void Line(std::string_view text);

    // A library call of `exportName` about to be made, as FormatCallSent
    // writes it.
    void CallStarts(const char* exportName, const char* parameterNames, std::initializer_list<CallArgument> arguments);
    // The same call, begun at `startedMs` (platform::MonotonicMilliseconds),
    // has returned: the export's name, what FormatCallReturned writes and how long
    // it took. On 32-bit Windows `poppedBytes` of the export's
    // `argumentBytes` tell its calling convention, written when it is first
    // seen and whenever it changes. `libraryWindow`: the library showed a
    // window of its own during the call (a box the user had to answer, which
    // is why the call took as long as it did).
    void CallEnded(std::uint32_t startedMs, const char* exportName, std::int32_t returned,
                   std::initializer_list<CallArgument> arguments, FieldsRead read, std::uint32_t argumentBytes,
                   std::uint32_t poppedBytes, bool libraryWindow);
    // A structured exception with `code`, raised at `address` (inside
    // `module`, empty when not known), left the call of `exportName`.
    void Fault(const char* exportName, std::uint32_t code, const void* address, const std::string& module);
    // Which library start-up loaded (`path`, `fileVersion` if it has one,
    // the exports it lacks), or why it loaded none (`errorCode`, `errorText`).
    void Library(const std::string& path, unsigned long errorCode, const std::string& errorText,
                 const std::string& fileVersion, const std::string& missingExports);
    // A call that was not made: the library lacks the export.
    void Missing(const char* exportName);
    // The serial link's use for `bytes` (what was offered, with the zero
    // byte that ends it) on `port`: how opening ended, the bytes in hex,
    // every byte the port refused, how many it took and the pause after.
    void SerialLink(std::string_view port, std::string_view bytes, const LinkRecord& use);

    void OnMessageClosed(std::string_view text, std::string_view caption, fw::MessageAnswer answer) override;

    // What the technician did: a page opened by the main window's button
    // with `buttonText` (its "&" left out), `page "Programowanie zegara"`; a
    // push button that ran, `button "Połącz" (id 1000)`, after what its
    // dialog's input controls held then, one line each (the texts quoted as
    // the call lines quote them, the id as a number):
    //     input 1003 "com1"          an edit or combo box
    //     input 1025 2026-12-09      a date picker
    //     input 1020 on              a check box or radio button (or off)
    // a page that ended by its cancel button (or Escape), `page closed`; and
    // the main window ending by its own cancel (Koniec, Escape, the close
    // box) as the session's last line, so that a normal end can be told from
    // a crash.
    void PageOpened(std::string_view buttonText);
    void PageClosed();
    void EndOfSession();
    void OnButtonPressed(std::string_view text, int id) override;
    void OnInput(int id, const InputValue& value) override;

private:
    // Writes `line` and CR LF; on failure closes the log and tells the user once.
    void Write(std::string_view line);
    // Writes `line` after the stamp of `atMs` that Stamp put at its front.
    void WriteStamped(std::uint32_t atMs, std::string& line);
    void Close();

    platform::UniqueFile m_file;
    std::uint32_t m_startMs = 0;
    std::optional<CallingConvention> m_convention; // the one written last, none before the first
};

} // namespace qm47
