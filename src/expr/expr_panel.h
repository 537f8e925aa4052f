// The part of a panel the expression language works on: its angle factor,
// limits, source text, compiled formulas and first-error record.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "expr/compiled_formula.h"
#include "expr/limits.h"
#include "expr/pending_error.h"

namespace kv {

struct RandState;

// Shell state the compiler reads.
struct CompileEnv {
  PanelIndex surface = kPanelFunction;
  int palette_size = 15;     // number of curve colours
  bool length_limit = true;  // at most 512 operations per formula
  // The program's one random sequence behind `rand`, owned by the program
  // state; compile_formulas hands it to the panel. May be absent (see
  // ExprPanel::random).
  RandState* random = nullptr;
};

struct ExprPanel {
  PanelIndex role = kPanelFunction;
  double angle_mode = kRadians;
  Limits limits;
  std::string source;  // Windows-1252 text; the compiled formulas refer into it
  std::vector<std::unique_ptr<CompiledFormula>> formulas;
  int current = -1;        // index of the current formula
  unsigned generation = 0; // counts compilations, so that derived data can tell it is stale
  PendingError error;
  // Where `rand` draws from: the generator of the last compilation's
  // CompileEnv. Absent, every Evaluator made for the panel starts a sequence
  // of its own from the generator's seed, so its values repeat.
  RandState* random = nullptr;

  void set_limits(double max_magnitude, double zero_tolerance, double literal_limit) {
    limits = {max_magnitude, zero_tolerance, literal_limit};
  }
  int count() const { return static_cast<int>(formulas.size()); }
  CompiledFormula* current_formula() {
    return current >= 0 && current < count() ? formulas[current].get() : nullptr;
  }
};

}  // namespace kv
