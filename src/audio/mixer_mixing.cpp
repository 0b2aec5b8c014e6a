// The mixer's mixing: the channels' sounds summed into an output block.
#include "audio/mixer_internals.hpp"

#include <algorithm>
#include <cstring>

namespace mixer_internals {

namespace {

// Mix rule: one source is copied; several are summed around the silence level 128 and held to
// 0 … 255. Sixteen samples go at a time in the compiler's vector types, their sum kept in
// registers: the sum of at most kChannels sources around 128 fits in 16 bits.
using Samples16 = uint8_t __attribute__((vector_size(16)));
using Sums16 = int16_t __attribute__((vector_size(32)));
static_assert(128 * (kChannels + 1) <= INT16_MAX);

void mix_sources(uint8_t* out, const uint8_t* const* src, int k, size_t len) {
  if (k == 1) {
    std::memcpy(out, src[0], len);
    return;
  }
  size_t i = 0;
  for (; i + 16 <= len; i += 16) {
    Sums16 sum = {};
    for (int j = 0; j < k; ++j) {
      Samples16 v;
      std::memcpy(&v, src[j] + i, sizeof v);
      sum += __builtin_convertvector(v, Sums16) - 128;
    }
    sum += 128;
    sum = sum < 0 ? 0 : sum;
    sum = sum > 255 ? 255 : sum;
    const Samples16 held = __builtin_convertvector(sum, Samples16);
    std::memcpy(out + i, &held, sizeof held);
  }
  for (; i < len; ++i) {
    int v = 128;
    for (int j = 0; j < k; ++j) v += src[j][i] - 128;
    out[i] = static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
  }
}

}  // namespace

bool mix_block(MixerSession& s, OutputBlock& b) {
  int64_t p = s.mix_position;
  const int64_t block_start = p;
  const int64_t block_end = p + s.block_length;
  RequestNode* taken[kChannels];
  int n = 0;
  for (int c = 0; c < kChannels; ++c) {
    if (!s.open[c]) continue;
    RequestNode* r = s.queue[c];
    while (r && r->end <= p) r = r->next;  // ended ones are passed over, not removed
    if (r) taken[n++] = r;
  }
  if (n == 0) return false;

  while (p < block_end) {
    int64_t first_start = kNever;
    for (int i = 0; i < n; ++i) first_start = std::min(first_start, taken[i]->start);
    if (p < first_start) {
      const int64_t q = std::min(first_start, block_end);
      std::memset(b.data + (p - block_start), 128, static_cast<size_t>(q - p));
      p = q;
      continue;
    }
    // The chunk up to the next change: a block's end, a sound's end or start, a loop's turn.
    int64_t q = block_end;
    const uint8_t* src[kChannels];
    int k = 0;
    for (int i = 0; i < n; ++i) {
      const RequestNode& r = *taken[i];
      if (r.start > p) {
        q = std::min(q, r.start);
        continue;
      }
      q = std::min(q, r.end);
      int64_t offset = p - r.start;
      if (r.params.loops != 0) {
        offset %= r.length;
        q = std::min(q, p + (r.length - offset));
      }
      src[k++] = r.data + offset;
    }
    mix_sources(b.data + (p - block_start), src, k, static_cast<size_t>(q - p));
    p = q;
    int m = 0;
    for (int i = 0; i < n; ++i) {
      RequestNode* r = taken[i];
      while (r && r->end <= p) r = r->next;
      if (r) taken[m++] = r;
    }
    n = m;
  }
  b.start = block_start;
  b.free = false;
  s.mix_position = block_end;
  return true;
}

}  // namespace mixer_internals
