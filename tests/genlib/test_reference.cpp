// The resampler against a plain, slow rendering of its rules: its own kernels
// and radii, weights worked out afresh for every output pixel, the row pass
// pixel by pixel, the column pass walking down each column. Random pictures,
// sizes and radii for all seven kernels must agree byte for byte.

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstdint>
#include <iterator>
#include <random>
#include <vector>

#include "genlib/GenGraphics.h"

using namespace genlib;

namespace {

// The kernels as their definitions read: the argument is single precision,
// the arithmetic extended, every result single precision.
using Real = long double;

float RefBox(float x) { return x > -0.5f && x <= 0.5f ? 1.0f : 0.0f; }

float RefTriangle(float x) {
  const Real a = std::fabs(x);
  return a < 1 ? static_cast<float>(1 - a) : 0.0f;
}

float RefHermite(float x) {
  const Real a = std::fabs(x);
  return a < 1 ? static_cast<float>((2 * a - 3) * a * a + 1) : 0.0f;
}

float RefBell(float x) {
  const Real a = std::fabs(x);
  if (a < 0.5L) return static_cast<float>(0.75L - a * a);
  if (a < 1.5L) return static_cast<float>(0.5L * (a - 1.5L) * (a - 1.5L));
  return 0.0f;
}

// The square and 2 - a are single precision values.
float RefBSpline(float x) {
  const Real a = std::fabs(x);
  if (a < 1) {
    const Real square = static_cast<float>(a * a);
    return static_cast<float>(0.5L * square * a - square + 2.0L / 3.0L);
  }
  if (a < 2) {
    const Real rest = static_cast<float>(2 - a);
    return static_cast<float>(rest * rest * rest / 6);
  }
  return 0.0f;
}

// sin(pi x) / (pi x) with pi x single precision; 1 at 0.
float RefSinc(float x) {
  if (x == 0.0f) return 1.0f;
  const Real px = static_cast<float>(3.14159265358979323846264338327950288L * x);
  return static_cast<float>(std::sin(px) / px);
}

float RefLanczos3(float x) {
  const Real a = std::fabs(x);
  if (a >= 3) return 0.0f;
  return static_cast<float>(static_cast<Real>(RefSinc(x)) * RefSinc(static_cast<float>(x / 3.0L)));
}

// Mitchell-Netravali with B = C = 1/3; each numerator single precision before
// the division by 6.
float RefMitchell(float x) {
  const Real a = std::fabs(x);
  if (a < 1) {
    const Real top = static_cast<float>(7 * a * a * a - 12 * a * a + 16.0L / 3.0L);
    return static_cast<float>(top / 6);
  }
  if (a < 2) {
    const Real top = static_cast<float>(-7.0L / 3.0L * a * a * a + 12 * a * a - 20 * a + 32.0L / 3.0L);
    return static_cast<float>(top / 6);
  }
  return 0.0f;
}

// By kernel number: box, triangle, Hermite, bell, B-spline, Lanczos 3, Mitchell.
const KernelFunction kRefKernels[] = {RefBox, RefTriangle, RefHermite, RefBell, RefBSpline, RefLanczos3, RefMitchell};
const float kRefRadius[] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
static_assert(std::size(kRefKernels) == kKernelCount && std::size(kRefRadius) == kKernelCount);

struct Tap {
  int weight;
  int pixel;
};

// Scale of an axis, with one output pixel taking the plain ratio.
float RefScale(int to, int from) {
  if (from == 1 || to == 1) return static_cast<float>(static_cast<long double>(to) / from);
  return static_cast<float>(static_cast<long double>(to - 1) / (from - 1));
}

int RefMirror(long j, int n) {
  long k = j < 0 ? -j : (j >= n ? 2L * n - j - 1 : j);
  if (k < 0) k = 0;
  if (k > n - 1) k = n - 1;
  return static_cast<int>(k);
}

std::vector<Tap> RefTaps(int i, int outputs, int n, float radius, KernelFunction kernel) {
  const float s = RefScale(outputs, n);
  const bool shrink = s < 1.0f;
  const float center =
      outputs == 1 ? static_cast<float>((n - 1) / 2.0L) : static_cast<float>(i / static_cast<long double>(s));
  const float reach = shrink ? static_cast<float>(radius / static_cast<long double>(s)) : radius;
  const long left = static_cast<long>(std::floor(static_cast<long double>(center) - reach));
  const long right = static_cast<long>(std::ceil(static_cast<long double>(center) + reach));
  std::vector<Tap> taps;
  for (long j = left; j <= right; ++j) {
    const long double d = static_cast<long double>(center) - j;
    const float arg = static_cast<float>(shrink ? d * s : d);
    const long double factor = shrink ? static_cast<long double>(s) : 1.0L;
    const int w = static_cast<int>(std::nearbyint(static_cast<long double>(kernel(arg)) * factor * 256));
    if (w != 0) taps.push_back({w, RefMirror(j, n)});
  }
  return taps;
}

int RefChannel(std::int32_t sum, std::int32_t total) {
  const std::int32_t v = total != 0 ? sum / total : static_cast<std::int32_t>(static_cast<std::uint32_t>(sum) >> 8);
  return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Pixels as a flat array of bytes, three a pixel, no padding.
struct Plain {
  int w = 0, h = 0;
  std::vector<std::uint8_t> bytes;
  std::uint8_t* at(int x, int y) { return &bytes[(static_cast<std::size_t>(y) * w + x) * 3]; }
};

// One output pixel from pixels read along a line through `get`.
template <typename Get>
void RefWeigh(const std::vector<Tap>& taps, Get get, std::uint8_t* out) {
  std::int32_t total = 0, sums[3] = {0, 0, 0};
  for (const Tap& t : taps) {
    total += t.weight;
    for (int c = 0; c < 3; ++c) sums[c] += t.weight * get(t.pixel)[c];
  }
  for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>(RefChannel(sums[c], total));
}

Plain RefResample(Plain src, int dw, int dh, KernelFunction kernel, float radius) {
  Plain mid{dw, src.h, std::vector<std::uint8_t>(static_cast<std::size_t>(dw) * src.h * 3)};
  for (int x = 0; x < dw; ++x) {
    const std::vector<Tap> taps = RefTaps(x, dw, src.w, radius, kernel);
    for (int y = 0; y < src.h; ++y)
      RefWeigh(
          taps, [&](int p) { return src.at(p, y); }, mid.at(x, y));
  }
  Plain dst{dw, dh, std::vector<std::uint8_t>(static_cast<std::size_t>(dw) * dh * 3)};
  for (int y = 0; y < dh; ++y) {
    const std::vector<Tap> taps = RefTaps(y, dh, src.h, radius, kernel);
    for (int x = 0; x < dw; ++x)
      RefWeigh(
          taps, [&](int p) { return mid.at(x, p); }, dst.at(x, y));
  }
  return dst;
}

Plain FromImage(const QImage& image) {
  Plain p{image.width(), image.height(), {}};
  for (int y = 0; y < image.height(); ++y)
    p.bytes.insert(p.bytes.end(), image.constScanLine(y), image.constScanLine(y) + image.width() * 3);
  return p;
}

// Noise, hard black and white blocks (to drive the negative lobes past the
// byte range) or smooth ramps.
QImage RandomPicture(std::mt19937& rng, int w, int h) {
  QImage image(w, h, QImage::Format_BGR888);
  const int style = static_cast<int>(rng() % 3);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* line = image.scanLine(y);
    for (int b = 0; b < w * 3; ++b) {
      if (style == 0) line[b] = static_cast<std::uint8_t>(rng());
      else if (style == 1) line[b] = ((b / 3 / 2 + y / 2 + b % 3) % 2) ? 255 : 0;
      else line[b] = static_cast<std::uint8_t>((b * 7 + y * 13) % 256);
    }
  }
  return image;
}

void ExpectSame(const QImage& source, int dw, int dh, ResampleKernel kernel, float radius) {
  QImage target;
  ResampleGraphic(dw, dh, kernel, radius, source, target);
  const float r = radius == 0.0f ? kRefRadius[kernel] : radius;
  const Plain expected = RefResample(FromImage(source), dw, dh, kRefKernels[kernel], r);
  ASSERT_EQ(target.size(), QSize(dw, dh));
  const Plain got = FromImage(target);
  ASSERT_TRUE(got.bytes == expected.bytes) << "kernel " << int(kernel) << " radius " << radius << ": " << source.width()
                                           << "x" << source.height() << " -> " << dw << "x" << dh;
}

class AgainstReference : public ::testing::TestWithParam<int> {};

}  // namespace

// Value for value, to the last bit of single precision, over the whole
// reach of every kernel: differences too small to move a weight of 1/256 in
// the pictures above show here.
TEST_P(AgainstReference, KernelValues) {
  const int kernel = GetParam();
  std::mt19937 rng(555u + kernel);
  std::uniform_real_distribution<float> anywhere(-4.0f, 4.0f);
  for (int i = -4096; i <= 4096 + 20000; ++i) {
    const float x = i <= 4096 ? static_cast<float>(i) / 1024 : anywhere(rng);
    const float got = KernelFunctions[kernel](x), expected = kRefKernels[kernel](x);
    ASSERT_EQ(got, expected) << "kernel " << kernel << " at " << x;
  }
}

TEST_P(AgainstReference, RandomSmallPictures) {
  const ResampleKernel kernel = static_cast<ResampleKernel>(GetParam());
  std::mt19937 rng(1234u + GetParam());
  for (int round = 0; round < 150; ++round) {
    const int sw = 1 + static_cast<int>(rng() % 24), sh = 1 + static_cast<int>(rng() % 24);
    const int dw = 1 + static_cast<int>(rng() % 60), dh = 1 + static_cast<int>(rng() % 60);
    float radius = 0.0f;
    if (rng() % 3 == 0) radius = 0.25f + static_cast<float>(rng() % 1000) / 250.0f;
    ExpectSame(RandomPicture(rng, sw, sh), dw, dh, kernel, radius);
  }
}

TEST_P(AgainstReference, LargerEnlargementsAndReductions) {
  const ResampleKernel kernel = static_cast<ResampleKernel>(GetParam());
  std::mt19937 rng(99u + GetParam());
  const QImage photo = RandomPicture(rng, 67, 45);
  ExpectSame(photo, 67 * 4, 45 * 4, kernel, 0);  // the printing's enlargement
  ExpectSame(photo, 201, 97, kernel, 0);
  ExpectSame(photo, 13, 9, kernel, 0);
  ExpectSame(photo, 1, 45, kernel, 0);
  ExpectSame(photo, 67, 1, kernel, 0);
  ExpectSame(RandomPicture(rng, 300, 2), 41, 7, kernel, 0);
  // Outputs without taps: weights that all round to 0, a radius that reaches nothing.
  ExpectSame(RandomPicture(rng, 1200, 9), 2, 17, kernel, 0);
  ExpectSame(photo, 80, 50, kernel, -1.0f);
}

// Pictures of several megabytes, whose buffers come from the large-image path.
TEST(AgainstReferenceLarge, APhotoEnlargedAndReduced) {
  std::mt19937 rng(4711u);
  const QImage photo = RandomPicture(rng, 1000, 320);
  ExpectSame(photo, 1999, 1280, rkMitchell, 0);
  ExpectSame(RandomPicture(rng, 1800, 1200), 360, 240, rkMitchell, 0);
}

// A picture of 32-bit pixels, whatever its unused byte holds, scales exactly as
// its three-byte conversion does.
TEST(AgainstReferenceLarge, ThirtyTwoBitPixelsScaleAsTheirConversion) {
  std::mt19937 rng(77u);
  for (const QSize size : {QSize(53, 21), QSize(40, 5), QSize(9, 1), QSize(1, 17), QSize(1003, 170)}) {
    const QImage bgr = RandomPicture(rng, size.width(), size.height());
    QImage wide = bgr.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < wide.height(); ++y)
      for (int x = 0; x < wide.width(); ++x) wide.scanLine(y)[4 * x + 3] = static_cast<std::uint8_t>(rng());
    for (const ResampleKernel kernel : {rkMitchell, rkLanczos3, rkBox}) {
      for (const QSize to : {QSize(size.width() * 3, size.height() * 2 + 1), QSize(size.width() / 3 + 1, 4)}) {
        for (const float radius : {0.0f, 9.0f}) {
          QImage fromWide, fromBgr;
          ResampleGraphic(to.width(), to.height(), kernel, radius, wide, fromWide);
          ResampleGraphic(to.width(), to.height(), kernel, radius, bgr, fromBgr);
          ASSERT_EQ(fromWide, fromBgr) << size.width() << "x" << size.height() << " kernel " << int(kernel);
        }
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllKernels, AgainstReference, ::testing::Range(0, kKernelCount));
