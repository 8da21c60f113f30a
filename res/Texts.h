#pragma once
// Every message and fixed text the program shows or sends, exactly as it
// stands. The control texts of the dialogs are in the dialog templates
// (res/*Dialogs.cpp), the clock page's labels with its fields
// (res/ControlLists.h).

#include "framework/Cp1250.h"

namespace qm47::text {

using fw::literals::operator""_cp1250;

// Start-up.
inline constexpr auto kLibraryFileName = "VaronelServiceLibrary.dll"_cp1250;
inline constexpr auto kNoLibrary = "Brak biblioteki: VaronelServiceLibrary.dll"_cp1250;
inline constexpr auto kNoLibraryCaption = "Brak biblioteki"_cp1250;
// A structured exception inside a library export: the export's name and the
// exception's code in eight upper-case hexadecimal digits.
inline constexpr auto kLibraryFault =
    "Biblioteka VaronelServiceLibrary.dll uległa awarii w funkcji %1 (wyjątek 0x%2). Program zostanie zamknięty."_cp1250;
// An export the library lacks; the export name follows.
inline constexpr auto kMissingExportPrefix = "Brak funkcji w bibliotece: "_cp1250;
// ErrorMessage missing from the library; the error code follows.
inline constexpr auto kPrinterErrorPrefix = "Błąd drukarki, kod: "_cp1250;

// The diagnostic log (QM47.exe /log), written in the working folder.
inline constexpr auto kLogFileName = "QM47.log"_cp1250;
inline constexpr auto kCannotWriteLog = "Nie można zapisać pliku QM47.log"_cp1250;

// Main window.
inline constexpr auto kCannotOpenPort = "Nie można otworzyć portu"_cp1250;
// Fiscalization: the frame did not go out whole (sending it again is safe),
// or went out but the library did not get its port back (it must not be
// sent again: fiscalization cannot be undone).
inline constexpr auto kFiscalizationNotSentWhole =
    "Polecenie fiskalizacji nie zostało wysłane w całości. Sprawdź połączenie z drukarką i spróbuj ponownie."_cp1250;
inline constexpr auto kFiscalizationSentPortNotReopened =
    "Polecenie fiskalizacji zostało wysłane, ale nie udało się ponownie otworzyć portu. Połącz się z drukarką ponownie."_cp1250;
// Fiscalization: a NIP that is not ten digits (single dashes or blanks
// between them), one whose check digit does not match, and the question
// before a valid one goes out (%1 the NIP as typed).
inline constexpr auto kNipNotTenDigits = "Nieprawidłowy NIP: wpisz 10 cyfr (myślniki i spacje są dozwolone)."_cp1250;
inline constexpr auto kNipWrongCheckDigit = "Nieprawidłowy NIP: cyfra kontrolna się nie zgadza."_cp1250;
inline constexpr auto kConfirmFiscalization =
    "Fiskalizacji nie można cofnąć. Zapisać w pamięci fiskalnej drukarki NIP %1?"_cp1250;
inline constexpr auto kPrinterOffline = "Drukarka jest w trybie OFF-LINE"_cp1250;
inline constexpr auto kPrinterNotConnected = "Drukarka nie została podłączona"_cp1250;
inline constexpr auto kAboutMenuItem = "&About QM47..."_cp1250;
inline constexpr auto kDefaultPort = "com1"_cp1250;

// Status panel.
inline constexpr auto kFiscal = "Fiskalny"_cp1250;
inline constexpr auto kNonFiscal = "Niefiskalny"_cp1250;
inline constexpr auto kRateExempt = "Zwolniona"_cp1250;
inline constexpr auto kRateInactive = "Nieaktywna"_cp1250;
inline constexpr auto kRateTextExempt = "100.00"_cp1250;
inline constexpr auto kRateTextInactive = "101.00"_cp1250;
inline constexpr auto kWarnedModel = "OrbelaMakron"_cp1250;
inline constexpr auto kWarnedModelMessage = "Drukarka OrbelaMakron - Nieładnie"_cp1250;

// Page operations.
inline constexpr auto kOfflineOperation = "Drukarka jest w trybie OFF-LINE, operacja nie może zostać wykonana"_cp1250;
inline constexpr auto kOperationDone = "Operacja zakończona poprawnie"_cp1250;

// Clock page: a value refused, %1 its label (res::kClockFields), %2 and %3
// the lowest and the highest value allowed.
inline constexpr auto kInvalidClockValue = "Nieprawidłowa wartość: %1 (%2-%3)"_cp1250;

// Tax-rate page: the rate texts A to G a new page starts with.
inline constexpr const char* kDefaultPtuRates[] = {
    fw::cp1250<"22">(), fw::cp1250<"7">(), fw::cp1250<"0">(), fw::cp1250<"101">(),
    fw::cp1250<"101">(), fw::cp1250<"101">(), fw::cp1250<"100">(),
};

// Reports page: the printer refused the range of a report.
inline constexpr auto kNumberRangeError = "Błędny zakres numerów !!!"_cp1250;
inline constexpr auto kDateRangeError = "Błędny zakres dat !!!"_cp1250;

// Identification texts carried by the requests.
inline constexpr auto kRegisterNumber = "001"_cp1250;
inline constexpr auto kCashier = "SERWIS"_cp1250;
inline constexpr auto kTaxRegisterNumber = "12345678"_cp1250;
inline constexpr auto kHeaderCashier = "Serwis"_cp1250;

// Header page: the warnings of line 1 (two blanks before "=" in both).
inline constexpr auto kHeaderDoubleWidthLimit = "W przypadku podwojonej szerokość znaku, ilość znaków  = max 20"_cp1250;
inline constexpr auto kHeaderLineLimit = "Dopuszczalna ilość znaków  = 40"_cp1250;
// A header longer than the printer takes: %1 its length in bytes, %2 the most it takes.
inline constexpr auto kHeaderTooLong =
    "Nagłówek jest za długi - długość: %1, dopuszczalna: %2. Skróć linie albo wyłącz wyśrodkowanie."_cp1250;

// Header text conversion: its working files and its messages (caption kConversionErrorCaption).
inline constexpr auto kHeaderInputFile = "naglowek_we.txt"_cp1250;
inline constexpr auto kHeaderOutputFile = "naglowek.txt"_cp1250;
inline constexpr auto kConversionErrorCaption = "Błąd"_cp1250;
inline constexpr auto kCannotOpenInputFile = "Blad nr 1: Nie umiem otworzyc pliku wejsciowego"_cp1250;
inline constexpr auto kCannotOpenOutputFile = "Blad nr 1: Nie umiem otworzyc pliku wyjsciowego"_cp1250;
inline constexpr auto kCannotWriteOutputFile = "Blad nr 2: Nie umiem zapisac pliku wyjsciowego"_cp1250;

// A fault that ended a window; the fault's own description follows on the next line.
inline constexpr auto kProgramError = "Błąd programu, okno zostanie zamknięte."_cp1250;

// Goods database check and control sale pages.
inline constexpr auto kDefaultRateLetter = "A"_cp1250; // the rate both pages open with
inline constexpr auto kUnknownRate = "Nieznana stawka PTU - wybierz A, B, C, D, E, F lub G"_cp1250;
inline constexpr auto kGoodsNeverSold = "nie był sprzedawany"_cp1250;
inline constexpr auto kGoodsSoldExempt = "był sprzedawany w stawce zwolnionej"_cp1250;
inline constexpr auto kGoodsStatusBlocked = "towar jest zablokowany"_cp1250;
inline constexpr auto kGoodsStatusNotBlocked = "towar nie jest zablokowany"_cp1250;
inline constexpr auto kControlSaleName = "Towar testowy"_cp1250;
inline constexpr auto kCancelTransactionQuestion =
    "Drukarka jest w trybie transakcji - naciśnij TAK aby anulować transakcję lub NIE aby zrezygnować."_cp1250;
inline constexpr auto kGoodsBlockedRename = "Towar jest zablokowany zmień nazwę"_cp1250;
// The control sale's receipt: one article of 0.01 at quantity 1.
inline constexpr auto kSaleQuantity = "1"_cp1250;
inline constexpr auto kSaleAmount = "0.01"_cp1250;
inline constexpr auto kSaleLineLastText = "0"_cp1250;
inline constexpr auto kReceiptEndCode = "1SW"_cp1250;

} // namespace qm47::text
