// The 27 exports of the device library. Each journals its arguments and
// hands them to the virtual printer (VirtualPrinter.h); Library.h applies the
// configured faults and writes the journal and the printout.

#include "app/DeviceLibraryExports.h"
#include "sim/ErrorCodes.h"
#include "sim/Library.h"
#include "sim/Platform.h"
#include "sim/Text.h"

#include <cstdint>

// The calling convention of every export, in this one place: the program's
// (QM47_LIBCALL) unless a build of the library chooses another.
#ifndef QM47_SIM_CALL
#define QM47_SIM_CALL QM47_LIBCALL
#endif

// The exports are declared from the program's own list, so that their
// parameters cannot differ from what the program passes.
extern "C" {
#define QM47_SIM_DECLARE_CALLED(name, params, args) std::int32_t QM47_SIM_CALL name params;
#define QM47_SIM_DECLARE_RESOLVED(name) std::int32_t QM47_SIM_CALL name();
QM47_DEVICE_LIBRARY_EXPORTS(QM47_SIM_DECLARE_CALLED, QM47_SIM_DECLARE_RESOLVED)
#undef QM47_SIM_DECLARE_CALLED
#undef QM47_SIM_DECLARE_RESOLVED
}

using sim::Call;

extern "C" {

// --- Port ---------------------------------------------------------------------

std::int32_t QM47_SIM_CALL Port_Open(const char* port, std::int32_t baud)
{
    Call call("Port_Open");
    call.Line().Text("port", port);
    call.Line().Integer("baud", baud);
    return call.Run([&] { return call.Printer().OpenPort(port, baud, call.Settings()); });
}

std::int32_t QM47_SIM_CALL Port_Close()
{
    Call call("Port_Close");
    return call.Run([&] { return call.Printer().ClosePort(); });
}

// --- Status queries -----------------------------------------------------------

std::int32_t QM47_SIM_CALL GetStatus_Printer(qm47::PrinterStatus* status)
{
    Call call("GetStatus_Printer");
    return call.RunQuery("status", status, [&](qm47::PrinterStatus& out) {
        return call.Printer().PrinterStatus(out, call.Settings());
    });
}

std::int32_t QM47_SIM_CALL GetStatus_CashRegister(qm47::CashRegisterStatus* status)
{
    Call call("GetStatus_CashRegister");
    return call.RunQuery("status", status, [&](qm47::CashRegisterStatus& out) {
        return call.Printer().CashRegisterStatus(out, call.Settings());
    });
}

std::int32_t QM47_SIM_CALL LBIDRQ(qm47::DeviceIdentity* identity)
{
    Call call("LBIDRQ");
    return call.RunQuery("identity", identity, [&](qm47::DeviceIdentity& out) {
        return call.Printer().Identity(out, call.Settings());
    });
}

std::int32_t QM47_SIM_CALL LBFSTRQ(qm47::FiscalStatus* status)
{
    Call call("LBFSTRQ");
    return call.RunQuery("status", status, [&](qm47::FiscalStatus& out) {
        return call.Printer().FiscalStatus(out, call.Settings());
    });
}

std::int32_t QM47_SIM_CALL LBSENDCK(qm47::ClockTime* clock)
{
    Call call("LBSENDCK");
    return call.RunQuery("clock", clock, [&](qm47::ClockTime& out) { return call.Printer().ReadClock(out); });
}

std::int32_t QM47_SIM_CALL LBDBREPRS(const char* name, unsigned char rateLetter, qm47::GoodsQueryResult* result)
{
    Call call("LBDBREPRS");
    call.Line().Text("name", name);
    call.Line().Byte("rateLetter", rateLetter);
    return call.RunQuery("result", result, [&](qm47::GoodsQueryResult& out) {
        return call.Printer().QueryGoods(name, rateLetter, out);
    });
}

// --- Settings -----------------------------------------------------------------

std::int32_t QM47_SIM_CALL LBSETCK(qm47::SetClockRequest* request)
{
    Call call("LBSETCK");
    call.Input("request", request);
    return call.Run([&] {
        return request ? call.Printer().SetClock(*request, call.Settings()) : sim::kMissingData;
    });
}

std::int32_t QM47_SIM_CALL LBSETPTU(qm47::SetPtuRequest* request)
{
    Call call("LBSETPTU");
    call.Input("request", request);
    return call.Run([&] {
        return request ? call.Printer().SetRates(*request, call.Settings()) : sim::kMissingData;
    });
}

std::int32_t QM47_SIM_CALL LBSETHDR(const char* header, const char* registerNumber, const char* cashier)
{
    Call call("LBSETHDR");
    call.Line().Text("header", header);
    call.Line().Text("registerNumber", registerNumber);
    call.Line().Text("cashier", cashier);
    return call.Run([&] { return call.Printer().SetHeader(header, registerNumber, cashier, call.Settings()); });
}

std::int32_t QM47_SIM_CALL LBRVINFO(std::int32_t days, const char* phone)
{
    Call call("LBRVINFO");
    call.Line().Integer("days", days);
    call.Line().Text("phone", phone);
    return call.Run([&] { return call.Printer().SetServiceInspection(days, phone, call.Settings()); });
}

std::int32_t QM47_SIM_CALL LBDSP(std::int32_t mode, const char* text)
{
    Call call("LBDSP");
    call.Line().Integer("mode", mode);
    call.Line().Text("text", text);
    return call.Run([&] { return call.Printer().Display(mode, text); });
}

std::int32_t QM47_SIM_CALL LBSERM(std::int32_t mode)
{
    Call call("LBSERM");
    call.Line().Integer("mode", mode);
    return call.Run([&] { return call.Printer().SetServiceMode(mode); });
}

std::int32_t QM47_SIM_CALL Send_BEL()
{
    Call call("Send_BEL");
    return call.Run([&] { return call.Printer().Bell(); });
}

// --- Reports and the goods printout ---------------------------------------------

std::int32_t QM47_SIM_CALL LBDAYREP(qm47::DailyReportRequest* request)
{
    Call call("LBDAYREP");
    call.Input("request", request);
    return call.Run([&] {
        return request ? call.Printer().DailyReport(*request, call.Settings()) : sim::kMissingData;
    });
}

std::int32_t QM47_SIM_CALL LBFSKREP_R(qm47::NumberReportRequest* request)
{
    Call call("LBFSKREP_R");
    call.Input("request", request);
    return call.Run([&] {
        return request ? call.Printer().NumberReport(*request, call.Settings()) : sim::kMissingData;
    });
}

std::int32_t QM47_SIM_CALL LBFSKREP_D(qm47::DateReportRequest* request)
{
    Call call("LBFSKREP_D");
    call.Input("request", request);
    return call.Run([&] {
        return request ? call.Printer().DateReport(*request, call.Settings()) : sim::kMissingData;
    });
}

std::int32_t QM47_SIM_CALL LBDBREP(qm47::GoodsPrintRequest* request, unsigned char option)
{
    Call call("LBDBREP");
    call.Input("request", request);
    call.Line().Byte("option", option);
    return call.Run([&] {
        return request ? call.Printer().PrintGoods(*request, option, call.Settings()) : sim::kMissingData;
    });
}

// --- Control sale -------------------------------------------------------------

std::int32_t QM47_SIM_CALL LBTRSHDR(std::int32_t mode)
{
    Call call("LBTRSHDR");
    call.Line().Integer("mode", mode);
    return call.Run([&] { return call.Printer().OpenReceipt(mode); });
}

std::int32_t QM47_SIM_CALL LBTRSLN(qm47::SaleLineRequest* request)
{
    Call call("LBTRSLN");
    call.Input("request", request);
    return call.Run([&] { return request ? call.Printer().SaleLine(*request) : sim::kMissingData; });
}

std::int32_t QM47_SIM_CALL O_LBTRXEND(qm47::ReceiptEndRequest* request)
{
    Call call("O_LBTRXEND");
    call.Input("request", request);
    return call.Run([&] {
        return request ? call.Printer().EndReceipt(*request, call.Settings()) : sim::kMissingData;
    });
}

std::int32_t QM47_SIM_CALL LBTREXITCAN(const char* registerNumber, const char* cashier)
{
    Call call("LBTREXITCAN");
    call.Line().Text("registerNumber", registerNumber);
    call.Line().Text("cashier", cashier);
    return call.Run([&] { return call.Printer().CancelReceipt(registerNumber, cashier, call.Settings()); });
}

// --- Messages -----------------------------------------------------------------

std::int32_t QM47_SIM_CALL ErrorMessage(const char* text, std::int32_t code)
{
    Call call("ErrorMessage");
    call.Line().Text("text", text);
    call.Line().Integer("code", code);
    const auto box = [&] {
        sim::ShowErrorBox(std::string(sim::kErrorBoxCaption), sim::ErrorBoxText(code, text ? sim::Cp1250ToUtf8(text) : ""),
                          call.Settings().errorBoxOwned);
    };
    if (const auto replayed = call.Replayed()) {
        const std::int32_t result = call.End(replayed->result);
        if (replayed->libraryWindow) box();
        return result;
    }
    const auto forced = call.Forced();
    // Journaled before the box opens: the call is in the journal while the
    // modal box waits for the user.
    const std::int32_t result = call.End(forced.value_or(sim::kOk));
    if (!forced && call.Settings().errorBox) box();
    return result;
}

// --- Resolved by the program but never called -----------------------------------

std::int32_t QM47_SIM_CALL LBSETRAB() { return Call("LBSETRAB").Run([] { return sim::kNotSupported; }); }
std::int32_t QM47_SIM_CALL LBSETFSK() { return Call("LBSETFSK").Run([] { return sim::kNotSupported; }); }
std::int32_t QM47_SIM_CALL LBFSTRQ24() { return Call("LBFSTRQ24").Run([] { return sim::kNotSupported; }); }

} // extern "C"
