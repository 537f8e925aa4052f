// The words of the curve discussion: the name of each kind of point and the
// status of a row, as the window, its copied table and the command line show
// them. UTF-8.
#pragma once

namespace kv::analysis {

// By FeatureKind (feature_name).
inline constexpr const char* kZeroName = "Nullstelle";
inline constexpr const char* kMaximumName = "Hochpunkt";
inline constexpr const char* kMinimumName = "Tiefpunkt";
inline constexpr const char* kInflectionName = "Wendepunkt";
inline constexpr const char* kSaddleName = "Sattelpunkt";
inline constexpr const char* kYInterceptName = "y-Achsenabschnitt";
inline constexpr const char* kPoleName = "Polstelle";
inline constexpr const char* kHoleName = "Lücke";
inline constexpr const char* kJumpName = "Sprung";
inline constexpr const char* kDomainGapName = "Definitionslücke";
inline constexpr const char* kIntersectionName = "Schnittpunkt";
inline constexpr const char* kUnclearName = "Unklar";

// Whether the enclosure of a point is proven.
inline constexpr const char* kProven = "bewiesen";
inline constexpr const char* kUnproven = "unsicher";

}  // namespace kv::analysis
