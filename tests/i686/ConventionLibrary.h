#pragma once
// What the test library's exports answer, shared by the library and the test
// program: a hash over the function and its arguments in order, so that a
// wrong, missing or swapped argument shows in the result.
//
// The library is built twice from ConventionLibrary.cpp, with __stdcall and
// with __cdecl exports, under the same undecorated names. Each export has the
// shape of one kind of device library export.

#include <cstdint>

namespace convention_test {

constexpr std::uint32_t kSeed = 2166136261u;

constexpr std::uint32_t Mix(std::uint32_t hash, std::uint32_t word)
{
    return (hash ^ word) * 16777619u;
}

template <class... Words>
constexpr std::uint32_t Answer(std::uint32_t exportNumber, Words... words)
{
    std::uint32_t hash = Mix(kSeed, exportNumber);
    ((hash = Mix(hash, static_cast<std::uint32_t>(words))), ...);
    return hash;
}

constexpr std::uint32_t TextWord(const char* text)
{
    if (text == nullptr) {
        return 0xFFFF'FFFFu;
    }
    std::uint32_t hash = kSeed;
    for (; *text != '\0'; ++text) {
        hash = Mix(hash, static_cast<unsigned char>(*text));
    }
    return hash;
}

// NoArguments() answers this.
constexpr std::uint32_t kNoArgumentsAnswer = 0x5EED'0000u;

// Export numbers, mixed in first.
enum ExportNumber : std::uint32_t {
    kOneInteger = 1,     // (int32)                       LBSERM, LBTRSHDR
    kOneRecord,          // (PrinterStatus*)              the record queries
    kTextInteger,        // (text, int32)                 Port_Open, ErrorMessage
    kIntegerText,        // (int32, text)                 LBDSP, LBRVINFO
    kTwoTexts,           // (text, text)                  LBTREXITCAN
    kThreeTexts,         // (text, text, text)            LBSETHDR
    kTextByteRecord,     // (text, byte, GoodsQueryResult*)  LBDBREPRS
    kRecordByte,         // (GoodsPrintRequest*, byte)    LBDBREP
};

// What OneRecord writes into the status it is given (it reads `pe` and keeps it).
constexpr std::int32_t kOnlineAnswer = 1;
constexpr std::int32_t kErrAnswer = 0x3333;
// What TextByteRecord writes into the goods answer.
constexpr const char* kRateTextAnswer = "23.00";

// RaisesAgainWhileUnwound() raises the first, its handler the second while its frame is unwound.
constexpr std::uint32_t kFirstFaultCode = 0xE0000201u;
constexpr std::uint32_t kFaultWhileUnwoundCode = 0xE0000202u;

} // namespace convention_test
