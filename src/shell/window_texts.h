// The texts of the main window's own parts: the file dialogs in German, the
// names of the toolbars and what it says when the settings cannot be
// written. UTF-8. The menus and toolbar tooltips are the command table's
// (session/command_table.cpp), the questions and messages the session's
// (session/session_texts.h).
#pragma once

namespace kv::window_text {

// The file dialogs: captions, filters, the question before replacing a file
// (%1 is its name) and the labels the toolkit would write in English; their
// cancel button is the message boxes' (platform/platform_texts.h).
inline constexpr const char* kOpenCaption = "Öffnen";
inline constexpr const char* kSaveCaption = "Speichern unter";
inline constexpr const char* kPictureCaption = "Als Bild speichern";
inline constexpr const char* kDocumentFilter = "KVL - Kurvaline-Dateien (*.kvl)";
inline constexpr const char* kAllFilesFilter = "Alle Dateien (*)";
// In the order of the picture formats offered.
inline constexpr const char* kPictureFilters[] = {
    "GIF - Graphics Interchange Format (*.gif)",
    "BMP - Windows Bitmap (*.bmp)",
    "PNG - Portable Network Graphics (*.png)",
    "SVG - Scalable Vector Graphics (*.svg)",
};
inline constexpr const char* kReplaceQuestion =
    "%1 ist bereits vorhanden.\nMöchten Sie die Datei ersetzen?";
inline constexpr const char* kLookIn = "Suchen in:";
inline constexpr const char* kFileName = "Dateiname:";
inline constexpr const char* kFileType = "Dateityp:";
inline constexpr const char* kOpenButton = "Ö&ffnen";
inline constexpr const char* kSaveButton = "&Speichern";

// The toolbars' names, also their object names.
inline constexpr const char* kLeftToolbar = "Werkzeugleiste links";
inline constexpr const char* kRightToolbar = "Werkzeugleiste rechts";

inline constexpr const char* kSettingsNotSaved = "Die Einstellungen konnten nicht gespeichert werden.";

}  // namespace kv::window_text
