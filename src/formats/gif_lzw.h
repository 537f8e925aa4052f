// The image-data half of the GIF writer: LZW compression of colour indices
// into GIF's variable-width codes, packed into data sub-blocks.
//
// Usage: construct with the sink and the minimum code size M (2..8), call
// add() with the indices row by row, then finish() once. finish() returns
// false if any write to the sink failed or the dictionary could not be
// allocated; ok() tells the same earlier. Nothing is written by the
// constructor; the first add() or finish() writes the clear code.
//
// The stream, as every GIF decoder expects it:
// - clear code C = 2^M, end code C + 1, first free code C + 2; codes start
//   M + 1 bits wide and are packed least significant bit first;
// - the stream starts with C; each time the longest known string ends, its
//   code is emitted and (string + next index) gets the next free code;
// - when the code just assigned is 2^w the width w grows by one, up to 12;
// - once code 4095 is assigned, the next string that is not found makes the
//   encoder emit C at width 12 and start over with a fresh dictionary and
//   width M + 1;
// - at the end the current string's code is emitted, then the end code at the
//   width the decoder has reached by then (one bit wider if the next free code
//   has just reached 2^w, because the decoder adds its lagging entry before
//   it reads the end code);
// - bytes go out in sub-blocks of one length byte and at most 255 data bytes,
//   followed by a zero-length block as terminator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "formats/byte_sink.h"

namespace kv {

class GifLzwEncoder {
 public:
  GifLzwEncoder(ByteSink& sink, int min_code_size);

  // Indices are taken modulo 2^M; the GIF writer never passes larger ones.
  // Longer calls are faster: a run of one index is followed in large steps
  // only within one call.
  void add(const uint8_t* indices, size_t count);
  bool finish();
  bool ok() const { return ok_; }

 private:
  void start();
  void emit(uint32_t code, int width);
  void put_byte(uint8_t byte);
  void reset_dictionary();
  void end_string(uint32_t c);
  size_t follow_run(const uint8_t* indices, size_t pos, size_t count, uint32_t c);

  ByteSink& sink_;
  bool ok_ = true;
  bool started_ = false;

  // Codes.
  const int min_code_size_;
  const uint32_t clear_code_;
  int width_;
  uint32_t next_code_;
  uint32_t current_;  // code of the current string, kNoCode when empty

  // Dictionary: child_[prefix * clear_code_ + index] is the code of
  // (prefix string + index), 0 if unknown (0 is never a child code, children
  // start at C + 2). prefix_of_/suffix_of_ remember each assigned code's key so
  // a reset clears only the slots in use instead of the whole table.
  std::unique_ptr<uint16_t[]> child_;
  std::unique_ptr<uint16_t[]> prefix_of_;
  std::unique_ptr<uint8_t[]> suffix_of_;

  // Runs of one index (the background of a picture) in large steps: the
  // strings c, cc, ccc, ... of index c are known up to length longest_run_[c],
  // run_code_[c * 4096 + k] is the code of c repeated k times, and
  // run_length_[code] is k if code stands for such a string, else 0. In a run
  // the parse then takes a whole known string per step instead of one index.
  std::unique_ptr<uint16_t[]> run_code_;
  std::unique_ptr<uint16_t[]> run_length_;
  std::unique_ptr<uint16_t[]> longest_run_;

  // Bit writer: bits waiting to form whole bytes, least significant first.
  uint64_t bit_buffer_ = 0;
  int bit_count_ = 0;

  // Current sub-block: block_[0] is the length byte, then up to 255 bytes.
  uint8_t block_[256];
  int block_used_ = 0;
};

}  // namespace kv
