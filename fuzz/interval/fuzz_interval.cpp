// libFuzzer target for the interval evaluation.
//
// Input: byte 0 chooses the angle mode (bit 0) and the derivatives asked
// (bits 1-3, modulo 5); bytes 1-8 the interval's centre, byte 9 its width
// (2^(b - 128), capped); the rest is the source text of a function panel.
// Every formula that compiles is evaluated over the interval, and the
// inclusion rule (inclusion_check.h) is checked at its ends and inside.
// Besides crashes and sanitizer reports, a broken rule aborts, as does an
// enclosure with NaN ends or one that is empty while "maybe defined".
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "expr/compiler.h"
#include "inclusion_check.h"

namespace {

using namespace kv;
using namespace kv::interval;

[[noreturn]] void broken(const std::string& what, const std::string& source, Interval x, double at) {
  std::fprintf(stderr, "rule broken: %s\nformula: %s\nX = [%.17g, %.17g], x = %.17g\n", what.c_str(),
               source.c_str(), x.lo, x.hi, at);
  std::abort();
}

void check_shape(const Enclosure& e, int order, const std::string& src, Interval x) {
  for (int k = 0; k <= order; ++k) {
    if (std::isnan(e.f[k].lo) || std::isnan(e.f[k].hi)) broken("NaN end", src, x, 0);
    if (is_empty(e.f[k]) && e.defined != Defined::kNowhere) broken("empty but defined", src, x, 0);
  }
  if (e.smooth && !e.continuous) broken("smooth but not continuous", src, x, 0);
  if (e.continuous && e.defined != Defined::kEverywhere) broken("continuous, not defined", src, x, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 10) return 0;
  const double angle = (data[0] & 1) ? kDegrees : kRadians;
  const int order = ((data[0] >> 1) & 7) % (kMaxOrder + 1);
  double centre;
  std::memcpy(&centre, data + 1, sizeof centre);
  if (!std::isfinite(centre) || std::fabs(centre) > 1e15) return 0;
  const double width = std::ldexp(1.0, std::min(data[9] - 128, 40));
  const Interval x{centre, centre + width};

  ExprPanel panel;
  panel.angle_mode = angle;
  panel.source.assign(reinterpret_cast<const char*>(data + 10), size - 10);
  if (!compile_formulas(panel, CompileEnv{})) return 0;
  IntervalEvaluator ev, probe;
  for (int i = 0; i < panel.count(); ++i) {
    const CompiledFormula& f = *panel.formulas[i];
    const Enclosure e = ev.evaluate(f, x, order, angle);
    check_shape(e, order, panel.source, x);
    if (check::uses_derivative(f.code)) continue;
    const double scale = check::literal_scale(f.code);
    const double points[] = {x.lo, x.hi, x.lo + width * 0.375, x.lo + width * 0.8125};
    for (double p : points) {
      if (!(p >= x.lo && p <= x.hi)) continue;
      const std::string what = check::at_point(probe, f, e, p, angle, scale);
      if (!what.empty()) broken(what, panel.source, x, p);
    }
  }
  return 0;
}
