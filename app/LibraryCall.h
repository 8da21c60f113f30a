#pragma once
// The one place where the program calls into the device library.
//
//     LibraryCall(slot)(arguments...)
//
// Every argument is widened to 32 bits on the stack of a 32-bit build; the
// result is the export's 32-bit signed result.

#include "app/DeviceLibraryExports.h"

#include <cstdint>

namespace qm47 {

template <class... Params>
class LibraryCall {
public:
    using Function = std::int32_t(QM47_LIBCALL*)(Params...);
    explicit LibraryCall(Function function) : m_function(function) {}

    template <class... Args>
    std::int32_t operator()(Args... args) const
    {
        return m_function(args...);
    }

private:
    Function m_function;
};

template <class... Params>
LibraryCall(std::int32_t(QM47_LIBCALL*)(Params...)) -> LibraryCall<Params...>;

} // namespace qm47
