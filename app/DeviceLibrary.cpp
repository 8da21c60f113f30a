#include "app/DeviceLibrary.h"

#include "app/CallText.h"
#include "app/DiagnosticLog.h"
#include "framework/LibraryCallGuard.h"
#include "framework/MessageBox.h"
#include "platform/Time.h"

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
// shows the wait cursor while it blocks the window, and no input reaches the
// program's windows until it returns (LibraryCallGuard). The call is timed and
// tells its convention in every run, so that one path serves with and
// without the log; only an active log writes them down.
#define QM47_DEFINE_CALL(name, params, args)                                                           \
    LibraryResult DeviceLibrary::name params const                                                    \
    {                                                                                                  \
        if (!m_##name) return NotCalled(#name);                                                        \
        fw::WaitCursor busy;                                                                           \
        const fw::LibraryCallGuard guard;                                                              \
        const std::uint32_t started = platform::MonotonicMilliseconds();                                \
        std::uint32_t popped = kPoppedBytesUnknown;                                                    \
        const std::int32_t returned = LibraryCall(m_##name, &popped) args;                             \
        if (m_log)                                                                                     \
            m_log->Call(started, #name, #args, returned, {QM47_UNPARENTHESIZE args}, ArgumentBytes(m_##name), \
                        popped, guard.LibraryShowedWindow());                                          \
        return {#name, false, returned};                                                               \
    }
#define QM47_NO_CALL(name)
QM47_DEVICE_LIBRARY_EXPORTS(QM47_DEFINE_CALL, QM47_NO_CALL)
#undef QM47_DEFINE_CALL
#undef QM47_NO_CALL

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
