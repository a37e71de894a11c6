#include <gtest/gtest.h>

#include "genlib/GenGraphUtils.h"
#include "genlib/GenGraphicsInit.h"
#include "genlib/GenStartup.h"
#include "genlib/GenStrings.h"
#include "genlib/GenSysInfo.h"

using namespace genlib;

namespace {

// round(255 x (i / 255) ^ 0.7f), worked out to 50 digits.
constexpr std::uint8_t kGamma[256] = {
    0,   5,   9,   11,  14,  16,  18,  21,  23,  25,  26,  28,  30,  32,  33,  35,  37,  38,  40,  41,  43,  44,
    46,  47,  49,  50,  52,  53,  54,  56,  57,  58,  60,  61,  62,  64,  65,  66,  67,  69,  70,  71,  72,  73,
    75,  76,  77,  78,  79,  80,  82,  83,  84,  85,  86,  87,  88,  89,  90,  92,  93,  94,  95,  96,  97,  98,
    99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113, 114, 115, 116, 117, 118, 119, 120,
    121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 131, 132, 133, 134, 135, 136, 137, 138, 139, 140, 141,
    142, 142, 143, 144, 145, 146, 147, 148, 149, 150, 150, 151, 152, 153, 154, 155, 156, 157, 157, 158, 159, 160,
    161, 162, 163, 163, 164, 165, 166, 167, 168, 168, 169, 170, 171, 172, 173, 173, 174, 175, 176, 177, 178, 178,
    179, 180, 181, 182, 182, 183, 184, 185, 186, 186, 187, 188, 189, 190, 190, 191, 192, 193, 194, 194, 195, 196,
    197, 197, 198, 199, 200, 201, 201, 202, 203, 204, 204, 205, 206, 207, 208, 208, 209, 210, 211, 211, 212, 213,
    214, 214, 215, 216, 217, 217, 218, 219, 220, 220, 221, 222, 223, 223, 224, 225, 226, 226, 227, 228, 228, 229,
    230, 231, 231, 232, 233, 234, 234, 235, 236, 237, 237, 238, 239, 239, 240, 241, 242, 242, 243, 244, 244, 245,
    246, 247, 247, 248, 249, 249, 250, 251, 251, 252, 253, 254, 254, 255,
};

}  // namespace

TEST(GammaTable, MatchesTheCurve) {
  BuildGammaTable(0.7f);
  for (int i = 0; i < 256; ++i) {
    ASSERT_EQ(GammaTable[i], kGamma[i]) << i;
    ASSERT_GE(GammaTable[i], i);  // on or above the identity
  }
}

TEST(GammaTable, OutOfRangeGammaStaysInTheByte) {
  BuildGammaTable(-1.0f);
  EXPECT_EQ(GammaTable[0], 255);
  EXPECT_EQ(GammaTable[255], 255);
  BuildGammaTable(1.0f);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(GammaTable[i], i);
}

// Entered twice, as units that use each other enter it: the work of each unit
// runs at the first entry only, and its end work at the last end.
TEST(GenLibStart, BuildsEverythingOnceAndEndsWithTheLastEnd) {
  IdentityMatrix[1][2] = 5;
  GenLibStart();

  EXPECT_TRUE(CaseTablesBuilt);
  EXPECT_EQ(ReflectCaseTable[0xC8], 0xE8);  // Č
  EXPECT_FALSE(CacheDescriptorTable[8].Description.empty());
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(IdentityMatrix[r][c], r == c ? 1.0L : 0.0L);
  EXPECT_EQ(GammaTable[128], 157);

  ProcessorInfo info;
  QueryCpuid(info);
  EXPECT_EQ(MmxActive, (info.Features & kFeatureMmx) != 0);
  EXPECT_EQ(AlphaTable != nullptr, MmxActive);
#ifdef GEN_HAS_MMX_BLEND
  EXPECT_EQ(Blend.MixColors, MmxActive ? MmxBlend.MixColors : PortableBlend.MixColors);
#endif
  // Whichever version is in the slot, the ends of the weights hold.
  EXPECT_EQ(Blend.MixColors(0x12345678, 0x9ABCDEF0, 0), 0x9ABCDEF0u);

  // What a second run of any unit's work would build again is spoilt now,
  // and stays spoilt through the second entry.
  const MixColorsFn spoiltMix = [](std::uint32_t, std::uint32_t, std::uint8_t) -> std::uint32_t { return 0; };
  const std::uint16_t typeOfA = CharTypes['A'];
  const auto* alphaTable = AlphaTable;
  CharTypes['A'] = 0;
  NumberOfProcessors = 0;
  CacheDescriptorTable[8].Description = "spoilt";
  Blend.MixColors = spoiltMix;
  IdentityMatrix[1][2] = 5;
  GammaTable[128] = 0;
  GenLibStart();
  EXPECT_EQ(CharTypes['A'], 0);
  EXPECT_EQ(NumberOfProcessors, 0u);
  EXPECT_EQ(CacheDescriptorTable[8].Description, "spoilt");
  EXPECT_EQ(Blend.MixColors, spoiltMix);
  EXPECT_EQ(AlphaTable, alphaTable);
  EXPECT_EQ(IdentityMatrix[1][2], 5.0L);
  EXPECT_EQ(GammaTable[128], 0);
  CharTypes['A'] = typeOfA;

  GenLibEnd();  // the first of two: nothing is released yet
  EXPECT_EQ(AlphaTable, alphaTable);
  EXPECT_EQ(CacheDescriptorTable[8].Description, "spoilt");
  GenLibEnd();
  EXPECT_EQ(AlphaTable, nullptr);
  EXPECT_TRUE(CacheDescriptorTable[8].Description.empty());
  SelectBlendRoutines(false);
}
