// The texts of the calculator windows: titles, tab texts, labels, button
// texts with their mnemonics, tooltips and the gesture help. UTF-8.
#pragma once

namespace kv::calc_text {

inline constexpr const char* kTableTitle = "Funktionsrechner - Wertetabelle";
inline constexpr const char* kValueTitle = "Funktionsrechner Einzelwert";
// The blanks belong to the tab texts: they give the tabs their width.
inline constexpr const char* kFunctionTab = "           Funktion           ";
inline constexpr const char* kEquationTab = "   Differentialgleichung   ";

inline constexpr const char* kFunctionLabel = "Funktion:";
inline constexpr const char* kEquationLabel = "Differentialgleichung:";
inline constexpr const char* kXMinLabel = "x min";
inline constexpr const char* kXMaxLabel = "x max";
inline constexpr const char* kXStepLabel = "x-Schrittweite";
inline constexpr const char* kXLabel = "x = ";
inline constexpr const char* kStartLabel = "Startwerte:";
inline constexpr const char* kDegrees = "Deg";
inline constexpr const char* kRadians = "Rad";
inline constexpr const char* kHighPrecision = "High Precision";

inline constexpr const char* kCalculate = "&Berechnen";
inline constexpr const char* kClose = "&Schließen";
inline constexpr const char* kHelp = "&Hilfe";
inline constexpr const char* kCopyTable = "Tabelle &kopieren";
inline constexpr const char* kCopyValue = "Ergebnis &kopieren";
inline constexpr const char* kAddGraph = "&Graph hinzufügen";
inline constexpr const char* kDrawGraph = "&Graph zeichnen";

inline constexpr const char* kTipCalculateTable = "Wertetabelle berechnen";
inline constexpr const char* kTipCalculateValue = "Einzelwert der Funktion berechnen";
inline constexpr const char* kTipHelp = "Übersicht Rechenzeichen und Hilfsfunktionen";
inline constexpr const char* kTipGraph = "Graph der Funktion in das Hauptfenster zeichnen";
inline constexpr const char* kTipCopy = "In die Zwischenablage kopieren";
inline constexpr const char* kTipDegrees = "Winkelfunktionen rechnen in Winkelgrad";
inline constexpr const char* kTipRadians = "Winkelfunktionen rechnen in Bogenmaß";
inline constexpr const char* kTipExpression =
    "Auch mathematische Ausdrücke sind erlaubt, sofern sie die Regeln für Funktionterme "
    "einhalten, wie z.B. 2pi oder -sqrt(10+1/3)";

inline constexpr const char* kGestureRight = "Nach rechts:";
inline constexpr const char* kGestureLeft = "Nach links:";
inline constexpr const char* kGestureVertical = "Vertikal:";
inline constexpr const char* kGestureCalculate = "Berechnen";
inline constexpr const char* kGestureClose = "Schließen";
inline constexpr const char* kGestureHelp = "Kurzanleitung ein, aus";
inline constexpr const char* kGestures = "Mausgesten";

}  // namespace kv::calc_text
