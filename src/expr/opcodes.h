// Byte values of the compiled prefix code.
//
// A compiled formula is a byte string in prefix notation: an operation byte
// followed by its arguments in brackets (kOpen ... kClose), arguments
// separated by ','. Leaves are literal digits and '.', one-byte constants and
// one-byte variables. Operation codes 123..177 follow the alphabetical order of
// the internal function names.
#pragma once

#include <cstdint>
#include <string_view>

namespace kv::op {

// Leaves.
inline constexpr uint8_t kE = 108;
inline constexpr uint8_t kLn2 = 109;
inline constexpr uint8_t kLn10 = 110;
inline constexpr uint8_t kLog2e = 111;
inline constexpr uint8_t kLog10e = 112;
inline constexpr uint8_t kPi = 113;
inline constexpr uint8_t kSqrt2 = 114;
inline constexpr uint8_t kSqrt1_2 = 115;
inline constexpr uint8_t kRand = 116;
inline constexpr uint8_t kY = 117;  // y (or r); y' .. y'''' follow as 118..121
inline constexpr uint8_t kY1 = 118;
inline constexpr uint8_t kY2 = 119;
inline constexpr uint8_t kY3 = 120;
inline constexpr uint8_t kY4 = 121;
inline constexpr uint8_t kX = 122;  // the independent variable x or t

// Operations.
inline constexpr uint8_t kAbs = 123;
inline constexpr uint8_t kAcos = 124;
inline constexpr uint8_t kAcosh = 125;
inline constexpr uint8_t kAcot = 126;
inline constexpr uint8_t kAcoth = 127;
inline constexpr uint8_t kAcsc = 128;
inline constexpr uint8_t kAcsch = 129;
inline constexpr uint8_t kAdd = 130;
inline constexpr uint8_t kAsec = 131;
inline constexpr uint8_t kAsech = 132;
inline constexpr uint8_t kAsin = 133;
inline constexpr uint8_t kAsinh = 134;
inline constexpr uint8_t kAtan = 135;
inline constexpr uint8_t kAtan2 = 136;
inline constexpr uint8_t kAtanh = 137;
inline constexpr uint8_t kCbrt = 138;
inline constexpr uint8_t kCeil = 139;
inline constexpr uint8_t kCos = 140;
inline constexpr uint8_t kCosh = 141;
inline constexpr uint8_t kCot = 142;
inline constexpr uint8_t kCoth = 143;
inline constexpr uint8_t kCsc = 144;
inline constexpr uint8_t kCsch = 145;
inline constexpr uint8_t kDeriv = 146;
inline constexpr uint8_t kDiv = 147;
inline constexpr uint8_t kExp = 148;
inline constexpr uint8_t kFac = 149;
inline constexpr uint8_t kFloor = 150;
inline constexpr uint8_t kFrac = 151;
inline constexpr uint8_t kGamma = 152;
inline constexpr uint8_t kGaussd = 153;
inline constexpr uint8_t kIEll1 = 154;
inline constexpr uint8_t kIEll2 = 155;
inline constexpr uint8_t kIEllc1 = 156;
inline constexpr uint8_t kIEllc2 = 157;
inline constexpr uint8_t kLn = 158;
inline constexpr uint8_t kLogn = 159;
inline constexpr uint8_t kLg = 160;
inline constexpr uint8_t kLb = 161;
inline constexpr uint8_t kMax = 162;
inline constexpr uint8_t kMin = 163;
inline constexpr uint8_t kMul = 164;
inline constexpr uint8_t kPow = 165;
inline constexpr uint8_t kRoot = 166;
inline constexpr uint8_t kRound = 167;
inline constexpr uint8_t kSec = 168;
inline constexpr uint8_t kSech = 169;
inline constexpr uint8_t kSgn = 170;
inline constexpr uint8_t kSin = 171;
inline constexpr uint8_t kSinh = 172;
inline constexpr uint8_t kSqr = 173;
inline constexpr uint8_t kSqrt = 174;
inline constexpr uint8_t kSub = 175;
inline constexpr uint8_t kTan = 176;
inline constexpr uint8_t kTanh = 177;

// Structure.
inline constexpr uint8_t kEnd = 0;
inline constexpr uint8_t kOpen = 254;
inline constexpr uint8_t kClose = 255;
inline constexpr uint8_t kComma = ',';

inline constexpr bool is_operation(uint8_t c) { return c >= kAbs && c <= kTanh; }
inline constexpr bool is_leaf_symbol(uint8_t c) { return c >= kE && c <= kX; }
inline constexpr bool is_digit(uint8_t c) { return c >= '0' && c <= '9'; }
inline constexpr bool is_literal_char(uint8_t c) { return is_digit(c) || c == '.'; }
inline constexpr bool is_operator_char(uint8_t c) {
  return c == '+' || c == '-' || c == '*' || c == '/' || c == '^';
}

// Number of arguments an operation takes.
inline constexpr int arity(uint8_t c) {
  switch (c) {
    case kAdd: case kSub: case kMul: case kDiv: case kPow: case kAtan2:
    case kIEll1: case kIEll2: case kLogn: case kMax: case kMin: case kRoot:
      return 2;
    case kGaussd:
      return 3;
    default:
      return 1;
  }
}

// The position after the comma that ends the argument starting at pos, or
// npos when the argument is the last one of its bracket (or the code ends).
inline size_t next_argument(std::string_view code, size_t pos) {
  int depth = 0;
  for (size_t i = pos; i < code.size(); ++i) {
    const uint8_t b = static_cast<uint8_t>(code[i]);
    if (b == kOpen) {
      ++depth;
    } else if (b == kClose) {
      if (depth == 0) return std::string_view::npos;
      --depth;
    } else if (b == kComma && depth == 0) {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

}  // namespace kv::op
