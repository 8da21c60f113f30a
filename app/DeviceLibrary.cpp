#include "app/DeviceLibrary.h"

#include "app/CallText.h"
#include "app/DiagnosticLog.h"
#include "framework/LibraryCallGuard.h"
#include "framework/MessageBox.h"
#include "platform/System.h"
#include "platform/Time.h"
#include "res/Texts.h"

#include <iterator>

namespace qm47 {

namespace {

// The bytes of arguments a 32-bit call pushes: four per parameter.
template <class... Params>
constexpr std::uint32_t ArgumentBytes(std::int32_t (*)(Params...))
{
    return static_cast<std::uint32_t>(4 * sizeof...(Params));
}

} // namespace

LibraryResult DeviceLibrary::NotCalled(const char* exportName) const
{
    if (m_log) m_log->Missing(exportName);
    return {exportName, true, 0};
}

// Each typed call: an empty slot answers `missing` without calling; a call
// shows the wait cursor while it blocks the window, and no input or command
// reaches the program's windows until it returns (LibraryCallGuard). The call
// is written to the log before the library gets it, so that a call that never
// returns is the log's last line; it is timed and tells its convention in
// every run, so that one path serves with and without the log. A fault inside
// the export ends the program, told once the guard has let the program's
// windows go, so that its box is the program's own.
#define QM47_DEFINE_CALL(name, params, args)                                                           \
    LibraryResult DeviceLibrary::name(QM47_UNPARENTHESIZE params QM47_TRAILING_COMMA params FieldsRead read) const \
    {                                                                                                  \
        if (!m_##name) return NotCalled(#name);                                                        \
        std::uint32_t started = 0;                                                                     \
        std::uint32_t popped = kPoppedBytesUnknown;                                                    \
        LibraryFault fault;                                                                            \
        std::int32_t returned = 0;                                                                     \
        bool libraryWindow = false;                                                                    \
        {                                                                                              \
            fw::WaitCursor busy;                                                                       \
            const fw::LibraryCallGuard guard;                                                          \
            if (m_log) m_log->CallStarts(#name, #args, {QM47_UNPARENTHESIZE args});                      \
            started = platform::MonotonicMilliseconds();                                               \
            returned = LibraryCall(m_##name, fault, &popped) args;                                     \
            libraryWindow = guard.LibraryShowedWindow();                                               \
        }                                                                                              \
        if (fault.raised) EndAfterFault(#name, fault);                                                 \
        if (m_log)                                                                                     \
            m_log->CallEnded(started, #name, returned, {QM47_UNPARENTHESIZE args}, read, ArgumentBytes(m_##name), \
                             popped, libraryWindow);                                                   \
        return {#name, false, returned};                                                               \
    }
#define QM47_NO_CALL(name)
QM47_DEVICE_LIBRARY_EXPORTS(QM47_DEFINE_CALL, QM47_NO_CALL)
#undef QM47_DEFINE_CALL
#undef QM47_NO_CALL

void DeviceLibrary::EndAfterFault(const char* exportName, const LibraryFault& fault) const
{
    std::string code;
    AppendHexBytes(code, fault.code, sizeof fault.code);
    if (m_log) m_log->Fault(exportName, fault.code, fault.address, platform::ModuleNameAt(fault.address));
    // Shown from the program's own stack: the library's frames are unwound.
    // Owned by a window the user sees: a page that faulted while it opened
    // is not shown yet.
    fw::ShowMessage(fw::InnermostVisibleDialog(), fw::Substitute(text::kLibraryFault, {exportName, code}), nullptr,
                    {fw::MessageIcon::Stop});
    platform::EndProcessNow(fault.code);
}

std::string DeviceLibrary::MissingExports() const
{
#define QM47_NAME(name, ...) #name,
#define QM47_EMPTY(name, ...) !m_##name,
    static constexpr const char* kNames[] = {QM47_DEVICE_LIBRARY_EXPORTS(QM47_NAME, QM47_NAME)};
    const bool empty[] = {QM47_DEVICE_LIBRARY_EXPORTS(QM47_EMPTY, QM47_EMPTY)};
#undef QM47_NAME
#undef QM47_EMPTY
    std::string missing;
    for (std::size_t i = 0; i < std::size(kNames); ++i)
        if (empty[i]) missing.append(missing.empty() ? "" : " ").append(kNames[i]);
    return missing;
}

} // namespace qm47
