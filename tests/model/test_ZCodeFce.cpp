// Scrambling and whole-file reads and writes.
#include <gtest/gtest.h>

#include <random>

#include "support/TestSupport.h"
#include "model/ZCodeFce.h"
#include "platform/errors.h"
#include "model/uDTest.h"

using testsupport::TempDir;

TEST(Scrambling, EveryByteValueAtSeveralPositionsWrapsAndRoundTrips) {
  const std::string key = ScrambleKey;
  // Position p (from 1) is shifted by key character p mod 11.
  for (size_t p : {1u, 2u, 10u, 11u, 12u, 22u, 23u, 1000u}) {
    for (int v = 0; v < 256; ++v) {
      std::string data(p, 'a');
      data[p - 1] = static_cast<char>(v);
      const std::string scrambled = Scramble(data, key);
      ASSERT_EQ(scrambled.size(), p);
      const int want = (v + static_cast<unsigned char>(key[p % 11])) % 256;
      EXPECT_EQ(static_cast<unsigned char>(scrambled[p - 1]), want) << "p=" << p << " v=" << v;
      EXPECT_EQ(Unscramble(scrambled, key), data) << "p=" << p << " v=" << v;
    }
  }
}

TEST(Scrambling, TheFirstBytesAreShiftedFromTheKeysSecondCharacterOn) {
  // 1 + '4' = '5' ... the eleventh byte takes 'R', the twelfth '4' again.
  const std::string ones(12, '\x01');
  EXPECT_EQ(Scramble(ones, ScrambleKey), "5n9R3w8y6OS5");
  EXPECT_EQ(Unscramble("5n9R3w8y6OS5", ScrambleKey), ones);
  EXPECT_EQ(Scramble(std::string(1, '\xFF'), ScrambleKey), "3");                       // 255 + 52 wraps to 51
  EXPECT_EQ(Unscramble(std::string(1, '\x00'), ScrambleKey), std::string(1, '\xCC'));  // 0 - 52
}

TEST(Scrambling, RandomStringsAndOtherKeysRoundTrip) {
  std::mt19937 rng(7);
  for (const std::string& key : {std::string(ScrambleKey), std::string("k"), std::string("\xFF\x01\x80")}) {
    for (size_t len : {0u, 1u, 3u, 17u, 4096u}) {
      std::string data(len, '\0');
      for (char& c : data) c = static_cast<char>(rng());
      EXPECT_EQ(Unscramble(Scramble(data, key), key), data);
      EXPECT_EQ(Scramble(Unscramble(data, key), key), data);
    }
  }
  // A key of one character shifts every byte alike; no key changes nothing.
  EXPECT_EQ(Scramble("abc", "\x01"), "bcd");
  EXPECT_EQ(Scramble("abc", ""), "abc");
  EXPECT_EQ(Unscramble("abc", ""), "abc");
}

TEST(WholeFiles, ReadGivesTheBytesOrNothingForAMissingFile) {
  TempDir dir;
  const std::string bytes("C\0d\r\n\x80\xFF", 7);
  testsupport::WriteBytes(dir.File("x"), bytes);
  EXPECT_EQ(ReadWholeFile(dir.File("x")), bytes);
  EXPECT_EQ(ReadWholeFile(dir.File("missing")), "");
  EXPECT_THROW(ReadWholeFile(dir.Path()), platform::EInOutError);
}

TEST(WholeFiles, WriteCreatesOrReplacesTheWholeFile) {
  TempDir dir;
  const std::string path = dir.File("w");
  WriteWholeFile(path, std::string(5000, 'x'));
  const std::string bytes("\0\r\n\xFE", 4);
  WriteWholeFile(path, bytes);
  EXPECT_EQ(testsupport::ReadBytes(path), bytes);
  WriteWholeFile(path, "");
  EXPECT_EQ(testsupport::ReadBytes(path), "");
}
