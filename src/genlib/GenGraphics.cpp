#include "genlib/GenGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <stdexcept>

#include "platform/errors.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace genlib {

// ---------------------------------------------------------------------------
// Kernels. Arithmetic runs in extended precision (long double is the x87
// format here) and each result is rounded to single precision on return.

namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;
constexpr long double kTwoThirds = 2.0L / 3.0L;
constexpr long double kSixteenThirds = 16.0L / 3.0L;
constexpr long double kSevenThirds = 7.0L / 3.0L;
constexpr long double kThirtyTwoThirds = 32.0L / 3.0L;

// The processor's sine; an argument outside its range counts as 0.
long double ProcessorSin(long double y) {
#if defined(__x86_64__) || defined(__i386__)
  long double r;
  unsigned short status;
  __asm__("fsin\n\tfnstsw %1" : "=t"(r), "=a"(status) : "0"(y));
  return (status & 0x0400) ? 0.0L : r;  // C2 set: operand out of range, left as it was
#else
  return std::fabs(y) < 0x1p63L ? std::sin(y) : 0.0L;
#endif
}

}  // namespace

float BoxKernel(float x) { return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f; }

float TriangleKernel(float x) {
  const long double a = std::fabs(x);
  return a < 1 ? static_cast<float>(1 - a) : 0.0f;
}

float HermiteKernel(float x) {
  const long double a = std::fabs(x);
  return a < 1 ? static_cast<float>((2 * a - 3) * a * a + 1) : 0.0f;
}

float BellKernel(float x) {
  const long double a = std::fabs(x);
  if (a < 0.5L) return static_cast<float>(0.75L - a * a);
  if (a < 1.5L) {
    const long double t = a - 1.5L;
    return static_cast<float>(0.5L * t * t);
  }
  return 0.0f;
}

float BSplineKernel(float x) {
  const long double a = std::fabs(x);
  if (a < 1) {
    const long double tt = static_cast<float>(a * a);
    return static_cast<float>(0.5L * tt * a - tt + kTwoThirds);
  }
  if (a < 2) {
    const long double t = static_cast<float>(2 - a);
    return static_cast<float>(t * t * t / 6);
  }
  return 0.0f;
}

float NormalizedSinc(float x) {
  if (x == 0.0f) return 1.0f;
  const long double px = static_cast<float>(kPi * x);
  return static_cast<float>(ProcessorSin(px) / px);
}

float Lanczos3Kernel(float x) {
  const float a = std::fabs(x);
  if (a < 3.0f) {
    const long double s1 = NormalizedSinc(a);
    const long double s3 = NormalizedSinc(static_cast<float>(a / 3.0L));
    return static_cast<float>(s1 * s3);
  }
  return 0.0f;
}

float MitchellKernel(float x) {
  const long double a = std::fabs(x);
  if (a < 1) {
    const long double num = static_cast<float>(7 * a * a * a - 12 * a * a + kSixteenThirds);
    return static_cast<float>(num / 6);
  }
  if (a < 2) {
    const long double num = static_cast<float>(-kSevenThirds * a * a * a + 12 * a * a - 20 * a + kThirtyTwoThirds);
    return static_cast<float>(num / 6);
  }
  return 0.0f;
}

const KernelFunction KernelFunctions[kKernelCount] = {
    BoxKernel, TriangleKernel, HermiteKernel, BellKernel, BSplineKernel, Lanczos3Kernel, MitchellKernel,
};

const float DefaultKernelRadius[kKernelCount] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};

// ---------------------------------------------------------------------------
// Contributors

float AxisScale(std::int32_t targetLength, std::int32_t sourceLength) {
  // One target pixel from a longer line has no second pixel to align; it takes
  // the plain ratio and stands for the whole line (see BuildContributorList).
  if (sourceLength == 1 || targetLength == 1)
    return static_cast<float>(static_cast<long double>(targetLength) / sourceLength);
  return static_cast<float>(static_cast<long double>(targetLength - 1) / (sourceLength - 1));
}

std::int32_t MirrorIndex(std::int64_t j, std::int32_t n) {
  std::int64_t k = j;
  if (j < 0) k = -j;
  else if (j >= n) k = 2 * static_cast<std::int64_t>(n) - j - 1;
  // A kernel wider than the mirrored range would still fall outside the line.
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(k, 0, n - 1));
}

TContributorList BuildContributorList(std::int32_t outputCount, std::int32_t sourceLength, float scale, float radius,
                                      KernelFunction kernel) {
  TContributorList list(static_cast<std::size_t>(std::max(outputCount, 0)));
  const bool shrinking = scale < 1.0f;
  const float width = shrinking ? static_cast<float>(radius / static_cast<long double>(scale)) : radius;
  // Beyond this the candidate list could not be allocated anyway; it also keeps
  // the conversions below defined for absurd radii.
  constexpr long double kReach = 0x1p40L;

  for (std::int32_t i = 0; i < outputCount; ++i) {
    TContributorEntry& entry = list[static_cast<std::size_t>(i)];
    entry.Count = 0;
    // A single output pixel sits in the middle of the line it stands for.
    const float center = outputCount == 1 ? static_cast<float>((sourceLength - 1) / 2.0L)
                                          : static_cast<float>(static_cast<long double>(i) / scale);
    const long double lo = std::floor(static_cast<long double>(center) - width);
    const long double hi = std::ceil(static_cast<long double>(center) + width);
    if (!(lo <= hi)) continue;  // a negative or undefined radius reaches nothing
    const std::int64_t left = static_cast<std::int64_t>(std::clamp(lo, -kReach, kReach));
    const std::int64_t right = static_cast<std::int64_t>(std::clamp(hi, -kReach, kReach));
    entry.Contributors.resize(static_cast<std::size_t>(right - left + 1));

    for (std::int64_t j = left; j <= right; ++j) {
      const long double distance = static_cast<long double>(center) - static_cast<long double>(j);
      long double value;
      if (shrinking) value = static_cast<long double>(kernel(static_cast<float>(distance * scale))) * scale * 256;
      else value = static_cast<long double>(kernel(static_cast<float>(distance))) * 256;
      const std::int32_t weight = static_cast<std::int32_t>(std::llrint(value));
      if (weight == 0) continue;
      entry.Contributors[static_cast<std::size_t>(entry.Count)] = {weight, MirrorIndex(j, sourceLength)};
      ++entry.Count;
    }
  }
  return list;
}

// ---------------------------------------------------------------------------
// Channel buffers and one output pixel

std::int32_t ClampToByte(std::int32_t Value) { return std::max(std::min(Value, 255), 0); }

TChannelBuffers& ThreadChannels() {
  thread_local TChannelBuffers buffers;
  return buffers;
}

namespace {

void SizeChannels(TChannelBuffers& c, std::int32_t length) {
  const std::size_t n = static_cast<std::size_t>(length);
  c.Red.resize(n);
  c.Green.resize(n);
  c.Blue.resize(n);
}

// Gives the buffers' memory back when a resampling ends, also by an error.
struct ChannelRelease {
  ~ChannelRelease() {
    TChannelBuffers& c = ThreadChannels();
    std::vector<std::int32_t>().swap(c.Red);
    std::vector<std::int32_t>().swap(c.Green);
    std::vector<std::int32_t>().swap(c.Blue);
  }
};

// One channel of an output pixel from its weighted sum.
inline std::uint8_t ChannelValue(std::int32_t sum, std::int32_t total) {
  if (total != 0) return static_cast<std::uint8_t>(ClampToByte(sum / total));
  return static_cast<std::uint8_t>(ClampToByte(static_cast<std::int32_t>(static_cast<std::uint32_t>(sum) >> 8)));
}

// One output pixel (blue, green, red) from the taps; channel(p, c) gives
// channel c (0 blue, 1 green, 2 red) of source pixel p.
template <typename Channel>
inline void WeighPixel(std::int32_t count, const KernelTap* taps, Channel channel, std::uint8_t* out) {
  std::int32_t total = 0, sums[3] = {0, 0, 0};
  for (std::int32_t k = 0; k < count; ++k) {
    const std::int32_t w = taps[k].Weight;
    total += w;
    for (int c = 0; c < 3; ++c) sums[c] += w * channel(taps[k].Pixel, c);
  }
  for (int c = 0; c < 3; ++c) out[c] = ChannelValue(sums[c], total);
}

inline void WeighChannels(std::int32_t count, const KernelTap* taps, const TChannelBuffers& buffers,
                          std::uint8_t* out) {
  const std::int32_t* const channels[3] = {buffers.Blue.data(), buffers.Green.data(), buffers.Red.data()};
  WeighPixel(
      count, taps, [&](std::int32_t p, int c) { return channels[c][p]; }, out);
}

}  // namespace

void LoadChannels(std::int32_t Count, std::int32_t Step, const std::uint8_t* first) {
  TChannelBuffers& c = ThreadChannels();
  std::int32_t* red = c.Red.data();
  std::int32_t* green = c.Green.data();
  std::int32_t* blue = c.Blue.data();
  const std::ptrdiff_t step = Step;
  for (std::int32_t i = 0; i < Count; ++i) {
    const std::uint8_t* px = first + i * step;
    blue[i] = px[0];
    green[i] = px[1];
    red[i] = px[2];
  }
}

void WeighTaps(std::int32_t Count, const TContributors& Contributors, std::uint8_t* output) {
  WeighChannels(Count, Contributors.data(), ThreadChannels(), output);
}

// ---------------------------------------------------------------------------
// The two passes

namespace {

// A picture of 32-bit pixels (blue, green, red, unused in memory) is read by
// the row pass as it is, a few rows at a time, instead of as a converted copy
// of the whole picture.
bool IsWideSource(const QImage& image) {
  return Q_BYTE_ORDER == Q_LITTLE_ENDIAN && image.format() == QImage::Format_RGB32;
}

void NarrowRow(const std::uint8_t* __restrict in, std::int32_t width, std::uint8_t* __restrict out) {
  for (std::int32_t x = 0; x < width; ++x) {
    out[3 * x] = in[4 * x];
    out[3 * x + 1] = in[4 * x + 1];
    out[3 * x + 2] = in[4 * x + 2];
  }
}

// Bytes from one row to the next. An image of one row has no row 1; its own
// row length serves, and no pass ever steps by it.
std::ptrdiff_t RowDistance(const QImage& image) {
  if (image.height() < 2) return image.bytesPerLine();
  return image.constScanLine(1) - image.constScanLine(0);
}

// The taps of one output pixel prepared for the vector code: weights in pairs
// of 16-bit lanes, an odd last tap paired with weight 0 on its own pixel.
struct PairedTaps {
  std::int32_t total = 0;
  bool exact = false;                 // the vector code gives exactly the integer result
  std::vector<std::int32_t> weights;  // w[2i] in the low half, w[2i+1] in the high half
  std::vector<std::int32_t> pixels;   // p[2i], p[2i+1]
};

std::vector<PairedTaps> PairTaps(const TContributorList& list) {
  std::vector<PairedTaps> plan(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    const TContributorEntry& e = list[i];
    PairedTaps& t = plan[i];
    std::int64_t magnitude = 0;
    bool narrow = true;
    for (std::int32_t k = 0; k < e.Count; k += 2) {
      const KernelTap& a = e.Contributors[static_cast<std::size_t>(k)];
      const KernelTap b = k + 1 < e.Count ? e.Contributors[static_cast<std::size_t>(k) + 1] : KernelTap{0, a.Pixel};
      t.total += a.Weight + b.Weight;
      magnitude += std::abs(static_cast<std::int64_t>(a.Weight)) + std::abs(static_cast<std::int64_t>(b.Weight));
      narrow = narrow && a.Weight >= -32768 && a.Weight <= 32767 && b.Weight >= -32768 && b.Weight <= 32767;
      t.weights.push_back(static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(a.Weight)) |
                                                    static_cast<std::uint32_t>(b.Weight) << 16));
      t.pixels.push_back(a.Pixel);
      t.pixels.push_back(b.Pixel);
    }
    // 16-bit weights for the multiplies, sums exact in single precision, and a
    // total for which the single-precision division truncates exactly.
    t.exact = narrow && t.total > 0 && t.total < 65536 && magnitude * 255 < (1 << 24);
  }
  return plan;
}

#if defined(__SSE2__)
// The quotient of 32-bit sums by a positive total below 65536, brought into
// 0..256 first. For such operands the single-precision quotient, rounded to
// nearest, never reaches the next integer, so truncating it gives exactly the
// integer division; packing to bytes then clamps 256 to 255.
struct Divider {
  __m128 divisor, ceiling;
  explicit Divider(std::int32_t total)
      : divisor(_mm_set1_ps(static_cast<float>(total))), ceiling(_mm_set1_ps(256.0f * static_cast<float>(total))) {}
  __m128i operator()(__m128i sum) const {
    const __m128 f = _mm_min_ps(_mm_max_ps(_mm_cvtepi32_ps(sum), _mm_setzero_ps()), ceiling);
    return _mm_cvttps_epi32(_mm_div_ps(f, divisor));
  }
};

// The same quotient when the total is 2^shift: an arithmetic shift is the
// floor division for every sum, and packing clamps the results below 0 and
// above 255 just as the clamp above does.
struct Shifter {
  __m128i count;
  explicit Shifter(std::int32_t shift) : count(_mm_cvtsi32_si128(shift)) {}
  __m128i operator()(__m128i sum) const { return _mm_sra_epi32(sum, count); }
};

// log2 of a total that is a power of two (the usual 256 of a kernel that sums
// to one), else -1.
inline int TotalShift(std::int32_t total) {
  return (total > 0 && (total & (total - 1)) == 0) ? __builtin_ctz(static_cast<unsigned>(total)) : -1;
}

inline __m128i Load(const void* p) { return _mm_loadu_si128(static_cast<const __m128i*>(p)); }

// Byte-wise sums of weighted rows, sixteen bytes at a time: a pair of taps is
// multiplied and added in 16-bit lanes into 32-bit sums, exact for byte values.
// Returns how many bytes are done; the rest is left to the scalar code.
template <typename Divide>
std::int32_t WeighRowsSse2(const PairedTaps& t, const std::uint8_t* const* rows, std::int32_t bytes, std::uint8_t* out,
                           const Divide divide) {
  const __m128i zero = _mm_setzero_si128();
  const std::size_t pairs = t.weights.size();
  std::int32_t b = 0;
  for (; b + 16 <= bytes; b += 16) {
    __m128i acc0 = zero, acc1 = zero, acc2 = zero, acc3 = zero;
    for (std::size_t k = 0; k < pairs; ++k) {
      const __m128i w = _mm_set1_epi32(t.weights[k]);
      const __m128i a = Load(rows[2 * k] + b), c = Load(rows[2 * k + 1] + b);
      const __m128i aLo = _mm_unpacklo_epi8(a, zero), aHi = _mm_unpackhi_epi8(a, zero);
      const __m128i cLo = _mm_unpacklo_epi8(c, zero), cHi = _mm_unpackhi_epi8(c, zero);
      acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(_mm_unpacklo_epi16(aLo, cLo), w));
      acc1 = _mm_add_epi32(acc1, _mm_madd_epi16(_mm_unpackhi_epi16(aLo, cLo), w));
      acc2 = _mm_add_epi32(acc2, _mm_madd_epi16(_mm_unpacklo_epi16(aHi, cHi), w));
      acc3 = _mm_add_epi32(acc3, _mm_madd_epi16(_mm_unpackhi_epi16(aHi, cHi), w));
    }
    const __m128i q01 = _mm_packs_epi32(divide(acc0), divide(acc1));
    const __m128i q23 = _mm_packs_epi32(divide(acc2), divide(acc3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + b), _mm_packus_epi16(q01, q23));
  }
  return b;
}

// The row pass takes eight source rows at a time, turned on their side: lane r
// of tile[q] holds byte q of row r. One output pixel of all eight rows is then
// a few multiply-adds over whole vectors, as in the column pass.
constexpr int kTileRows = 8;
static_assert(__STDCPP_DEFAULT_NEW_ALIGNMENT__ >= 16, "the tile is read as aligned vectors");

void LoadTile(const std::uint8_t* const* rows, std::int32_t bytes, __m128i* tile) {
  const __m128i zero = _mm_setzero_si128();
  std::int32_t q = 0;
  for (; q + 16 <= bytes; q += 16) {
    __m128i a[8], b[8], c[8];
    for (int r = 0; r < 8; ++r) a[r] = Load(rows[r] + q);
    for (int r = 0; r < 8; r += 2) {
      b[r] = _mm_unpacklo_epi8(a[r], a[r + 1]);  // bytes 0..7 of rows r, r+1 interleaved
      b[r + 1] = _mm_unpackhi_epi8(a[r], a[r + 1]);
    }
    for (int h = 0; h < 2; ++h) {                                 // rows 0..3, then 4..7
      c[4 * h + 0] = _mm_unpacklo_epi16(b[4 * h], b[4 * h + 2]);  // bytes 0..3
      c[4 * h + 1] = _mm_unpackhi_epi16(b[4 * h], b[4 * h + 2]);  // bytes 4..7
      c[4 * h + 2] = _mm_unpacklo_epi16(b[4 * h + 1], b[4 * h + 3]);
      c[4 * h + 3] = _mm_unpackhi_epi16(b[4 * h + 1], b[4 * h + 3]);
    }
    for (int i = 0; i < 4; ++i) {
      const __m128i lo = _mm_unpacklo_epi32(c[i], c[4 + i]);  // two bytes, eight rows each
      const __m128i hi = _mm_unpackhi_epi32(c[i], c[4 + i]);
      tile[q + 4 * i + 0] = _mm_unpacklo_epi8(lo, zero);
      tile[q + 4 * i + 1] = _mm_unpackhi_epi8(lo, zero);
      tile[q + 4 * i + 2] = _mm_unpacklo_epi8(hi, zero);
      tile[q + 4 * i + 3] = _mm_unpackhi_epi8(hi, zero);
    }
  }
  for (; q < bytes; ++q)
    tile[q] =
        _mm_setr_epi16(rows[0][q], rows[1][q], rows[2][q], rows[3][q], rows[4][q], rows[5][q], rows[6][q], rows[7][q]);
}

template <typename Divide>
void WeighTile(const PairedTaps& t, const __m128i* tile, std::uint8_t* const* out, std::int32_t x,
               const Divide divide) {
  __m128i acc[6];
  for (__m128i& a : acc) a = _mm_setzero_si128();
  const std::size_t pairs = t.weights.size();
  for (std::size_t k = 0; k < pairs; ++k) {
    const __m128i w = _mm_set1_epi32(t.weights[k]);
    const __m128i* a = tile + 3 * static_cast<std::ptrdiff_t>(t.pixels[2 * k]);
    const __m128i* b = tile + 3 * static_cast<std::ptrdiff_t>(t.pixels[2 * k + 1]);
    for (int c = 0; c < 3; ++c) {
      acc[2 * c] = _mm_add_epi32(acc[2 * c], _mm_madd_epi16(_mm_unpacklo_epi16(a[c], b[c]), w));
      acc[2 * c + 1] = _mm_add_epi32(acc[2 * c + 1], _mm_madd_epi16(_mm_unpackhi_epi16(a[c], b[c]), w));
    }
  }
  const __m128i blue = _mm_packs_epi32(divide(acc[0]), divide(acc[1]));
  const __m128i green = _mm_packs_epi32(divide(acc[2]), divide(acc[3]));
  const __m128i red = _mm_packs_epi32(divide(acc[4]), divide(acc[5]));
  alignas(16) std::uint8_t bytes[32];
  _mm_store_si128(reinterpret_cast<__m128i*>(bytes), _mm_packus_epi16(blue, green));
  _mm_store_si128(reinterpret_cast<__m128i*>(bytes + 16), _mm_packus_epi16(red, red));
  for (int r = 0; r < kTileRows; ++r) {
    std::uint8_t* px = out[r] + 3 * static_cast<std::ptrdiff_t>(x);
    px[0] = bytes[r];
    px[1] = bytes[8 + r];
    px[2] = bytes[16 + r];
  }
}

// Rows y.. y+7 of the row pass; returns the first row not done.
std::int32_t RowPassTiles(const QImage& source, QImage& intermediate, const TContributorList& list,
                          const std::vector<PairedTaps>& plan) {
  const std::int32_t bytes = source.width() * 3;
  std::vector<std::int16_t> lanes(static_cast<std::size_t>(bytes) * kTileRows);  // new aligns to 16 bytes
  __m128i* const tile = reinterpret_cast<__m128i*>(lanes.data());
  const bool wide = IsWideSource(source);
  std::vector<std::uint8_t> narrowed(wide ? static_cast<std::size_t>(bytes) * kTileRows : 0);
  std::int32_t y = 0;
  for (; y + kTileRows <= source.height(); y += kTileRows) {
    const std::uint8_t* rows[kTileRows];
    std::uint8_t* out[kTileRows];
    for (int r = 0; r < kTileRows; ++r) {
      if (wide) {
        std::uint8_t* row = narrowed.data() + static_cast<std::ptrdiff_t>(r) * bytes;
        NarrowRow(source.constScanLine(y + r), source.width(), row);
        rows[r] = row;
      } else {
        rows[r] = source.constScanLine(y + r);
      }
      out[r] = intermediate.scanLine(y + r);
    }
    LoadTile(rows, bytes, tile);
    for (std::size_t x = 0; x < plan.size(); ++x) {
      if (plan[x].exact) {
        const int shift = TotalShift(plan[x].total);
        if (shift >= 0) WeighTile(plan[x], tile, out, static_cast<std::int32_t>(x), Shifter(shift));
        else WeighTile(plan[x], tile, out, static_cast<std::int32_t>(x), Divider(plan[x].total));
        continue;
      }
      for (int r = 0; r < kTileRows; ++r)
        WeighPixel(
            list[x].Count, list[x].Contributors.data(), [&](std::int32_t p, int c) { return rows[r][3 * p + c]; },
            out[r] + 3 * x);
    }
  }
  return y;
}
#endif

void RowPass(const QImage& source, QImage& intermediate, const TContributorList& list) {
  std::int32_t y = 0;
#if defined(__SSE2__)
  y = RowPassTiles(source, intermediate, list, PairTaps(list));
#endif
  // The rows left over go one at a time through the channel buffers.
  const std::int32_t sw = source.width();
  TChannelBuffers& c = ThreadChannels();
  SizeChannels(c, sw);
  const std::int32_t step = IsWideSource(source) ? 4 : 3;
  for (; y < source.height(); ++y) {
    LoadChannels(sw, step, source.constScanLine(y));
    std::uint8_t* out = intermediate.scanLine(y);
    for (const TContributorEntry& e : list) {
      WeighChannels(e.Count, e.Contributors.data(), c, out);
      out += 3;
    }
  }
}

// The column pass filters whole rows at a time: output row y is the weighted
// sum of the intermediate rows named by entry y, byte by byte. Every byte gets
// exactly the sum a walk down its column would give, but the rows are read and
// written in order, and the three channels are alike so they need no unpacking.
void ColumnPass(const QImage& intermediate, QImage& target, const TContributorList& list) {
  const std::int32_t bytes = target.width() * 3;
  const std::uint8_t* const base = intermediate.constBits();
  const std::ptrdiff_t interStep = RowDistance(intermediate);
  const std::ptrdiff_t targetStep = RowDistance(target);
  std::uint8_t* const targetBase = target.bits();
  const std::vector<PairedTaps> plan = PairTaps(list);
  std::vector<const std::uint8_t*> rows;

  for (std::size_t y = 0; y < list.size(); ++y) {
    const PairedTaps& t = plan[y];
    std::uint8_t* out = targetBase + static_cast<std::ptrdiff_t>(y) * targetStep;
    rows.clear();
    for (std::int32_t p : t.pixels) rows.push_back(base + p * interStep);
    std::int32_t b = 0;
#if defined(__SSE2__)
    if (t.exact) {
      const int shift = TotalShift(t.total);
      b = shift >= 0 ? WeighRowsSse2(t, rows.data(), bytes, out, Shifter(shift))
                     : WeighRowsSse2(t, rows.data(), bytes, out, Divider(t.total));
    }
#endif
    // The rest of the row byte by byte; the paired rows hold every tap in order.
    for (; b < bytes; ++b) {
      std::int32_t sum = 0;
      for (std::int32_t k = 0; k < list[y].Count; ++k)
        sum += list[y].Contributors[static_cast<std::size_t>(k)].Weight * rows[static_cast<std::size_t>(k)][b];
      out[b] = ChannelValue(sum, t.total);
    }
  }
}

void RequireImage(const QImage& image) {
  if (image.isNull()) throw platform::EOutOfMemory();
}

}  // namespace

QImage NewPictureImage(std::int32_t width, std::int32_t height, QImage::Format format) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  constexpr std::size_t kHugePage = std::size_t{2} << 20;
  const int depth = QImage::toPixelFormat(format).bitsPerPixel();
  if (width > 0 && height > 0 && depth > 0) {
    // Rows padded to 32 bits, as QImage lays them out itself.
    const std::int64_t line = (static_cast<std::int64_t>(width) * depth + 31) / 32 * 4;
    const std::int64_t bytes = line * height;
    if (line <= std::numeric_limits<int>::max() && bytes >= static_cast<std::int64_t>(2 * kHugePage) &&
        bytes <= (std::int64_t{1} << 40)) {
      const std::size_t size = (static_cast<std::size_t>(bytes) + kHugePage - 1) / kHugePage * kHugePage;
      if (void* memory = std::aligned_alloc(kHugePage, size)) {
        madvise(memory, size, MADV_HUGEPAGE);  // only advice; plain pages serve as well
        QImage image(static_cast<uchar*>(memory), width, height, static_cast<qsizetype>(line), format, std::free,
                     memory);
        if (!image.isNull()) return image;
        std::free(memory);
      }
      return {};
    }
  }
#endif
  return QImage(width, height, format);
}

void ResampleTwoPass(KernelFunction kernel, const QImage& Source, QImage& Target, float Radius) {
  ChannelRelease release;
  const std::int32_t sw = Source.width(), sh = Source.height();
  const std::int32_t dw = Target.width(), dh = Target.height();

  QImage intermediate = NewPictureImage(dw, sh, QImage::Format_BGR888);
  RequireImage(intermediate);

  const float xscale = AxisScale(dw, sw);
  const float yscale = AxisScale(dh, sh);

  {
    const TContributorList list = BuildContributorList(dw, sw, xscale, Radius, kernel);
    RowPass(Source, intermediate, list);
  }
  {
    const TContributorList list = BuildContributorList(dh, sh, yscale, Radius, kernel);
    ColumnPass(intermediate, Target, list);
  }
}

void ResampleGraphic(std::int32_t NewWidth, std::int32_t NewHeight, ResampleKernel Kernel, float Radius,
                     const QImage& Source, QImage& Target) {
  if (Source.isNull()) return;
  if (Kernel >= kKernelCount) throw std::invalid_argument("unknown resampling kernel");
  if (Radius == 0.0f) Radius = DefaultKernelRadius[Kernel];

  // With Source and Target one image, this copy is from now on its only holder.
  const QImage work = IsWideSource(Source) ? Source : Source.convertToFormat(QImage::Format_BGR888);
  RequireImage(work);
  if (NewWidth <= 0 || NewHeight <= 0) {
    Target = QImage();
    return;
  }
  // The picture is scaled into a new image that replaces the target only when
  // done, so a failure leaves the target as it was.
  QImage scaled = NewPictureImage(NewWidth, NewHeight, QImage::Format_BGR888);
  RequireImage(scaled);
  try {
    ResampleTwoPass(KernelFunctions[Kernel], work, scaled, Radius);
  } catch (const std::bad_alloc&) {
    throw platform::EOutOfMemory();
  } catch (const std::length_error&) {  // a list longer than memory could ever hold
    throw platform::EOutOfMemory();
  }
  Target = std::move(scaled);
}

void ResampleBitmap(std::int32_t NewWidth, std::int32_t NewHeight, ResampleKernel Kernel, float Radius,
                    QImage& Bitmap) {
  ResampleGraphic(NewWidth, NewHeight, Kernel, Radius, Bitmap, Bitmap);
}

}  // namespace genlib
