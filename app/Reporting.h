#pragma once
// How a page operation tells the technician what a library call gave.

#include "app/DeviceLibrary.h"

namespace fw {
class CDialog;
}

namespace qm47 {

class CServiceApp;

// An empty slot: shows "Brak funkcji w bibliotece: NAME" owned by `owner`
// and answers true, so the operation goes no further.
bool ReportMissing(const fw::CDialog& owner, const LibraryResult& result);

// Hands a non-zero code to the library's ErrorMessage (empty text first);
// with no ErrorMessage in the library, shows "Błąd drukarki, kod: N".
void ShowLibraryError(const CServiceApp& app, const fw::CDialog& owner, std::int32_t code);

// The common reporting: missing export, error, or "Operacja zakończona
// poprawnie" (information icon) on success.
void ReportResult(const CServiceApp& app, const fw::CDialog& owner, const LibraryResult& result);

// The same, for pages that show nothing on success. True when the call
// failed (and the technician has been told).
bool ReportError(const CServiceApp& app, const fw::CDialog& owner, const LibraryResult& result);

// How a page operation treats the on-line check that comes first.
enum class OnlineRule {
    OnLine,       // goes on only when the printer is on-line; else the off-line message
    NotOffLine,   // stops only when the printer says it is off-line (no answer goes on)
    OnLineSilent, // goes on only when the printer is on-line; else stops without a word
};

// The on-line check before a page operation: true when the operation may go
// on. A refusal has told the technician (unless the rule is silent).
bool PrinterReady(const CServiceApp& app, const fw::CDialog& owner, OnlineRule rule = OnlineRule::OnLine);

} // namespace qm47
