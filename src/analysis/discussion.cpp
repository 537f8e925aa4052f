// Placeholder until the interval evaluation arrives: reports the whole range
// as undecided, which is incomplete but never wrong.
#include "analysis/discussion.h"

namespace kv::analysis {

Discussion discuss(const ExprPanel&, const std::vector<int>& formulas, double x_min,
                   double x_max, double) {
  Discussion d;
  for (size_t i = 0; i < formulas.size(); ++i) {
    Feature f;
    f.formula = static_cast<int>(i);
    f.x_lo = x_min;
    f.x_hi = x_max;
    d.features.push_back(f);
  }
  d.budget_exhausted = true;
  return d;
}

std::string_view feature_name(FeatureKind kind) {
  switch (kind) {
    case FeatureKind::kZero: return "Nullstelle";
    case FeatureKind::kMaximum: return "Hochpunkt";
    case FeatureKind::kMinimum: return "Tiefpunkt";
    case FeatureKind::kInflection: return "Wendepunkt";
    case FeatureKind::kSaddle: return "Sattelpunkt";
    case FeatureKind::kYIntercept: return "y-Achsenabschnitt";
    case FeatureKind::kPole: return "Polstelle";
    case FeatureKind::kHole: return "Lücke";
    case FeatureKind::kJump: return "Sprung";
    case FeatureKind::kDomainGap: return "Definitionslücke";
    case FeatureKind::kIntersection: return "Schnittpunkt";
    case FeatureKind::kUnclear: return "Unklar";
  }
  return "Unklar";
}

}  // namespace kv::analysis
