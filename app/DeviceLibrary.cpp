#include "app/DeviceLibrary.h"

#include "app/CallText.h"
#include "app/DiagnosticLog.h"
#include "framework/MessageBox.h"
#include "platform/System.h"

namespace qm47 {

namespace {

// The bytes of arguments a 32-bit call pushes: four per parameter.
template <class... Params>
constexpr std::uint32_t ArgumentBytes(std::int32_t (*)(Params...))
{
    return static_cast<std::uint32_t>(4 * sizeof...(Params));
}

} // namespace

// Each typed call: an empty slot answers `missing` without calling; a call
// shows the wait cursor while it blocks the window. With an active log the
// call is timed and written (its out-record as the library left it).
#define QM47_DEFINE_CALL(name, params, args)                                                         \
    LibraryResult DeviceLibrary::name params const                                                  \
    {                                                                                                \
        const bool logged = m_log && m_log->Active();                                                \
        if (!m_##name) {                                                                             \
            if (logged) m_log->Missing(#name);                                                       \
            return {#name, true, 0};                                                                 \
        }                                                                                            \
        fw::WaitCursor busy;                                                                         \
        if (!logged) return {#name, false, LibraryCall(m_##name) args};                              \
        std::uint32_t popped = kPoppedBytesUnknown;                                                  \
        const std::int64_t started = platform::MonotonicMilliseconds();                              \
        const std::int32_t returned = LibraryCall(m_##name, &popped) args;                             \
        const std::int64_t ended = platform::MonotonicMilliseconds();                                \
        m_log->Call(QM47_CALL_TEXT(name, args, returned), started, ended, ArgumentBytes(m_##name), popped); \
        return {#name, false, returned};                                                            \
    }
#define QM47_NO_CALL(name)
QM47_DEVICE_LIBRARY_EXPORTS(QM47_DEFINE_CALL, QM47_NO_CALL)
#undef QM47_DEFINE_CALL
#undef QM47_NO_CALL

std::string DeviceLibrary::MissingExports() const
{
    std::string missing;
#define QM47_ADD_MISSING(name, ...) \
    if (!m_##name) missing.append(missing.empty() ? "" : " ").append(#name);
    QM47_DEVICE_LIBRARY_EXPORTS(QM47_ADD_MISSING, QM47_ADD_MISSING)
#undef QM47_ADD_MISSING
    return missing;
}

} // namespace qm47
