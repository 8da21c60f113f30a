#pragma once
// A call into the device library written as one line of text, for a
// diagnostic log: the export's name, each argument under its parameter name,
// a record argument as all its fields under their own names, and the result.
//
//     Port_Open port="com1" baud=9600 result=0
//     LBSETCK year=3 month=7 day=2 hour=9 minute=5 second=0 registerNumber="001" cashier="SERWIS" result=0
//     LBFSTRQ status=null result=-1
//
// Numbers and one-byte values in decimal (a byte unsigned). Texts in double
// quotes, every byte outside 0x20..0x7E and `"` and `\` written \xHH
// (logformat::Quoting::Ascii); a null text or record pointer as `null`. An array field, and what a record points
// to (the rate entries of SetPtuRequest, the three texts of
// ReceiptEndRequest), element by element: `ptuRate[0]="22.00"`,
// `entries[0].rateText="22"`, or `entries=null`.
//
// The diagnostic log writes a call in two parts: what was sent, before the
// call (FormatCallSent), and what the call left (FormatCallReturned): of a
// record that the library fills (RecordRole::Out: the two statuses, the
// device identity, the fiscal status, the clock, the goods answer) the
// fields the program goes on to read, as the call left them whatever it
// returned, and the result.
//
// FormatCall writes both in the form in which the simulated printer
// journals every call it receives (sim/Journal.h), so that the two can be
// compared: there a record the library fills stands as `unfilled` when the
// call did not return 0; the 32-bit simulated printer adds its own
// `layout=` verdict before the result, which has no counterpart here.
//
// The parameter names come from QM47_DEVICE_LIBRARY_EXPORTS, the field names,
// their order and their kinds from each record's list in app/Records.h.
// Nothing here writes a file or calls the library.

#include "app/DeviceLibraryExports.h"
#include "app/LogFormat.h"
#include "app/Records.h"

#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

// `(a, b)` becomes `, a, b`; `()` becomes nothing.
#define QM47_LEADING_COMMA(...) __VA_OPT__(, ) __VA_ARGS__
// `(a, b)` becomes `,`; `()` becomes nothing.
#define QM47_TRAILING_COMMA(...) __VA_OPT__(, )
// `(a, b)` becomes `a, b`.
#define QM47_UNPARENTHESIZE(...) __VA_ARGS__

namespace qm47 {

// Each record by its place in QM47_RECORDS.
enum class RecordId : std::uint8_t {
#define QM47_RECORD_ID(Type, size32, role) Type,
    QM47_RECORDS(QM47_RECORD_ID)
#undef QM47_RECORD_ID
};
template <class Record>
inline constexpr bool kIsRecord = false;
template <class Record>
inline constexpr RecordId kRecordId{};
#define QM47_RECORD_ID(Type, size32, role)        \
    template <>                                   \
    inline constexpr bool kIsRecord<Type> = true; \
    template <>                                   \
    inline constexpr RecordId kRecordId<Type> = RecordId::Type;
QM47_RECORDS(QM47_RECORD_ID)
#undef QM47_RECORD_ID

// Appends the low `bytes` bytes of `value` as logformat::AppendHexByte
// does, the most significant first.
void AppendHexBytes(std::string& line, std::uint64_t value, std::size_t bytes);

// Appends ` <field>=<value>` for every field of the record `id` at `record`.
void AppendRecordFields(std::string& line, RecordId id, const void* record);

template <class Record>
    requires kIsRecord<Record>
void AppendRecordFields(std::string& line, const Record& record)
{
    AppendRecordFields(line, kRecordId<Record>, &record);
}

// One argument of a call: a number (a one-byte value widened), a text, or a
// pointer to a record.
struct CallArgument {
    enum class Kind : std::uint8_t { Number, Text, Record };

    constexpr CallArgument(std::int32_t value) : kind(Kind::Number), number(value) {}
    constexpr CallArgument(unsigned char value) : kind(Kind::Number), number(value) {}
    constexpr CallArgument(const char* text) : kind(Kind::Text), pointer(text) {}
    template <class Record>
        requires kIsRecord<Record>
    constexpr CallArgument(const Record* record) : kind(Kind::Record), record(kRecordId<Record>), pointer(record)
    {
    }

    Kind kind;
    RecordId record{}; // kind Record
    union {
        std::int32_t number; // kind Number
        const void* pointer; // kind Text or Record
    };
};

// The fields of a record that the library fills which the program goes on
// to read after a call, by their places in the record's field list (bit 0
// the first): the log writes those and no others, so that it follows no
// pointer the program does not follow itself. By default every field.
struct FieldsRead {
    std::uint32_t mask = 0xFFFFFFFF;
};

template <class Record>
struct FieldNames;
#define QM47_FIELD_NAME(member, offset, width, kind) #member,
#define QM47_FIELD_NAMES(Type, size32, role)                                              \
    template <>                                                                         \
    struct FieldNames<Type> {                                                           \
        static constexpr std::string_view kNames[] = {QM47_FIELDS_##Type(QM47_FIELD_NAME)}; \
    };
QM47_RECORDS(QM47_FIELD_NAMES)
#undef QM47_FIELD_NAMES
#undef QM47_FIELD_NAME

// The fields of Record named in `names`; a name the record lacks does not compile.
template <class Record>
consteval FieldsRead Reads(std::initializer_list<std::string_view> names)
{
    FieldsRead read{0};
    for (const std::string_view name : names) {
        std::size_t place = 0;
        while (place < std::size(FieldNames<Record>::kNames) && FieldNames<Record>::kNames[place] != name) ++place;
        if (place == std::size(FieldNames<Record>::kNames)) throw "the record has no field of that name";
        read.mask |= 1u << place;
    }
    return read;
}

// A call of `exportName` as it goes to the library, its arguments named in
// order by `parameterNames` (the export's argument list as
// QM47_DEVICE_LIBRARY_EXPORTS writes it: "(port, baud)"): every argument and
// every field of a record the library reads; a record it fills is left out.
//     LBSETCK year=3 month=7 day=2 hour=9 minute=5 second=0 registerNumber="001" cashier="SERWIS"
std::string FormatCallSent(const char* exportName, const char* parameterNames,
                           std::initializer_list<CallArgument> arguments);
// What the call left, to follow FormatCallSent's text: the fields `read` of
// a record the library fills, as it left them whatever it returned, and the
// result.
//     " onl=1 pe=0 err=0 result=0"
std::string FormatCallReturned(std::int32_t returned, std::initializer_list<CallArgument> arguments,
                           FieldsRead read = {});

// The line of a call in the simulated printer's journal's form: the two
// above together, except that a record the library fills is written
// `unfilled` when the call did not return 0 (the journal tells what the
// library did, the log what the program had).
std::string FormatCall(const char* exportName, const char* parameterNames, std::int32_t returned,
                       std::initializer_list<CallArgument> arguments);

// The line of each export's call, typed as its slot, with the code the call
// returned first (named so as not to clash with a parameter called `result`):
//     CallText::Port_Open(returned, "com1", 9600)
struct CallText {
#define QM47_CALL_TEXT_FUNCTION(name, params, args)                                 \
    static std::string name(std::int32_t returned QM47_LEADING_COMMA params)       \
    {                                                                               \
        return FormatCall(#name, #args, returned, {QM47_UNPARENTHESIZE args});      \
    }
#define QM47_NO_CALL_TEXT(name)
    QM47_DEVICE_LIBRARY_EXPORTS(QM47_CALL_TEXT_FUNCTION, QM47_NO_CALL_TEXT)
#undef QM47_CALL_TEXT_FUNCTION
#undef QM47_NO_CALL_TEXT
};

} // namespace qm47

// Within an expansion of QM47_DEVICE_LIBRARY_EXPORTS whose CALLED(name,
// params, args) has just called the export, the call's line. For example in
// DeviceLibrary's typed calls:
//     const std::int32_t returned = LibraryCall(m_##name) args;
//     const std::string text = QM47_CALL_TEXT(name, args, returned);
#define QM47_CALL_TEXT(name, args, returned) ::qm47::CallText::name(returned QM47_LEADING_COMMA args)
