#pragma once
// The device library's exports, in the order start-up looks them up. One
// list drives the slot types, the typed calls and the lookups.
//
// CALLED(name, parameters, arguments): an export the program calls.
// RESOLVED(name): an export that is looked up but never called.

#include "app/Records.h"

#include <cstdint>

#define QM47_DEVICE_LIBRARY_EXPORTS(CALLED, RESOLVED)                                              \
    CALLED(Port_Open, (const char* port, std::int32_t baud), (port, baud))                         \
    CALLED(Port_Close, (), ())                                                                     \
    CALLED(Send_BEL, (), ())                                                                       \
    CALLED(LBDSP, (std::int32_t mode, const char* text), (mode, text))                             \
    CALLED(LBRVINFO, (std::int32_t days, const char* phone), (days, phone))                        \
    CALLED(LBSETHDR, (const char* header, const char* registerNumber, const char* cashier),        \
           (header, registerNumber, cashier))                                                      \
    RESOLVED(LBSETRAB)                                                                             \
    RESOLVED(LBSETFSK)                                                                             \
    CALLED(LBSERM, (std::int32_t mode), (mode))                                                    \
    CALLED(LBSETCK, (qm47::SetClockRequest* request), (request))                                   \
    CALLED(LBSETPTU, (qm47::SetPtuRequest* request), (request))                                    \
    CALLED(LBTRSHDR, (std::int32_t mode), (mode))                                                  \
    CALLED(LBTRSLN, (qm47::SaleLineRequest* request), (request))                                   \
    CALLED(LBTREXITCAN, (const char* registerNumber, const char* cashier), (registerNumber, cashier)) \
    CALLED(O_LBTRXEND, (qm47::ReceiptEndRequest* request), (request))                              \
    CALLED(ErrorMessage, (const char* text, std::int32_t code), (text, code))                      \
    CALLED(GetStatus_CashRegister, (qm47::CashRegisterStatus* status), (status))                   \
    CALLED(GetStatus_Printer, (qm47::PrinterStatus* status), (status))                             \
    CALLED(LBFSTRQ, (qm47::FiscalStatus* status), (status))                                        \
    CALLED(LBIDRQ, (qm47::DeviceIdentity* identity), (identity))                                   \
    CALLED(LBSENDCK, (qm47::ClockTime* clock), (clock))                                            \
    CALLED(LBDAYREP, (qm47::DailyReportRequest* request), (request))                               \
    CALLED(LBFSKREP_R, (qm47::NumberReportRequest* request), (request))                            \
    CALLED(LBFSKREP_D, (qm47::DateReportRequest* request), (request))                              \
    CALLED(LBDBREPRS, (const char* name, unsigned char rateLetter, qm47::GoodsQueryResult* result), \
           (name, rateLetter, result))                                                             \
    CALLED(LBDBREP, (qm47::GoodsPrintRequest* request, unsigned char option), (request, option))   \
    RESOLVED(LBFSTRQ24)

// The calling convention in which our own stand-ins for the library (the
// simulated printer, the test fakes) define their exports unless a build
// chooses another. The program does not depend on it: the slots carry no
// convention, and on 32-bit Windows LibraryCall works with __stdcall and
// __cdecl exports alike.
#if defined(_WIN32) && !defined(_WIN64)
#define QM47_LIBCALL __stdcall
#else
#define QM47_LIBCALL
#endif
