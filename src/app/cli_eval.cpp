// kurvaline --eval: compiles a text in the context of one panel kind and
// evaluates each of its formulas once; and the help text of the command line.
//
// Everything is evaluated before anything is printed, so a rejected formula
// leaves stdout empty: the message goes to stderr and the status is 2.
#include <cstdio>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/cli_args.h"
#include "expr/compiler.h"
#include "expr/cp1252.h"
#include "expr/evaluator.h"
#include "expr/messages.h"
#include "model/numeric_field.h"

namespace kv {
namespace {

constexpr const char* kHelpText =
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
    "  und Sattelpunkte, y-Achsenabschnitt, Polstellen, L\xC3\xBC" "cken, Spr\xC3\xBC" "nge,\n"
    "  Definitionsl\xC3\xBC" "cken und Schnittpunkte je zweier Funktionen. Ausgabe: die\n"
    "  Kopfzeile, dann eine Zeile je Punkt nach x geordnet, durch Tabulatoren\n"
    "  getrennt: Art, Formel (Nummer, \"1,2\" beim Schnittpunkt), x, y, x von, x bis\n"
    "  (die Einschlie\xC3\x9F" "ung) und Status (bewiesen oder unsicher). Was in der\n"
    "  Zeit nicht entschieden wird, steht als \"Unklar\" da.\n"
    "  --budget  Rechenzeit in Millisekunden (Vorgabe 300).\n"
    "  Polarfunktionen und Differentialgleichungen werden abgelehnt.\n"
    "\n"
    "kurvaline --help\n"
    "  Zeigt diesen Text.\n"
    "\n"
    "Rückgabewerte: 0 Erfolg, 1 fehlerhafter Aufruf, 2 Formel, Eingabe oder Datei\n"
    "abgelehnt.\n";

struct PanelKind {
  const char* name;
  PanelIndex role;
  bool fine_limits;  // the limits of the panel "DiffEqu" and the calculators
};

constexpr PanelKind kPanelKinds[] = {
    {"function", kPanelFunction, false},
    {"integral", kPanelIntegral, false},
    {"diffequ", kPanelDiffEqu, true},
    {"value", kPanelValue, true},
    {"table", kPanelTable, true},
    {"tablediffequ", kPanelTableDiffEqu, true},
    {"field", kPanelNumericField, false},
};

struct EvalRequest {
  std::string text;  // Windows-1252
  const PanelKind* kind = &kPanelKinds[0];
  double angle = kRadians;
  double vars[6] = {0, 0, 0, 0, 0, 0};
  bool at_given = false;
  bool derivative = false;
  bool length_limit = true;
};

// Returns kExitOk, or the status of a usage error already printed.
int parse_eval_arguments(int argc, char** argv, EvalRequest& req, bool& help) {
  ArgReader args(argc, argv);
  bool have_text = false;
  std::string value;
  while (!args.done()) {
    std::string_view arg = args.next();
    if (arg == "--help" || arg == "-h") {
      help = true;
      return kExitOk;
    } else if (arg == "--eval") {
      if (!args.value(arg, value)) return kExitUsage;
      req.text = utf8_to_cp1252(value);
      have_text = true;
    } else if (arg == "--panel") {
      if (!args.value(arg, value)) return kExitUsage;
      req.kind = nullptr;
      for (const PanelKind& k : kPanelKinds) {
        if (value == k.name) req.kind = &k;
      }
      if (!req.kind) return usage_error("unbekannte Art von --panel: „" + value + "“");
    } else if (arg == "--at") {
      std::vector<double> list;
      if (!args.value(arg, value)) return kExitUsage;
      if (!parse_number_list(value, 6, list)) {
        return usage_error("--at erwartet bis zu sechs Zahlen mit Dezimalpunkt, durch Kommas getrennt");
      }
      for (int i = 0; i < 6; ++i) req.vars[i] = i < static_cast<int>(list.size()) ? list[i] : 0.0;
      req.at_given = true;
    } else if (arg == "--deg") {
      req.angle = kDegrees;
    } else if (arg == "--derivative") {
      req.derivative = true;
    } else if (arg == "--no-length-limit") {
      req.length_limit = false;
    } else {
      return unknown_option(arg);
    }
  }
  if (!have_text) return usage_error("--eval erwartet einen Wert");
  if (req.kind->role == kPanelNumericField && (req.at_given || req.derivative)) {
    return usage_error("--at und --derivative gelten nicht mit --panel field");
  }
  return kExitOk;
}

// Compiles and evaluates every formula. Returns kMsgNone and one output line
// per formula, or the message that rejected the text.
int evaluate_request(const EvalRequest& req, RandState& random, std::vector<std::string>& lines) {
  const PanelKind& kind = *req.kind;
  ExprPanel panel;
  panel.role = kind.role;
  panel.angle_mode = req.angle;
  if (kind.fine_limits) {
    panel.set_limits(kMaxMagnitude, kZeroToleranceFine, kLiteralLimitFine);
  } else {
    panel.set_limits(kMaxMagnitude, kZeroToleranceDrawing, kLiteralLimitDrawing);
  }
  panel.source = req.text;
  CompileEnv env;
  env.surface = surface_of(kind.role);
  env.length_limit = req.length_limit;
  env.random = &random;
  if (!compile_formulas(panel, env)) {
    return panel.error.message != kMsgNone ? panel.error.message : kMsgInvalidExpression;
  }
  for (int i = 0; i < panel.count(); ++i) {
    panel.current = i;
    double value = evaluate_formula(panel, req.vars, surface_of(kind.role));
    if (req.derivative && !panel.error.failed) {
      value = evaluate_derivative(panel, req.vars[0], value, surface_of(kind.role));
    }
    if (panel.error.failed) {
      return panel.error.message != kMsgNone ? panel.error.message : kMsgInvalidExpression;
    }
    std::string line = panel.formulas[i]->eval_error ? "undefined" : format_exact(value);
    // A parametric pair prints its point: x, a tab, y.
    if (const CompiledFormula* y = panel.formulas[i]->second.get(); y && !req.derivative) {
      Evaluator ev(panel, surface_of(kind.role));
      const double v = ev.evaluate(*y, req.vars);
      line += '\t';
      line += ev.undefined() ? "undefined" : format_exact(v);
    }
    lines.push_back(line);
  }
  return kMsgNone;
}

int evaluate_field_request(const EvalRequest& req, RandState& random,
                           std::vector<std::string>& lines) {
  RangeValue field;
  field.text = req.text;
  field.has_text = true;
  CompileEnv env;
  env.length_limit = req.length_limit;
  env.random = &random;
  int msg = evaluate_numeric_field(field, true, req.angle, env);
  if (msg == kMsgNone) lines.push_back(format_exact(field.value));
  return msg;
}

void print_message(int msg) {
  const char* text = message_text(msg);
  if (!text) text = message_text(kMsgInvalidExpression);
  std::fprintf(stderr, "%s\n", text);
}

}  // namespace

int run_eval_command(int argc, char** argv) {
  EvalRequest req;
  bool help = false;
  int status = parse_eval_arguments(argc, argv, req, help);
  if (help) return run_help_or_error(argc, argv);
  if (status != kExitOk) return status;

  // The run's one random sequence: every formula draws on from where the
  // previous one stopped.
  RandState random;
  std::vector<std::string> lines;
  int msg = req.kind->role == kPanelNumericField ? evaluate_field_request(req, random, lines)
                                                      : evaluate_request(req, random, lines);
  if (msg != kMsgNone) {
    print_message(msg);
    return kExitFormula;
  }
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return flush_stdout() ? kExitOk : kExitUsage;
}

int run_help_or_error(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelpText, stdout);
      return flush_stdout() ? kExitOk : kExitUsage;
    }
  }
  if (argc < 2) return usage_error("keine Aufgabe angegeben");
  return unknown_option(argv[1]);
}

}  // namespace kv
