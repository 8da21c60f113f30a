#pragma once
// The one place where the program calls into the device library.
//
//     LibraryCall(slot, fault, &poppedBytes)(arguments...)   the export's 32-bit result
//
// The maker does not say whether the 32-bit library's exports are __stdcall
// (the export removes its arguments) or __cdecl (the caller does). On 32-bit
// Windows every call therefore goes through qm47_CallLibrary32
// (LibraryCall_i686.S), which is right for both: it pushes the arguments,
// each widened to 32 bits, calls, and then puts the stack pointer back from
// its own frame whatever the export did. 64-bit Windows has one convention
// and calls through qm47_CallLibrary64 (LibraryCall_x86_64.S). On Windows
// both routines also catch a structured exception (an access violation, say)
// that the export raises and does not handle itself, and report it in a
// LibraryFault. The native build calls directly.

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace qm47 {

// A structured exception that left a library export unhandled. The assembly
// routines write it at these offsets.
struct LibraryFault {
    std::uint32_t raised = 0;        // 1: the export did not return, the rest tells why
    std::uint32_t code = 0;          // the exception code, e.g. 0xC0000005
    const void* address = nullptr;   // where it was raised
};
static_assert(offsetof(LibraryFault, code) == 4 && offsetof(LibraryFault, address) == 8);

} // namespace qm47

#if defined(_WIN32) && defined(__i386__)
#define QM47_LIBRARY_CALL_I686 1
// Calls `function` with `count` 32-bit arguments (arguments[0] is the first)
// and answers its 32-bit result. When `calleePoppedBytes` is not null it
// receives how many bytes the function removed from the stack on return:
// 4 * count for __stdcall, 0 for __cdecl (the diagnostic log tells by it
// which convention the library uses; the tests see by it that both
// conventions were really exercised). A fault inside the function fills
// `fault` and answers 0.
extern "C" std::int32_t qm47_CallLibrary32(const void* function, const std::uint32_t* arguments,
                                           std::uint32_t count, std::uint32_t* calleePoppedBytes,
                                           qm47::LibraryFault* fault);
#elif defined(_WIN64)
#define QM47_LIBRARY_CALL_X86_64 1
// Calls `function` with three argument words (those it does not take are
// ignored) and answers its 32-bit result. A fault inside the function fills
// `fault` and answers 0.
extern "C" std::int32_t qm47_CallLibrary64(const void* function, std::uint64_t first, std::uint64_t second,
                                           std::uint64_t third, qm47::LibraryFault* fault);
#endif

namespace qm47 {

// One argument as the 32-bit library receives it: pointers as their address,
// integers (and the one-byte values) widened to 32 bits.
template <class T>
std::uintptr_t LibraryArgumentWord(T value)
{
    if constexpr (std::is_pointer_v<T>) {
        return reinterpret_cast<std::uintptr_t>(value);
    } else {
        static_assert(std::is_integral_v<T> && sizeof(T) <= sizeof(std::uint32_t),
                      "library arguments are pointers or integers of at most 32 bits");
        return static_cast<std::uint32_t>(value);
    }
}

template <class... Params>
class LibraryCall {
public:
    // The slot's type. On 32-bit Windows it only carries the export's address
    // and its parameter types: the export is never called through it directly.
    using Function = std::int32_t (*)(Params...);

    // A Windows call tells a fault inside the export in `fault` (and then
    // answers 0): there is no call that could lose one unseen. With
    // `poppedBytes`, a 32-bit call also tells how many bytes of arguments the
    // export removed from the stack (which convention it uses); elsewhere it
    // is left as it is.
    LibraryCall(Function function, LibraryFault& fault, std::uint32_t* poppedBytes = nullptr)
        : m_function(function), m_fault(fault), m_poppedBytes(poppedBytes)
    {
    }

    std::int32_t operator()(Params... args) const
    {
#if defined(QM47_LIBRARY_CALL_I686)
        const std::array<std::uint32_t, sizeof...(Params)> words{
            static_cast<std::uint32_t>(LibraryArgumentWord<Params>(args))...};
        return qm47_CallLibrary32(reinterpret_cast<const void*>(m_function), words.data(),
                                  static_cast<std::uint32_t>(words.size()), m_poppedBytes, &m_fault);
#elif defined(QM47_LIBRARY_CALL_X86_64)
        static_assert(sizeof...(Params) <= 3, "qm47_CallLibrary64 passes at most three arguments");
        std::array<std::uint64_t, 3> words{};
        std::size_t at = 0;
        ((words[at++] = LibraryArgumentWord<Params>(args)), ...);
        return qm47_CallLibrary64(reinterpret_cast<const void*>(m_function), words[0], words[1], words[2], &m_fault);
#else
        return m_function(args...);
#endif
    }

private:
    Function m_function;
    [[maybe_unused]] LibraryFault& m_fault;
    [[maybe_unused]] std::uint32_t* m_poppedBytes;
};

template <class... Params>
LibraryCall(std::int32_t (*)(Params...), LibraryFault&) -> LibraryCall<Params...>;
template <class... Params>
LibraryCall(std::int32_t (*)(Params...), LibraryFault&, std::uint32_t*) -> LibraryCall<Params...>;

} // namespace qm47
