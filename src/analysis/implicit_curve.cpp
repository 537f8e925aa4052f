// Pixel classification of equations and inequalities: the quadtree walk.
#include "analysis/implicit_curve.h"

#include <algorithm>

#include "interval/interval_eval.h"

namespace kv::analysis {

namespace {

using interval::Defined;
using interval::Enclosure;
using interval::Interval;

constexpr int kTile = 64;          // side of the first squares, in pixels
constexpr int kInnerLevels = 2;    // splits inside one pixel: down to quarter pixels
constexpr int kDeadlineCheck = 64; // squares between two looks at the clock

enum class Verdict : uint8_t { kNone, kInside, kOpen };

struct Classifier {
  const CompiledFormula& f;
  PlaneWindow w;
  double angle;
  interval::IntervalEvaluator ev;
  double dx = 1, dy = 1;  // pixel sides in plot units

  // Pixel columns [i0, i1) and rows [j0, j1) as boxes in the plane; pixel i
  // is centred at xmin + i * dx, row j at ymax - j * dy.
  Interval xs(double i0, double i1) const {
    return {w.xmin + (i0 - 0.5) * dx, w.xmin + (i1 - 0.5) * dx};
  }
  Interval ys(double j0, double j1) const {
    return {w.ymax - (j1 - 0.5) * dy, w.ymax - (j0 - 0.5) * dy};
  }

  bool holds_everywhere(Interval v) const {
    switch (f.relation) {
      case kRelLess: return v.hi < 0;
      case kRelLessEqual: return v.hi <= 0;
      case kRelGreater: return v.lo > 0;
      case kRelGreaterEqual: return v.lo >= 0;
      default: return false;
    }
  }
  bool fails_everywhere(Interval v) const {
    switch (f.relation) {
      case kRelLess: return v.lo >= 0;
      case kRelLessEqual: return v.lo > 0;
      case kRelGreater: return v.hi <= 0;
      case kRelGreaterEqual: return v.hi < 0;
      default: return v.lo > 0 || v.hi < 0;  // an equation: no zero
    }
  }

  Verdict judge(Interval x, Interval y) {
    const Enclosure e = ev.evaluate_plane(f, x, y, angle);
    const Interval v = e.f[0];
    if (e.defined == Defined::kNowhere || interval::is_empty(v)) return Verdict::kNone;
    if (e.defined == Defined::kEverywhere && holds_everywhere(v)) return Verdict::kInside;
    // Undefined points belong to neither the curve nor the region.
    if (fails_everywhere(v)) return Verdict::kNone;
    return Verdict::kOpen;
  }

  // A point of the curve in the box: the difference continuous on it with
  // both signs among the corners and the centre (the box is connected), or
  // exactly 0 at one of them.
  bool proves_curve(Interval x, Interval y) {
    const Enclosure box = ev.evaluate_plane(f, x, y, angle);
    const bool continuous = box.continuous && !box.uncertain;
    const double px[5] = {x.lo, x.hi, x.lo, x.hi, 0.5 * (x.lo + x.hi)};
    const double py[5] = {y.lo, y.lo, y.hi, y.hi, 0.5 * (y.lo + y.hi)};
    bool negative = false, positive = false;
    for (int k = 0; k < 5; ++k) {
      const Enclosure e = ev.evaluate_plane(f, {px[k], px[k]}, {py[k], py[k]}, angle);
      if (e.defined != Defined::kEverywhere || e.uncertain) continue;
      const Interval v = e.f[0];
      if (v.lo == 0 && v.hi == 0) return true;
      negative |= v.hi < 0;
      positive |= v.lo > 0;
    }
    return continuous && negative && positive;
  }

  // One pixel, or a part of it at inner levels left: its class.
  PixelClass pixel(Interval x, Interval y, int levels) {
    const Verdict v = judge(x, y);
    if (v == Verdict::kNone) return kPixelNone;
    if (v == Verdict::kInside) return kPixelInside;
    if (proves_curve(x, y)) return kPixelCurve;
    if (levels == 0) return kPixelUndecided;
    const double mx = 0.5 * (x.lo + x.hi), my = 0.5 * (y.lo + y.hi);
    const Interval qx[2] = {{x.lo, mx}, {mx, x.hi}}, qy[2] = {{y.lo, my}, {my, y.hi}};
    bool none = true, inside = true;
    for (int a = 0; a < 2; ++a) {
      for (int b = 0; b < 2; ++b) {
        const PixelClass c = pixel(qx[a], qy[b], levels - 1);
        if (c == kPixelCurve) return kPixelCurve;
        none &= c == kPixelNone;
        inside &= c == kPixelInside;
      }
    }
    return none ? kPixelNone : inside ? kPixelInside : kPixelUndecided;
  }
};

struct Square {
  int i, j, size;
};

void fill(ImplicitPixels& out, const Square& s, PixelClass c) {
  const int i1 = std::min(s.i + s.size, out.width), j1 = std::min(s.j + s.size, out.height);
  for (int j = s.j; j < j1; ++j) {
    std::fill(out.cls.begin() + static_cast<long>(j) * out.width + s.i,
              out.cls.begin() + static_cast<long>(j) * out.width + i1, c);
  }
}

}  // namespace

ImplicitPixels classify_implicit(const CompiledFormula& f, const PlaneWindow& window, double angle,
                                 Deadline deadline) {
  ImplicitPixels out;
  out.width = std::max(window.width, 0) + 1;
  out.height = std::max(window.height, 0) + 1;
  out.cls.assign(static_cast<size_t>(out.width) * out.height, kPixelUndecided);
  Classifier c{f, window, angle, {}};
  c.dx = (window.xmax - window.xmin) / std::max(window.width, 1);
  c.dy = (window.ymax - window.ymin) / std::max(window.height, 1);

  std::vector<Square> level, next;
  for (int j = 0; j < out.height; j += kTile) {
    for (int i = 0; i < out.width; i += kTile) level.push_back({i, j, kTile});
  }
  int until_check = kDeadlineCheck;
  while (!level.empty()) {
    next.clear();
    for (const Square& s : level) {
      if (--until_check == 0) {
        until_check = kDeadlineCheck;
        if (std::chrono::steady_clock::now() > deadline) return out;
      }
      const Interval x = c.xs(s.i, s.i + s.size), y = c.ys(s.j, s.j + s.size);
      if (s.size == 1) {
        out.cls[static_cast<size_t>(s.j) * out.width + s.i] = c.pixel(x, y, kInnerLevels);
        continue;
      }
      const Verdict v = c.judge(x, y);
      if (v != Verdict::kOpen) {
        fill(out, s, v == Verdict::kNone ? kPixelNone : kPixelInside);
        continue;
      }
      const int h = s.size / 2;
      for (int b = 0; b < 2; ++b) {
        for (int a = 0; a < 2; ++a) {
          const Square q{s.i + a * h, s.j + b * h, h};
          if (q.i < out.width && q.j < out.height) next.push_back(q);
        }
      }
    }
    level.swap(next);
  }
  out.complete = true;
  return out;
}

}  // namespace kv::analysis
