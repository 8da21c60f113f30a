#pragma once
// The table of the device library's entry points, one typed slot per export,
// and the one typed call per export through which the program reaches them.
// An empty slot is never called: its call answers `missing`.

#include "app/CallText.h"
#include "app/DeviceLibraryExports.h"
#include "app/LibraryCall.h"

#include <cstdint>
#include <string>
#include <type_traits>

namespace qm47 {

class DiagnosticLog;

// What a call into the library gave.
struct LibraryResult {
    const char* exportName; // the export that was (or would have been) called
    bool missing;           // its slot is empty: nothing was called, `code` is 0
    std::int32_t code;      // 0 success, anything else an error code for ErrorMessage
};

class DeviceLibrary {
public:
    // A slot holds the export's address typed by its parameters; it is
    // called only through LibraryCall, which on 32-bit Windows works with
    // either calling convention.
#define QM47_SLOT_TYPE(name, params, args) using name##_fn = std::int32_t(*) params;
#define QM47_RESOLVED_TYPE(name) using name##_fn = void (*)();
    QM47_DEVICE_LIBRARY_EXPORTS(QM47_SLOT_TYPE, QM47_RESOLVED_TYPE)
#undef QM47_SLOT_TYPE
#undef QM47_RESOLVED_TYPE

    // A table of a library that was not loaded: every slot empty.
    DeviceLibrary() = default;

    // Walks the exports of a loaded library once, in order, and fills each
    // slot with what `resolve(name)` answers (a null address leaves the
    // slot empty).
    template <class Resolver>
    static DeviceLibrary Resolve(Resolver&& resolve)
    {
        DeviceLibrary library;
        library.m_loaded = true;
#define QM47_BIND(name, ...) library.m_##name = reinterpret_cast<name##_fn>(resolve(#name));
        QM47_DEVICE_LIBRARY_EXPORTS(QM47_BIND, QM47_BIND)
#undef QM47_BIND
        return library;
    }

    // The typed calls. `read` names the fields of a record the library fills
    // that the caller goes on to read: the log writes only those. Declared
    // from the export list and written out one by one in DeviceLibrary.cpp:
    // a call left unwritten fails to link, one the list lacks to compile.
#define QM47_DECLARE_CALL(name, params, args) \
    LibraryResult name(QM47_UNPARENTHESIZE params QM47_TRAILING_COMMA params FieldsRead read = {}) const;
#define QM47_NO_CALL(name)
    QM47_DEVICE_LIBRARY_EXPORTS(QM47_DECLARE_CALL, QM47_NO_CALL)
#undef QM47_DECLARE_CALL
#undef QM47_NO_CALL

    // Whether the table comes from a loaded library (which may still lack
    // exports), so that a caller can tell a missing library from a missing export.
    bool Loaded() const { return m_loaded; }

    // The exports whose slots are empty, in lookup order, separated by blanks.
    std::string MissingExports() const;

    // Writes every call, and every call not made for a missing export, to
    // `log` while it is active (null: to none). The log must outlive the table.
    void SetLog(DiagnosticLog* log) { m_log = log; }

private:
    // What every typed call does (DeviceLibrary.cpp): `slot` called with
    // `args`, logged under `exportName` and `parameterNames`, the list's
    // "(port, baud)".
    template <class... Params>
    LibraryResult Call(const char* exportName, const char* parameterNames, std::int32_t (*slot)(Params...),
                       FieldsRead read, std::type_identity_t<Params>... args) const;
    LibraryResult NotCalled(const char* exportName) const;
    // A structured exception left `exportName` unhandled: the user is told
    // and the program ends with the exception's code, since neither the
    // library's state nor the printer's is known any more.
    [[noreturn]] void EndAfterFault(const char* exportName, const LibraryFault& fault) const;

    bool m_loaded = false;
    DiagnosticLog* m_log = nullptr;
#define QM47_SLOT(name, ...) name##_fn m_##name = nullptr;
    QM47_DEVICE_LIBRARY_EXPORTS(QM47_SLOT, QM47_SLOT)
#undef QM47_SLOT
};

} // namespace qm47
