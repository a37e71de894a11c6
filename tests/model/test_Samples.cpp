// The files that ship or seed the fuzzer: each loads as a whole test, and
// SaveTest writes it back byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/TestSupport.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "model/uDTest.h"

namespace {

// Loads path, failing the test on a refused header; returns the record.
TDTest LoadOrFail(const std::string& path) {
  int refusals = 0;
  auto old = platform::SetMessageHandler([&](const std::string&, const std::string&) { ++refusals; });
  TDTest t;
  LoadTest(t, path);
  platform::SetMessageHandler(std::move(old));
  EXPECT_EQ(refusals, 0) << path;
  EXPECT_TRUE(t.Exists) << path;
  for (const TOtazky& q : t.Questions) {
    EXPECT_EQ(q.Answers.size(), static_cast<size_t>(t.AnswerCount)) << path;
    EXPECT_EQ(q.Correct.size(), static_cast<size_t>(t.AnswerCount)) << path;
  }
  return t;
}

}  // namespace

TEST(SeedCorpus, EveryFileIsAValidTestFileAsSaveTestWritesIt) {
  const std::string corpus = testsupport::SourceDir() + "fuzz/corpus/LoadTest";
  ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
  testsupport::TempDir dir;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    const std::string path = entry.path().string();
    TDTest t = LoadOrFail(path);
    SaveTest(t, dir.File("again.sst"));
    EXPECT_EQ(testsupport::ReadBytes(dir.File("again.sst")), testsupport::ReadBytes(path)) << path;
    ++files;
  }
  EXPECT_GE(files, 3);
}

TEST(SampleTest, IsCzechWithAtLeastFiveQuestionsAndAPictureBesideIt) {
  const std::string path = testsupport::BinDir() + "Testy/Ukazka.sst";
  TDTest t = LoadOrFail(path);
  EXPECT_FALSE(t.Scrambled);
  EXPECT_GE(QuestionCount(t), 5);
  EXPECT_GE(t.AnswerCount, 2);
  EXPECT_LE(t.AnswerCount, 10);
  EXPECT_NE(t.Name.find("\xE1"), std::string::npos);  // a Czech letter in code page 1250, not UTF-8
  int pictures = 0;
  for (const TOtazky& q : t.Questions) {
    EXPECT_FALSE(q.Text.empty());
    EXPECT_EQ(std::count(q.Correct.begin(), q.Correct.end(), true), 1) << q.Text;
    if (q.Picture.empty()) continue;
    ++pictures;
    EXPECT_EQ(q.Picture.front(), '/');
    ASSERT_TRUE(platform::FileExists(q.Picture)) << q.Picture;
    EXPECT_EQ(platform::ReadFileBytes(q.Picture)->substr(0, 3), "\xFF\xD8\xFF");  // a JPEG file
  }
  EXPECT_EQ(pictures, 1);
}
