#pragma once
// How app/Records.h writes down each record once, field by field, and checks
// its struct against that list at compile time.
//
// Each record has a list
//
//     #define QM47_FIELDS_<Record>(FIELD) FIELD(member, offset, width, kind) ...
//
// with every member in order: its name as declared, its offset and width in
// bytes where pointers are 32 bits (the library's own layout), and its kind.
// QM47_CHECK_RECORD turns a list into static_asserts: in every build the
// member is of its kind and follows the one before it without a gap (so the
// struct has the list's order and no padding, whatever the pointer size);
// where pointers are 32 bits, also its offset and width, and the record's
// size. The diagnostic log's call text (app/CallText.h) walks the same lists.

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace qm47 {

// The kind of value a field holds.
enum class FieldKind {
    Byte,    // std::uint8_t, unsigned
    Int32,   // std::int32_t, signed
    UInt32,  // std::uint32_t, unsigned
    Text,    // const char*, a zero-terminated text
    Pointer, // any other pointer: to entries, or to an array of texts
    Array,   // a fixed number of elements, of any of these kinds or a record
};

// Whether the member type T is of kind K.
template <FieldKind K, class T>
inline constexpr bool kIsOfKind =
    K == FieldKind::Byte      ? std::is_same_v<T, std::uint8_t>
    : K == FieldKind::Int32   ? std::is_same_v<T, std::int32_t>
    : K == FieldKind::UInt32  ? std::is_same_v<T, std::uint32_t>
    : K == FieldKind::Text    ? std::is_same_v<T, const char*>
    : K == FieldKind::Pointer ? std::is_pointer_v<T> && !std::is_same_v<T, const char*>
                              : std::is_array_v<T>;

// Whether a record (role In) is read by the library, or (role Out) is
// filled by it as a query's answer.
enum class RecordRole { In, Out };

inline constexpr bool kPointers32 = sizeof(void*) == 4;

} // namespace qm47

// The checks of one record. `Type` names the record and its list; `size32` is
// its size in bytes where pointers are 32 bits. InListOrder is a packed struct
// of the same member types in the list's order: each member of the record must
// sit where the same member sits there.
#define QM47_CHECK_RECORD(Type, size32, role)                                                       \
    namespace record_checks_##Type {                                                              \
    using Record = Type;                                                                          \
    _Pragma("pack(push, 1)") struct InListOrder {                                                 \
        QM47_FIELDS_##Type(QM47_LIST_MEMBER)                                                      \
    };                                                                                            \
    _Pragma("pack(pop)")                                                                          \
    QM47_FIELDS_##Type(QM47_CHECK_FIELD)                                                          \
    static_assert(sizeof(Record) == sizeof(InListOrder), #Type ": has members that its list lacks"); \
    static_assert(!kPointers32 || sizeof(Record) == (size32), #Type ": is not " #size32 " bytes");   \
    }

#define QM47_LIST_MEMBER(member, offset, width, kind) std::type_identity_t<decltype(Record::member)> member;

#define QM47_CHECK_FIELD(member, offset, width, kind)                                             \
    static_assert(kIsOfKind<FieldKind::kind, decltype(Record::member)>, #member ": is not of kind " #kind); \
    static_assert(offsetof(Record, member) == offsetof(InListOrder, member),                      \
                  #member ": does not follow the field listed before it");                        \
    static_assert(!kPointers32 || offsetof(Record, member) == (offset), #member ": is not at offset " #offset); \
    static_assert(!kPointers32 || sizeof(Record::member) == (width), #member ": is not " #width " bytes wide");
