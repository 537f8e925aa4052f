// The texts of the command line: its help, its usage errors and the head
// of the discussion's table. UTF-8. The formula messages are
// expr/messages.h, the document messages the window's own
// (session/session_texts.h), the discussion's words its own
// (analysis/discussion_texts.h).
#pragma once

namespace kv {

// kurvaline --help.
inline constexpr const char* kCliHelpText =
    "Kurvaline – Funktionsplotter. Aufrufe auf der Befehlszeile:\n"
    "\n"
    "kurvaline --eval TEXT [--panel function|integral|diffequ|value|table|tablediffequ|field]\n"
    "                      [--deg] [--at V0[,V1,V2,V3,V4,V5]] [--derivative] [--no-length-limit]\n"
    "  Übersetzt TEXT (mehrere Formeln durch \";\" getrennt) wie das gewählte\n"
    "  Fenster und berechnet jede Formel einmal. Ausgabe: je Formel eine Zeile mit\n"
    "  dem Wert (17 signifikante Stellen) oder \"undefined\", wenn die Formel an der\n"
    "  Stelle keinen Wert hat. Ein leerer TEXT gibt nichts aus.\n"
    "  --panel  das Fenster, dessen Grenzen und Regeln gelten (Vorgabe function):\n"
    "             function      Funktionen (Zahlen bis 1e13)\n"
    "             integral      Integralkurve (Zahlen bis 1e13, keine Polarfunktion)\n"
    "             diffequ       Differentialgleichung (Zahlen bis 1e200)\n"
    "             value         Einzelwert-Rechner (Zahlen bis 1e200)\n"
    "             table         Wertetabelle einer Funktion (Zahlen bis 1e200)\n"
    "             tablediffequ  Wertetabelle einer Differentialgleichung\n"
    "             field         Zahlenfeld eines Dialogs: genau eine Formel, jede\n"
    "                           Variable ist 1 (Zahlen bis 1e13)\n"
    "           Differentialgleichungen wie \"y'=y\" gehen nur mit diffequ und\n"
    "           tablediffequ.\n"
    "  --deg    Winkel in Grad statt im Bogenmaß.\n"
    "  --at     Werte von x (oder t), y, y', y'', y''', y'''' mit Dezimalpunkt,\n"
    "           durch Kommas getrennt; fehlende Werte sind 0 (Vorgabe: alle 0).\n"
    "  --derivative       gibt statt des Werts die erste Ableitung an der Stelle V0 aus.\n"
    "  --no-length-limit  hebt die Grenze von 512 Operationen je Formel auf.\n"
    "  Mit --panel field gelten --at und --derivative nicht.\n"
    "  Wird eine Formel abgelehnt, steht die Meldung auf der Fehlerausgabe, die\n"
    "  Standardausgabe bleibt leer und der Rückgabewert ist 2.\n"
    "\n"
    "kurvaline --export BILD.gif|BILD.bmp|BILD.png|BILD.svg|ZIEL.kvl [DOKUMENT.kvl]\n"
    "          [--size BxH] [--panel function|integral|diffequ] [--formula TEXT]\n"
    "          [--x-min TEXT] [--x-max TEXT] [--y-min TEXT] [--y-max TEXT]\n"
    "          [--t-min TEXT] [--t-max TEXT] [--x0 TEXT] [--start TEXT]...\n"
    "          [--deg] [--abs] [--high-precision] [--derivative]\n"
    "          [--palette 0|1|2] [--line-width 1|2|3] [--set Option=0|1 ...]\n"
    "  Zeichnet das Bild des gewählten Zeichenfensters mit den angegebenen\n"
    "  Formeln, Bereichen und Optionen in eine Bilddatei; das Format folgt aus der\n"
    "  Endung (.gif, .bmp, .png, .svg oder .kvl, groß oder klein geschrieben).\n"
    "  Bereiche und Startwerte sind Formeln wie in den Dialogen (\"2pi\").\n"
    "  --size   Breite x Höhe der Zeichenfläche in Pixeln (Vorgabe 624x520;\n"
    "           ungerade Werte werden gerade, mindestens 50). Das Bild ist um die\n"
    "           Ränder für Achsen und Beschriftung größer und darf\n"
    "           höchstens 32767 Pixel je Seite und 2^28 Pixel haben.\n"
    "  Ein DOKUMENT wird zuerst geladen wie beim Öffnen im Fenster und bestimmt\n"
    "  das Zeichenfenster (dann ohne --panel); die übrigen Optionen gelten darüber.\n"
    "  Ein Ziel mit der Endung .kvl wird als Dokument dieses Zeichenfensters\n"
    "  geschrieben statt als Bild. Kann das DOKUMENT nicht gelesen werden, steht\n"
    "  \"Datei konnte nicht geöffnet werden\" auf der Fehlerausgabe, es wird nichts\n"
    "  geschrieben und der Rückgabewert ist 2.\n"
    "\n"
    "kurvaline --table TEXT [--x-min TEXT] [--x-max TEXT] [--step TEXT] [--deg]\n"
    "          [--start TEXT]... [--high-precision]\n"
    "  Berechnet wie der Funktionsrechner die Wertetabelle einer Funktion oder\n"
    "  Differentialgleichung von x min bis x max mit der x-Schrittweite (höchstens\n"
    "  10000 Schritte). Ausgabe: die Kopfzeile, dann eine Zeile je x, die Spalten\n"
    "  durch Tabulatoren getrennt, wie im Fenster. Die --start-Werte einer\n"
    "  Differentialgleichung sind der Reihe nach x0, y(x0), y'(x0), ...;\n"
    "  --high-precision rechnet mit dreimal so vielen Schritten. Nicht angegebene\n"
    "  Felder behalten die Vorgaben des Fensters (x von -6 bis 6, Schrittweite 1/2).\n"
    "\n"
    "kurvaline --value TEXT [--x TEXT] [--deg]\n"
    "  Berechnet wie der Funktionsrechner Einzelwert y und y' an der Stelle x\n"
    "  (Vorgabe 7.2) und gibt Kopfzeile und Ergebnis aus.\n"
    "\n"
    "kurvaline --analyse TEXT [--x-min TEXT] [--x-max TEXT] [--deg] [--budget MS]\n"
    "  Kurvendiskussion der Funktionen in TEXT (durch \";\" getrennt) von x min bis\n"
    "  x max (Vorgabe wie im Funktionsfenster): Nullstellen, Hoch-, Tief-, Wende-\n"
    "  und Sattelpunkte, y-Achsenabschnitt, Polstellen, Lücken, Sprünge,\n"
    "  Definitionslücken und Schnittpunkte je zweier Funktionen. Ausgabe: die\n"
    "  Kopfzeile, dann eine Zeile je Punkt nach x geordnet, durch Tabulatoren\n"
    "  getrennt: Art, Formel (Nummer, \"1,2\" beim Schnittpunkt), x, y, x von, x bis\n"
    "  (die Einschließung) und Status (bewiesen oder unsicher). Was in der\n"
    "  Zeit nicht entschieden wird, steht als \"Unklar\" da.\n"
    "  --budget  Rechenzeit in Millisekunden (Vorgabe 300).\n"
    "  Polarfunktionen und Differentialgleichungen werden abgelehnt.\n"
    "\n"
    "kurvaline --help\n"
    "  Zeigt diesen Text.\n"
    "\n"
    "Rückgabewerte: 0 Erfolg, 1 fehlerhafter Aufruf, 2 Formel, Eingabe oder Datei\n"
    "abgelehnt.\n";

// The usage error line around its text (printf, with the text's length and
// its bytes), and the pieces of the texts several modes print.
inline constexpr const char* kUsageLineFormat =
    "kurvaline: %.*s (kurvaline --help zeigt die Aufrufe)\n";
inline constexpr const char* kExpectsValue = " erwartet einen Wert";
inline constexpr const char* kUnknownOption = "unbekannte Option „";
inline constexpr const char* kUnexpectedArgument = "unerwartetes Argument „";
inline constexpr const char* kQuoteEnd = "“";
inline constexpr const char* kNoTask = "keine Aufgabe angegeben";
inline constexpr const char* kOutputNotWritten =
    "kurvaline: die Ausgabe ließ sich nicht schreiben\n";
inline constexpr const char* kTooManyStarts =
    "--start höchstens sechsmal (x, y, y', y'', y''', y'''')";
inline constexpr const char* kNoDisplay =
    "kurvaline: keine grafische Anzeige gefunden (DISPLAY ist nicht gesetzt); "
    "die Befehlszeile beschreibt --help\n";

// --eval.
inline constexpr const char* kUnknownPanelKind = "unbekannte Art von --panel: „";
inline constexpr const char* kAtExpectsNumbers =
    "--at erwartet bis zu sechs Zahlen mit Dezimalpunkt, durch Kommas getrennt";
inline constexpr const char* kAtWithField = "--at und --derivative gelten nicht mit --panel field";

// --table and --value.
inline constexpr const char* kXOnlyWithValue =
    "--x gilt nur mit --value; die Tabelle nimmt --x-min und --x-max";
inline constexpr const char* kStartOnlyForEquations =
    "--start und --high-precision gelten nur für Differentialgleichungen";

// --analyse.
inline constexpr const char* kAnalyseHeader = "Art\tFormel\tx\ty\tx von\tx bis\tStatus\n";
inline constexpr const char* kBudgetExpected =
    "--budget erwartet eine Zeit in Millisekunden, mehr als 0 und höchstens 3600000";

// --export.
inline constexpr const char* kSizeExpected = "--size erwartet BREITExHÖHE in Pixeln, z.B. 624x520";
inline constexpr const char* kPanelExpected = "--panel erwartet function, integral oder diffequ";
inline constexpr const char* kPaletteExpected = "--palette erwartet 0, 1 oder 2";
inline constexpr const char* kLineWidthExpected = "--line-width erwartet 1, 2 oder 3";
inline constexpr const char* kSetExpected =
    "--set erwartet Option=0 oder Option=1 mit einer Option der Einstellungen";
inline constexpr const char* kExportExpectsName = "--export erwartet einen Dateinamen";
inline constexpr const char* kPanelWithDocument =
    "--panel geht nicht mit einem Dokument: es bestimmt das Zeichenfenster";
inline constexpr const char* kExportExpectsExtension =
    "--export erwartet einen Dateinamen mit der Endung .gif, .bmp, .png, .svg oder .kvl";
inline constexpr const char* kSizeTooLarge =
    "--size ist zu groß: das Bild mit den Rändern darf höchstens "
    "32767 Pixel je Seite und 2^28 Pixel haben";
inline constexpr const char* kExportNeedsGui =
    "--export gibt es nur im Programm mit grafischer Oberfläche";

}  // namespace kv
