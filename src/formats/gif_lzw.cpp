// LZW for GIF image data. Layers in reading order: sub-block framing, bit
// writer, dictionary, the encoder loop. The stream format is described in
// gif_lzw.h.
#include "formats/gif_lzw.h"

#include <bit>
#include <cassert>
#include <cstring>
#include <new>

namespace kv {
namespace {

constexpr int kMaxCodeWidth = 12;         // GIF codes are at most 12 bits
constexpr uint32_t kDictionarySize = 4096;  // 2^12 codes, 0..4095
constexpr uint32_t kNoCode = 0xFFFF;
constexpr int kMaxBlockBytes = 255;       // a sub-block's length fits one byte

}  // namespace

GifLzwEncoder::GifLzwEncoder(ByteSink& sink, int min_code_size)
    : sink_(sink),
      min_code_size_(min_code_size),
      clear_code_(1u << min_code_size),
      width_(min_code_size + 1),
      next_code_(clear_code_ + 2),
      current_(kNoCode) {
  assert(min_code_size >= 2 && min_code_size <= 8);
  const size_t slots = size_t{kDictionarySize} * clear_code_;
  child_.reset(new (std::nothrow) uint16_t[slots]());  // all unknown
  prefix_of_.reset(new (std::nothrow) uint16_t[kDictionarySize]);
  suffix_of_.reset(new (std::nothrow) uint8_t[kDictionarySize]);
  run_code_.reset(new (std::nothrow) uint16_t[slots]);  // read only up to longest_run_
  run_length_.reset(new (std::nothrow) uint16_t[kDictionarySize]);
  longest_run_.reset(new (std::nothrow) uint16_t[clear_code_]);
  ok_ = child_ && prefix_of_ && suffix_of_ && run_code_ && run_length_ && longest_run_;
  if (!ok_) return;
  // Roots: code c is the string of index c alone, a run of length 1.
  for (uint32_t c = 0; c < clear_code_; ++c) {
    suffix_of_[c] = static_cast<uint8_t>(c);
    run_length_[c] = 1;
    run_code_[c * kDictionarySize + 1] = static_cast<uint16_t>(c);
    longest_run_[c] = 1;
  }
  run_length_[clear_code_] = 0;
  run_length_[clear_code_ + 1] = 0;
}

// --- Sub-block framing ----------------------------------------------------

// A full block goes out at once; the bytes are the same as writing it when
// the next byte arrives, and the final flush never sees a full block.
void GifLzwEncoder::put_byte(uint8_t byte) {
  block_[1 + block_used_++] = byte;
  if (block_used_ == kMaxBlockBytes) {
    block_[0] = kMaxBlockBytes;
    if (ok_) ok_ = sink_.write(block_, 1 + kMaxBlockBytes);
    block_used_ = 0;
  }
}

// --- Bit writer -----------------------------------------------------------

void GifLzwEncoder::emit(uint32_t code, int width) {
  assert(code < (1u << width) && width <= kMaxCodeWidth);
  bit_buffer_ |= uint64_t{code} << bit_count_;
  bit_count_ += width;
  while (bit_count_ >= 8) {
    put_byte(static_cast<uint8_t>(bit_buffer_));
    bit_buffer_ >>= 8;
    bit_count_ -= 8;
  }
}

// --- Dictionary -----------------------------------------------------------

// Clears only the slots assigned since the last reset: at most 4096 stores
// instead of a table of up to 4096 * 256 entries.
void GifLzwEncoder::reset_dictionary() {
  for (uint32_t code = clear_code_ + 2; code < next_code_; ++code)
    child_[size_t{prefix_of_[code]} * clear_code_ + suffix_of_[code]] = 0;
  for (uint32_t c = 0; c < clear_code_; ++c) longest_run_[c] = 1;
  next_code_ = clear_code_ + 2;
  width_ = min_code_size_ + 1;
}

// The current string followed by index c is not known: emit the string, give
// (string, c) the next code, and start a new string with c.
void GifLzwEncoder::end_string(uint32_t c) {
  emit(current_, width_);
  if (next_code_ == kDictionarySize) {
    // Code 4095 is taken: the width would have to grow past 12 bits.
    emit(clear_code_, kMaxCodeWidth);
    reset_dictionary();
  } else {
    const uint32_t code = next_code_++;
    child_[size_t{current_} * clear_code_ + c] = static_cast<uint16_t>(code);
    prefix_of_[code] = static_cast<uint16_t>(current_);
    suffix_of_[code] = static_cast<uint8_t>(c);
    // c^k followed by c is c^(k+1), one longer than the longest run known.
    const uint32_t run = run_length_[current_];
    if (run != 0 && suffix_of_[current_] == c) {
      run_length_[code] = static_cast<uint16_t>(run + 1);
      run_code_[c * kDictionarySize + run + 1] = static_cast<uint16_t>(code);
      longest_run_[c] = static_cast<uint16_t>(run + 1);
    } else {
      run_length_[code] = 0;
    }
    if (code > (1u << width_) - 1) ++width_;
  }
  current_ = c;
}

// --- Encoder loop ---------------------------------------------------------

void GifLzwEncoder::start() {
  started_ = true;
  emit(clear_code_, width_);
}

namespace {

// Number of bytes equal to c at the start of p[0..n).
size_t run_of(const uint8_t* p, size_t n, uint8_t c) {
  size_t i = 0;
  if constexpr (std::endian::native == std::endian::little) {
    const uint64_t pattern = 0x0101010101010101ull * c;
    for (; i + 8 <= n; i += 8) {
      uint64_t word;
      std::memcpy(&word, p + i, 8);
      if (word != pattern) return i + static_cast<size_t>(std::countr_zero(word ^ pattern) / 8);
    }
  }
  while (i < n && p[i] == c) ++i;
  return i;
}

}  // namespace

// The current string has just become the single index c, taken from
// indices[pos - 1]. Takes the run of c that follows in whole known strings,
// exactly as the one-index-at-a-time parse would cut it, and returns the
// position of the first index not taken.
size_t GifLzwEncoder::follow_run(const uint8_t* indices, size_t pos, size_t count, uint32_t c) {
  const size_t run_end = pos + run_of(indices + pos, count - pos, static_cast<uint8_t>(c));
  size_t left = 1 + (run_end - pos);  // c's from the start of the current string
  for (;;) {
    const uint32_t longest = longest_run_[c];
    if (left <= longest) {
      current_ = run_code_[c * kDictionarySize + left];
      return run_end;
    }
    current_ = run_code_[c * kDictionarySize + longest];
    end_string(c);
    left -= longest;
  }
}

void GifLzwEncoder::add(const uint8_t* indices, size_t count) {
  if (!ok_) return;
  if (!started_) start();
  if (count == 0) return;
  const uint32_t mask = clear_code_ - 1;
  size_t i = 0;
  if (current_ == kNoCode) {
    current_ = indices[0] & mask;
    i = follow_run(indices, 1, count, current_);
  }
  const uint16_t* child = child_.get();
  uint32_t current = current_;
  while (i < count) {
    const uint32_t c = indices[i++] & mask;
    const uint32_t known = child[size_t{current} * clear_code_ + c];
    if (known != 0) {
      current = known;
      continue;
    }
    current_ = current;
    end_string(c);
    if (i < count && indices[i] == c) i = follow_run(indices, i, count, c);
    current = current_;
  }
  current_ = current;
}

bool GifLzwEncoder::finish() {
  if (!ok_) return false;
  if (!started_) start();
  if (current_ != kNoCode) {
    emit(current_, width_);
    // The decoder adds its entry for this code before reading the end code;
    // if that fills the 2^w codes it reads the end code one bit wider.
    if (width_ < kMaxCodeWidth && next_code_ == (1u << width_)) ++width_;
  }
  emit(clear_code_ + 1, width_);
  if (bit_count_ > 0) put_byte(static_cast<uint8_t>(bit_buffer_));
  bit_buffer_ = 0;
  bit_count_ = 0;
  if (block_used_ > 0) {
    block_[0] = static_cast<uint8_t>(block_used_);
    if (ok_) ok_ = sink_.write(block_, 1 + static_cast<size_t>(block_used_));
    block_used_ = 0;
  }
  const uint8_t terminator = 0;
  if (ok_) ok_ = sink_.write(&terminator, 1);
  return ok_;
}

}  // namespace kv
