// The texts the session shows or hands to the user: message box captions,
// questions and errors, status bar texts, undo descriptions, the coordinate
// tip and the notes of the curve discussion. UTF-8. The menu and toolbar
// texts are the command table's (command_table.cpp); the formula messages
// are expr/messages.h.
#pragma once

namespace kv {

// The caption of every message box.
inline constexpr const char* kCaption = "Kurvaline";

// Questions and errors.
inline constexpr const char* kDocumentOpenFailed = "Datei konnte nicht geöffnet werden";
inline constexpr const char* kDocumentSaveFailed = "Fehler beim Speichern der Datei";
inline constexpr const char* kSaveQuestion = "Datei speichern?";
inline constexpr const char* kResetSettingsQuestion = "Sämtliche Einstellungen zurücksetzen?";
// "Als Standard setzen", by the panel of the dialog.
inline constexpr const char* kFunctionDefaultsQuestion =
    "x min, x max, y min, y max:\nDiese Werte als Standard für den Funktionen-Modus übernehmen?";
inline constexpr const char* kIntegralDefaultsQuestion =
    "x min, x max, y min, y max:\nDiese Werte als Standard für den Integral-Modus übernehmen?";
inline constexpr const char* kDiffEquDefaultsQuestion =
    "x min, x max, y min, y max:\nDiese Werte als Standard für den "
    "Differentialgleichungs-Modus übernehmen?";
// Closing the other instances: a format with the verb's ending, the count and
// the noun's ending, which differ between one and several.
inline constexpr const char* kOtherInstancesQuestion =
    "Es l%s noch %i weitere Kurvaline-Instanz%s.\nEbenfalls schließen?";
inline constexpr const char* kOtherInstancesVerbOne = "äuft";
inline constexpr const char* kOtherInstancesVerbMany = "aufen";
inline constexpr const char* kOtherInstancesNounMany = "en";

// The status bar.
inline constexpr const char* kDefaultStatusText =
    "Hilfe erhalten Sie mit F1 oder über \"Hilfe\" im Menü";
inline constexpr const char* kGestureStatusText = "Mausgeste läuft...";
inline constexpr const char* kZoomBoxStatusText =
    "Zoomvorgang abbrechen: Gleichzeitig <Esc> oder die andere Maustaste drücken";
// Shown while the mouse is over the graph of a panel with at least one formula.
inline constexpr const char* kZoomHintStatusText =
    "Mit gedrückter linker Maustaste können Sie ein Zoom-Rechteck auswählen";

// The description texts of the view operations, in the undo item.
inline constexpr const char* kUndoZoom = "Zoomen";
inline constexpr const char* kUndoZoomRect = "Selektiertes Rechteck zoomen";
inline constexpr const char* kUndoScroll = "Scrollen";
inline constexpr const char* kUndoCentre = "Zum Zentrum scrollen";
inline constexpr const char* kUndoStandard = "Standardansicht";

// The coordinate tip's lines, and what follows the y line over a column the
// drawing left undecided.
inline constexpr const char* kTipXPrefix = "x = ";
inline constexpr const char* kTipYPrefix = "y = ";
inline constexpr const char* kTipUncertain = " unsicher";

// The curve discussion: the note on the formulas left out and the head of
// the copied table (Windows line ends). The names of its points and their
// status are the discussion's own (analysis/discussion_texts.h).
inline constexpr const char* kSkippedPrefix = "Nicht diskutiert (keine Funktion von x): ";
inline constexpr const char* kDiscussionHeader = "Art\tx\ty\tStatus\r\n";

}  // namespace kv
