// The texts of the windows the platform layer puts up for everyone: the
// buttons and check box of the message boxes and the printouts' job name
// and error. UTF-8.
#pragma once

namespace kv {

inline constexpr const char* kOkButton = "OK";
inline constexpr const char* kCancelButton = "Abbrechen";
inline constexpr const char* kYesButton = "&Ja";
inline constexpr const char* kNoButton = "&Nein";
inline constexpr const char* kDoNotAskAgain = "Nicht mehr nachfragen";

inline constexpr const char* kPrintDocumentName = "Kurvaline: Druckvorgang";
inline constexpr const char* kPrintFailedText = "Fehler beim Drucken";

}  // namespace kv
