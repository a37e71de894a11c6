#include "GenGraphics.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "errors.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace resample {

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

float BoxKernel(float x) {
  return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f;
}

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
    const long double num = static_cast<float>(-kSevenThirds * a * a * a + 12 * a * a - 20 * a +
                                               kThirtyTwoThirds);
    return static_cast<float>(num / 6);
  }
  return 0.0f;
}

const KernelFunction KernelFunctions[kKernelCount] = {
    BoxKernel, TriangleKernel, HermiteKernel, BellKernel,
    BSplineKernel, Lanczos3Kernel, MitchellKernel,
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
  if (j < 0)
    k = -j;
  else if (j >= n)
    k = 2 * static_cast<std::int64_t>(n) - j - 1;
  // A kernel wider than the mirrored range would still fall outside the line.
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(k, 0, n - 1));
}

TContributorList BuildContributorList(std::int32_t outputCount, std::int32_t sourceLength,
                                      float scale, float radius, KernelFunction kernel) {
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
    const float center = outputCount == 1
                             ? static_cast<float>((sourceLength - 1) / 2.0L)
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
      if (shrinking)
        value = static_cast<long double>(kernel(static_cast<float>(distance * scale))) * scale * 256;
      else
        value = static_cast<long double>(kernel(static_cast<float>(distance))) * 256;
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

inline void WeighTapsInline(std::int32_t count, const KernelTap* taps, const std::int32_t* red,
                            const std::int32_t* green, const std::int32_t* blue, std::uint8_t* out) {
  std::int32_t total = 0, r = 0, g = 0, b = 0;
  for (std::int32_t k = 0; k < count; ++k) {
    const std::int32_t w = taps[k].Weight;
    const std::int32_t p = taps[k].Pixel;
    total += w;
    r += w * red[p];
    g += w * green[p];
    b += w * blue[p];
  }
  out[0] = ChannelValue(b, total);
  out[1] = ChannelValue(g, total);
  out[2] = ChannelValue(r, total);
}

}  // namespace

std::int32_t ClampToByte(std::int32_t Value) {
  return std::max(std::min(Value, 255), 0);
}

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
  const TChannelBuffers& c = ThreadChannels();
  WeighTapsInline(Count, Contributors.data(), c.Red.data(), c.Green.data(), c.Blue.data(), output);
}

// ---------------------------------------------------------------------------
// The two passes

namespace {

// Bytes from one row to the next. An image of one row has no row 1; its own
// row length serves, and no pass ever steps by it.
std::ptrdiff_t RowDistance(const QImage& image) {
  if (image.height() < 2) return image.bytesPerLine();
  return image.constScanLine(1) - image.constScanLine(0);
}

void RowPass(const QImage& source, QImage& intermediate, const TContributorList& list) {
  const std::int32_t sw = source.width();
  TChannelBuffers& c = ThreadChannels();
  SizeChannels(c, sw);
  for (std::int32_t y = 0; y < source.height(); ++y) {
    LoadChannels(sw, 3, source.constScanLine(y));
    std::uint8_t* out = intermediate.scanLine(y);
    for (const TContributorEntry& e : list) {
      WeighTapsInline(e.Count, e.Contributors.data(), c.Red.data(), c.Green.data(), c.Blue.data(), out);
      out += 3;
    }
  }
}

// The column pass filters whole rows at a time: output row y is the weighted
// sum of the intermediate rows named by entry y, byte by byte. Every byte gets
// exactly the sum a walk down its column would give, but the rows are read
// and written in order, and the three channels are alike so they need no
// unpacking.

void WeighRowsScalar(const TContributorEntry& e, const std::uint8_t* const* rows, std::int32_t total,
                     std::int32_t from, std::int32_t to, std::uint8_t* out) {
  for (std::int32_t b = from; b < to; ++b) {
    std::int32_t sum = 0;
    for (std::int32_t k = 0; k < e.Count; ++k) sum += e.Contributors[static_cast<std::size_t>(k)].Weight * rows[k][b];
    out[b] = ChannelValue(sum, total);
  }
}

#if defined(__SSE2__)
// Sixteen bytes of the row at a time: pairs of taps are multiplied and added
// with 16-bit lanes into 32-bit sums, which are exact for byte values and
// weights of 16 bits. The division by the total runs in single precision: for
// a total below 65536 and a quotient brought into 0..256 first, the rounded
// quotient truncates to exactly the integer quotient.
std::int32_t WeighRowsSse2(const TContributorEntry& e, const std::uint8_t* const* rows, std::int32_t total,
                           std::int32_t bytes, std::uint8_t* out) {
  const __m128i zero = _mm_setzero_si128();
  const __m128 divisor = _mm_set1_ps(static_cast<float>(total));
  const __m128 ceiling = _mm_set1_ps(256.0f * static_cast<float>(total));
  const __m128 floor0 = _mm_setzero_ps();
  const KernelTap* taps = e.Contributors.data();
  const std::int32_t count = e.Count;

  std::int32_t b = 0;
  for (; b + 16 <= bytes; b += 16) {
    __m128i acc0 = zero, acc1 = zero, acc2 = zero, acc3 = zero;
    std::int32_t k = 0;
    for (; k < count; k += 2) {
      const bool pair = k + 1 < count;
      const std::int16_t w0 = static_cast<std::int16_t>(taps[k].Weight);
      const std::int16_t w1 = pair ? static_cast<std::int16_t>(taps[k + 1].Weight) : 0;
      const __m128i weights = _mm_set1_epi32(static_cast<std::int32_t>(
          (static_cast<std::uint32_t>(static_cast<std::uint16_t>(w1)) << 16) | static_cast<std::uint16_t>(w0)));
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + b));
      const __m128i c = pair ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + b)) : zero;
      const __m128i aLo = _mm_unpacklo_epi8(a, zero), aHi = _mm_unpackhi_epi8(a, zero);
      const __m128i cLo = _mm_unpacklo_epi8(c, zero), cHi = _mm_unpackhi_epi8(c, zero);
      acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(_mm_unpacklo_epi16(aLo, cLo), weights));
      acc1 = _mm_add_epi32(acc1, _mm_madd_epi16(_mm_unpackhi_epi16(aLo, cLo), weights));
      acc2 = _mm_add_epi32(acc2, _mm_madd_epi16(_mm_unpacklo_epi16(aHi, cHi), weights));
      acc3 = _mm_add_epi32(acc3, _mm_madd_epi16(_mm_unpackhi_epi16(aHi, cHi), weights));
    }
    auto quotient = [&](__m128i sum) {
      __m128 f = _mm_min_ps(_mm_max_ps(_mm_cvtepi32_ps(sum), floor0), ceiling);
      return _mm_cvttps_epi32(_mm_div_ps(f, divisor));
    };
    const __m128i q01 = _mm_packs_epi32(quotient(acc0), quotient(acc1));
    const __m128i q23 = _mm_packs_epi32(quotient(acc2), quotient(acc3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + b), _mm_packus_epi16(q01, q23));  // 256 saturates to 255
  }
  return b;
}
#endif

void ColumnPass(const QImage& intermediate, QImage& target, const TContributorList& list) {
  const std::int32_t bytes = target.width() * 3;
  const std::uint8_t* const base = intermediate.constBits();
  const std::ptrdiff_t interStep = RowDistance(intermediate);
  const std::ptrdiff_t targetStep = RowDistance(target);
  std::uint8_t* const targetBase = target.bits();
  std::vector<const std::uint8_t*> rows;

  for (std::size_t y = 0; y < list.size(); ++y) {
    const TContributorEntry& e = list[y];
    std::uint8_t* out = targetBase + static_cast<std::ptrdiff_t>(y) * targetStep;
    rows.resize(static_cast<std::size_t>(e.Count));
    std::int32_t total = 0;
    std::int64_t magnitude = 0;
    bool narrow = true;
    for (std::int32_t k = 0; k < e.Count; ++k) {
      const KernelTap& t = e.Contributors[static_cast<std::size_t>(k)];
      rows[static_cast<std::size_t>(k)] = base + t.Pixel * interStep;
      total += t.Weight;
      magnitude += std::abs(static_cast<std::int64_t>(t.Weight));
      narrow = narrow && t.Weight >= -32768 && t.Weight <= 32767;
    }
    std::int32_t done = 0;
#if defined(__SSE2__)
    // Sums must stay exact in single precision, weights fit 16 bits.
    if (narrow && total > 0 && total < 65536 && magnitude * 255 < (1 << 24))
      done = WeighRowsSse2(e, rows.data(), total, bytes, out);
#else
    (void)narrow;
    (void)magnitude;
#endif
    WeighRowsScalar(e, rows.data(), total, done, bytes, out);
  }
}

void RequireImage(const QImage& image) {
  if (image.isNull()) throw platform::EOutOfMemory();
}

}  // namespace

void ResampleTwoPass(KernelFunction kernel, const QImage& Source, QImage& Target, float Radius) {
  ChannelRelease release;
  const std::int32_t sw = Source.width(), sh = Source.height();
  const std::int32_t dw = Target.width(), dh = Target.height();

  QImage intermediate(dw, sh, QImage::Format_BGR888);
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
  const QImage work = Source.convertToFormat(QImage::Format_BGR888);
  RequireImage(work);

  Target = QImage();
  if (NewWidth <= 0 || NewHeight <= 0) return;
  Target = QImage(NewWidth, NewHeight, QImage::Format_BGR888);
  RequireImage(Target);
  ResampleTwoPass(KernelFunctions[Kernel], work, Target, Radius);
}

void ResampleBitmap(std::int32_t NewWidth, std::int32_t NewHeight, ResampleKernel Kernel, float Radius,
                    QImage& Bitmap) {
  ResampleGraphic(NewWidth, NewHeight, Kernel, Radius, Bitmap, Bitmap);
}

}  // namespace resample
