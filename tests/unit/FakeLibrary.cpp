#include "FakeLibrary.h"

#include "framework/testing/TestBackend.h"

#include <algorithm>
#include <stdexcept>

namespace qm47::testing {

namespace {

FakeLibrary& Fake()
{
    return FakeLibrary::Current();
}

RecordedCall Call(const char* name, std::vector<std::int64_t> numbers = {}, std::vector<std::string> texts = {})
{
    return RecordedCall{name, std::move(numbers), std::move(texts), {}, 0};
}

template <class Record>
RecordedCall CallWithRecord(const char* name, const Record* record, std::vector<std::string> texts = {})
{
    RecordedCall call = Call(name, {}, std::move(texts));
    if (record) call.recordBytes = BytesOf(*record);
    return call;
}

// A query: its call recorded, then its record filled by the test's `fill`, if any.
template <class Record>
std::int32_t Answer(const char* name, Record* record, const std::function<void(Record&)>& fill)
{
    const std::int32_t result = Fake().Record(CallWithRecord(name, record));
    if (fill) fill(*record);
    return result;
}

std::int32_t QM47_LIBCALL Port_Open(const char* port, std::int32_t baud)
{
    return Fake().Record(Call("Port_Open", {baud}, {TextOrNull(port)}));
}
std::int32_t QM47_LIBCALL Port_Close() { return Fake().Record(Call("Port_Close")); }
std::int32_t QM47_LIBCALL Send_BEL() { return Fake().Record(Call("Send_BEL")); }
std::int32_t QM47_LIBCALL LBDSP(std::int32_t mode, const char* text)
{
    return Fake().Record(Call("LBDSP", {mode}, {TextOrNull(text)}));
}
std::int32_t QM47_LIBCALL LBRVINFO(std::int32_t days, const char* phone)
{
    return Fake().Record(Call("LBRVINFO", {days}, {TextOrNull(phone)}));
}
std::int32_t QM47_LIBCALL LBSETHDR(const char* header, const char* registerNumber, const char* cashier)
{
    return Fake().Record(Call("LBSETHDR", {}, {TextOrNull(header), TextOrNull(registerNumber), TextOrNull(cashier)}));
}
void LBSETRAB() { throw std::logic_error("LBSETRAB is never called"); }
void LBSETFSK() { throw std::logic_error("LBSETFSK is never called"); }
void LBFSTRQ24() { throw std::logic_error("LBFSTRQ24 is never called"); }
std::int32_t QM47_LIBCALL LBSERM(std::int32_t mode) { return Fake().Record(Call("LBSERM", {mode})); }
std::int32_t QM47_LIBCALL LBSETCK(SetClockRequest* r)
{
    return Fake().Record(CallWithRecord("LBSETCK", r, {TextOrNull(r->registerNumber), TextOrNull(r->cashier)}));
}
std::int32_t QM47_LIBCALL LBSETPTU(SetPtuRequest* r)
{
    std::vector<std::string> texts;
    for (int i = 0; i < r->count && r->entries; ++i) texts.push_back(TextOrNull(r->entries[i].rateText));
    texts.push_back(TextOrNull(r->registerNumber));
    texts.push_back(TextOrNull(r->cashier));
    RecordedCall call = CallWithRecord("LBSETPTU", r, std::move(texts));
    for (int i = 0; i < r->count && r->entries; ++i) {
        const auto entry = BytesOf(r->entries[i]);
        call.recordBytes.insert(call.recordBytes.end(), entry.begin(), entry.end());
    }
    return Fake().Record(std::move(call));
}
std::int32_t QM47_LIBCALL LBTRSHDR(std::int32_t mode) { return Fake().Record(Call("LBTRSHDR", {mode})); }
std::int32_t QM47_LIBCALL LBTRSLN(SaleLineRequest* r)
{
    return Fake().Record(CallWithRecord("LBTRSLN", r,
                                        {TextOrNull(r->name), TextOrNull(r->quantity), TextOrNull(r->price),
                                         TextOrNull(r->value), TextOrNull(r->lastText)}));
}
std::int32_t QM47_LIBCALL LBTREXITCAN(const char* registerNumber, const char* cashier)
{
    return Fake().Record(Call("LBTREXITCAN", {}, {TextOrNull(registerNumber), TextOrNull(cashier)}));
}
std::int32_t QM47_LIBCALL O_LBTRXEND(ReceiptEndRequest* r)
{
    std::vector<std::string> texts{TextOrNull(r->code)};
    for (int i = 0; i < 3; ++i) texts.push_back(r->texts3 ? TextOrNull(r->texts3[i]) : "<null>");
    texts.push_back(TextOrNull(r->text19));
    texts.push_back(TextOrNull(r->text23));
    texts.push_back(TextOrNull(r->text27));
    texts.push_back(TextOrNull(r->amount));
    for (int i = 0; i < 8; ++i) texts.push_back(TextOrNull(r->pairs[i].text));
    return Fake().Record(CallWithRecord("O_LBTRXEND", r, std::move(texts)));
}
std::int32_t QM47_LIBCALL ErrorMessage(const char* text, std::int32_t code)
{
    return Fake().Record(Call("ErrorMessage", {code}, {TextOrNull(text)}));
}
std::int32_t QM47_LIBCALL GetStatus_CashRegister(CashRegisterStatus* status)
{
    auto& fake = Fake();
    const std::int32_t result = fake.Record(CallWithRecord("GetStatus_CashRegister", status));
    if (fake.cashRegisterFills) *status = fake.cashRegister;
    return result;
}
std::int32_t QM47_LIBCALL GetStatus_Printer(PrinterStatus* status)
{
    auto& fake = Fake();
    const std::int32_t result = fake.Record(CallWithRecord("GetStatus_Printer", status));
    std::int32_t onl = fake.onl;
    if (!fake.onlAnswers.empty()) {
        onl = fake.onlAnswers.front();
        if (fake.onlAnswers.size() > 1) fake.onlAnswers.pop_front();
    }
    if (fake.printerFills) *status = {onl, fake.pe, fake.err};
    return result;
}
std::int32_t QM47_LIBCALL LBFSTRQ(FiscalStatus* status) { return Answer("LBFSTRQ", status, Fake().fillFiscalStatus); }
std::int32_t QM47_LIBCALL LBIDRQ(DeviceIdentity* identity) { return Answer("LBIDRQ", identity, Fake().fillIdentity); }
std::int32_t QM47_LIBCALL LBSENDCK(ClockTime* clock) { return Answer("LBSENDCK", clock, Fake().fillClock); }
std::int32_t QM47_LIBCALL LBDAYREP(DailyReportRequest* r)
{
    return Fake().Record(CallWithRecord("LBDAYREP", r, {TextOrNull(r->registerNumber), TextOrNull(r->cashier)}));
}
std::int32_t QM47_LIBCALL LBFSKREP_R(NumberReportRequest* r)
{
    return Fake().Record(CallWithRecord("LBFSKREP_R", r, {TextOrNull(r->registerNumber), TextOrNull(r->cashier)}));
}
std::int32_t QM47_LIBCALL LBFSKREP_D(DateReportRequest* r)
{
    return Fake().Record(CallWithRecord("LBFSKREP_D", r, {TextOrNull(r->registerNumber), TextOrNull(r->cashier)}));
}
std::int32_t QM47_LIBCALL LBDBREPRS(const char* name, unsigned char rateLetter, GoodsQueryResult* result)
{
    auto& fake = Fake();
    RecordedCall call = CallWithRecord("LBDBREPRS", result, {TextOrNull(name)});
    call.numbers.push_back(rateLetter);
    const std::int32_t code = fake.Record(std::move(call));
    if (fake.fillGoods) fake.fillGoods(*result);
    return code;
}
std::int32_t QM47_LIBCALL LBDBREP(GoodsPrintRequest* r, unsigned char option)
{
    RecordedCall call = CallWithRecord("LBDBREP", r,
                                       {TextOrNull(r->goodsName), TextOrNull(r->rateLetter),
                                        TextOrNull(r->registerNumber), TextOrNull(r->cashier)});
    call.numbers.push_back(option);
    return Fake().Record(std::move(call));
}

void* Address(std::string_view name)
{
#define QM47_FAKE_ADDRESS(export_name, ...) \
    if (name == #export_name) return reinterpret_cast<void*>(&export_name);
    QM47_DEVICE_LIBRARY_EXPORTS(QM47_FAKE_ADDRESS, QM47_FAKE_ADDRESS)
#undef QM47_FAKE_ADDRESS
    return nullptr;
}

} // namespace

std::string TextOrNull(const char* text)
{
    return text ? std::string(text) : std::string("<null>");
}

DeviceLibrary FakeLibrary::Bind(std::initializer_list<std::string_view> without) const
{
    return Bind(std::vector<std::string_view>(without));
}

DeviceLibrary FakeLibrary::Bind(const std::vector<std::string_view>& without) const
{
    return DeviceLibrary::Resolve([&](const char* name) -> void* {
        if (std::find(without.begin(), without.end(), std::string_view(name)) != without.end()) return nullptr;
        return Address(name);
    });
}

std::vector<std::string> FakeLibrary::Names() const
{
    std::vector<std::string> names;
    for (const RecordedCall& call : calls) names.push_back(call.name);
    return names;
}

std::vector<RecordedCall> FakeLibrary::CallsOf(std::string_view name) const
{
    std::vector<RecordedCall> found;
    for (const RecordedCall& call : calls)
        if (call.name == name) found.push_back(call);
    return found;
}

std::int32_t FakeLibrary::Record(RecordedCall call)
{
    try {
        call.waitCursorDepth = fw::testing::TestUi::Current().waitCursorDepth;
    } catch (const std::logic_error&) {
        call.waitCursorDepth = -1; // no user interface in this test
    }
    calls.push_back(std::move(call));
    if (during) during(calls.back());
    const auto found = results.find(calls.back().name);
    return found == results.end() ? 0 : found->second;
}

} // namespace qm47::testing
