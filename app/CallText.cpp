#include "app/CallText.h"

#include "platform/System.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <span>
#include <string_view>
#include <type_traits>

namespace qm47 {

namespace {

// Each record is a table of its fields, built at compile time from its field
// list and the members' types, and walked by one routine (AppendFields).

enum class ValueKind : std::uint8_t { Byte, Int32, UInt32, Text, Record };

inline constexpr std::uint8_t kNoCount = 0xFF;

// One field of a record as the line writes it.
struct FieldFormat {
    const char* name;
    std::uint16_t offset;  // in this build's struct
    ValueKind kind;        // of the value, or of each element
    std::uint8_t elements; // 0: one value; else an array of this many, or at most this many behind a pointer
    std::uint8_t stride;   // bytes from one element to the next
    bool pointer;          // the elements are behind a pointer
    std::uint8_t countAt;  // behind a pointer: offset of the record's byte that counts them, or kNoCount
    RecordId record;       // kind Record: the elements' record
};

struct RecordFormat {
    const FieldFormat* fields;
    std::size_t count;
    RecordRole role;
};

// What a record's pointer field points to: at most `elements` elements, as
// many as the byte at `countAt` says where there is one. SetPtuRequest's
// entries are as many as its count, never more than the seven rates it
// carries; ReceiptEndRequest points to three texts.
struct Pointed {
    std::uint8_t elements = 0;
    std::uint8_t countAt = kNoCount;
};
template <class Record>
constexpr Pointed kPointed{};
template <>
constexpr Pointed kPointed<SetPtuRequest>{kRateCount, offsetof(SetPtuRequest, count)};
template <>
constexpr Pointed kPointed<ReceiptEndRequest>{3};

template <class T>
constexpr ValueKind KindOf()
{
    if constexpr (std::is_same_v<T, std::uint8_t>) return ValueKind::Byte;
    else if constexpr (std::is_same_v<T, std::int32_t>) return ValueKind::Int32;
    else if constexpr (std::is_same_v<T, std::uint32_t>) return ValueKind::UInt32;
    else if constexpr (std::is_same_v<T, const char*>) return ValueKind::Text;
    else {
        static_assert(kIsRecord<T>, "a field holds a byte, a 32-bit integer, a text or a record");
        return ValueKind::Record;
    }
}

template <class Record, class Member>
constexpr FieldFormat Describe(const char* name, std::size_t offset)
{
    using Element = std::remove_cv_t<std::conditional_t<std::is_array_v<Member>, std::remove_extent_t<Member>,
                                                        std::remove_pointer_t<Member>>>;
    const auto at = static_cast<std::uint16_t>(offset);
    constexpr auto stride = static_cast<std::uint8_t>(sizeof(Element));
    if constexpr (std::is_array_v<Member>) {
        constexpr auto elements = static_cast<std::uint8_t>(std::extent_v<Member>);
        return {name, at, KindOf<Element>(), elements, stride, false, kNoCount, kRecordId<Element>};
    } else if constexpr (std::is_pointer_v<Member> && !std::is_same_v<Member, const char*>) {
        constexpr Pointed pointed = kPointed<Record>;
        static_assert(pointed.elements > 0, "say in kPointed how many elements the pointer points to");
        return {name, at, KindOf<Element>(), pointed.elements, stride, true, pointed.countAt, kRecordId<Element>};
    } else {
        return {name, at, KindOf<Member>(), 0, 0, false, kNoCount, {}};
    }
}

#define QM47_FIELD_FORMAT(member, offset, width, kind) \
    Describe<Record, decltype(Record::member)>(#member, offsetof(Record, member)),
#define QM47_FIELD_FORMATS(Type, size32, role)                                     \
    namespace fields_of_##Type {                                                 \
    using Record = Type;                                                         \
    constexpr FieldFormat kFields[] = {QM47_FIELDS_##Type(QM47_FIELD_FORMAT)};   \
    }
QM47_RECORDS(QM47_FIELD_FORMATS)
#undef QM47_FIELD_FORMATS
#undef QM47_FIELD_FORMAT

// Indexed by RecordId.
constexpr RecordFormat kRecords[] = {
#define QM47_RECORD_FORMAT(Type, size32, role) \
    {fields_of_##Type::kFields, std::size(fields_of_##Type::kFields), RecordRole::role},
    QM47_RECORDS(QM47_RECORD_FORMAT)
#undef QM47_RECORD_FORMAT
};

inline constexpr std::size_t kNoIndex = static_cast<std::size_t>(-1);

// A T from bytes that may be unaligned (a field of a packed record).
template <class T>
T ReadAt(const unsigned char* at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void AppendDecimal(std::string& line, std::int32_t value)
{
    if (value < 0) line += '-';
    platform::AppendDecimal(line, value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value));
}

void AppendIndex(std::string& line, std::size_t index)
{
    line += '[';
    platform::AppendDecimal(line, static_cast<std::uint32_t>(index));
    line += ']';
}

// ` name=`, ` name[index]=`, or for a field of an element of an outer
// field, ` outer[outerIndex].name=`.
void AppendName(std::string& line, std::string_view name, std::size_t index = kNoIndex, const char* outer = nullptr,
                std::size_t outerIndex = kNoIndex)
{
    line += ' ';
    if (outer) {
        line += outer;
        AppendIndex(line, outerIndex);
        line += '.';
    }
    line += name;
    if (index != kNoIndex) AppendIndex(line, index);
    line += '=';
}

void AppendText(std::string& line, const char* text)
{
    if (text) logformat::AppendQuoted(line, text, logformat::Quoting::Ascii);
    else line += logformat::kNull;
}

void AppendFields(std::string& line, RecordId id, const unsigned char* record, const char* outer = nullptr,
                  std::size_t outerIndex = kNoIndex, std::uint32_t read = FieldsRead{}.mask);

// One value of `field` (element `index` of it, if it has elements) at `at`.
void AppendValue(std::string& line, const FieldFormat& field, const unsigned char* at, std::size_t index,
                 const char* outer, std::size_t outerIndex)
{
    if (field.kind == ValueKind::Record) {
        AppendFields(line, field.record, at, field.name, index);
        return;
    }
    AppendName(line, field.name, index, outer, outerIndex);
    if (field.kind == ValueKind::Text)
        AppendText(line, ReadAt<const char*>(at));
    else if (field.kind == ValueKind::Int32)
        AppendDecimal(line, ReadAt<std::int32_t>(at));
    else if (field.kind == ValueKind::UInt32)
        platform::AppendDecimal(line, ReadAt<std::uint32_t>(at));
    else
        platform::AppendDecimal(line, *at);
}

void AppendFields(std::string& line, RecordId id, const unsigned char* record, const char* outer,
                  std::size_t outerIndex, std::uint32_t read)
{
    const RecordFormat& format = kRecords[static_cast<std::size_t>(id)];
    for (std::size_t place = 0; place < format.count; ++place) {
        if (!(read & (1u << place))) continue;
        const FieldFormat& field = format.fields[place];
        const unsigned char* at = record + field.offset;
        if (field.elements == 0) {
            AppendValue(line, field, at, kNoIndex, outer, outerIndex);
            continue;
        }
        std::size_t count = field.elements;
        if (field.pointer) {
            at = ReadAt<const unsigned char*>(at);
            if (!at) {
                AppendName(line, field.name, kNoIndex, outer, outerIndex);
                line += logformat::kNull;
                continue;
            }
            if (field.countAt != kNoCount) count = std::min<std::size_t>(count, record[field.countAt]);
        }
        for (std::size_t i = 0; i < count; ++i) AppendValue(line, field, at + i * field.stride, i, outer, outerIndex);
    }
}

// The next name of "(port, baud)", taken off its front.
std::string_view TakeName(std::string_view& names)
{
    names.remove_prefix(std::min(names.find_first_not_of("(, "), names.size()));
    const std::string_view name = names.substr(0, names.find_first_of(",) "));
    names.remove_prefix(name.size());
    return name;
}

} // namespace

void AppendHexBytes(std::string& line, std::uint64_t value, std::size_t bytes)
{
    while (bytes-- > 0) logformat::AppendHexByte(line, static_cast<unsigned char>(value >> (8 * bytes)));
}

void AppendRecordFields(std::string& line, RecordId id, const void* record)
{
    AppendFields(line, id, static_cast<const unsigned char*>(record));
}

namespace {

bool FilledByTheLibrary(const CallArgument& argument)
{
    return argument.kind == CallArgument::Kind::Record && argument.pointer &&
           kRecords[static_cast<std::size_t>(argument.record)].role == RecordRole::Out;
}

} // namespace

std::string FormatCallSent(const char* exportName, const char* parameterNames,
                           std::initializer_list<CallArgument> arguments)
{
    std::string line = exportName;
    std::string_view names = parameterNames;
    for (const CallArgument& argument : arguments) {
        const std::string_view name = TakeName(names);
        if (FilledByTheLibrary(argument)) continue;
        if (argument.kind == CallArgument::Kind::Record && argument.pointer) {
            AppendRecordFields(line, argument.record, argument.pointer);
            continue;
        }
        AppendName(line, name);
        if (argument.kind == CallArgument::Kind::Number)
            AppendDecimal(line, argument.number);
        else // a text, or a null record pointer, both written `null` when null
            AppendText(line, static_cast<const char*>(argument.pointer));
    }
    return line;
}

std::string FormatCallReturned(std::int32_t returned, std::initializer_list<CallArgument> arguments, FieldsRead read)
{
    std::string line;
    for (const CallArgument& argument : arguments)
        if (FilledByTheLibrary(argument))
            AppendFields(line, argument.record, static_cast<const unsigned char*>(argument.pointer), nullptr, kNoIndex,
                         read.mask);
    AppendName(line, logformat::kResult);
    AppendDecimal(line, returned);
    return line;
}

std::string FormatCall(const char* exportName, const char* parameterNames, std::int32_t returned,
                       std::initializer_list<CallArgument> arguments)
{
    const bool unfilled =
        returned != 0 && std::any_of(arguments.begin(), arguments.end(), &FilledByTheLibrary);
    if (!unfilled) return FormatCallSent(exportName, parameterNames, arguments) + FormatCallReturned(returned, arguments);
    std::string line = FormatCallSent(exportName, parameterNames, arguments) + " unfilled";
    AppendName(line, logformat::kResult);
    AppendDecimal(line, returned);
    return line;
}

} // namespace qm47
