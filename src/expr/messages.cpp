#include "expr/messages.h"

namespace kv {

const char* message_text(int id) {
  switch (id) {
    case 0: return "Ungültiger Ausdruck.\nKein Tippfehler?\nNur erlaubte Rechenoperatoren verwendet?\nBitte Syntax überprüfen";
    case 1: return "Ungültiger Term.\nNur x, aber nicht y als Variable erlaubt";
    case 2: return "Ungültige Differentialgleichung.\nZu hohe Ableitung auf der rechten Seite des '='";
    case 3: return "Funktionsterm zu lang";
    case 4: return "Ungültige Funktion.\nHier dürfen nicht mehrere Funktionen eingegeben werden";
    case 5: return "Syntaxfehler.\nFehlerhafte Klammerung";
    case 6: return "Syntaxfehler.\nFalsch plaziertes Fakultätzeichen '!'";
    case 7: return "Syntaxfehler.\nFalsch positionierter senkrechter Strich (Pipe) als Absolutzeichen.\n\nAnmerkung:\nAbsolutwerte müssen von zwei Pipes eingefasst sein und\ndürfen im Gegensatz zur alternativ möglichen abs()-Hilfsfunktion nicht verschachtelt werden.";
    case 8: return "Eingabefehler.\nHier darf keine Differentialgleichung eingegeben werden";
    case 9: return "Ungültige Differentialgleichung: Ordnung zu hoch";
    case 10: return "Im \"Integrieren-Modus\" darf nur eine Funktion eingegeben werden";
    case 11: return "Nicht genügend Speicher vorhanden.\n\nSchließen Sie ein oder mehrere andere Programme,\nund versuchen Sie es dann erneut";
    case 12: return "Ungültige Eingabe: ergibt undefinierten Wert";
    case 13: return "Ungültiger Definitionsbereich von x.\nx min muss kleiner als x max sein";
    case 14: return "Ungültiger Wertebereich von y.\ny min muss kleiner als y max sein";
    case 15: return "Ungültiger Argumentbereich für Polarfunktion.\nt min muss kleiner als t max sein";
    case 20: return "Ungültige X-Schrittweite.\nMuss > 0.0 sein.";
    case 21: return "Wertetabelle zu lang.\nWählen Sie eine größere x-Schrittweite,\noder verkleinern Sie die Differenz zwischen x min und x max";
    case 22: return "Ungültige Differentialgleichung.\nInnerhalb der Ableitungs-Hilfsfunktion d( )\ndarf kein y oder eine Ableitung von y stehen";
    case 23: return "Ungültige Funktion.\nEs dürfen maximal 3 Ableitungsfunktionen d( ) ineinander verschachtelt werden";
    case 24: return "Funktion enthält ungültige unabhängige Variable.\nBenutzen Sie bitte:\nt für Polarfunktionen, x für kartesische Funktionen.";
    case 25: return "Polarkoordinaten-Funktion hier nicht erlaubt";
    case 26: return "Ungültiger Term.\nx und y zusammen nur in einer Gleichung oder Ungleichung,\nz. B. x^2+y^2=9 oder y>sin(x)";
    case 27: return "Ungültige Gleichung.\nAuf beiden Seiten von '=', '<', '>', '<=' oder '>=' muss ein Term stehen";
    case 28: return "Ungültige Gleichung.\nNur ein '=', '<', '>', '<=' oder '>=' pro Funktion erlaubt";
    case 29: return "Ungültige Parameterkurve.\nIn (x(t), y(t)) ist nur t als Variable erlaubt";
    case 30: return "Ungültige Gleichung.\nIn Gleichungen und Ungleichungen sind nur x und y als Variablen erlaubt";
    case kMsgCommaDecimal: return "Syntaxfehler:\nUngültiges Komma. Dezimaltrennzeichen ist der Punkt";
    case kMsgComma: return "Syntaxfehler:\nUngültiges Komma";
    default: return nullptr;
  }
}

}  // namespace kv
