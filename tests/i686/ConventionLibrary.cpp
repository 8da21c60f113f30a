// The test library: exports of every shape the device library has, built
// with the calling convention given by CONVENTION_LIBRARY_CALL (__stdcall or
// __cdecl). The .def files export them under undecorated names. Each export
// answers a hash of what it received (ConventionLibrary.h).
//
// A one-byte argument is taken here as the whole 32-bit stack slot, to see
// that the caller widened it with zeros.

#include "app/Records.h"
#include "tests/i686/ConventionLibrary.h"

#include <windows.h>

#include <cstdint>

#ifndef CONVENTION_LIBRARY_CALL
#error "CONVENTION_LIBRARY_CALL must be __stdcall or __cdecl"
#endif

using namespace convention_test;

namespace {
std::uint32_t Word(std::int32_t value)
{
    return static_cast<std::uint32_t>(value);
}

// RaisesAgainWhileUnwound's own handler: its clean-up raises another exception.
EXCEPTION_DISPOSITION __cdecl RaiseWhileUnwound(EXCEPTION_RECORD* record, void*, CONTEXT*, void*)
{
    if ((record->ExceptionFlags & EXCEPTION_UNWINDING) && record->ExceptionCode == kFirstFaultCode)
        RaiseException(kFaultWhileUnwoundCode, 0, 0, nullptr);
    return ExceptionContinueSearch;
}
} // namespace

extern "C" {

std::int32_t CONVENTION_LIBRARY_CALL NoArguments()
{
    return static_cast<std::int32_t>(kNoArgumentsAnswer);
}

std::int32_t CONVENTION_LIBRARY_CALL OneInteger(std::int32_t value)
{
    return static_cast<std::int32_t>(Answer(kOneInteger, Word(value)));
}

std::int32_t CONVENTION_LIBRARY_CALL OneRecord(qm47::PrinterStatus* status)
{
    status->onl = kOnlineAnswer;
    status->err = kErrAnswer;
    return static_cast<std::int32_t>(Answer(kOneRecord, Word(status->pe)));
}

std::int32_t CONVENTION_LIBRARY_CALL TextInteger(const char* text, std::int32_t value)
{
    return static_cast<std::int32_t>(Answer(kTextInteger, TextWord(text), Word(value)));
}

std::int32_t CONVENTION_LIBRARY_CALL IntegerText(std::int32_t value, const char* text)
{
    return static_cast<std::int32_t>(Answer(kIntegerText, Word(value), TextWord(text)));
}

std::int32_t CONVENTION_LIBRARY_CALL TwoTexts(const char* first, const char* second)
{
    return static_cast<std::int32_t>(Answer(kTwoTexts, TextWord(first), TextWord(second)));
}

std::int32_t CONVENTION_LIBRARY_CALL ThreeTexts(const char* first, const char* second, const char* third)
{
    return static_cast<std::int32_t>(Answer(kThreeTexts, TextWord(first), TextWord(second), TextWord(third)));
}

std::int32_t CONVENTION_LIBRARY_CALL TextByteRecord(const char* name, std::uint32_t byteSlot,
                                                    qm47::GoodsQueryResult* result)
{
    result->blocked = 1;
    result->rateText = kRateTextAnswer;
    return static_cast<std::int32_t>(Answer(kTextByteRecord, TextWord(name), byteSlot));
}

std::int32_t CONVENTION_LIBRARY_CALL RecordByte(qm47::GoodsPrintRequest* request, std::uint32_t byteSlot)
{
    return static_cast<std::int32_t>(Answer(kRecordByte, request->step, TextWord(request->goodsName), byteSlot));
}

std::int32_t CONVENTION_LIBRARY_CALL RaisesAgainWhileUnwound()
{
    struct Registration {
        Registration* next;
        void* handler;
    } record{nullptr, reinterpret_cast<void*>(&RaiseWhileUnwound)};
    asm volatile("movl %%fs:0, %0" : "=r"(record.next));
    asm volatile("movl %0, %%fs:0" : : "r"(&record) : "memory");
    RaiseException(kFirstFaultCode, 0, 0, nullptr); // handled by no frame of the library's
    return 0;
}

} // extern "C"
