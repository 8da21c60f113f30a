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

// The same, for pages that show nothing on success.
void ReportError(const CServiceApp& app, const fw::CDialog& owner, const LibraryResult& result);

// The off-line refusal of a page operation.
void ShowOfflineMessage(const fw::CDialog& owner);

} // namespace qm47
