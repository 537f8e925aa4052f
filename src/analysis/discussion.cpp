// The curve discussion: sets up one search job per formula and one per
// pair, runs the box search, and assembles the sorted list: gaps and unclear boxes merged into ranges, the same point
// found from two neighbouring boxes listed once.
#include "analysis/discussion.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <tuple>

#include "analysis/discussion_texts.h"
#include "analysis/search.h"
#include "analysis/simple_point.h"

namespace kv::analysis {

namespace {

// Boxes narrower than this share of the range are not cut any further.
constexpr double kFloorShare = 0x1p-42;
// Unclear boxes less than this share of the range apart are joined.
constexpr double kUnclearJoin = 1e-3;
// The share of the budget the search may use; the rest sorts and merges.
constexpr double kSearchShare = 0.9;

Clock::time_point after(Clock::time_point start, double ms) {
  const double capped = std::clamp(ms, 0.0, 3.6e9);
  return start + std::chrono::duration_cast<Clock::duration>(
                     std::chrono::duration<double, std::milli>(capped));
}

using Evaluators = std::vector<std::unique_ptr<interval::IntervalEvaluator>>;

void add_jobs(Search& s, const ExprPanel& panel, const std::vector<int>& formulas,
              Evaluators& evaluators) {
  std::vector<int> usable;
  for (size_t p = 0; p < formulas.size(); ++p) {
    const int i = formulas[p];
    if (i < 0 || i >= panel.count()) continue;
    const CompiledFormula& f = *panel.formulas[i];
    if (f.is_polar() || f.is_implicit() || f.order != 0) continue;
    Job job;
    evaluators.push_back(std::make_unique<interval::IntervalEvaluator>());
    job.target = {&f, nullptr, panel.angle_mode, evaluators.back().get(), nullptr};
    job.formula = static_cast<int>(p);
    job.uncertain = evaluate_target(job.target, {s.a, s.b}, 0).uncertain;
    s.jobs.push_back(job);
    usable.push_back(static_cast<int>(s.jobs.size()) - 1);
  }
  for (size_t p = 0; p < usable.size(); ++p) {
    for (size_t q = p + 1; q < usable.size(); ++q) {
      const Job& first = s.jobs[usable[p]];
      const Job& second = s.jobs[usable[q]];
      Job job;
      job.target = {first.target.f, second.target.f, panel.angle_mode, first.target.ef,
                    second.target.ef};
      job.formula = first.formula;
      job.other = second.formula;
      job.kinds = kBitRoot;
      job.uncertain = first.uncertain || second.uncertain;
      s.jobs.push_back(job);
    }
  }
}

void add_y_intercepts(Search& s) {
  if (!(s.a <= 0 && s.b >= 0)) return;
  for (const Job& job : s.jobs) {
    if (job.other >= 0) continue;
    const PointValue p = point_value(job.target, 0, 0);
    if (!p.defined) continue;
    Feature f;
    f.kind = FeatureKind::kYIntercept;
    f.formula = job.formula;
    f.has_x = f.has_y = true;
    f.y = simple_point(p.v.lo, p.v.hi);
    f.proven = !job.uncertain;
    s.features.push_back(f);
  }
}

// Boxes of one job closer than gap become one range.
template <typename Emit>
void merge_ranges(std::vector<Box> boxes, double gap, Emit emit) {
  std::sort(boxes.begin(), boxes.end(), [](const Box& p, const Box& q) {
    return std::tie(p.job, p.lo) < std::tie(q.job, q.lo);
  });
  for (size_t i = 0; i < boxes.size();) {
    Box run = boxes[i];
    bool any = run.kinds != 0;
    for (++i; i < boxes.size() && boxes[i].job == run.job && boxes[i].lo <= run.hi + gap; ++i) {
      run.hi = std::max(run.hi, boxes[i].hi);
      any = any || boxes[i].kinds != 0;
    }
    emit(run, any);
  }
}

Feature range_feature(const Search& s, FeatureKind kind, const Box& run, bool proven) {
  Feature f;
  f.kind = kind;
  f.formula = s.jobs[run.job].formula;
  f.other = s.jobs[run.job].other;
  f.x_lo = run.lo;
  f.x_hi = run.hi;
  f.proven = proven && !s.jobs[run.job].uncertain;
  return f;
}

// A weak point is dropped where a listed feature of its formula lies on it
// (a double zero of f' inside a proven saddle), or at an end of the range,
// where f' = 0 makes no extremum inside it; elsewhere it stays open.
void resolve_weak(Search& s) {
  for (const Box& w : s.weak) {
    if (w.lo <= s.a || w.hi >= s.b) continue;
    const Job& job = s.jobs[w.job];
    const bool covered = std::any_of(s.features.begin(), s.features.end(), [&](const Feature& f) {
      return f.formula == job.formula && f.other < 0 && f.x_lo <= w.hi && f.x_hi >= w.lo;
    });
    if (!covered) s.unclear.push_back(w);
  }
}

bool is_singular(FeatureKind k) {
  return k == FeatureKind::kPole || k == FeatureKind::kHole || k == FeatureKind::kJump ||
         k == FeatureKind::kDomainGap;
}

// An unproven zero, extremum or inflection right beside a pole, hole or
// jump is the sign change across that place, not a point of the curve: it
// is dropped, and the place's enclosure grows over it, so that the list
// still covers its box.
void drop_beside_singular(std::vector<Feature>& all) {
  std::vector<size_t> singular;
  for (size_t i = 0; i < all.size(); ++i) {
    if (is_singular(all[i].kind)) singular.push_back(i);
  }
  std::vector<bool> drop(all.size(), false);
  for (size_t i = 0; i < all.size(); ++i) {
    const Feature& f = all[i];
    if (f.proven || is_singular(f.kind) || f.kind == FeatureKind::kUnclear ||
        f.kind == FeatureKind::kYIntercept || !f.has_x) {
      continue;
    }
    const double slack = 4 * (f.x_hi - f.x_lo);
    for (size_t j : singular) {
      Feature& g = all[j];
      // What the place itself showed (sgn(0) = 0, sqrt(0) = 0) stays.
      const bool same = f.x_lo >= g.x_lo && f.x_hi <= g.x_hi;
      const bool edge_zero = g.kind == FeatureKind::kDomainGap && f.kind == FeatureKind::kZero;
      if (g.formula != f.formula || g.proven || same || edge_zero || g.x_lo > f.x_hi + slack ||
          g.x_hi < f.x_lo - slack) {
        continue;
      }
      g.x_lo = std::min(g.x_lo, f.x_lo);
      g.x_hi = std::max(g.x_hi, f.x_hi);
      drop[i] = true;
      break;
    }
  }
  std::vector<Feature> kept;
  for (size_t i = 0; i < all.size(); ++i) {
    if (!drop[i]) kept.push_back(all[i]);
  }
  all = std::move(kept);
}

bool same_place(const Feature& p, const Feature& q) {
  return p.kind == q.kind && p.formula == q.formula && p.other == q.other && q.x_lo <= p.x_hi;
}

// The same point found from two neighbouring boxes: the proven one, or the
// narrower of two proven ones, or the hull of two unproven ones.
std::vector<Feature> merge_duplicates(std::vector<Feature> all) {
  std::sort(all.begin(), all.end(), [](const Feature& p, const Feature& q) {
    return std::tie(p.formula, p.other, p.kind, p.x_lo) < std::tie(q.formula, q.other, q.kind, q.x_lo);
  });
  std::vector<Feature> out;
  for (const Feature& f : all) {
    if (out.empty() || f.kind == FeatureKind::kUnclear || !same_place(out.back(), f)) {
      out.push_back(f);
      continue;
    }
    Feature& last = out.back();
    if (last.proven && f.proven) {
      if (f.x_hi - f.x_lo < last.x_hi - last.x_lo) last = f;
    } else if (f.proven) {
      last = f;
    } else if (!last.proven) {
      last.x_lo = std::min(last.x_lo, f.x_lo);
      last.x_hi = std::max(last.x_hi, f.x_hi);
      if (last.has_x && f.has_x) last.x = simple_point(last.x_lo, last.x_hi);
    }
  }
  return out;
}

double sort_key(const Feature& f) { return f.has_x ? f.x : f.x_lo; }

}  // namespace

Discussion discuss(const ExprPanel& panel, const std::vector<int>& formulas, double x_min,
                   double x_max, double budget_ms) {
  const Clock::time_point start = Clock::now();
  Discussion d;
  if (!(x_min < x_max) || !std::isfinite(x_min) || !std::isfinite(x_max)) return d;
  if (!(budget_ms > 0)) budget_ms = 0;
  Search s;
  s.a = x_min;
  s.b = x_max;
  s.floor_width = std::max((x_max - x_min) * kFloorShare, 0x1p-1060);
  if (!std::isfinite(s.floor_width)) s.floor_width = x_max * kFloorShare - x_min * kFloorShare;
  s.deadline = after(start, budget_ms * kSearchShare);
  Evaluators evaluators;
  add_jobs(s, panel, formulas, evaluators);
  add_y_intercepts(s);
  run_search(s);
  d.budget_exhausted = s.exhausted;
  resolve_weak(s);
  merge_ranges(s.gaps, 0, [&](const Box& run, bool proven) {
    s.features.push_back(range_feature(s, FeatureKind::kDomainGap, run, proven));
  });
  // Unclear boxes with little between them read better as one range, and
  // claim less.
  merge_ranges(s.unclear, (x_max - x_min) * kUnclearJoin, [&](const Box& run, bool) {
    s.features.push_back(range_feature(s, FeatureKind::kUnclear, run, false));
  });
  drop_beside_singular(s.features);
  d.features = merge_duplicates(std::move(s.features));
  std::stable_sort(d.features.begin(), d.features.end(), [](const Feature& p, const Feature& q) {
    return std::make_tuple(sort_key(p), p.formula, p.other) <
           std::make_tuple(sort_key(q), q.formula, q.other);
  });
  return d;
}

std::string_view feature_name(FeatureKind kind) {
  switch (kind) {
    case FeatureKind::kZero: return kZeroName;
    case FeatureKind::kMaximum: return kMaximumName;
    case FeatureKind::kMinimum: return kMinimumName;
    case FeatureKind::kInflection: return kInflectionName;
    case FeatureKind::kSaddle: return kSaddleName;
    case FeatureKind::kYIntercept: return kYInterceptName;
    case FeatureKind::kPole: return kPoleName;
    case FeatureKind::kHole: return kHoleName;
    case FeatureKind::kJump: return kJumpName;
    case FeatureKind::kDomainGap: return kDomainGapName;
    case FeatureKind::kIntersection: return kIntersectionName;
    case FeatureKind::kUnclear: return kUnclearName;
  }
  return kUnclearName;
}

}  // namespace kv::analysis
