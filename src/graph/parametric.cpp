// Parametric pairs: the y component beside the sampled x component.
#include "graph/parametric.h"

#include <vector>

#include "graph/sampling.h"

namespace kv {

namespace {

// Piece flags from the definedness of the samples and the breaks: a defined
// sample starts a piece after an undefined one or a break, and ends one
// before. The flags the x sampler set are kept.
void mark_pieces(CurveSamples& c, const std::vector<uint8_t>& break_after) {
  for (int i = 0; i <= c.last; ++i) {
    uint8_t& flag = c.samples[i].flag;
    if (!is_defined(flag)) continue;
    if (i == 0 || !is_defined(c.samples[i - 1].flag) || break_after[i - 1]) flag |= kPieceStart;
    if (i == c.last || !is_defined(c.samples[i + 1].flag) || break_after[i]) flag |= kPieceEnd;
  }
}

}  // namespace

bool compute_parametric_plane(FormulaPlot& fp, FormulaProbe& y_probe, double jump) {
  CurveSamples& c = fp.slot[0];
  const size_t n = static_cast<size_t>(c.last) + 1;
  std::vector<uint8_t> break_after;
  try {
    c.plane.resize(n);
    break_after.assign(n, 0);
  } catch (...) {
    c.plane.clear();
    return false;
  }
  for (int i = 0; i <= c.last; ++i) {
    Sample& s = c.samples[i];
    double y = 0;
    if (is_defined(s.flag) && !y_probe.at(s.t, y)) s.flag = 0;
    c.plane[i] = {s.v, y};
  }
  for (int i = 1; i + 2 <= c.last; ++i) {
    const Sample* s = &c.samples[i - 1];
    bool all = true;
    for (int k = 0; k < 4; ++k) all &= is_defined(s[k].flag);
    if (!all) continue;
    const PlanePoint* p = &c.plane[i - 1];
    if (pole_test(p[0].y, p[1].y, p[2].y, p[3].y, jump) != 0) break_after[i] = 1;
  }
  mark_pieces(c, break_after);
  return true;
}

}  // namespace kv
