#pragma once
// The one place where the program calls into the device library.
//
//     LibraryCall(slot)(arguments...)            the export's 32-bit result
//
// The maker does not say whether the 32-bit library's exports are __stdcall
// (the export removes its arguments) or __cdecl (the caller does). On 32-bit
// Windows every call therefore goes through qm47_CallLibrary32
// (LibraryCall_i686.S), which is right for both: it pushes the arguments,
// each widened to 32 bits, calls, and then puts the stack pointer back from
// its own frame whatever the export did. 64-bit Windows and the native build
// have one convention only and call directly.

#include <array>
#include <cstdint>
#include <type_traits>

#if defined(_WIN32) && defined(__i386__)
#define QM47_LIBRARY_CALL_I686 1
// Calls `function` with `count` 32-bit arguments (arguments[0] is the first)
// and answers its 32-bit result. When `calleePoppedBytes` is not null it
// receives how many bytes the function removed from the stack on return:
// 4 * count for __stdcall, 0 for __cdecl (the diagnostic log tells by it
// which convention the library uses; the tests see by it that both
// conventions were really exercised).
extern "C" std::int32_t qm47_CallLibrary32(const void* function, const std::uint32_t* arguments,
                                           std::uint32_t count, std::uint32_t* calleePoppedBytes);
#endif

namespace qm47 {

// One argument as the 32-bit library receives it: pointers as their address,
// integers (and the one-byte values) widened to 32 bits.
template <class T>
std::uint32_t LibraryArgumentWord(T value)
{
    if constexpr (std::is_pointer_v<T>) {
        static_assert(sizeof(T) == sizeof(std::uint32_t), "a 32-bit build passes 32-bit pointers");
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(value));
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

    // With `poppedBytes`, a 32-bit call also tells how many bytes of
    // arguments the export removed from the stack (which convention it uses);
    // elsewhere it is left as it is.
    explicit LibraryCall(Function function, std::uint32_t* poppedBytes = nullptr)
        : m_function(function), m_poppedBytes(poppedBytes)
    {
    }

    std::int32_t operator()(Params... args) const
    {
#ifdef QM47_LIBRARY_CALL_I686
        const std::array<std::uint32_t, sizeof...(Params)> words{LibraryArgumentWord<Params>(args)...};
        return qm47_CallLibrary32(reinterpret_cast<const void*>(m_function), words.data(),
                                  static_cast<std::uint32_t>(words.size()), m_poppedBytes);
#else
        return m_function(args...);
#endif
    }

private:
    Function m_function;
    [[maybe_unused]] std::uint32_t* m_poppedBytes;
};

template <class... Params>
LibraryCall(std::int32_t (*)(Params...)) -> LibraryCall<Params...>;
template <class... Params>
LibraryCall(std::int32_t (*)(Params...), std::uint32_t*) -> LibraryCall<Params...>;

} // namespace qm47
