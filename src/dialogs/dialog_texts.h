// The texts of the dialog windows: the formula dialogs, the axis titles, the
// calculators, the curve discussion, the print question, the about box and
// the help window. Titles, labels, button texts with their mnemonics,
// tooltips and the gesture legends. UTF-8. A text that reads the same in two
// windows and means the same is written once.
#pragma once

namespace kv::dialog_text {

// What several windows share.
inline constexpr const char* kHelp = "&Hilfe";
inline constexpr const char* kTipHelp = "Übersicht Rechenzeichen und Hilfsfunktionen";
inline constexpr const char* kCancel = "&Abbrechen";
inline constexpr const char* kTipExpression =
    "Auch mathematische Ausdrücke sind erlaubt, sofern sie die Regeln für Funktionterme "
    "einhalten, wie z.B. 2pi oder -sqrt(10+1/3)";
inline constexpr const char* kXMinLabel = "x min";
inline constexpr const char* kXMaxLabel = "x max";
inline constexpr const char* kEquationLabel = "Differentialgleichung:";
inline constexpr const char* kDegrees = "Deg";
inline constexpr const char* kRadians = "Rad";
inline constexpr const char* kTipDegrees = "Winkelfunktionen rechnen in Winkelgrad";
inline constexpr const char* kTipRadians = "Winkelfunktionen rechnen in Bogenmaß";
inline constexpr const char* kHighPrecision = "High Precision";
inline constexpr const char* kGestures = "Mausgesten";
inline constexpr const char* kGestureRight = "Nach rechts:";
inline constexpr const char* kGestureLeft = "Nach links:";
inline constexpr const char* kGestureVertical = "Vertikal:";
inline constexpr const char* kGestureHelp = "Kurzanleitung ein, aus";

// The formula dialogs, by their panel: title, caption of the formula field
// and tooltip of the confirming button.
inline constexpr const char* kFunctionTitle = "Funktionsterm eingeben";
inline constexpr const char* kIntegralTitle = "Bestimmtes Integral (numerisch)";
inline constexpr const char* kDiffEquTitle = "Differentialgleichung numerisch lösen";
inline constexpr const char* kFunctionCaption = "Funktionsterme (getrennt durch \";\"):";
inline constexpr const char* kIntegralCaption = "Integrand f(x):";
// The function's confirming button, its tooltip and its gesture.
inline constexpr const char* kGraph = "&Graph";
inline constexpr const char* kDrawGraphAction = "Graph zeichnen";
inline constexpr const char* kIntegrate = "&Integrieren";
inline constexpr const char* kGestureIntegrate = "Integrieren";
inline constexpr const char* kTipIntegrate = "Integralkurve berechnen und zeichnen";
inline constexpr const char* kTipSolve =
    "Lösungskurve der Differentialgleichung berechnen und zeichnen";
// The range fields, in the order of the panel's ranges.
inline constexpr const char* kRangeLabels[] = {kXMinLabel, kXMaxLabel, "y min",
                                              "y max",     "t min",    "t max"};
inline constexpr const char* kRange = "Bereich";
inline constexpr const char* kLowerLimit = "Untergrenze x0";
inline constexpr const char* kStartValues = "Anfangswerte";
inline constexpr const char* kAngle = "Winkel";
inline constexpr const char* kAbsoluteIntegral = "Absolutes Integral (Fläche)";
inline constexpr const char* kDrawDerivative = "1. Ableitung zeichnen";
inline constexpr const char* kTipDrawDerivative = "Graph der 1. Ableitung zusätzlich einzeichnen";
inline constexpr const char* kGestureCancel = "Abbrechen";
inline constexpr const char* kSetDefault = "Als &Standard setzen";
inline constexpr const char* kTipSetDefault =
    "Diese Werte als Standardwerte für den dargestellten Bereich setzen";
inline constexpr const char* kRenameAxes = "Achsen &umbenennen";
inline constexpr const char* kTipRenameAxes = "Beschriftung an den Pfeilen der Achsen ändern";

// The axis titles.
inline constexpr const char* kAxisTitlesTitle = "Titel für Achsen";
inline constexpr const char* kHorizontalAxis = "Horizontale Achse:";
inline constexpr const char* kVerticalAxis = "Vertikale Achse:";
inline constexpr const char* kOk = "OK";
inline constexpr const char* kApply = "Ü&bernehmen";

// The calculators.

inline constexpr const char* kTableTitle = "Funktionsrechner - Wertetabelle";
inline constexpr const char* kValueTitle = "Funktionsrechner Einzelwert";
// The blanks belong to the tab texts: they give the tabs their width.
inline constexpr const char* kFunctionTab = "           Funktion           ";
inline constexpr const char* kEquationTab = "   Differentialgleichung   ";

inline constexpr const char* kFunctionLabel = "Funktion:";
inline constexpr const char* kXStepLabel = "x-Schrittweite";
inline constexpr const char* kXLabel = "x = ";
inline constexpr const char* kStartLabel = "Startwerte:";

inline constexpr const char* kCalculate = "&Berechnen";
inline constexpr const char* kClose = "&Schließen";
inline constexpr const char* kCopyTable = "Tabelle &kopieren";
inline constexpr const char* kCopyValue = "Ergebnis &kopieren";
inline constexpr const char* kAddGraph = "&Graph hinzufügen";
inline constexpr const char* kDrawGraph = "&Graph zeichnen";

inline constexpr const char* kTipCalculateTable = "Wertetabelle berechnen";
inline constexpr const char* kTipCalculateValue = "Einzelwert der Funktion berechnen";
inline constexpr const char* kTipGraph = "Graph der Funktion in das Hauptfenster zeichnen";
inline constexpr const char* kTipCopy = "In die Zwischenablage kopieren";

inline constexpr const char* kGestureCalculate = "Berechnen";
inline constexpr const char* kGestureClose = "Schließen";

// The curve discussion.
inline constexpr const char* kDiscussionTitle = "Kurvendiskussion";
inline constexpr const char* kTipDiscuss =
    "Nullstellen, Extrema, Wendepunkte, Schnittpunkte und Definitionslücken bestimmen";
inline constexpr const char* kBudgetNote =
    "Die Rechenzeit war zu Ende: was nicht entschieden ist, steht als \"Unklar\" in der Tabelle.";
inline constexpr const char* kDiscussionColumns[4] = {"Art", "x", "y", "Status"};

// The question before printing the background.
inline constexpr const char* kPrintBackgroundLines[] = {
    "WARNUNG:",
    "Sie sind dabei, die Hintergrundfarbe mitzudrucken.",
    "Das wird möglicherweise langsam und teuer sein.",
    "Fortsetzen?",
};
inline constexpr const char* kPrintOmitBackgroundButton = "Hintergrund &nicht mitdrucken";
inline constexpr const char* kPrintWithBackgroundButton = "&Hintergrundfarbe drucken";
inline constexpr const char* kPrintCancelButton = "Druckvorgang &abbrechen";

// The about box.
inline constexpr const char* kAboutTitle = "Über Kurvaline";
inline constexpr const char* kAboutClose = "&Klick";

// The help window.
inline constexpr const char* kHelpWindowTitle = "Kurvaline Hilfe";

}  // namespace kv::dialog_text
