// One compiled formula: the prefix code made by the compiler, and the flat
// program the evaluator runs, derived from that code once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kv {

// An implicit formula (equation or inequality in x and y) carries kCartesian
// beside kImplicit; a parametric pair carries kPolar beside kParametric, so
// that it takes the t range and the sampling of a polar curve.
enum FormulaKind : uint8_t { kCartesian = 1, kPolar = 2, kImplicit = 4, kParametric = 8 };

// The relation of an implicit formula: its code is the left side minus the
// right side, compared with 0.
enum Relation : uint8_t {
  kRelNone = 0,
  kRelEqual,
  kRelLess,
  kRelGreater,
  kRelLessEqual,
  kRelGreaterEqual,
};

// Instruction of the flat postfix program. The evaluator keeps the top of the
// stack in a register: leaves push a value, operations replace the top. A
// two-argument operation takes its second argument from the stack (kFromStack),
// or directly from a constant or a variable, which saves the push.
struct Instr {
  uint8_t op;               // an operation code of opcodes.h, or one of the Program::k* codes
  uint8_t mode = 0;         // where the second argument comes from (two-argument operations)
  uint16_t var = 0;         // the variable of kVarConst
  int32_t arg = 0;          // constant index, variable index, integer exponent or operand start
};

inline constexpr uint8_t kFromStack = 0;
inline constexpr uint8_t kFromConst = 1;
inline constexpr uint8_t kFromVar = 2;
// Both arguments are leaves: push, then compute variables[var] op consts[arg].
inline constexpr uint8_t kVarConst = 3;

// Step of the point program, the form the single-point evaluation runs: the
// instruction's operation and operand mode merged into one dense kind, and its
// constant operand stored in the step itself, so that a step costs one
// dispatch and no table lookups.
struct PointStep {
  uint8_t kind = 0;  // see evaluator_point.cpp
  uint8_t var = 0;   // variable operand
  int16_t n = 0;     // whole exponent of a power step; draws of the end step
  double c = 0;      // constant operand
};

// Key of the evaluation context a program was built for: constant folding and
// literal clamping depend on it.
struct ProgramKey {
  double angle = 0, zero_tolerance = 0, max_magnitude = 0, literal_limit = 0;
  bool diffequ_surface = false;
  // Every point evaluation tests the key, so the four numbers are compared
  // two at a time where the processor allows; the result is that of ==
  // on each member.
  bool operator==(const ProgramKey& o) const {
#if defined(__SSE2__)
    const __m128d low = _mm_cmpeq_pd(_mm_loadu_pd(&angle), _mm_loadu_pd(&o.angle));
    const __m128d high =
        _mm_cmpeq_pd(_mm_loadu_pd(&max_magnitude), _mm_loadu_pd(&o.max_magnitude));
    return (_mm_movemask_pd(_mm_and_pd(low, high)) == 3) & (diffequ_surface == o.diffequ_surface);
#else
    return angle == o.angle && zero_tolerance == o.zero_tolerance &&
           max_magnitude == o.max_magnitude && literal_limit == o.literal_limit &&
           diffequ_surface == o.diffequ_surface;
#endif
  }
};
static_assert(offsetof(ProgramKey, zero_tolerance) == offsetof(ProgramKey, angle) + sizeof(double) &&
                  offsetof(ProgramKey, literal_limit) ==
                      offsetof(ProgramKey, max_magnitude) + sizeof(double),
              "the numbers of a key lie in pairs");

struct Program {
  // Leaf and specialised instruction codes; they lie outside the operation codes.
  static constexpr uint8_t kConst = 1;     // push consts[arg]
  static constexpr uint8_t kVar = 2;       // push variables[arg]
  static constexpr uint8_t kRandLeaf = 3;  // push a pseudo-random number
  static constexpr uint8_t kPowInt = 4;    // top ^ arg, arg a small whole number
  static constexpr uint8_t kUndef = 5;     // push the undefined value (empty code)

  std::vector<Instr> code;
  std::vector<double> consts;
  int max_stack = 0;       // values held at once
  bool has_derivative = false;
  // The point program of evaluator_point.cpp, made when the program is
  // usable, without d( ) and of a small stack; plain tells that there is one.
  bool plain = false;
  std::vector<PointStep> steps;
  uint8_t point_vars = 0;  // bit i: the steps read variable i
  // A fault found in the code's structure (a missing argument, y inside d( ),
  // d( ) nested too deep); reported at the first evaluation.
  int fatal = -1;
  ProgramKey key;
  bool built = false;
};

struct CompiledFormula {
  std::string code;           // prefix code without its terminating 0
  size_t source_start = 0;    // offset of the formula in the panel's source text
  size_t source_length = 0;   // without surrounding blanks and the ';'
  uint8_t kind = 0;           // FormulaKind bits
  int order = 0;              // 0: function, 1..5: explicit differential equation
  bool discontinuous = false; // uses rand or frac
  int colour_slot = 0;
  int subdivision = 6;        // Simpson subdivision of the integral: 6, 4 or 2
  int operations = 0;         // operation count of the compiled code
  uint8_t relation = kRelNone;  // implicit formulas: how code compares with 0
  // Parametric pairs: the y component (code holds the x component), a
  // formula of t of its own.
  std::shared_ptr<CompiledFormula> second;

  // Evaluation flags for callers that follow the panel-level protocol: the
  // cache is ready after the first evaluation; the last value was undefined.
  bool cache_ready = false;
  bool eval_error = false;

  Program program;

  bool is_polar() const { return kind & kPolar; }
  bool is_implicit() const { return kind & kImplicit; }
  bool is_parametric() const { return kind & kParametric; }
};

}  // namespace kv
