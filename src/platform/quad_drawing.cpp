// How the sprite device draws a textured quad. The quad is clipped to the
// back buffer once; an unturned quad finds the texel column of every device
// column once, fetches and tints a source row once for all the device rows
// it covers, and blends each device row in a loop made for the blend mode in
// force. Turned quads map every pixel back through the matrix.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "platform/render.h"

namespace platform {
namespace {

inline uint32_t Mul255(uint32_t a, uint32_t b) { return (a * b + 255) >> 8; }

// The texel multiplied by the quad's colour, channel by channel.
inline uint32_t Modulate(uint32_t t, uint32_t c) {
  const uint32_t a = Mul255(t >> 24, c >> 24);
  const uint32_t r = Mul255((t >> 16) & 255, (c >> 16) & 255);
  const uint32_t g = Mul255((t >> 8) & 255, (c >> 8) & 255);
  const uint32_t b = Mul255(t & 255, c & 255);
  return (a << 24) | (r << 16) | (g << 8) | b;
}

bool PassesAlphaTest(uint32_t alpha, uint32_t ref, uint32_t func) {
  switch (func) {
    case kCompareNever: return false;
    case kCompareLess: return alpha < ref;
    case kCompareEqual: return alpha == ref;
    case kCompareLessEqual: return alpha <= ref;
    case kCompareGreater: return alpha > ref;
    case kCompareNotEqual: return alpha != ref;
    case kCompareGreaterEqual: return alpha >= ref;
    default: return true;
  }
}

// The weight (0-255) of one channel (at `shift`) for a blend factor.
inline uint32_t Factor(uint32_t factor, uint32_t s, uint32_t d, int shift) {
  const uint32_t sa = s >> 24, da = d >> 24;
  const uint32_t sc = (s >> shift) & 255, dc = (d >> shift) & 255;
  switch (factor) {
    case kBlendZero: return 0;
    case kBlendOne: return 255;
    case kBlendSrcColour: return shift == 24 ? sa : sc;
    case kBlendInvSrcColour: return 255 - (shift == 24 ? sa : sc);
    case kBlendSrcAlpha: return sa;
    case kBlendInvSrcAlpha: return 255 - sa;
    case kBlendDestAlpha: return da;
    case kBlendInvDestAlpha: return 255 - da;
    case kBlendDestColour: return shift == 24 ? da : dc;
    case kBlendInvDestColour: return 255 - (shift == 24 ? da : dc);
    default: return 255;
  }
}

// The blend modes that have loops of their own; every other pair of
// factors goes through the general formula.
enum class Blend {
  kOpaque,     // no blending: the texel replaces the pixel
  kAlpha,      // source alpha, inverse source alpha
  kAdditive,   // source alpha, one
  kModulated,  // zero and source colour, or destination colour and zero
  kGeneral,
};

// In the alpha and additive modes a texel of alpha 0 leaves the pixel as it
// was, so a texel that fails the alpha test can be fetched as 0.
constexpr bool ZeroKeepsPixel(Blend mode) { return mode == Blend::kAlpha || mode == Blend::kAdditive; }

Blend BlendFor(const RenderStates& st) {
  if (!st.alphaBlend) return Blend::kOpaque;
  if (st.srcBlend == kBlendSrcAlpha && st.dstBlend == kBlendInvSrcAlpha) return Blend::kAlpha;
  if (st.srcBlend == kBlendSrcAlpha && st.dstBlend == kBlendOne) return Blend::kAdditive;
  if ((st.srcBlend == kBlendZero && st.dstBlend == kBlendSrcColour) ||
      (st.srcBlend == kBlendDestColour && st.dstBlend == kBlendZero))
    return Blend::kModulated;
  return Blend::kGeneral;
}

// One pixel of a mode. `s` is the tinted texel, already through the alpha test.
template <Blend M>
inline void BlendInto(uint32_t* dst, uint32_t s, uint32_t srcFactor, uint32_t dstFactor) {
  if constexpr (M == Blend::kOpaque) {
    *dst = s;
  } else if constexpr (M == Blend::kAlpha) {
    const uint32_t a = s >> 24;
    if (a == 0) return;
    if (a == 255) {
      *dst = s;
      return;
    }
    const uint32_t d = *dst, ia = 255 - a;
    uint32_t out = 0;
    for (int shift = 0; shift <= 24; shift += 8)
      out |= ((((s >> shift) & 255) * a + ((d >> shift) & 255) * ia + 127) / 255) << shift;
    *dst = out;
  } else if constexpr (M == Blend::kAdditive) {
    const uint32_t a = s >> 24;
    if (a == 0) return;
    const uint32_t d = *dst;
    uint32_t out = 0;
    for (int shift = 0; shift <= 24; shift += 8)
      out |= std::min<uint32_t>(255, ((d >> shift) & 255) + (((s >> shift) & 255) * a + 127) / 255) << shift;
    *dst = out;
  } else if constexpr (M == Blend::kModulated) {
    const uint32_t d = *dst;
    uint32_t out = 0;
    for (int shift = 0; shift <= 24; shift += 8)
      out |= ((((s >> shift) & 255) * ((d >> shift) & 255) + 127) / 255) << shift;
    *dst = out;
  } else {
    const uint32_t d = *dst;
    uint32_t out = 0;
    for (int shift = 0; shift <= 24; shift += 8) {
      const uint32_t fs = Factor(srcFactor, s, d, shift), fd = Factor(dstFactor, s, d, shift);
      out |= std::min<uint32_t>(255, (((s >> shift) & 255) * fs + ((d >> shift) & 255) * fd + 127) / 255) << shift;
    }
    *dst = out;
  }
}

// Two texels as bytes, and as sixteen-bit words for the products.
using TexelBytes = uint8_t __attribute__((vector_size(8)));
using TexelWords = uint16_t __attribute__((vector_size(16)));

// A row of texels multiplied by the colour (the sums of Modulate), two
// texels at a time in vector registers.
void TintRow(const uint32_t* in, uint32_t* out, int n, uint32_t colour) {
  uint8_t c[4];
  std::memcpy(c, &colour, 4);  // in the texels' own byte order
  const TexelWords tint = {c[0], c[1], c[2], c[3], c[0], c[1], c[2], c[3]};
  int i = 0;
  for (; i + 2 <= n; i += 2) {
    TexelBytes bytes;
    std::memcpy(&bytes, in + i, sizeof bytes);
    const TexelWords words = (__builtin_convertvector(bytes, TexelWords) * tint + 255) >> 8;
    bytes = __builtin_convertvector(words, TexelBytes);
    std::memcpy(out + i, &bytes, sizeof bytes);
  }
  if (i < n) out[i] = Modulate(in[i], colour);
}

// 1 / d when dividing by d is the same as multiplying by it (d a power of
// two, as the usual scales 1 and 2 are), else 0.
double ExactInverse(float d) {
  int exponent = 0;
  return std::frexp(d, &exponent) == 0.5f ? 1.0 / d : 0.0;
}

inline double Divide(double n, float d, double inverse) { return inverse != 0.0 ? n * inverse : n / d; }

// For each device column (or row) from `from` to `to`, the texel column it
// shows from the source rectangle's first, floor((x + 0.5 - d) / scale), or
// -1 where that falls outside 0 to size. A whole scale from a whole place
// maps by integer division alone: (j + 0.5) / k rounds down to j / k for
// every whole j from 0, and lies below size exactly when j is below k size.
void MapAxis(int from, int to, float d, float scale, int size, int* out) {
  const int k = static_cast<int>(scale);
  if (scale >= 1.0f && scale <= 64.0f && static_cast<float>(k) == scale && std::fabs(d) < 16777216.0f &&
      d == std::floor(d)) {
    const int origin = static_cast<int>(d), end = k * size;
    // The quotient counted up, not divided: j / k steps by one every k columns.
    int x = from, j = from - origin;
    for (; x < to && j < 0; ++x, ++j) out[x - from] = -1;
    for (int q = j / k, r = j % k; x < to && j < end; ++x, ++j) {
      out[x - from] = q;
      if (++r == k) {
        r = 0;
        ++q;
      }
    }
    for (; x < to; ++x) out[x - from] = -1;
    return;
  }
  const double inverse = ExactInverse(scale);
  for (int x = from; x < to; ++x) {
    const double u = Divide(x + 0.5 - d, scale, inverse);
    out[x - from] = u >= 0 && u < size ? static_cast<int>(u) : -1;  // u is not negative: the cast rounds down
  }
}

// The texel, or 0 when it fails the alpha test (without a branch: the
// outcome changes from texel to texel).
inline uint32_t Tested(uint32_t texel, const uint8_t* passes) {
  return texel & (0u - static_cast<uint32_t>(passes[texel >> 24]));
}

// Whether every texel of a row has alpha 0: tinted, such a row stays so.
bool ClearTexels(const uint32_t* texels, int n) {
  uint32_t alphas = 0;
  for (int i = 0; i < n; ++i) alphas |= texels[i];
  return (alphas >> 24) == 0;
}

// Each pixel replaced by its texel unless the texel's alpha is 0 (texels of
// alpha 0 or 255), four at a time.
void KeepOrReplace(uint32_t* dst, const uint32_t* src, int n) {
  int i = 0;
#ifdef __SSE2__
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; i + 4 <= n; i += 4) {
    const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i keep = _mm_cmpeq_epi32(_mm_and_si128(t, alpha), _mm_setzero_si128());
    const int kept = _mm_movemask_epi8(keep);
    if (kept == 0xFFFF) continue;  // four clear texels: the pixels are not touched
    __m128i* out = reinterpret_cast<__m128i*>(dst + i);
    _mm_storeu_si128(out, kept == 0 ? t : _mm_or_si128(_mm_and_si128(keep, _mm_loadu_si128(out)), _mm_andnot_si128(keep, t)));
  }
#endif
  for (; i < n; ++i)
    if (src[i] >> 24) dst[i] = src[i];
}

// What a fetched source row holds, for the shortcuts of the alpha mode: bits
// of one word (kept in a register from the fetch to the blend).
using RowKind = uint32_t;
constexpr RowKind kRowClear = 1;   // every alpha is 0
constexpr RowKind kRowSolid = 2;   // every alpha is 255
constexpr RowKind kRowBinary = 4;  // every alpha is 0 or 255

RowKind KindOf(const uint32_t* row, int n) {
  uint32_t orAlpha = 0, andAlpha = 255, partial = 0;
  for (int i = 0; i < n; ++i) {
    const uint32_t a = row[i] >> 24;
    orAlpha |= a;
    andAlpha &= a;
    partial |= static_cast<uint32_t>(a - 1 < 254u);
  }
  return (orAlpha == 0 ? kRowClear : 0u) | (andAlpha == 255 ? kRowSolid : 0u) | (partial == 0 ? kRowBinary : 0u);
}

// The alpha mode over a row of texels with partly transparent alphas: each
// channel becomes (texel x alpha + pixel x (255 - alpha) + 127) / 255, the
// division by 255 computed exactly as (w + 1 + (w >> 8)) >> 8, which holds
// for every w the sum can take. Two texels (the channels as words) make one
// vector register.
#ifdef __SSE2__
inline __m128i AlphaBlendWords(__m128i s, __m128i d) {
  const __m128i full = _mm_set1_epi16(255), half = _mm_set1_epi16(127), one = _mm_set1_epi16(1);
  __m128i a = _mm_shufflelo_epi16(s, _MM_SHUFFLE(3, 3, 3, 3));
  a = _mm_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
  const __m128i w =
      _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(s, a), _mm_mullo_epi16(d, _mm_sub_epi16(full, a))), half);
  return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(w, one), _mm_srli_epi16(w, 8)), 8);
}
#endif

void AlphaRow(uint32_t* dst, const uint32_t* src, int n) {
  int i = 0;
#ifdef __SSE2__
  // Four texels at a time; four of alpha 0 leave their pixels as they are.
  const __m128i zero = _mm_setzero_si128(), alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alpha), zero)) == 0xFFFF) continue;
    __m128i* out = reinterpret_cast<__m128i*>(dst + i);
    const __m128i d = _mm_loadu_si128(out);
    const __m128i low = AlphaBlendWords(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
    const __m128i high = AlphaBlendWords(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
    _mm_storeu_si128(out, _mm_packus_epi16(low, high));
  }
#endif
  for (; i + 2 <= n; i += 2) {
    TexelBytes s, d;
    std::memcpy(&s, src + i, sizeof s);
    if ((s[3] | s[7]) == 0) continue;
    std::memcpy(&d, dst + i, sizeof d);
    const TexelWords sw = __builtin_convertvector(s, TexelWords);
    const TexelWords alpha = __builtin_shufflevector(sw, sw, 3, 3, 3, 3, 7, 7, 7, 7);
    const TexelWords w = sw * alpha + __builtin_convertvector(d, TexelWords) * (255 - alpha) + 127;
    d = __builtin_convertvector((w + 1 + (w >> 8)) >> 8, TexelBytes);
    std::memcpy(dst + i, &d, sizeof d);
  }
  if (i < n) BlendInto<Blend::kAlpha>(dst + i, src[i], 0, 0);
}

// Rows of a quad drawn at twice its texels' width in the alpha mode, each
// texel over two device columns, without spreading the texels first: the
// same arithmetic as AlphaRow with each texel's share worked out once for its pair.
// The four channels of one texel as words, twice.
inline TexelWords TexelTwice(uint32_t t) {
  TexelBytes b;
  std::memcpy(&b, &t, 4);
  std::memcpy(reinterpret_cast<char*>(&b) + 4, &t, 4);
  return __builtin_convertvector(b, TexelWords);
}

// Texels of alpha 0 or 255 over two columns each: each pixel kept or
// replaced, four texels (eight pixels) at a time.
void BinaryPairs(uint32_t* dst, const uint32_t* texels, int m) {
  int j = 0;
#ifdef __SSE2__
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  for (; j + 4 <= m; j += 4) {
    const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(texels + j));
    const __m128i keep = _mm_cmpeq_epi32(_mm_and_si128(t, alpha), _mm_setzero_si128());
    const int kept = _mm_movemask_epi8(keep);
    if (kept == 0xFFFF) continue;
    __m128i* d = reinterpret_cast<__m128i*>(dst + 2 * j);
    const __m128i low = _mm_unpacklo_epi32(t, t), high = _mm_unpackhi_epi32(t, t);
    if (kept == 0) {
      _mm_storeu_si128(d, low);
      _mm_storeu_si128(d + 1, high);
      continue;
    }
    const __m128i keepLow = _mm_unpacklo_epi32(keep, keep), keepHigh = _mm_unpackhi_epi32(keep, keep);
    _mm_storeu_si128(d, _mm_or_si128(_mm_and_si128(keepLow, _mm_loadu_si128(d)), _mm_andnot_si128(keepLow, low)));
    _mm_storeu_si128(d + 1,
                     _mm_or_si128(_mm_and_si128(keepHigh, _mm_loadu_si128(d + 1)), _mm_andnot_si128(keepHigh, high)));
  }
#endif
  for (; j < m; ++j)
    if (texels[j] >> 24) dst[2 * j] = dst[2 * j + 1] = texels[j];
}

void AlphaPairs(uint32_t* dst, const uint32_t* texels, int m, RowKind kind) {
  if (kind & (kRowSolid | kRowBinary)) {
    BinaryPairs(dst, texels, m);
    return;
  }
  int j = 0;
#ifdef __SSE2__
  // Two texels (four pixels) at a time, with the sums of AlphaRow; they give
  // the pixel itself for alpha 0 and the texel for alpha 255.
  const __m128i zero = _mm_setzero_si128();
  for (; j + 2 <= m; j += 2) {
    const __m128i t = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(texels + j));
    if ((texels[j] | texels[j + 1]) >> 24 == 0) continue;
    const __m128i s = _mm_unpacklo_epi32(t, t);
    __m128i* d = reinterpret_cast<__m128i*>(dst + 2 * j);
    const __m128i p = _mm_loadu_si128(d);
    const __m128i low = AlphaBlendWords(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(p, zero));
    const __m128i high = AlphaBlendWords(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(p, zero));
    _mm_storeu_si128(d, _mm_packus_epi16(low, high));
  }
#endif
  for (; j < m; ++j) {
    const uint32_t t = texels[j];
    const uint32_t a = t >> 24;
    if (a == 0) continue;
    if (a == 255) {
      dst[2 * j] = dst[2 * j + 1] = t;
      continue;
    }
    const TexelWords sw = TexelTwice(t);
    const TexelWords share = sw * static_cast<uint16_t>(a) + 127;
    TexelBytes d;
    std::memcpy(&d, dst + 2 * j, sizeof d);
    const TexelWords w = share + __builtin_convertvector(d, TexelWords) * static_cast<uint16_t>(255 - a);
    d = __builtin_convertvector((w + 1 + (w >> 8)) >> 8, TexelBytes);
    std::memcpy(dst + 2 * j, &d, sizeof d);
  }
}

// A device row from a fetched source row. `passes` is the alpha test table,
// null when the test is off or already applied while fetching.
template <Blend M>
void BlendRow(uint32_t* dst, const uint32_t* src, int n, RowKind kind, const uint8_t* passes, uint32_t srcFactor,
              uint32_t dstFactor) {
  if constexpr (M == Blend::kAlpha) {
    if (kind & kRowClear) return;
    if (kind & kRowSolid) {
      std::memcpy(dst, src, static_cast<size_t>(n) * sizeof *dst);  // the fetched row is a buffer of its own
      return;
    }
    if (kind & kRowBinary) {
      KeepOrReplace(dst, src, n);
      return;
    }
    if (!passes) {
      AlphaRow(dst, src, n);
      return;
    }
  }
  if constexpr (M == Blend::kAdditive) {
    if (kind & kRowClear) return;
  }
  if (passes) {
    for (int i = 0; i < n; ++i)
      if (passes[src[i] >> 24]) BlendInto<M>(dst + i, src[i], srcFactor, dstFactor);
  } else {
    for (int i = 0; i < n; ++i) BlendInto<M>(dst + i, src[i], srcFactor, dstFactor);
  }
}

using RowFunction = void (*)(uint32_t*, const uint32_t*, int, RowKind, const uint8_t*, uint32_t, uint32_t);

RowFunction RowFunctionFor(Blend mode) {
  switch (mode) {
    case Blend::kOpaque: return BlendRow<Blend::kOpaque>;
    case Blend::kAlpha: return BlendRow<Blend::kAlpha>;
    case Blend::kAdditive: return BlendRow<Blend::kAdditive>;
    case Blend::kModulated: return BlendRow<Blend::kModulated>;
    default: return BlendRow<Blend::kGeneral>;
  }
}

// Every pixel of a turned quad mapped back to its texel.
template <Blend M>
void TurnedQuad(uint32_t* pixels, int pitch, const uint32_t* tex, int tw, int th, const SourceRect& src,
                const Matrix2D& m, uint32_t colour, int x0, int y0, int x1, int y1, double det,
                const uint8_t* passes, uint32_t srcFactor, uint32_t dstFactor) {
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  for (int y = y0; y < y1; ++y) {
    uint32_t* line = pixels + static_cast<size_t>(y) * pitch;
    const double by = y + 0.5 - m.dy;
    for (int x = x0; x < x1; ++x) {
      const double bx = x + 0.5 - m.dx;
      const double u = (bx * m.m22 - by * m.m21) / det;
      const double v = (-bx * m.m12 + by * m.m11) / det;
      if (u < 0 || v < 0 || u >= sw || v >= sh) continue;
      const int tx = src.left + static_cast<int>(u), ty = src.top + static_cast<int>(v);
      const uint32_t t = (tx < 0 || ty < 0 || tx >= tw || ty >= th) ? 0u : tex[static_cast<size_t>(ty) * tw + tx];
      const uint32_t s = Modulate(t, colour);
      if (passes && !passes[s >> 24]) continue;
      BlendInto<M>(line + x, s, srcFactor, dstFactor);
    }
  }
}

// The runs of device columns over the texel columns of an upscaled quad,
// and one row of its texels.
struct UpscaledRuns {
  std::vector<int> column, length;
  std::vector<uint32_t> texels;
  int count = 0;
  int uniform = 0;        // the length every run has, 0 when they differ
  bool straight = false;  // texel columns one after the other, all inside the texture
};

UpscaledRuns& Runs(int n) {
  static UpscaledRuns runs;
  if (static_cast<int>(runs.column.size()) < n) {
    runs.column.resize(static_cast<size_t>(n));
    runs.length.resize(static_cast<size_t>(n));
    runs.texels.resize(static_cast<size_t>(n));
  }
  return runs;
}

}  // namespace

// What an additive quad adds to the pixels under it: for each texel of its
// source rectangle, tinted and tested, each channel's texel x alpha / 255 (as
// BlendInto adds it). A glow drawn frame after frame in the same colour finds
// its gains kept, and is drawn by saturating additions alone.
struct KeptGains {
  const Texture* texture = nullptr;
  uint64_t version = 0;
  SourceRect src{};
  uint32_t colour = 0;
  const uint8_t* passes = nullptr;  // the alpha test's table (its contents are in ref and func)
  uint32_t ref = 0, func = 0;
  std::vector<uint32_t> gains;
  uint64_t lastUsed = 0;
  // The gains spread over the device pixels of a quad drawn at another size
  // (a glow drawn at the same size in every frame), by where the quad falls
  // within its first pixel.
  struct Spread {
    float m11 = 0, m22 = 0;
    double offsetX = 0, offsetY = 0;  // the quad's origin less its first whole column and row
    int width = 0, height = 0;
    std::vector<uint32_t> gains;  // height rows of width, from that column and row
    std::vector<uint8_t> rowShown;
    uint64_t lastUsed = 0;
    // Where the pixels differ when the quad is drawn whole pixels away
    // (dx, dy) from where it was: rectangles apart, from its new origin.
    struct Moved {
      int dx = 0, dy = 0;
      std::vector<PixelArea> areas;
    };
    std::vector<Moved> moved;
  };
  static constexpr int kSpreads = 4;
  Spread spreads[kSpreads];
};

namespace {

constexpr int kKeptGains = 16;
KeptGains g_gains[kKeptGains];
uint64_t g_gainUses = 0;

KeptGains& GainsOf(const Texture& texture, const SourceRect& src, uint32_t colour, const uint8_t* passes,
                   uint32_t ref, uint32_t func) {
  KeptGains* oldest = &g_gains[0];
  for (KeptGains& kept : g_gains) {
    if (kept.texture == &texture && kept.version == texture.Version() && kept.src.left == src.left &&
        kept.src.top == src.top && kept.src.right == src.right && kept.src.bottom == src.bottom &&
        kept.colour == colour && (kept.passes != nullptr) == (passes != nullptr) &&
        (!passes || (kept.ref == ref && kept.func == func))) {
      kept.lastUsed = ++g_gainUses;
      return kept;
    }
    if (kept.lastUsed < oldest->lastUsed) oldest = &kept;
  }
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  const uint32_t* tex = texture.Pixels();
  const int tw = texture.Width(), th = texture.Height();
  oldest->texture = &texture;
  oldest->version = texture.Version();
  oldest->src = src;
  oldest->colour = colour;
  oldest->passes = passes;
  oldest->ref = ref;
  oldest->func = func;
  oldest->gains.assign(static_cast<size_t>(sw) * sh, 0u);
  for (int v = 0; v < sh; ++v)
    for (int u = 0; u < sw; ++u) {
      const int tx = src.left + u, ty = src.top + v;
      if (tx < 0 || ty < 0 || tx >= tw || ty >= th) continue;
      const uint32_t s = Modulate(tex[static_cast<size_t>(ty) * tw + tx], colour);
      const uint32_t a = s >> 24;
      if (a == 0 || (passes && !passes[a])) continue;
      uint32_t gain = 0;
      for (int shift = 0; shift <= 24; shift += 8) gain |= ((((s >> shift) & 255) * a + 127) / 255) << shift;
      oldest->gains[static_cast<size_t>(v) * sw + u] = gain;
    }
  for (KeptGains::Spread& spread : oldest->spreads) spread = KeptGains::Spread();
  oldest->lastUsed = ++g_gainUses;
  return *oldest;
}

// An additive quad's gains spread over its pixels, found among the kept
// spreads or made: a pixel's texel depends only on its place from the quad's
// first whole column and row and on the quad's place within its first pixel,
// so one spread serves the quad wherever it is drawn whole pixels away (a
// glow that flickers to and fro) and whatever part of it is drawn. Null for
// a quad larger than `most` pixels, which is not kept.
KeptGains::Spread* SpreadOf(KeptGains& kept, const SourceRect& src, const Matrix2D& m, int64_t most, int* originX,
                            int* originY) {
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  const double left = std::floor(std::min<double>(m.dx, m.dx + sw * static_cast<double>(m.m11)));
  const double top = std::floor(std::min<double>(m.dy, m.dy + sh * static_cast<double>(m.m22)));
  const double offsetX = m.dx - left, offsetY = m.dy - top;
  const int width = static_cast<int>(std::ceil(std::fabs(sw * static_cast<double>(m.m11)))) + 2;
  const int height = static_cast<int>(std::ceil(std::fabs(sh * static_cast<double>(m.m22)))) + 2;
  if (static_cast<int64_t>(width) * height > most) return nullptr;
  *originX = static_cast<int>(left);
  *originY = static_cast<int>(top);
  KeptGains::Spread* spread = &kept.spreads[0];
  for (KeptGains::Spread& s : kept.spreads) {
    if (s.m11 == m.m11 && s.m22 == m.m22 && s.offsetX == offsetX && s.offsetY == offsetY && !s.gains.empty()) {
      spread = &s;
      break;
    }
    if (s.lastUsed < spread->lastUsed) spread = &s;
  }
  if (spread->gains.empty() || spread->m11 != m.m11 || spread->m22 != m.m22 || spread->offsetX != offsetX ||
      spread->offsetY != offsetY) {
    const double inverseX = ExactInverse(m.m11), inverseY = ExactInverse(m.m22);
    *spread = KeptGains::Spread{m.m11, m.m22, offsetX, offsetY, width, height, {}, {}, 0, {}};
    spread->gains.assign(static_cast<size_t>(width) * height, 0u);
    spread->rowShown.assign(static_cast<size_t>(height), 0);
    for (int j = 0; j < height; ++j) {
      const double v = Divide(j + 0.5 - offsetY, m.m22, inverseY);
      if (!(v >= 0 && v < sh)) continue;
      const uint32_t* gainRow = kept.gains.data() + static_cast<size_t>(static_cast<int>(v)) * sw;
      uint32_t* out = spread->gains.data() + static_cast<size_t>(j) * width;
      for (int i = 0; i < width; ++i) {
        const double u = Divide(i + 0.5 - offsetX, m.m11, inverseX);
        if (u >= 0 && u < sw) out[i] = gainRow[static_cast<int>(u)];
      }
      spread->rowShown[j] = 1;
    }
  }
  spread->lastUsed = ++g_gainUses;
  return spread;
}

// Where a spread drawn (dx, dy) pixels from where it was adds other gains
// than before (a pixel outside the spread gains nothing), from its new
// origin: in bands of rows, the runs of differing pixels of each band joined
// where they lie close, and a rectangle for each; those of the same columns
// in bands one below the other become one. Worked out once for each move.
const std::vector<PixelArea>& MovedAreas(KeptGains::Spread& s, int dx, int dy) {
  for (const KeptGains::Spread::Moved& m : s.moved)
    if (m.dx == dx && m.dy == dy) return m.areas;
  constexpr size_t kMovesKept = 8;
  if (s.moved.size() == kMovesKept) s.moved.erase(s.moved.begin());
  KeptGains::Spread::Moved& moved = s.moved.emplace_back();
  moved.dx = dx;
  moved.dy = dy;
  const int w = s.width, h = s.height;
  const auto gain = [&](int i, int j) {
    return i >= 0 && j >= 0 && i < w && j < h ? s.gains[static_cast<size_t>(j) * w + i] : 0u;
  };
  // (i, j) is a pixel less the new origin; the gain it had is at (i + dx, j + dy).
  const int i0 = std::min(0, -dx), i1 = std::max(w, w - dx), j0 = std::min(0, -dy), j1 = std::max(h, h - dy);
  constexpr int kBand = 16, kGap = 16;
  struct Run {
    int x0, x1, y0, y1;
  };
  std::vector<Run> runs, joined;
  std::vector<PixelArea>& out = moved.areas;
  for (int band = j0; band < j1; band += kBand) {
    runs.clear();
    for (int j = band; j < std::min(j1, band + kBand); ++j)
      for (int i = i0; i < i1;) {
        if (gain(i, j) == gain(i + dx, j + dy)) {
          ++i;
          continue;
        }
        const int start = i;
        while (i < i1 && gain(i, j) != gain(i + dx, j + dy)) ++i;
        runs.push_back(Run{start, i, j, j + 1});
      }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.x0 < b.x0; });
    joined.clear();
    for (const Run& r : runs) {
      if (!joined.empty() && r.x0 <= joined.back().x1 + kGap) {
        Run& j = joined.back();
        j.x1 = std::max(j.x1, r.x1);
        j.y0 = std::min(j.y0, r.y0);
        j.y1 = std::max(j.y1, r.y1);
      } else {
        joined.push_back(r);
      }
    }
    for (const Run& r : joined) {
      // A rectangle of the same columns just above grows down instead.
      bool grown = false;
      for (PixelArea& a : out)
        if (a.x0 == r.x0 && a.x1 == r.x1 && a.y1 >= band && a.y1 <= r.y0) {
          a.y1 = r.y1;
          grown = true;
          break;
        }
      if (!grown) out.push_back(PixelArea{r.x0, r.y0, r.x1, r.y1});
    }
  }
  return out;
}

// Whether the alpha test turns away no texel of the texture in a colour of
// full alpha (the tint keeps every alpha as it is): a texel of alpha 0 is
// turned away harmlessly where it leaves the pixel as it was anyway.
bool TestTurnsNothingAway(const Texture& texture, uint32_t colour, const uint64_t (&turnedAway)[4], bool zeroKeeps) {
  if ((colour >> 24) != 255) return false;
  uint64_t met = 0;
  for (int k = 0; k < 4; ++k) met |= turnedAway[k] & texture.Alphas()[k] & (k == 0 && zeroKeeps ? ~uint64_t{1} : ~uint64_t{0});
  return met == 0;
}

// Each channel of the pixel plus the gain's, at most 255.
inline uint32_t AddSaturated(uint32_t d, uint32_t g) {
  TexelBytes a, b;
  uint64_t wide = d, gain = g;
  std::memcpy(&a, &wide, sizeof a);
  std::memcpy(&b, &gain, sizeof b);
  const TexelWords sum = __builtin_convertvector(a, TexelWords) + __builtin_convertvector(b, TexelWords);
  a = __builtin_convertvector(sum > 255 ? 255 : sum, TexelBytes);
  std::memcpy(&wide, &a, sizeof wide);
  return static_cast<uint32_t>(wide);
}

// Gains each over two pixels; `odd`: the first pixel takes the second half
// of its gain's pair.
void AddGainPairs(uint32_t* dst, const uint32_t* gains, int n, bool odd) {
  int i = 0;
  if (odd && n > 0) {
    if (gains[0]) dst[0] = AddSaturated(dst[0], gains[0]);
    ++gains;
    i = 1;
  }
#ifdef __SSE2__
  for (; i + 8 <= n; i += 8, gains += 4) {
    const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(gains));
    __m128i* d = reinterpret_cast<__m128i*>(dst + i);
    _mm_storeu_si128(d, _mm_adds_epu8(_mm_loadu_si128(d), _mm_unpacklo_epi32(g, g)));
    _mm_storeu_si128(d + 1, _mm_adds_epu8(_mm_loadu_si128(d + 1), _mm_unpackhi_epi32(g, g)));
  }
#endif
  for (int k = 0; i < n; ++i, ++k) {
    const uint32_t g = gains[k / 2];
    if (g) dst[i] = AddSaturated(dst[i], g);
  }
}

void AddGainRow(uint32_t* dst, const uint32_t* gains, int n) {
  int i = 0;
#ifdef __SSE2__
  for (; i + 4 <= n; i += 4) {
    const __m128i g = _mm_loadu_si128(reinterpret_cast<const __m128i*>(gains + i));
    __m128i* d = reinterpret_cast<__m128i*>(dst + i);
    _mm_storeu_si128(d, _mm_adds_epu8(_mm_loadu_si128(d), g));
  }
#endif
  for (; i < n; ++i)
    if (gains[i]) dst[i] = AddSaturated(dst[i], gains[i]);
}

}  // namespace

const RenderDevice::TintedTexture& RenderDevice::Tinted(const Texture& texture, uint32_t colour) {
  TintedTexture* oldest = &tinted_[0];
  for (TintedTexture& kept : tinted_) {
    if (kept.source == &texture && kept.version == texture.Version() && kept.colour == colour) {
      kept.lastUsed = ++tintUses_;
      return kept;
    }
    if (kept.lastUsed < oldest->lastUsed) oldest = &kept;
  }
  const int count = texture.Width() * texture.Height();
  oldest->source = &texture;
  oldest->version = texture.Version();
  oldest->colour = colour;
  oldest->texels.resize(static_cast<size_t>(count));
  TintRow(texture.Pixels(), oldest->texels.data(), count, colour);
  oldest->binaryAlpha = KindOf(oldest->texels.data(), count) & kRowBinary;
  oldest->lastUsed = ++tintUses_;
  return *oldest;
}

const uint8_t* RenderDevice::AlphaTestTable(const RenderStates& st) {
  if (!st.alphaTest) return nullptr;
  if (alphaTableRef_ != st.alphaRef || alphaTableFunc_ != st.alphaFunc) {
    alphaTableRef_ = st.alphaRef;
    alphaTableFunc_ = st.alphaFunc;
    std::fill(std::begin(alphasTurnedAway_), std::end(alphasTurnedAway_), 0);
    for (uint32_t a = 0; a < 256; ++a) {
      alphaPasses_[a] = PassesAlphaTest(a, alphaTableRef_, alphaTableFunc_) ? 1 : 0;
      if (!alphaPasses_[a]) alphasTurnedAway_[a >> 6] |= uint64_t{1} << (a & 63);
    }
  }
  return alphaPasses_;
}

SourceRect RenderDevice::ShownTexels(const Texture& texture, const SourceRect& src) {
  uint64_t key = reinterpret_cast<uintptr_t>(&texture) * 0x9E3779B97F4A7C15ull ^ texture.Version() * 0xBF58476D1CE4E5B9ull;
  for (int v : {src.left, src.top, src.right, src.bottom}) key = (key ^ static_cast<uint32_t>(v)) * 0x94D049BB133111EBull;
  // Four places for each key; a new part takes the one longest unused.
  ShownPart* set = shownParts_ + (key >> 32) % (kShownParts / 4) * 4;
  ShownPart* oldest = set;
  for (ShownPart* part = set; part != set + 4; ++part) {
    if (part->texture == &texture && part->version == texture.Version() && part->src.left == src.left &&
        part->src.top == src.top && part->src.right == src.right && part->src.bottom == src.bottom) {
      part->lastUsed = ++shownUses_;
      return part->shown;
    }
    if (part->lastUsed < oldest->lastUsed) oldest = part;
  }
  ShownPart& part = *oldest;
  part.lastUsed = ++shownUses_;
  part.texture = &texture;
  part.version = texture.Version();
  part.src = src;
  // Texels outside the texture are transparent black.
  const int left = std::max(0, src.left), top = std::max(0, src.top);
  const int right = std::min(texture.Width(), src.right), bottom = std::min(texture.Height(), src.bottom);
  SourceRect shown{right, bottom, left, top};
  const uint32_t* texels = texture.Pixels();
  for (int y = top; y < bottom; ++y) {
    const uint32_t* row = texels + static_cast<size_t>(y) * texture.Width();
    for (int x = left; x < right; ++x)
      if (row[x] >> 24) {
        shown.left = std::min(shown.left, x);
        shown.right = std::max(shown.right, x + 1);
        shown.top = std::min(shown.top, y);
        shown.bottom = y + 1;
      }
  }
  if (shown.left >= shown.right) shown = SourceRect{0, 0, 0, 0};
  part.shown = shown;
  return shown;
}

void RenderDevice::DrawQuad(const Texture& texture, const SourceRect& src, const Matrix2D& m, uint32_t colour) {
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  if (sw <= 0 || sh <= 0) return;
  const double det = static_cast<double>(m.m11) * m.m22 - static_cast<double>(m.m12) * m.m21;
  if (std::fabs(det) < 1e-12) return;

  // Bounding box of the four transformed corners, clipped to the back buffer.
  double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
  const double cu[4] = {0, static_cast<double>(sw), 0, static_cast<double>(sw)};
  const double cv[4] = {0, 0, static_cast<double>(sh), static_cast<double>(sh)};
  for (int i = 0; i < 4; ++i) {
    const double x = cu[i] * m.m11 + cv[i] * m.m21 + m.dx;
    const double y = cu[i] * m.m12 + cv[i] * m.m22 + m.dy;
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
  const int x0 = std::max(0, static_cast<int>(std::floor(minX)));
  const int y0 = std::max(0, static_cast<int>(std::floor(minY)));
  const int x1 = std::min(width_, static_cast<int>(std::ceil(maxX)));
  const int y1 = std::min(height_, static_cast<int>(std::ceil(maxY)));
  if (x0 >= x1 || y0 >= y1) return;
  clearedOnly_ = false;

  // Every field set here, none cleared first.
  Quad q;
  q.texture = &texture;
  q.version = texture.Version();
  q.m = m;
  q.src = src;
  q.colour = colour;
  q.blendAndTest = (states_.alphaBlend ? 1u : 0u) | (states_.alphaTest ? 2u : 0u);
  q.srcBlend = states_.srcBlend;
  q.dstBlend = states_.dstBlend;
  q.alphaRef = states_.alphaRef;
  q.alphaFunc = states_.alphaFunc;
  q.x0 = x0;
  q.y0 = y0;
  q.x1 = x1;
  q.y1 = y1;

  // Where texels of alpha 0 leave their pixels as they were (blending by the
  // source alpha onto the pixel, or adding it), an unturned quad covers only
  // the pixels of its texels that have some alpha (a pixel more on each side:
  // the pixels of a texel run from half a pixel before its edge). A quad
  // recorded as the one in its place in the scene before takes its pixels.
  const bool zeroKeeps = states_.alphaBlend && states_.srcBlend == kBlendSrcAlpha &&
                         (states_.dstBlend == kBlendInvSrcAlpha || states_.dstBlend == kBlendOne);
  if (zeroKeeps && m.m12 == 0.0f && m.m21 == 0.0f && m.m11 > 0.0f && m.m22 > 0.0f) {
    const size_t at = scene_.quads.size();
    if (at < held_.quads.size() && std::memcmp(&held_.quads[at], &q, offsetof(Quad, x0)) == 0) {
      const Quad& was = held_.quads[at];
      q.x0 = was.x0;
      q.y0 = was.y0;
      q.x1 = was.x1;
      q.y1 = was.y1;
    } else {
      const SourceRect shown = ShownTexels(texture, src);
      if (shown.left >= shown.right) return;  // nothing to draw
      q.x0 = std::max(x0, static_cast<int>(std::floor(m.dx + (shown.left - src.left) * static_cast<double>(m.m11))) - 1);
      q.x1 = std::min(x1, static_cast<int>(std::ceil(m.dx + (shown.right - src.left) * static_cast<double>(m.m11))) + 1);
      q.y0 = std::max(y0, static_cast<int>(std::floor(m.dy + (shown.top - src.top) * static_cast<double>(m.m22))) - 1);
      q.y1 = std::min(y1, static_cast<int>(std::ceil(m.dy + (shown.bottom - src.top) * static_cast<double>(m.m22))) + 1);
      if (q.x0 >= q.x1 || q.y0 >= q.y1) return;
    }
  }
  scene_.quads.push_back(q);
}

void RenderDevice::DrawQuadIn(const Quad& q, const PixelArea& area) {
  Touch(area);
  RenderStates st;
  st.alphaBlend = (q.blendAndTest & 1) != 0;
  st.alphaTest = (q.blendAndTest & 2) != 0;
  st.srcBlend = q.srcBlend;
  st.dstBlend = q.dstBlend;
  st.alphaRef = q.alphaRef;
  st.alphaFunc = q.alphaFunc;
  if (q.m.m12 == 0.0f && q.m.m21 == 0.0f) {
    DrawScaledQuad(*q.texture, q.src, q.m, q.colour, st, area.x0, area.y0, area.x1, area.y1);
  } else {
    const double det = static_cast<double>(q.m.m11) * q.m.m22 - static_cast<double>(q.m.m12) * q.m.m21;
    DrawTurnedQuad(*q.texture, q.src, q.m, q.colour, st, area.x0, area.y0, area.x1, area.y1, det);
  }
}

// The gains an additive quad adds, tinted and tested as its states say.
KeptGains& RenderDevice::AdditiveGains(const Texture& texture, const SourceRect& src, uint32_t colour,
                                       const RenderStates& st) {
  const uint8_t* passes = AlphaTestTable(st);
  if (passes && TestTurnsNothingAway(texture, colour, alphasTurnedAway_, true)) passes = nullptr;
  return GainsOf(texture, src, colour, passes, st.alphaRef, st.alphaFunc);
}

bool RenderDevice::AddSpreadGains(KeptGains& kept, const SourceRect& src, const Matrix2D& m, int x0, int y0, int x1,
                                  int y1) {
  int originX = 0, originY = 0;
  const KeptGains::Spread* spread =
      SpreadOf(kept, src, m, static_cast<int64_t>(width_) * height_, &originX, &originY);
  if (!spread) return false;
  const int from = std::max(x0, originX), to = std::min(x1, originX + spread->width);
  if (from >= to) return true;
  for (int y = std::max(y0, originY); y < std::min(y1, originY + spread->height); ++y)
    if (spread->rowShown[y - originY])
      AddGainRow(&pixels_[static_cast<size_t>(y) * width_ + from],
                 spread->gains.data() + static_cast<size_t>(y - originY) * spread->width + (from - originX), to - from);
  return true;
}

bool RenderDevice::MovedGlowAreas(const Quad& was, const Quad& now, std::vector<PixelArea>* out) {
  // The same additive quad, unturned and unmirrored, all but its place alike.
  if (was.texture != now.texture || was.version != now.version || was.colour != now.colour ||
      was.blendAndTest != now.blendAndTest || was.srcBlend != now.srcBlend || was.dstBlend != now.dstBlend ||
      was.alphaRef != now.alphaRef || was.alphaFunc != now.alphaFunc || std::memcmp(&was.src, &now.src, sizeof was.src) != 0 ||
      was.m.m11 != now.m.m11 || was.m.m12 != now.m.m12 || was.m.m21 != now.m.m21 || was.m.m22 != now.m.m22)
    return false;
  RenderStates st;
  st.alphaBlend = (now.blendAndTest & 1) != 0;
  st.alphaTest = (now.blendAndTest & 2) != 0;
  st.srcBlend = now.srcBlend;
  st.dstBlend = now.dstBlend;
  st.alphaRef = now.alphaRef;
  st.alphaFunc = now.alphaFunc;
  if (BlendFor(st) != Blend::kAdditive || now.m.m12 != 0.0f || now.m.m21 != 0.0f || !(now.m.m11 > 0.0f) ||
      !(now.m.m22 > 0.0f))
    return false;
  // Whole pixels away, not far.
  constexpr double kFarthest = 64;
  const double dx = static_cast<double>(now.m.dx) - was.m.dx, dy = static_cast<double>(now.m.dy) - was.m.dy;
  if (dx != std::floor(dx) || dy != std::floor(dy) || std::fabs(dx) > kFarthest || std::fabs(dy) > kFarthest)
    return false;
  int originX = 0, originY = 0;
  KeptGains& kept = AdditiveGains(*now.texture, now.src, now.colour, st);
  KeptGains::Spread* spread = SpreadOf(kept, now.src, now.m, static_cast<int64_t>(width_) * height_, &originX, &originY);
  if (!spread) return false;
  out->clear();
  for (const PixelArea& a : MovedAreas(*spread, static_cast<int>(dx), static_cast<int>(dy))) {
    const PixelArea at{std::max(0, originX + a.x0), std::max(0, originY + a.y0), std::min(width_, originX + a.x1),
                       std::min(height_, originY + a.y1)};
    if (!at.Empty()) out->push_back(at);
  }
  return true;
}

void RenderDevice::DrawScaledQuad(const Texture& texture, const SourceRect& src, const Matrix2D& m,
                                  uint32_t colour, const RenderStates& st, int x0, int y0, int x1, int y1) {
  const int sw = src.right - src.left, sh = src.bottom - src.top;
  // An additive quad at any size but its texels' own or twice theirs adds
  // its kept spread of gains, with no column worked out.
  if (BlendFor(st) == Blend::kAdditive && std::fabs(m.m11) != 1.0f && std::fabs(m.m11) != 2.0f &&
      AddSpreadGains(AdditiveGains(texture, src, colour, st), src, m, x0, y0, x1, y1))
    return;
  const uint32_t* tex = texture.Pixels();
  const int tw = texture.Width(), th = texture.Height();

  // Each device column maps to one texel column (-1: outside the texture).
  // The columns inside the quad are one run, as the mapping is monotonic.
  int first = x1, last = x0 - 1;
  int* columns = columnTexels_.data();
  MapAxis(x0, x1, m.dx, m.m11, sw, columns);
  for (int x = x0; x < x1; ++x) {
    const int u = columns[x - x0];
    if (u < 0) continue;
    const int tx = src.left + u;
    columns[x - x0] = (tx >= 0 && tx < tw) ? tx : -1;
    first = std::min(first, x);
    last = std::max(last, x);
  }
  if (first > last) return;
  columns += first - x0;
  const int n = last - first + 1;
  // Each device row's texel row from the source rectangle's first (-1: none).
  int* const rowsFrom = rowsMapped_.data();
  MapAxis(y0, y1, m.dy, m.m22, sh, rowsFrom);
  const int* rowOf = rowsFrom - y0;

  const Blend mode = BlendFor(st);
  const uint8_t* passes = AlphaTestTable(st);
  const bool zeroKeeps = ZeroKeepsPixel(mode);
  if (passes && TestTurnsNothingAway(texture, colour, alphasTurnedAway_, zeroKeeps)) passes = nullptr;
  const bool testWhileFetching = passes && zeroKeeps;
  const uint8_t* rowPasses = testWhileFetching ? nullptr : passes;
  const RowFunction blendRow = RowFunctionFor(mode);

  // The additive mode adds each texel's kept gains.
  if (mode == Blend::kAdditive) {
    KeptGains& kept = AdditiveGains(texture, src, colour, st);
    const uint32_t* gains = kept.gains.data();
    bool straight = columns[0] >= 0;
    for (int i = 1; i < n && straight; ++i) straight = columns[i] == columns[0] + i;
    // Each texel over two columns (a quad at twice its texels' width).
    const bool odd = n > 1 && columns[1] != columns[0];
    bool paired = !straight && columns[0] >= 0;
    for (int i = 1; i < n && paired; ++i) paired = columns[i] == columns[0] + (i + (odd ? 1 : 0)) / 2;
    if (straight || paired) {
      for (int y = y0; y < y1; ++y) {
        if (rowOf[y] < 0) continue;
        const uint32_t* gainRow = gains + static_cast<size_t>(rowOf[y]) * sw + (columns[0] - src.left);
        uint32_t* d = &pixels_[static_cast<size_t>(y) * width_ + first];
        if (straight)
          AddGainRow(d, gainRow, n);
        else
          AddGainPairs(d, gainRow, n, odd);
      }
      return;
    }
    // Any other size: the gains spread over the whole quad's pixels, kept.
    if (AddSpreadGains(kept, src, m, x0, y0, x1, y1)) return;
    // A quad larger than the back buffer is not kept: its gains are added as they are found.
    for (int y = y0; y < y1; ++y) {
      if (rowOf[y] < 0) continue;
      const uint32_t* gainRow = gains + static_cast<size_t>(rowOf[y]) * sw;
      uint32_t* d = &pixels_[static_cast<size_t>(y) * width_ + first];
      for (int i = 0; i < n; ++i)
        if (columns[i] >= 0 && gainRow[columns[i] - src.left]) d[i] = AddSaturated(d[i], gainRow[columns[i] - src.left]);
    }
    return;
  }

  // Columns one texel apart (an unscaled quad inside its texture) are read
  // straight from the texture.
  bool adjacent = columns[0] >= 0;
  for (int i = 1; i < n && adjacent; ++i) adjacent = columns[i] == columns[0] + i;
  const bool tinted = colour != 0xFFFFFFFFu;

  // An unscaled row of texels whose alphas are all 0 or 255, in a colour of
  // full alpha, in the alpha mode: each pixel is kept or replaced, straight
  // from the (tinted) texture.
  if (mode == Blend::kAlpha && adjacent && (colour >> 24) == 255 && (!passes || passes[255])) {
    const uint32_t* texels = tex;
    bool binary = false;
    if (tinted) {
      const TintedTexture& kept = Tinted(texture, colour);
      texels = kept.texels.data();
      binary = kept.binaryAlpha;
    } else {
      binary = texture.BinaryAlpha();
    }
    if (binary) {
      // Every row's texels asked for at once: a glyph's rows lie far apart
      // in its sheet, and one after the other each would wait for memory.
      for (int y = y0; y < y1; ++y) {
        const int ty = src.top + rowOf[y];
        if (rowOf[y] < 0 || ty < 0 || ty >= th) continue;
        const uint32_t* s = texels + static_cast<size_t>(ty) * tw + columns[0];
        __builtin_prefetch(s);
        __builtin_prefetch(s + n - 1);
      }
      for (int y = y0; y < y1; ++y) {
        if (rowOf[y] < 0) continue;
        const int ty = src.top + rowOf[y];
        if (ty < 0 || ty >= th) continue;  // transparent black outside the texture
        const uint32_t* s = texels + static_cast<size_t>(ty) * tw + columns[0];
        KeepOrReplace(&pixels_[static_cast<size_t>(y) * width_ + first], s, n);
      }
      return;
    }
  }

  // Two rows of scratch: texels gathered, and texels tinted or tested.
  uint32_t* gathered = rowTexels_.data();
  uint32_t* row = gathered + width_;
  const uint32_t* source = row;
  RowKind kind = 0;
  int fetched = -1;

  // A quad drawn larger than its texels covers each texel column with a run
  // of device columns: its rows are fetched, tinted and tested texel by
  // texel, then spread over their runs.
  UpscaledRuns& runs = Runs(n);
  runs.count = 0;
  if (!adjacent) {
    for (int i = 0; i < n; ++i) {
      if (runs.count > 0 && runs.column[runs.count - 1] == columns[i]) {
        ++runs.length[runs.count - 1];
      } else {
        runs.column[runs.count] = columns[i];
        runs.length[runs.count] = 1;
        ++runs.count;
      }
    }
    if (runs.count * 2 > n) runs.count = 0;  // hardly larger: gathered as it is
    runs.uniform = runs.count > 0 ? runs.length[0] : 0;
    for (int j = 1; j < runs.count && runs.uniform != 0; ++j)
      if (runs.length[j] != runs.uniform) runs.uniform = 0;
    runs.straight = runs.count > 0 && runs.column[0] >= 0;
    for (int j = 1; j < runs.count && runs.straight; ++j) runs.straight = runs.column[j] == runs.column[0] + j;
  }
  // Pairs are blended straight from the texels in the alpha mode.
  const bool pairs = runs.count > 0 && runs.uniform == 2 && rowPasses == nullptr && mode == Blend::kAlpha;
  const auto spread = [&](const uint32_t* texelRow) {
    uint32_t* out = row;
    if (runs.uniform == 2) {
      for (int j = 0; j < runs.count; ++j) out[2 * j] = out[2 * j + 1] = texelRow[j];
    } else {
      for (int j = 0; j < runs.count; ++j) {
        const uint32_t t = texelRow[j];
        for (int k = runs.length[j]; k > 0; --k) *out++ = t;
      }
    }
  };

  for (int y = y0; y < y1; ++y) {
    const int r = rowOf[y];
    if (r < 0) continue;
    if (r != fetched && runs.count > 0) {
      fetched = r;
      const int ty = src.top + r;
      const uint32_t* texels = (ty >= 0 && ty < th) ? tex + static_cast<size_t>(ty) * tw : nullptr;
      uint32_t* texelRow = runs.texels.data();
      if (texels && runs.straight)
        std::memcpy(texelRow, texels + runs.column[0], static_cast<size_t>(runs.count) * 4);
      else
        for (int j = 0; j < runs.count; ++j)
          texelRow[j] = texels && runs.column[j] >= 0 ? texels[runs.column[j]] : 0u;
      // The next row's texels are on their way while this one is drawn.
      if (ty >= -1 && ty + 1 < th)
        for (int j = 0; j < runs.count; j += 16)
          if (runs.column[j] >= 0) __builtin_prefetch(tex + static_cast<size_t>(ty + 1) * tw + runs.column[j]);
      if (tinted) TintRow(texelRow, texelRow, runs.count, colour);
      if (testWhileFetching)
        for (int j = 0; j < runs.count; ++j) texelRow[j] = Tested(texelRow[j], passes);
      // Texels of alpha 0 or 255 in a colour of full alpha stay so.
      kind = (colour >> 24) == 255 && texture.BinaryAlpha() ? kRowBinary : KindOf(texelRow, runs.count);
      if (zeroKeeps && (kind & kRowClear)) continue;
      if (pairs) {
        source = nullptr;
      } else {
        spread(texelRow);
        source = row;
      }
    }
    if (r == fetched && runs.count > 0 && pairs) {
      if (kind & kRowClear) continue;
      AlphaPairs(&pixels_[static_cast<size_t>(y) * width_ + first], runs.texels.data(), runs.count, kind);
      continue;
    }
    if (r != fetched) {
      // Fetch and tint the source row once for every device row it covers.
      fetched = r;
      const int ty = src.top + r;
      const uint32_t* texels = (ty >= 0 && ty < th) ? tex + static_cast<size_t>(ty) * tw : nullptr;
      if (texels && zeroKeeps && adjacent && ClearTexels(texels + columns[0], n)) {
        // A source row with nothing to show, whatever the colour.
        kind = kRowClear | kRowBinary;
        continue;
      }
      if (texels && adjacent) {
        source = texels + columns[0];
      } else if (texels) {
        for (int i = 0; i < n; ++i) gathered[i] = columns[i] >= 0 ? texels[columns[i]] : 0u;
        source = gathered;
      } else {
        std::fill(gathered, gathered + n, 0u);
        source = gathered;
      }
      if (tinted) {
        TintRow(source, row, n, colour);
        source = row;
      }
      if (testWhileFetching) {
        uint32_t* tested = source == row ? row : gathered;
        for (int i = 0; i < n; ++i) tested[i] = Tested(source[i], passes);
        source = tested;
      }
      kind = KindOf(source, n);
    }
    blendRow(&pixels_[static_cast<size_t>(y) * width_ + first], source, n, kind, rowPasses, st.srcBlend,
             st.dstBlend);
  }
}

void RenderDevice::DrawTurnedQuad(const Texture& texture, const SourceRect& src, const Matrix2D& m,
                                  uint32_t colour, const RenderStates& st, int x0, int y0, int x1, int y1,
                                  double det) {
  const uint8_t* passes = AlphaTestTable(st);
  const uint32_t sf = st.srcBlend, df = st.dstBlend;
  const uint32_t* tex = texture.Pixels();
  const int tw = texture.Width(), th = texture.Height();
  uint32_t* pixels = pixels_.data();
  switch (BlendFor(st)) {
    case Blend::kOpaque:
      TurnedQuad<Blend::kOpaque>(pixels, width_, tex, tw, th, src, m, colour, x0, y0, x1, y1, det, passes, sf, df);
      break;
    case Blend::kAlpha:
      TurnedQuad<Blend::kAlpha>(pixels, width_, tex, tw, th, src, m, colour, x0, y0, x1, y1, det, passes, sf, df);
      break;
    case Blend::kAdditive:
      TurnedQuad<Blend::kAdditive>(pixels, width_, tex, tw, th, src, m, colour, x0, y0, x1, y1, det, passes, sf, df);
      break;
    case Blend::kModulated:
      TurnedQuad<Blend::kModulated>(pixels, width_, tex, tw, th, src, m, colour, x0, y0, x1, y1, det, passes, sf,
                                    df);
      break;
    case Blend::kGeneral:
      TurnedQuad<Blend::kGeneral>(pixels, width_, tex, tw, th, src, m, colour, x0, y0, x1, y1, det, passes, sf, df);
      break;
  }
}

}  // namespace platform
