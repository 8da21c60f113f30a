#include "app/DeviceLibrary.h"

#include "framework/MessageBox.h"

namespace qm47 {

// Each typed call: an empty slot answers `missing` without calling; a call
// shows the wait cursor while it blocks the window.
#define QM47_DEFINE_CALL(name, params, args)                                 \
    LibraryResult DeviceLibrary::name params const                          \
    {                                                                        \
        if (!m_##name) return {#name, true, 0};                              \
        fw::WaitCursor busy;                                                 \
        return {#name, false, LibraryCall(m_##name) args};                   \
    }
#define QM47_NO_CALL(name)
QM47_DEVICE_LIBRARY_EXPORTS(QM47_DEFINE_CALL, QM47_NO_CALL)
#undef QM47_DEFINE_CALL
#undef QM47_NO_CALL

} // namespace qm47
