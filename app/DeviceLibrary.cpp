#include "app/DeviceLibrary.h"

#include "app/CallText.h"
#include "app/DiagnosticLog.h"
#include "framework/LibraryCallGuard.h"
#include "framework/MessageBox.h"
#include "platform/System.h"
#include "platform/Time.h"
#include "res/Texts.h"

#include <iterator>

namespace qm47 {

namespace {

// The bytes of arguments a 32-bit call pushes: four per parameter.
template <class... Params>
constexpr std::uint32_t ArgumentBytes(std::int32_t (*)(Params...))
{
    return static_cast<std::uint32_t>(4 * sizeof...(Params));
}

} // namespace

LibraryResult DeviceLibrary::NotCalled(const char* exportName) const
{
    if (m_log) m_log->Missing(exportName);
    return {exportName, true, 0};
}

// Each typed call: an empty slot answers `missing` without calling; a call
// shows the wait cursor while it blocks the window, and no input or command
// reaches the program's windows until it returns (LibraryCallGuard). The call
// is written to the log before the library gets it, so that a call that never
// returns is the log's last line; it is timed and tells its convention in
// every run, so that one path serves with and without the log. A fault inside
// the export ends the program, told once the guard has let the program's
// windows go, so that its box is the program's own.
template <class... Params>
LibraryResult DeviceLibrary::Call(const char* exportName, const char* parameterNames, std::int32_t (*slot)(Params...),
                                  FieldsRead read, std::type_identity_t<Params>... args) const
{
    if (!slot) return NotCalled(exportName);
    std::uint32_t started = 0;
    std::uint32_t popped = kPoppedBytesUnknown;
    LibraryFault fault;
    std::int32_t returned = 0;
    bool libraryWindow = false;
    {
        fw::WaitCursor busy;
        const fw::LibraryCallGuard guard;
        if (m_log) m_log->CallStarts(exportName, parameterNames, {args...});
        started = platform::MonotonicMilliseconds();
        returned = LibraryCall(slot, fault, &popped)(args...);
        libraryWindow = guard.LibraryShowedWindow();
    }
    if (fault.raised) EndAfterFault(exportName, fault);
    if (m_log)
        m_log->CallEnded(started, exportName, returned, {args...}, read, ArgumentBytes(slot), popped, libraryWindow);
    return {exportName, false, returned};
}

// The typed calls, one per export the program calls, in the export list's
// order: the export's name and its parameters' names as the log writes them.
LibraryResult DeviceLibrary::Port_Open(const char* port, std::int32_t baud, FieldsRead read) const { return Call("Port_Open", "(port, baud)", m_Port_Open, read, port, baud); }
LibraryResult DeviceLibrary::Port_Close(FieldsRead read) const { return Call("Port_Close", "()", m_Port_Close, read); }
LibraryResult DeviceLibrary::Send_BEL(FieldsRead read) const { return Call("Send_BEL", "()", m_Send_BEL, read); }
LibraryResult DeviceLibrary::LBDSP(std::int32_t mode, const char* text, FieldsRead read) const { return Call("LBDSP", "(mode, text)", m_LBDSP, read, mode, text); }
LibraryResult DeviceLibrary::LBRVINFO(std::int32_t days, const char* phone, FieldsRead read) const { return Call("LBRVINFO", "(days, phone)", m_LBRVINFO, read, days, phone); }
LibraryResult DeviceLibrary::LBSETHDR(const char* header, const char* registerNumber, const char* cashier, FieldsRead read) const { return Call("LBSETHDR", "(header, registerNumber, cashier)", m_LBSETHDR, read, header, registerNumber, cashier); }
LibraryResult DeviceLibrary::LBSERM(std::int32_t mode, FieldsRead read) const { return Call("LBSERM", "(mode)", m_LBSERM, read, mode); }
LibraryResult DeviceLibrary::LBSETCK(SetClockRequest* request, FieldsRead read) const { return Call("LBSETCK", "(request)", m_LBSETCK, read, request); }
LibraryResult DeviceLibrary::LBSETPTU(SetPtuRequest* request, FieldsRead read) const { return Call("LBSETPTU", "(request)", m_LBSETPTU, read, request); }
LibraryResult DeviceLibrary::LBTRSHDR(std::int32_t mode, FieldsRead read) const { return Call("LBTRSHDR", "(mode)", m_LBTRSHDR, read, mode); }
LibraryResult DeviceLibrary::LBTRSLN(SaleLineRequest* request, FieldsRead read) const { return Call("LBTRSLN", "(request)", m_LBTRSLN, read, request); }
LibraryResult DeviceLibrary::LBTREXITCAN(const char* registerNumber, const char* cashier, FieldsRead read) const { return Call("LBTREXITCAN", "(registerNumber, cashier)", m_LBTREXITCAN, read, registerNumber, cashier); }
LibraryResult DeviceLibrary::O_LBTRXEND(ReceiptEndRequest* request, FieldsRead read) const { return Call("O_LBTRXEND", "(request)", m_O_LBTRXEND, read, request); }
LibraryResult DeviceLibrary::ErrorMessage(const char* text, std::int32_t code, FieldsRead read) const { return Call("ErrorMessage", "(text, code)", m_ErrorMessage, read, text, code); }
LibraryResult DeviceLibrary::GetStatus_CashRegister(CashRegisterStatus* status, FieldsRead read) const { return Call("GetStatus_CashRegister", "(status)", m_GetStatus_CashRegister, read, status); }
LibraryResult DeviceLibrary::GetStatus_Printer(PrinterStatus* status, FieldsRead read) const { return Call("GetStatus_Printer", "(status)", m_GetStatus_Printer, read, status); }
LibraryResult DeviceLibrary::LBFSTRQ(FiscalStatus* status, FieldsRead read) const { return Call("LBFSTRQ", "(status)", m_LBFSTRQ, read, status); }
LibraryResult DeviceLibrary::LBIDRQ(DeviceIdentity* identity, FieldsRead read) const { return Call("LBIDRQ", "(identity)", m_LBIDRQ, read, identity); }
LibraryResult DeviceLibrary::LBSENDCK(ClockTime* clock, FieldsRead read) const { return Call("LBSENDCK", "(clock)", m_LBSENDCK, read, clock); }
LibraryResult DeviceLibrary::LBDAYREP(DailyReportRequest* request, FieldsRead read) const { return Call("LBDAYREP", "(request)", m_LBDAYREP, read, request); }
LibraryResult DeviceLibrary::LBFSKREP_R(NumberReportRequest* request, FieldsRead read) const { return Call("LBFSKREP_R", "(request)", m_LBFSKREP_R, read, request); }
LibraryResult DeviceLibrary::LBFSKREP_D(DateReportRequest* request, FieldsRead read) const { return Call("LBFSKREP_D", "(request)", m_LBFSKREP_D, read, request); }
LibraryResult DeviceLibrary::LBDBREPRS(const char* name, unsigned char rateLetter, GoodsQueryResult* result, FieldsRead read) const { return Call("LBDBREPRS", "(name, rateLetter, result)", m_LBDBREPRS, read, name, rateLetter, result); }
LibraryResult DeviceLibrary::LBDBREP(GoodsPrintRequest* request, unsigned char option, FieldsRead read) const { return Call("LBDBREP", "(request, option)", m_LBDBREP, read, request, option); }

void DeviceLibrary::EndAfterFault(const char* exportName, const LibraryFault& fault) const
{
    std::string code;
    AppendHexBytes(code, fault.code, sizeof fault.code);
    if (m_log) m_log->Fault(exportName, fault.code, fault.address, platform::ModuleNameAt(fault.address));
    // Shown from the program's own stack: the library's frames are unwound.
    // Owned by a window the user sees: a page that faulted while it opened
    // is not shown yet.
    fw::ShowMessage(fw::InnermostVisibleDialog(), fw::Substitute(text::kLibraryFault, {exportName, code}), nullptr,
                    {fw::MessageIcon::Stop});
    platform::EndProcessNow(fault.code);
}

std::string DeviceLibrary::MissingExports() const
{
#define QM47_NAME(name, ...) #name,
#define QM47_EMPTY(name, ...) !m_##name,
    static constexpr const char* kNames[] = {QM47_DEVICE_LIBRARY_EXPORTS(QM47_NAME, QM47_NAME)};
    const bool empty[] = {QM47_DEVICE_LIBRARY_EXPORTS(QM47_EMPTY, QM47_EMPTY)};
#undef QM47_NAME
#undef QM47_EMPTY
    std::string missing;
    for (std::size_t i = 0; i < std::size(kNames); ++i)
        if (empty[i]) missing.append(missing.empty() ? "" : " ").append(kNames[i]);
    return missing;
}

} // namespace qm47
