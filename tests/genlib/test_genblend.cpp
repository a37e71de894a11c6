#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "genlib/GenGraphUtils.h"

using namespace genlib;

namespace {

std::uint32_t Channel(std::uint32_t c, int i) { return (c >> (8 * i)) & 0xFF; }

// The two mixes channel by channel, straight from their formulas.
std::uint32_t PortableMix(std::uint32_t f, std::uint32_t b, unsigned w) {
  if (w == 0) return b;
  if (w == 255) return f;
  std::uint32_t r = 0;
  for (int i = 0; i < 4; ++i)
    r |= (((w * Channel(f, i) + 128) >> 8) + (((255 - w) * Channel(b, i) + 128) >> 8)) << (8 * i);
  return r;
}

std::uint32_t MmxMix(std::uint32_t f, std::uint32_t b, unsigned w) {
  std::uint32_t r = 0;
  for (int i = 0; i < 4; ++i) r |= ((w * Channel(f, i) + (256 - w) * Channel(b, i) + 128) >> 8) << (8 * i);
  return r;
}

const std::uint32_t kColours[] = {0x00000000, 0xFFFFFFFF, 0x80FF4000, 0x0000C0FF,
                                  0x7F7F7F7F, 0x01FE02FD, 0xC0123456, 0x3CA5E10F};

// A set of versions with the mix it must give.
struct Versions {
  const BlendRoutines& routines;
  std::uint32_t (*reference)(std::uint32_t, std::uint32_t, unsigned);
};

const Versions kPortable{PortableBlend, PortableMix};
#ifdef GEN_HAS_MMX_BLEND
const Versions kMmx{MmxBlend, MmxMix};
#endif

void CheckEveryWeight(const Versions& versions) {
  const BlendRoutines& v = versions.routines;
  for (std::uint32_t f : kColours) {
    for (std::uint32_t b : kColours) {
      for (unsigned w = 0; w < 256; ++w) {
        const std::uint32_t expected = versions.reference(f, b, w);
        ASSERT_EQ(v.MixColors(f, b, static_cast<std::uint8_t>(w)), expected) << std::hex << f << ' ' << b << ' ' << w;
        std::uint32_t into = b;
        v.MixColorsInto(f, into, static_cast<std::uint8_t>(w));
        ASSERT_EQ(into, expected);

        // The weight as the alpha of F.
        const std::uint32_t fa = (f & 0x00FFFFFF) | (w << 24);
        ASSERT_EQ(v.BlendColors(fa, b), versions.reference(fa, b, w));
        into = b;
        v.BlendColorsInto(fa, into);
        ASSERT_EQ(into, versions.reference(fa, b, w));

        // The weight scaled by M.
        for (unsigned m : {0u, 1u, 128u, 200u, 255u}) {
          const unsigned weight = (m * w) >> 8;
          const std::uint32_t ex = weight == 0 ? b : versions.reference(fa, b, weight);
          ASSERT_EQ(v.BlendColorsEx(fa, b, static_cast<std::uint8_t>(m)), ex) << w << ' ' << m;
          into = b;
          v.BlendColorsExInto(fa, into, static_cast<std::uint8_t>(m));
          ASSERT_EQ(into, ex);
        }
      }
    }
  }
}

void CheckRows(const Versions& versions) {
  const BlendRoutines& v = versions.routines;
  const std::vector<std::uint32_t> source = {0x00FFFFFF, 0xFF123456, 0x80FF0000, 0x01FFFFFF, 0xFE000000};
  const std::vector<std::uint32_t> start = {0x11223344, 0x55667788, 0x000000FF, 0x00000000, 0xFFFFFFFF};
  std::vector<std::uint32_t> dst = start;
  v.BlendRow(source.data(), dst.data(), static_cast<int>(dst.size()));
  EXPECT_EQ(dst[0], start[0]);   // alpha 0 leaves the destination
  EXPECT_EQ(dst[1], source[1]);  // alpha 255 copies the source
  for (std::size_t i = 2; i < dst.size(); ++i)
    EXPECT_EQ(dst[i], versions.reference(source[i], start[i], source[i] >> 24));

  for (unsigned m : {0u, 2u, 128u, 255u}) {
    dst = start;
    v.BlendRowEx(source.data(), dst.data(), static_cast<int>(dst.size()), static_cast<std::uint8_t>(m));
    for (std::size_t i = 0; i < dst.size(); ++i) {
      const unsigned weight = (m * (source[i] >> 24)) >> 8;
      EXPECT_EQ(dst[i], weight == 0 ? start[i] : versions.reference(source[i], start[i], weight)) << i << ' ' << m;
    }
  }

  // A count of 0 or less blends nothing.
  for (int count : {0, -1, -100}) {
    dst = start;
    v.BlendRow(source.data(), dst.data(), count);
    v.BlendRowEx(source.data(), dst.data(), count, 255);
    EXPECT_EQ(dst, start);
  }
}

class BlendTest : public ::testing::Test {
 protected:
  void SetUp() override { BuildAlphaTable(); }
  void TearDown() override { ReleaseAlphaTable(); }
};

}  // namespace

TEST_F(BlendTest, WorkedExamples) {
  // W = 0 gives B and W = 255 gives F; between them the two halves round apart.
  EXPECT_EQ(PortableBlend.MixColors(0x80FF4000, 0x0000C0FF, 0), 0x0000C0FFu);
  EXPECT_EQ(PortableBlend.MixColors(0x80FF4000, 0x0000C0FF, 255), 0x80FF4000u);
  EXPECT_EQ(PortableBlend.MixColors(0x80FF4000, 0x0000C0FF, 64), 0x20409FBEu);
  EXPECT_EQ(PortableBlend.MixColors(0x80FF4000, 0x0000C0FF, 128), 0x40807F7Fu);
  EXPECT_EQ(PortableBlend.MixColors(0xFFFFFFFF, 0x00000000, 254), 0xFDFDFDFDu);
  EXPECT_EQ(PortableBlend.BlendColorsEx(0xFFFFFFFF, 0x00000000, 255), 0xFDFDFDFDu);
#ifdef GEN_HAS_MMX_BLEND
  // The MMX mix weighs B by 256 - W and rounds once, also at the ends.
  EXPECT_EQ(MmxBlend.MixColors(0x80FF4000, 0x0000C0FF, 0), 0x0000C0FFu);
  EXPECT_EQ(MmxBlend.MixColors(0x80FF4000, 0x0000C0FF, 255), 0x80FE4101u);
  EXPECT_EQ(MmxBlend.MixColors(0x80FF4000, 0x0000C0FF, 64), 0x2040A0BFu);
  EXPECT_EQ(MmxBlend.MixColors(0x80FF4000, 0x0000C0FF, 128), 0x40808080u);
  EXPECT_EQ(MmxBlend.MixColors(0xFFFFFFFF, 0x00000000, 255), 0xFEFEFEFEu);
  EXPECT_EQ(MmxBlend.BlendColors(0xFFFFFFFF, 0x00000000), 0xFEFEFEFEu);
#endif
}

TEST_F(BlendTest, PortableOnEveryWeight) {
  CheckEveryWeight(kPortable);
  CheckRows(kPortable);
}

#ifdef GEN_HAS_MMX_BLEND
TEST_F(BlendTest, MmxOnEveryWeight) {
  CheckEveryWeight(kMmx);
  CheckRows(kMmx);
  // Floating point still works after the multimedia instructions.
  volatile double x = 1.5;
  EXPECT_EQ(x * 2.0, 3.0);
}
#endif

TEST_F(BlendTest, AlphaTableLayout) {
  ASSERT_NE(AlphaTable, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(AlphaTable) % 8, 0u);
  for (unsigned i = 0; i < 256; ++i)
    for (unsigned lane = 0; lane < 4; ++lane) ASSERT_EQ(AlphaTable[i][lane], i);
  EXPECT_EQ(reinterpret_cast<const char*>(AlphaBias) - reinterpret_cast<const char*>(AlphaTable), 1024);
  EXPECT_EQ((*AlphaBias)[3], 128);
}

TEST(BlendSlots, FilledByTheProcessorsAbilities) {
  SelectBlendRoutines(false);
  EXPECT_EQ(Blend.MixColors, PortableBlend.MixColors);
  EXPECT_EQ(Blend.BlendRowEx, PortableBlend.BlendRowEx);
#ifdef GEN_HAS_MMX_BLEND
  SelectBlendRoutines(true);
  EXPECT_EQ(Blend.MixColors, MmxBlend.MixColors);
  EXPECT_EQ(Blend.BlendRowEx, MmxBlend.BlendRowEx);
  SelectBlendRoutines(false);
#endif
}
