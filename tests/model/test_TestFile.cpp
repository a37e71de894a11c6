// The test file: bytes written by hand against SaveTest and LoadTest, header
// refusals, flag and number lines, damaged bodies, scrambling and whole files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <utility>
#include <vector>

#include "support/TestDocument.h"
#include "support/TestSupport.h"
#include "model/ZCodeFce.h"
#include "platform/errors.h"
#include "platform/messages.h"
#include "model/uDTest.h"

using testsupport::ReadBytes;
using testsupport::TempDir;
using testsupport::WriteBytes;

namespace {

// The "Pokus" example: one question, two answers, graded by percent.
const std::string kPokusBody =
    "0\r\n"
    "\r\n"
    "-1\r\n"
    "0\r\n"
    "Pokus\r\n"
    "2\r\n"
    "0\r\n"
    "2\r\n"
    "90\r\n80\r\n60\r\n35\r\n"
    "30\r\n"
    "0\r\n"
    "1\r\n"
    "Kolik je 2+2?\r\n"
    "\r\n"
    "1\r\n"
    "4\r\n-1\r\n"
    "5\r\n0\r\n";

TDTest Pokus() {
  return TestDocument()
      .Name("Pokus")
      .Navigation(false, true)
      .Answers(2)
      .Grading(kGradingByPercent, 90, 80, 60, 35)
      .Times(30)
      .Question("Kolik je 2+2?", {"4", "5"}, {true, false});
}

// "Vybraný soubor nelze otevřít, chyba formátu." in code page 1250.
const std::string kShortMessage = "Vybran\xFD soubor nelze otev\xF8\xEDt, chyba form\xE1tu.";
const std::string kLongMessage =
    kShortMessage + " Pou\x9Eijte pros\xEDm program pro konverzi testu a pot\xE9 test otev\xF8\x65te znovu.";

// Captures the informing boxes raised while it lives.
class MessageCapture {
 public:
  MessageCapture() {
    old_ = platform::SetMessageHandler(
        [this](const std::string& caption, const std::string& text) { shown.emplace_back(caption, text); });
  }
  ~MessageCapture() { platform::SetMessageHandler(std::move(old_)); }
  std::vector<std::pair<std::string, std::string>> shown;

 private:
  platform::MessageHandler old_;
};

// A record that a load must not touch unless it succeeds.
TDTest Earlier() {
  TDTest t;
  t.Name = "Earlier";
  t.AnswerCount = 3;
  SetQuestionCount(t, 2);
  t.Questions[1].Text = "kept";
  t.Exists = true;
  t.Changed = true;
  t.FileName = "/earlier.sst";
  t.Scrambled = true;
  return t;
}

std::string ConvertErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const platform::EConvertError& e) {
    return e.what();
  }
  return "no error";
}

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

// Loads a plain body from bytes; returns the conversion message or "".
std::string LoadBody(TDTest& test, const std::string& body) {
  TempDir dir;
  WriteBytes(dir.File("t.sst"), "CodN002" + body);
  const std::string error = ConvertErrorOf([&] { LoadTest(test, dir.File("t.sst")); });
  return error == "no error" ? "" : error;
}

// The Pokus body with line `index` (0-based) replaced.
std::string PokusWithLine(size_t index, const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = kPokusBody.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(kPokusBody.substr(start, end - start));
  }
  lines.at(index) = text;
  std::string out;
  for (const auto& l : lines) out += l + "\r\n";
  return out;
}

}  // namespace

TEST(TestFileFormat, SavesThePokusExampleByteForByte) {
  TempDir dir;
  TDTest t = Pokus();
  t.Changed = true;
  SaveTest(t, dir.File("pokus.sst"));
  EXPECT_EQ(ReadBytes(dir.File("pokus.sst")), "CodN002" + kPokusBody);
  EXPECT_TRUE(t.Exists);
  EXPECT_EQ(t.FileName, dir.File("pokus.sst"));
  EXPECT_TRUE(t.Changed);  // the main menu clears it
}

TEST(TestFileFormat, LoadsThePokusExampleFromHandWrittenBytes) {
  TempDir dir;
  WriteBytes(dir.File("pokus.sst"), "CodN002" + kPokusBody);
  MessageCapture messages;
  TDTest t = Earlier();
  LoadTest(t, dir.File("pokus.sst"));
  TDTest expected = Pokus();
  expected.Exists = true;
  expected.FileName = dir.File("pokus.sst");
  EXPECT_EQ(t, expected);
  EXPECT_TRUE(messages.shown.empty());
  // Loading never writes the file.
  EXPECT_EQ(ReadBytes(dir.File("pokus.sst")), "CodN002" + kPokusBody);
}

TEST(TestFileFormat, ScrambledSaveShiftsEveryBodyByteByTheKey) {
  TempDir dir;
  TDTest t = Pokus();
  t.Scrambled = true;
  SaveTest(t, dir.File("a.sst"));
  const std::string bytes = ReadBytes(dir.File("a.sst"));
  // "0" CR LF CR LF "-1" CR LF "0" CR LF shifted by "4m8Q2v7x5N" and then "R4".
  EXPECT_EQ(bytes.substr(0, 19), std::string("CodA002") + "dzB^<\xA3h\x85?~_>");
  EXPECT_EQ(Unscramble(bytes.substr(7), ScrambleKey), kPokusBody);

  TDTest loaded;
  LoadTest(loaded, dir.File("a.sst"));
  EXPECT_TRUE(loaded.Scrambled);
  loaded.Scrambled = false;
  TDTest expected = Pokus();
  expected.Exists = true;
  expected.FileName = dir.File("a.sst");
  EXPECT_EQ(loaded, expected);
}

TEST(TestFileFormat, PlainAndScrambledSavesDifferOnlyInTagAndBody) {
  TempDir dir;
  TDTest t = Pokus();
  SaveTest(t, dir.File("n.sst"));
  t.Scrambled = true;
  SaveTest(t, dir.File("a.sst"));
  const std::string plain = ReadBytes(dir.File("n.sst"));
  const std::string scrambled = ReadBytes(dir.File("a.sst"));
  ASSERT_EQ(plain.size(), scrambled.size());
  EXPECT_EQ(plain.substr(0, 3), scrambled.substr(0, 3));
  EXPECT_EQ(plain[3], 'N');
  EXPECT_EQ(scrambled[3], 'A');
  EXPECT_EQ(plain.substr(4, 3), scrambled.substr(4, 3));
  for (size_t i = 7; i < plain.size(); ++i) EXPECT_NE(plain[i], scrambled[i]) << i;
}

TEST(TestFileFormat, EveryFieldRoundTrips) {
  TempDir dir;
  TDTest t = TestDocument()
                 .Password("tajn\xE9 heslo")  // code page 1250 bytes stay as they are
                 .Navigation(true, false)
                 .Name("\x8A\x8D\x8E\x9A\x9D\x9E \xC8\xE8 \x80\xFF")
                 .Answers(10, true)
                 .Grading(kGradingByPoints, -2147483647 - 1, 2147483647, -5, 0)
                 .Times(600, 45);
  SetQuestionCount(t, 3);
  t.Questions[0].Text = "Prvn\xED ot\xE1zka";
  t.Questions[0].Picture = "/home/u\xE8itel/obr\xE1zek.jpg";
  t.Questions[0].Points = 7;
  t.Questions[0].Answers[9] = "posledn\xED";
  t.Questions[0].Correct[9] = true;
  t.Questions[2].Correct = std::vector<bool>(10, true);
  // The second question stays empty: empty lines that load back as "".

  for (bool scrambled : {false, true}) {
    t.Scrambled = scrambled;
    SaveTest(t, dir.File("all.sst"));
    TDTest loaded;
    LoadTest(loaded, dir.File("all.sst"));
    TDTest expected = t;
    expected.Changed = false;
    EXPECT_EQ(loaded, expected) << scrambled;
  }
}

TEST(TestFileFormat, TestWithoutQuestionsEndsAtTheCountLine) {
  TempDir dir;
  TDTest t = Pokus();
  SetQuestionCount(t, 0);
  SaveTest(t, dir.File("z.sst"));
  const std::string bytes = ReadBytes(dir.File("z.sst"));
  EXPECT_EQ(bytes, "CodN0020\r\n\r\n-1\r\n0\r\nPokus\r\n2\r\n0\r\n2\r\n90\r\n80\r\n60\r\n35\r\n30\r\n0\r\n0\r\n");
  TDTest loaded = Earlier();
  LoadTest(loaded, dir.File("z.sst"));
  EXPECT_EQ(QuestionCount(loaded), 0);
  EXPECT_EQ(loaded.AnswerCount, 2);
}

TEST(TestFileFormat, LineBreaksInTextsCannotShiftTheLines) {
  TempDir dir;
  TDTest t = Pokus();
  t.Name = "dva\r\n\xF8\xE1\x64ky";
  t.Questions[0].Answers[1] = "a\nb\rc";
  SaveTest(t, dir.File("b.sst"));
  TDTest loaded;
  LoadTest(loaded, dir.File("b.sst"));
  EXPECT_EQ(loaded.Name, "dva  \xF8\xE1\x64ky");
  EXPECT_EQ(loaded.Questions[0].Answers[1], "a b c");
  EXPECT_EQ(loaded.Questions[0].Correct, (std::vector<bool>{true, false}));
}

TEST(TestFileFormat, AnswerArraysOutOfStepStillSaveAFullBlock) {
  TempDir dir;
  TDTest t = Pokus();
  t.Questions[0].Answers.pop_back();
  t.Questions[0].Correct.clear();
  SaveTest(t, dir.File("c.sst"));
  TDTest loaded;
  LoadTest(loaded, dir.File("c.sst"));
  EXPECT_EQ(loaded.Questions[0].Answers, (std::vector<std::string>{"4", ""}));
  EXPECT_EQ(loaded.Questions[0].Correct, (std::vector<bool>{false, false}));
}

TEST(TestFileHeader, RefusalsShowTheFixedMessageAndKeepTheRecord) {
  TempDir dir;
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"CodeN002" + kPokusBody, kLongMessage},
      {"CodeA002" + kPokusBody, kLongMessage},
      {"CodeN", kLongMessage},
      {"CodN003" + kPokusBody, kLongMessage},
      {"CodA001" + kPokusBody, kLongMessage},
      {"CodN02", kLongMessage},
      {"CodA", kLongMessage},
      {"codn002" + kPokusBody, kShortMessage},
      {"CODA002" + kPokusBody, kShortMessage},
      {"Code", kShortMessage},
      {"Cod", kShortMessage},
      {"", kShortMessage},
      {std::string(4, '\0') + "002", kShortMessage},
      {kPokusBody, kShortMessage},
  };
  for (const auto& [content, message] : cases) {
    WriteBytes(dir.File("h.sst"), content);
    MessageCapture messages;
    TDTest t = Earlier();
    LoadTest(t, dir.File("h.sst"));
    EXPECT_EQ(t, Earlier()) << content.substr(0, 8);
    ASSERT_EQ(messages.shown.size(), 1u) << content.substr(0, 8);
    EXPECT_EQ(messages.shown[0].first, "Chyba...");
    EXPECT_EQ(messages.shown[0].second, message) << content.substr(0, 8);
  }

  MessageCapture messages;
  TDTest t = Earlier();
  LoadTest(t, dir.File("no such file.sst"));
  EXPECT_EQ(t, Earlier());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].second, kShortMessage);
}

TEST(TestFileHeader, AnAcceptedHeaderWithAnEmptyBodyFailsAtTheFirstFlag) {
  TDTest t = Earlier();
  EXPECT_EQ(LoadBody(t, ""), "'' is not a valid boolean value");
  EXPECT_EQ(t, Earlier());
}

TEST(TestFileLines, FlagLinesReadNumbersAndTrueOrFalseInAnyCapitals) {
  const std::vector<std::pair<std::string, bool>> flags = {
      {"-1", true}, {"1", true},   {"7", true},      {"True", true},   {"tRUE", true},
      {"0", false}, {"-0", false}, {"False", false}, {"fALSe", false}, {"00", false}};
  for (const auto& [text, value] : flags) {
    TDTest t;
    // Line 3 is ShowCorrectAnswers, line 7 MultipleCorrect, line 20 the first answer's flag.
    ASSERT_EQ(LoadBody(t, PokusWithLine(2, text)), "") << text;
    EXPECT_EQ(t.ShowCorrectAnswers, value) << text;
    ASSERT_EQ(LoadBody(t, PokusWithLine(6, text)), "") << text;
    EXPECT_EQ(t.MultipleCorrect, value) << text;
    ASSERT_EQ(LoadBody(t, PokusWithLine(19, text)), "") << text;
    EXPECT_EQ(t.Questions[0].Correct[0], value) << text;
  }
  for (const std::string bad : {"Ano", "ano", "Truee", "T", "yes", "-1x", "1.5", " "}) {
    for (size_t line : {0u, 2u, 3u, 6u, 19u, 21u}) {
      TDTest t = Earlier();
      EXPECT_EQ(LoadBody(t, PokusWithLine(line, bad)), "'" + bad + "' is not a valid boolean value")
          << bad << " at " << line;
      EXPECT_EQ(t, Earlier());
    }
  }
}

TEST(TestFileLines, NumberLinesReadSignedDecimalsOnly) {
  TDTest t;
  ASSERT_EQ(LoadBody(t, PokusWithLine(8, "-5")), "");
  EXPECT_EQ(t.Limit1, -5);
  ASSERT_EQ(LoadBody(t, PokusWithLine(11, "2147483647")), "");
  EXPECT_EQ(t.Limit4, 2147483647);
  ASSERT_EQ(LoadBody(t, PokusWithLine(17, "-2147483648")), "");
  EXPECT_EQ(t.Questions[0].Points, -2147483648LL);

  for (const std::string bad : {"5a", "a5", "", "2147483648", "1e3", "--1", "0x10", "5 "}) {
    for (size_t line : {5u, 7u, 8u, 11u, 12u, 13u, 14u, 17u}) {
      t = Earlier();
      EXPECT_EQ(LoadBody(t, PokusWithLine(line, bad)), "'" + bad + "' is not a valid integer value")
          << bad << " at " << line;
      EXPECT_EQ(t, Earlier());
    }
  }
}

TEST(TestFileLines, NegativeCountsAreRefusedAsNegative) {
  for (size_t line : {5u, 14u}) {
    TDTest t = Earlier();
    EXPECT_EQ(LoadBody(t, PokusWithLine(line, "-5")), "'-5' is not a valid count: a count may not be negative") << line;
    EXPECT_EQ(t, Earlier());
  }
}

TEST(TestFileLines, CountsAndLimitsTheScreensCannotServeAreRefusedNamingTheLine) {
  // A test has 2 to 10 answers per question, and its countdowns show four digits.
  const struct {
    size_t line;
    std::string text;
    std::string message;
  } refused[] = {
      {5, "1", "'1' is not a valid answer count: a question has 2 to 10 answers"},
      {5, "0", "'0' is not a valid answer count: a question has 2 to 10 answers"},
      {5, "11", "'11' is not a valid answer count: a question has 2 to 10 answers"},
      {5, "5000", "'5000' is not a valid answer count: a question has 2 to 10 answers"},
      {12, "10000", "'10000' is not a valid time limit: a question has at most 9999 seconds"},
      {13, "40000000", "'40000000' is not a valid time limit: a test has at most 9999 minutes"},
      {13, "2147483647", "'2147483647' is not a valid time limit: a test has at most 9999 minutes"},
  };
  for (const auto& r : refused) {
    TDTest t = Earlier();
    EXPECT_EQ(LoadBody(t, PokusWithLine(r.line, r.text)), r.message) << r.line << " " << r.text;
    EXPECT_EQ(t, Earlier());
  }
  TDTest t;
  ASSERT_EQ(LoadBody(t, PokusWithLine(12, "9999")), "");
  ASSERT_EQ(LoadBody(t, PokusWithLine(13, "9999")), "");
  EXPECT_EQ(t.TestTimeLimit, 9999);
  // No limit, however it is written, stays no limit.
  ASSERT_EQ(LoadBody(t, PokusWithLine(13, "-40000000")), "");
  EXPECT_EQ(t.TestTimeLimit, -40000000);
}

TEST(TestFileLines, MessagesQuoteAtMostEightyCharactersOfALine) {
  // A body that is one line of ten million digits.
  TDTest t = Earlier();
  const std::string message = LoadBody(t, std::string(10'000'000, '7'));
  EXPECT_EQ(message, "'" + std::string(80, '7') + "\x85' is not a valid boolean value");
  EXPECT_EQ(t, Earlier());
  const std::string count = LoadBody(t, PokusWithLine(14, "-" + std::string(200, '1')));
  EXPECT_EQ(count, "'-" + std::string(79, '1') + "\x85' is not a valid integer value");
  // Eighty characters are quoted whole.
  EXPECT_EQ(LoadBody(t, PokusWithLine(14, std::string(80, 'x'))),
            "'" + std::string(80, 'x') + "' is not a valid integer value");
}

TEST(TestFileLines, UnprintableBytesAreQuotedVisiblyWithinTheEightyCharacters) {
  TDTest t = Earlier();
  EXPECT_EQ(LoadBody(t, PokusWithLine(0, std::string("a\0b\x01\t\x7F\x98", 7))),
            "'a\\0b\\x01\\t\\x7F\\x98' is not a valid boolean value");
  EXPECT_EQ(LoadBody(t, PokusWithLine(7, std::string(100, '\0'))),
            "'" + Repeat("\\0", 40) + "\x85' is not a valid integer value");
  // Letters of the code page stay as they are.
  EXPECT_EQ(LoadBody(t, PokusWithLine(0, "\xE8\xED")), "'\xE8\xED' is not a valid boolean value");
  EXPECT_EQ(t, Earlier());
}

TEST(TestFileLoad, AFileIsRefusedAsSoonAsItCannotBeATest) {
  // Files of a terabyte that hold nothing after their first bytes: read whole,
  // none would ever be refused.
  TempDir dir;
  const auto huge = [&](const std::string& name, const std::string& head) {
    const std::string path = dir.File(name);
    WriteBytes(path, head);
    EXPECT_EQ(::truncate(path.c_str(), 1LL << 40), 0);
    return path;
  };
  std::vector<std::string> shown;
  const auto previous =
      platform::SetMessageHandler([&](const std::string&, const std::string& text) { shown.push_back(text); });
  TDTest t = Earlier();
  LoadTest(t, huge("none.sst", "PK\x03\x04"));
  platform::SetMessageHandler(previous);
  EXPECT_EQ(shown.size(), 1u);

  EXPECT_EQ(ConvertErrorOf([&] { LoadTest(t, huge("flag.sst", "CodN002x")); }),
            "'x" + Repeat("\\0", 39) + "\x85' is not a valid boolean value");
  EXPECT_NE(ConvertErrorOf([&] { LoadTest(t, huge("scrambled.sst", "CodA002")); }), "no error");
  EXPECT_EQ(ConvertErrorOf([&] { LoadTest(t, huge("count.sst", std::string("CodN0020\r\n\r\n0\r\n0\r\nx\r\n"))); }),
            "'" + Repeat("\\0", 40) + "\x85' is not a valid integer value");
  EXPECT_EQ(t, Earlier());
}

TEST(TestFileLines, TruncatedBodiesEndInTheConversionErrorAndKeepTheRecord) {
  // Cut after each line: the next flag or number line reads as empty.
  size_t cut = 0;
  int failures = 0;
  while ((cut = kPokusBody.find("\r\n", cut)) != std::string::npos) {
    cut += 2;
    if (cut == kPokusBody.size()) break;
    TDTest t = Earlier();
    const std::string error = LoadBody(t, kPokusBody.substr(0, cut));
    EXPECT_TRUE(error == "'' is not a valid boolean value" || error == "'' is not a valid integer value")
        << cut << ": " << error;
    EXPECT_EQ(t, Earlier()) << cut;
    ++failures;
  }
  EXPECT_EQ(failures, 21);

  // Counts far beyond what the body holds, with the questions it does hold.
  for (const std::string count : {"2", "1000", "2147483647"}) {
    TDTest t = Earlier();
    EXPECT_EQ(LoadBody(t, PokusWithLine(14, count)), "'' is not a valid integer value") << count;
    EXPECT_EQ(t, Earlier());
  }
  for (const std::string answers : {"3", "10"}) {
    TDTest t = Earlier();
    EXPECT_EQ(LoadBody(t, PokusWithLine(5, answers)), "'' is not a valid boolean value") << answers;
    EXPECT_EQ(t, Earlier());
  }
}

TEST(TestFileLines, TheLastLineMayLackItsLineEnd) {
  TDTest t;
  EXPECT_EQ(LoadBody(t, kPokusBody.substr(0, kPokusBody.size() - 2)), "");
  EXPECT_EQ(t.Questions[0].Correct, (std::vector<bool>{true, false}));
}

TEST(TestFileLines, LinesAfterTheLastQuestionAreIgnored) {
  TDTest t;
  ASSERT_EQ(LoadBody(t, kPokusBody + "navic\r\n-1\r\n\r\nnesmysl"), "");
  TDTest expected = Pokus();
  expected.Exists = true;
  expected.FileName = t.FileName;
  EXPECT_EQ(t, expected);
}

TEST(TestFileLines, LoneLineFeedsAndCarriageReturnsEndLinesToo) {
  std::string lf = kPokusBody;
  for (size_t at; (at = lf.find("\r\n")) != std::string::npos;) lf.erase(at, 1);
  TDTest t;
  ASSERT_EQ(LoadBody(t, lf), "");
  EXPECT_EQ(t.Questions, Pokus().Questions);
  EXPECT_EQ(t.Name, "Pokus");

  std::string cr = kPokusBody;
  for (size_t at; (at = cr.find("\r\n")) != std::string::npos;) cr.erase(at + 1, 1);
  ASSERT_EQ(LoadBody(t, cr), "");
  EXPECT_EQ(t.Questions, Pokus().Questions);
}

TEST(TestFileLines, AFailedLoadKeepsChangedAsItWas) {
  for (bool changed : {false, true}) {
    TDTest t = Earlier();
    t.Changed = changed;
    EXPECT_NE(LoadBody(t, PokusWithLine(19, "x")), "");
    EXPECT_EQ(t.Changed, changed);
  }
}

TEST(TestFileSave, AFailedWriteKeepsTheOldFileAndRaises) {
  TempDir dir;
  const std::string path = dir.File("t.sst");
  TDTest t = Pokus();
  SaveTest(t, path);
  ::chmod(path.c_str(), 0444);
  t.Name = "Zm\xECn\xECno";
  t.Changed = true;
  EXPECT_THROW(SaveTest(t, path), platform::EInOutError);
  EXPECT_EQ(ReadBytes(path), "CodN002" + kPokusBody);
  EXPECT_TRUE(t.Changed);
  EXPECT_THROW(SaveTest(t, dir.File("no such folder/t.sst")), platform::EInOutError);
}

TEST(TestFileSave, AnExistingFileIsReplacedWhole) {
  TempDir dir;
  const std::string path = dir.File("t.sst");
  WriteBytes(path, std::string(10000, 'x'));
  TDTest t = Pokus();
  SaveTest(t, path);
  EXPECT_EQ(ReadBytes(path), "CodN002" + kPokusBody);
}

TEST(TestFileLoad, AFolderInPlaceOfTheFileIsAnInputError) {
  TempDir dir;
  MessageCapture messages;
  TDTest t = Earlier();
  EXPECT_THROW(LoadTest(t, dir.Path()), platform::EInOutError);
  EXPECT_EQ(t, Earlier());
  EXPECT_TRUE(messages.shown.empty());
}
