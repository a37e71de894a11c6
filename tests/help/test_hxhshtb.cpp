#include <gtest/gtest.h>

#include <string>

#include "help/hxhshtb.h"

using help::ContextStringHash;

TEST(ContextStringHash, KnownValues) {
  EXPECT_EQ(ContextStringHash(""), 0);
  EXPECT_EQ(ContextStringHash("A"), 17);
  EXPECT_EQ(ContextStringHash("a"), 17);
  EXPECT_EQ(ContextStringHash("AB"), 749);
  EXPECT_EQ(ContextStringHash("ab"), 749);
  EXPECT_EQ(ContextStringHash("A.B"), 31967);
  // The product wraps in 32 bits without any error.
  EXPECT_EQ(ContextStringHash("fMenu.bInfo"), -1682995215);
}

TEST(ContextStringHash, CharactersThatShareAValue) {
  const char* pairs[][2] = {{"0", ":"}, {"!", "["}, {".", "\\"}, {"_", "]"}, {"@", "`"}};
  for (auto& p : pairs) EXPECT_EQ(ContextStringHash(p[0]), ContextStringHash(p[1])) << p[0];
  EXPECT_EQ(ContextStringHash("0"), 10);
  for (char c = 'A'; c <= 'Z'; ++c) {
    EXPECT_EQ(ContextStringHash(std::string(1, c)), ContextStringHash(std::string(1, c + 32)));
  }
}

TEST(ContextStringHash, EveryByteHasItsValue) {
  auto one = [](int c) { return ContextStringHash(std::string(1, static_cast<char>(c))); };
  EXPECT_EQ(one(0), 0);
  EXPECT_EQ(one(1), 209);
  EXPECT_EQ(one(31), 239);
  EXPECT_EQ(one(' '), -16);
  EXPECT_EQ(one('"'), -14);
  EXPECT_EQ(one('#'), 243);
  EXPECT_EQ(one('%'), 245);
  EXPECT_EQ(one('&'), -10);
  EXPECT_EQ(one(')'), -7);
  EXPECT_EQ(one('*'), 250);
  EXPECT_EQ(one('+'), 251);
  EXPECT_EQ(one(','), -4);
  EXPECT_EQ(one('-'), -3);
  EXPECT_EQ(one('/'), -1);
  EXPECT_EQ(one('9'), 9);
  EXPECT_EQ(one('?'), 15);
  EXPECT_EQ(one('Z'), 42);
  EXPECT_EQ(one('^'), 14);
  EXPECT_EQ(one('{'), 43);
  EXPECT_EQ(one(127), 47);
  EXPECT_EQ(one(128), -176);
  EXPECT_EQ(one(144), -160);
  EXPECT_EQ(one(145), 97);
  EXPECT_EQ(one(151), 103);
  EXPECT_EQ(one(152), -152);
  EXPECT_EQ(one(255), -49);
}

TEST(ContextStringHash, NulBytesCountAsCharacters) {
  // A zero byte adds nothing but still multiplies.
  EXPECT_EQ(ContextStringHash(std::string("A\0", 2)), 17 * 43);
  EXPECT_EQ(ContextStringHash(std::string(3, '\0')), 0);
}
