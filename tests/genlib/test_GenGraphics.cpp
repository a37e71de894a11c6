// Pictures small enough to work out by hand from the weights the resampler
// must use; the bytes expected below come from those sums, not from running it.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <thread>
#include <vector>

#include "genlib/GenGraphics.h"
#include "platform/errors.h"

using namespace genlib;

namespace {

// A picture of one row; each pixel given as {blue, green, red}.
QImage Row(const std::vector<std::array<int, 3>>& pixels) {
  QImage image(static_cast<int>(pixels.size()), 1, QImage::Format_BGR888);
  for (std::size_t x = 0; x < pixels.size(); ++x)
    for (int c = 0; c < 3; ++c) image.scanLine(0)[x * 3 + c] = static_cast<uchar>(pixels[x][c]);
  return image;
}

std::vector<std::array<int, 3>> RowOf(const QImage& image, int y = 0) {
  std::vector<std::array<int, 3>> out;
  const uchar* line = image.constScanLine(y);
  for (int x = 0; x < image.width(); ++x) out.push_back({line[x * 3], line[x * 3 + 1], line[x * 3 + 2]});
  return out;
}

std::vector<std::pair<int, int>> Taps(const TContributorEntry& e) {
  std::vector<std::pair<int, int>> out;
  for (int k = 0; k < e.Count; ++k) out.emplace_back(e.Contributors[k].Weight, e.Contributors[k].Pixel);
  return out;
}

using TapList = std::vector<std::pair<int, int>>;

}  // namespace

TEST(Kernels, ValuesAtHandWorkedDistances) {
  EXPECT_EQ(BoxKernel(0.5f), 1.0f);  // closed at +0.5, open at -0.5
  EXPECT_EQ(BoxKernel(-0.5f), 0.0f);
  EXPECT_EQ(BoxKernel(-0.49f), 1.0f);
  EXPECT_EQ(BoxKernel(0.51f), 0.0f);
  EXPECT_EQ(TriangleKernel(-0.25f), 0.75f);
  EXPECT_EQ(TriangleKernel(1.0f), 0.0f);
  EXPECT_EQ(HermiteKernel(0.5f), 0.5f);
  EXPECT_EQ(HermiteKernel(-1.0f), 0.0f);
  EXPECT_EQ(BellKernel(0.0f), 0.75f);
  EXPECT_EQ(BellKernel(0.5f), 0.5f);
  EXPECT_EQ(BellKernel(-1.0f), 0.125f);
  EXPECT_EQ(BellKernel(1.5f), 0.0f);
  EXPECT_EQ(BSplineKernel(0.0f), static_cast<float>(2.0 / 3.0));
  EXPECT_EQ(BSplineKernel(1.0f), static_cast<float>(1.0 / 6.0));
  EXPECT_EQ(BSplineKernel(2.0f), 0.0f);
  EXPECT_EQ(NormalizedSinc(0.0f), 1.0f);
  EXPECT_EQ(Lanczos3Kernel(0.0f), 1.0f);
  EXPECT_NEAR(Lanczos3Kernel(0.5f), 0.63662 * 0.95493, 1e-5);  // (2/pi) * sinc(1/6)
  EXPECT_NEAR(Lanczos3Kernel(-1.5f), -0.21221 * 0.63662, 1e-5);
  EXPECT_EQ(Lanczos3Kernel(3.0f), 0.0f);
  EXPECT_NEAR(MitchellKernel(0.0f), 8.0 / 9.0, 1e-7);
  EXPECT_NEAR(MitchellKernel(1.0f), 1.0 / 18.0, 1e-7);
  EXPECT_EQ(MitchellKernel(2.0f), 0.0f);
  EXPECT_EQ(DefaultKernelRadius[rkMitchell], 2.0f);
  EXPECT_EQ(KernelFunctions[rkBell], &BellKernel);
}

TEST(Contributors, KeepingTheSizeWithMitchellWeighs228And14AndMirrorsTheEdges) {
  const TContributorList list = BuildContributorList(5, 5, AxisScale(5, 5), 2.0f, MitchellKernel);
  ASSERT_EQ(list.size(), 5u);
  // Left edge: position -1 reads pixel 1, not pixel 0.
  EXPECT_EQ(Taps(list[0]), (TapList{{14, 1}, {228, 0}, {14, 1}}));
  EXPECT_EQ(Taps(list[2]), (TapList{{14, 1}, {228, 2}, {14, 3}}));
  // Right edge: position 5 reads pixel 4 again.
  EXPECT_EQ(Taps(list[4]), (TapList{{14, 3}, {228, 4}, {14, 4}}));
  // Zero weights (distance 2) are not stored, but the candidate room is kept.
  EXPECT_EQ(list[2].Contributors.size(), 5u);
}

TEST(Contributors, EnlargingWithMitchellHasNegativeLobes) {
  // Three pixels to five: scale 2, centres 0, 0.5, 1, 1.5, 2.
  const TContributorList list = BuildContributorList(5, 3, AxisScale(5, 3), 2.0f, MitchellKernel);
  EXPECT_EQ(Taps(list[1]), (TapList{{-9, 1}, {137, 0}, {137, 1}, {-9, 2}}));
  EXPECT_EQ(Taps(list[3]), (TapList{{-9, 0}, {137, 1}, {137, 2}, {-9, 2}}));
}

TEST(Contributors, ShrinkingStretchesTheKernelAndScalesItsWeights) {
  // Five pixels to three: scale 0.5, box reach 1; the box is open at -0.5.
  const TContributorList list = BuildContributorList(3, 5, AxisScale(3, 5), 0.5f, BoxKernel);
  EXPECT_EQ(Taps(list[0]), (TapList{{128, 1}, {128, 0}}));
  EXPECT_EQ(Taps(list[1]), (TapList{{128, 1}, {128, 2}}));
  EXPECT_EQ(Taps(list[2]), (TapList{{128, 3}, {128, 4}}));
}

TEST(Contributors, IndexesPastTheMirrorStayInsideTheLine) {
  EXPECT_EQ(MirrorIndex(-1, 5), 1);
  EXPECT_EQ(MirrorIndex(5, 5), 4);
  EXPECT_EQ(MirrorIndex(6, 5), 3);
  EXPECT_EQ(MirrorIndex(-7, 5), 4);
  EXPECT_EQ(MirrorIndex(12, 5), 0);
  EXPECT_EQ(MirrorIndex(-1, 1), 0);
  EXPECT_EQ(MirrorIndex(3, 1), 0);
  // A one-pixel source under Lanczos3: every tap reads pixel 0.
  for (const TContributorEntry& e : BuildContributorList(4, 1, AxisScale(4, 1), 3.0f, Lanczos3Kernel))
    for (int k = 0; k < e.Count; ++k) EXPECT_EQ(e.Contributors[k].Pixel, 0);
}

TEST(WeighTaps, DividesByTheTotalOrShiftsWhenTheWeightsCancel) {
  TChannelBuffers& c = ThreadChannels();
  c.Red = {100, 50, 300};
  c.Green = {0, 1, 0};
  c.Blue = {0, 0, 0};
  uchar out[3];
  // Total 0: each sum shifted right by 8 as an unsigned value.
  WeighTaps(2, {{256, 0}, {-256, 1}}, out);
  EXPECT_EQ(out[2], 50);   // 12800 >> 8
  EXPECT_EQ(out[1], 255);  // -256 taken unsigned is 0xFFFFFF00
  EXPECT_EQ(out[0], 0);
  // Only the first Count taps count; quotients truncate, then clamp.
  WeighTaps(1, {{3, 2}, {1000, 0}}, out);
  EXPECT_EQ(out[2], 255);
  WeighTaps(2, {{2, 0}, {1, 1}}, out);
  EXPECT_EQ(out[2], 83);  // 250 / 3
  WeighTaps(0, {}, out);
  EXPECT_EQ(out[0] + out[1] + out[2], 0);
  EXPECT_EQ(ClampToByte(-5), 0);
  EXPECT_EQ(ClampToByte(256), 255);
  EXPECT_EQ(ClampToByte(77), 77);
  c = {};
}

TEST(Resample, TwoPixelsToThreeWithTriangleAveragesTheMiddle) {
  QImage image = Row({{10, 0, 255}, {21, 1, 254}});
  ResampleBitmap(3, 1, rkTriangle, 0, image);
  EXPECT_EQ(RowOf(image), (std::vector<std::array<int, 3>>{{10, 0, 255}, {15, 0, 254}, {21, 1, 254}}));
}

TEST(Resample, EnlargingClampsNegativeLobesAndReadsMirroredEdges) {
  // Blue 0,0,255 and green 255,255,0 overshoot below 0 and above 255 at output 1.
  QImage image = Row({{0, 255, 10}, {0, 255, 20}, {255, 0, 30}});
  ResampleBitmap(5, 1, rkMitchell, 0, image);
  EXPECT_EQ(RowOf(image), (std::vector<std::array<int, 3>>{
                              {0, 255, 11}, {0, 255, 14}, {13, 241, 20}, {127, 127, 25}, {241, 13, 29}}));
  EXPECT_EQ(image.format(), QImage::Format_BGR888);
}

TEST(Resample, RadiusZeroTakesTheDefaultAndOtherRadiiAreUsedAsGiven) {
  const QImage source = Row({{0, 255, 10}, {0, 255, 20}, {255, 0, 30}});
  QImage byDefault, byTwo, byHalf;
  ResampleGraphic(5, 1, rkMitchell, 0.0f, source, byDefault);
  ResampleGraphic(5, 1, rkMitchell, 2.0f, source, byTwo);
  ResampleGraphic(5, 1, rkMitchell, 0.5f, source, byHalf);
  EXPECT_EQ(byDefault, byTwo);
  // Radius 0.5 leaves only the taps 137, 137 at output 1: red (1370 + 2740) / 274.
  EXPECT_EQ(RowOf(byHalf)[1][2], 15);
  EXPECT_EQ(RowOf(source)[2], (std::array<int, 3>{255, 0, 30}));
}

TEST(Resample, KeepingTheSizeBlursWithMitchellAndCopiesWithTheSharpKernels) {
  QImage image = Row({{0, 0, 0}, {0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {0, 0, 0}});
  ResampleBitmap(5, 1, rkMitchell, 0, image);
  EXPECT_EQ(RowOf(image),
            (std::vector<std::array<int, 3>>{{0, 0, 0}, {13, 13, 13}, {227, 227, 227}, {13, 13, 13}, {0, 0, 0}}));

  QImage photo(13, 7, QImage::Format_ARGB32);
  for (int y = 0; y < photo.height(); ++y)
    for (int x = 0; x < photo.width(); ++x) photo.setPixel(x, y, qRgb(x * 19, y * 37, (x * y * 11) % 256));
  const QImage expected = photo.convertToFormat(QImage::Format_BGR888);
  for (ResampleKernel k : {rkBox, rkTriangle, rkHermite, rkLanczos3}) {
    QImage copy = photo;
    ResampleBitmap(13, 7, k, 0, copy);
    EXPECT_EQ(copy, expected) << "kernel " << int(k);
  }
}

TEST(Resample, OnePixelPicturesAndOnePixelTargetsStayInsideThePicture) {
  // A one-pixel picture enlarges to a plain area of its colour with every kernel.
  for (int k = 0; k < kKernelCount; ++k) {
    QImage image = Row({{7, 130, 250}});
    ResampleBitmap(6, 5, static_cast<ResampleKernel>(k), 0, image);
    for (int y = 0; y < 5; ++y)
      for (const auto& px : RowOf(image, y)) EXPECT_EQ(px, (std::array<int, 3>{7, 130, 250})) << "kernel " << k;
  }
  // One target pixel from a longer line stands for the whole line: the box averages it.
  std::vector<std::array<int, 3>> line;
  for (int x = 0; x < 9; ++x) line.push_back({x * 10, 80 - x * 10, 200});
  QImage image = Row(line);
  ResampleBitmap(1, 1, rkBox, 0, image);
  EXPECT_EQ(RowOf(image), (std::vector<std::array<int, 3>>{{40, 40, 200}}));
}

TEST(Resample, AnOutputWithNoTapComesOutBlack) {
  // Shrinking 1200 pixels to 2 gives box weights of 256 / 1199, which round to 0.
  QImage image(1200, 1, QImage::Format_BGR888);
  image.fill(Qt::white);
  ResampleBitmap(2, 1, rkBox, 0, image);
  EXPECT_EQ(RowOf(image), (std::vector<std::array<int, 3>>{{0, 0, 0}, {0, 0, 0}}));
  // A negative radius reaches nothing either.
  image = Row({{9, 9, 9}, {9, 9, 9}});
  ResampleBitmap(3, 2, rkMitchell, -1.0f, image);
  EXPECT_EQ(image.size(), QSize(3, 2));
  EXPECT_EQ(RowOf(image, 1), (std::vector<std::array<int, 3>>{{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}));
}

TEST(Resample, EmptySourceOrEmptySize) {
  QImage target(4, 3, QImage::Format_RGB32);
  target.fill(Qt::red);
  const QImage before = target;
  ResampleGraphic(10, 10, rkMitchell, 0, QImage(), target);
  EXPECT_EQ(target, before);
  EXPECT_EQ(target.format(), QImage::Format_RGB32);

  ResampleBitmap(0, 5, rkMitchell, 0, target);
  EXPECT_TRUE(target.isNull());
  target = before;
  ResampleBitmap(5, 0, rkMitchell, 0, target);
  EXPECT_TRUE(target.isNull());
  // An empty bitmap stays as it is.
  ResampleBitmap(5, 5, rkMitchell, 0, target);
  EXPECT_TRUE(target.isNull());
}

TEST(Resample, APictureTooLargeForMemoryLeavesTheBitmapAsItWas) {
  QImage image = Row({{1, 2, 3}, {4, 5, 6}});
  const QImage before = image.copy();
  EXPECT_THROW(ResampleBitmap(800000000, 2, rkMitchell, 0, image), platform::EOutOfMemory);
  EXPECT_EQ(image, before);
}

TEST(Resample, ALargeImageIsLaidOutAsQtWouldAndOwnsItsPixels) {
  for (const QSize size : {QSize(7, 3), QSize(2001, 1503), QSize(1, 3000000)}) {
    for (const QImage::Format format : {QImage::Format_BGR888, QImage::Format_RGB32}) {
      QImage image = NewPictureImage(size.width(), size.height(), format);
      const QImage plain(size, format);
      ASSERT_FALSE(image.isNull());
      EXPECT_EQ(image.size(), size);
      EXPECT_EQ(image.format(), format);
      EXPECT_EQ(image.bytesPerLine(), plain.bytesPerLine());
      image.fill(Qt::white);
      QImage copy = image;
      copy.setPixel(size.width() - 1, size.height() - 1, qRgb(1, 2, 3));  // a copy detaches, not writes through
      EXPECT_EQ(image.pixel(size.width() - 1, size.height() - 1), qRgb(255, 255, 255));
      EXPECT_EQ(copy.pixel(size.width() - 1, size.height() - 1), qRgb(1, 2, 3));
    }
  }
  EXPECT_TRUE(NewPictureImage(800000000, 2, QImage::Format_BGR888).isNull());
  EXPECT_TRUE(NewPictureImage(0, 5, QImage::Format_BGR888).isNull());
}

TEST(Resample, ThreadsKeepTheirOwnChannelBuffers) {
  std::vector<QImage> sources;
  for (int i = 0; i < 4; ++i) {
    QImage image(31 + i * 7, 17 + i, QImage::Format_BGR888);
    for (int y = 0; y < image.height(); ++y)
      for (int b = 0; b < image.width() * 3; ++b)
        image.scanLine(y)[b] = static_cast<uchar>((b * 31 + y * 17 + i * 101) % 256);
    sources.push_back(image);
  }
  std::vector<QImage> alone(4), together(4);
  for (int i = 0; i < 4; ++i) ResampleGraphic(97 - i * 13, 41 + i * 9, rkLanczos3, 0, sources[i], alone[i]);
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i)
    threads.emplace_back([&, i] {
      for (int round = 0; round < 5; ++round)
        ResampleGraphic(97 - i * 13, 41 + i * 9, rkLanczos3, 0, sources[i], together[i]);
    });
  for (auto& t : threads) t.join();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(together[i], alone[i]) << i;
  EXPECT_TRUE(ThreadChannels().Red.empty());
}
