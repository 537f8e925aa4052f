// The quick reference: operators, functions and constants at a glance.
#include "help/help_texts.h"

#include "expr/cp1252.h"

namespace kv {

std::string_view quick_reference_source() {
  return
      "<h><c>Rechenzeichen, Hilfsfunktionen</c></h>"
      "<b>+  -  *  /  ^</b> – Grundrechenarten und Potenz; <b>:</b> für /, <b>**</b> "
      "für ^<n>"
      "<b>²  ³  !  |x|</b> – Quadrat, Kubik, Fakultät, Betrag<n>"
      "<d>Potenz vor Punkt vor Strich, sonst von links nach rechts: <b>2^3^2</b> = 64, "
      "<b>-2^2</b> = -4. <b>2x</b> ist 2*x. Dezimalpunkt: <b>4.5</b>."
      "<n><n><b>sqr(</b><i>x</i><b>)</b> – x^2<n>"
      "<b>sqrt(</b><i>x</i><b>)</b>, <b>cbrt(</b><i>x</i><b>)</b> – Quadrat-, "
      "Kubikwurzel<n>"
      "<b>root(</b><i>x</i><b>, </b><i>n</i><b>)</b> – <i>n</i>-te Wurzel<n>"
      "<b>p(</b><i>x</i><b>, </b><i>y</i><b>)</b>, <b>pow(</b><i>x</i><b>, </b><i>y</i>"
      "<b>)</b> – x^y<n>"
      "<b>exp(</b><i>x</i><b>)</b> – e^x<n>"
      "<b>ln(</b><i>x</i><b>)</b>, <b>log(</b><i>x</i><b>)</b> – natürlicher "
      "Logarithmus<n>"
      "<b>lg(</b><i>x</i><b>)</b>, <b>log10(</b><i>x</i><b>)</b> – Zehnerlogarithmus"
      "<n>"
      "<b>lb(</b><i>x</i><b>)</b>, <b>log2(</b><i>x</i><b>)</b> – Zweierlogarithmus"
      "<n>"
      "<b>logn(</b><i>Wert</i><b>, </b><i>Basis</i><b>)</b> – Logarithmus von "
      "<i>Wert</i> zur Basis <i>Basis</i><n>"
      "<n><b>sin() cos() tan() cot() sec() csc()</b><n>"
      "<t>Winkelfunktionen in Rad oder Deg; <b>cot</b> immer in Rad</t><n>"
      "<b>asin() acos() atan() acot() asec() acsc()</b><n>"
      "<t>Umkehrfunktionen; <b>atan2(</b><i>y</i><b>, </b><i>x</i><b>)</b>: Winkel "
      "des Punktes (x, y)</t><n>"
      "<b>sinh() cosh() tanh() coth() sech() csch()</b><n>"
      "<t>Hyperbelfunktionen</t><n>"
      "<b>asinh() acosh() atanh() acoth() asech() acsch()</b><n>"
      "<t>Areafunktionen</t><n>"
      "<d>Statt des ersten <b>a</b> auch <b>ar</b>, <b>arc</b>, <b>area</b> "
      "(<b>arcsin</b>); <b>cosin</b> = cos, <b>cotan</b> = cot, <b>cosec</b> = csc."
      "<n><n><b>abs(</b><i>x</i><b>)</b>, <b>sgn(</b><i>x</i><b>)</b> – Betrag, Vorzeichen"
      "<n>"
      "<b>floor(</b><i>x</i><b>)</b>, <b>ceil(</b><i>x</i><b>)</b> – ab-, aufrunden"
      "<n>"
      "<b>round(</b><i>x</i><b>)</b>, <b>frac(</b><i>x</i><b>)</b> – runden, "
      "Nachkommaanteil<n>"
      "<b>min(</b><i>a</i><b>, </b><i>b</i><b>)</b>, <b>max(</b><i>a</i><b>, </b><i>b</i>"
      "<b>)</b> – Minimum, Maximum<n>"
      "<b>fac(</b><i>x</i><b>)</b>, <b>gamma(</b><i>x</i><b>)</b> – Fakultät, "
      "Gammafunktion<n>"
      "<b>gaussd(</b><i>x</i><b>, </b><i>m</i><b>, </b><i>s</i><b>)</b> – Normalverteilung"
      "<n>"
      "<b>i_ell1(</b><i>phi</i><b>, </b><i>k</i><b>)</b>, <b>i_ell2(</b><i>phi</i><b>, </b>"
      "<i>k</i><b>)</b><n>"
      "<t>unvollständige elliptische Integrale 1. und 2. Art, auch <b>i_elliptic1()</b>, "
      "<b>i_elliptic2()</b></t><n>"
      "<b>i_ellc1(</b><i>k</i><b>)</b>, <b>i_ellc2(</b><i>k</i><b>)</b><n>"
      "<t>vollständige elliptische Integrale, auch <b>i_ellipticc1()</b>, "
      "<b>i_ellipticc2()</b></t><n>"
      "<b>d(</b><i>f</i><b>)</b> – Ableitung nach x, bis zu dreifach verschachtelt"
      "<n>"

      "<p><h><c>Vordefinierte Konstanten</c></h>"
      "<b>e</b> – 2.718281828459045<n>"
      "<b>pi</b> – 3.141592653589793<n>"
      "<b>ln2</b>, <b>ln10</b> – ln(2), ln(10)<n>"
      "<b>log2e</b>, <b>log10e</b> – lb(e), lg(e)<n>"
      "<b>sqrt2</b>, <b>sqr2</b> – Wurzel aus 2<n>"
      "<b>sqrt1_2</b>, <b>sqr1_2</b> – Wurzel aus 1/2<n>"
      "<b>rand</b>, <b>random</b> – Zufallszahl von 0 bis 1<n>"

      "<p><h><c>Polarkoordinaten</c></h>"
      "Ein Ausdruck in <b>t</b> ist eine Polarfunktion r(t), gezeichnet von t min bis t max: "
      "<b>r=3</b>, <b>r(t)=t/pi</b>, <b>pi*sin(2t+sin(t))</b>. x und t nicht in derselben "
      "Formel; mehrere Funktionen trennt <b>;</b>."

      "<p><h><c>Kurvendiskussion</c></h>"
      "<b>Strg+K</b> – Nullstellen, Extrema, Wendepunkte, Schnittpunkte und "
      "Definitionslücken der Funktionen, bewiesen oder als unsicher markiert."

      "<p><h><c>Ausführlichere Hilfe per F1-Taste</c></h>";
}

std::string quick_reference_text() { return utf8_to_cp1252(quick_reference_source()); }

}  // namespace kv
