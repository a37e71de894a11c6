#include "model/uDTest.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <string_view>
#include <utility>

#include "model/ZCodeFce.h"
#include "platform/convert.h"
#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/messages.h"

TDTest CurrentTest;
TDTest RunTest;
int32_t RunQuestionCount = 0;
bool ShuffleQuestions = false;
bool ShuffleAnswers = false;
std::string EnteredPassword;

namespace {

size_t AnswerSlots(const TDTest& test) { return static_cast<size_t>(std::max<int32_t>(test.AnswerCount, 0)); }

TOtazky EmptyQuestion(const TDTest& test, int32_t points) {
  TOtazky q;
  q.Points = points;
  q.Answers.assign(AnswerSlots(test), std::string());
  q.Correct.assign(AnswerSlots(test), false);
  return q;
}

bool IsQuestionIndex(const TDTest& test, int32_t index) { return index >= 0 && index < QuestionCount(test); }

}  // namespace

int32_t QuestionCount(const TDTest& test) { return static_cast<int32_t>(test.Questions.size()); }

void SetQuestionCount(TDTest& test, int32_t n) {
  test.Questions.resize(static_cast<size_t>(std::max<int32_t>(n, 0)));
  ResizeAnswers(test);
}

void ResizeAnswers(TDTest& test) {
  const size_t slots = AnswerSlots(test);
  for (TOtazky& q : test.Questions) {
    q.Answers.resize(slots);
    q.Correct.resize(slots, false);
  }
}

void AppendQuestion(TDTest& test) { test.Questions.push_back(EmptyQuestion(test, 0)); }

void InsertQuestion(TDTest& test, int32_t index) {
  if (!IsQuestionIndex(test, index)) return;
  // The empty question keeps the points of the slot it takes over, that is of
  // the question that moves down from there.
  const int32_t points = test.Questions[static_cast<size_t>(index)].Points;
  test.Questions.insert(test.Questions.begin() + index, EmptyQuestion(test, points));
}

void DeleteQuestion(TDTest& test, int32_t index) {
  if (!IsQuestionIndex(test, index)) return;
  test.Questions.erase(test.Questions.begin() + index);
  ResizeAnswers(test);
}

void NewTest() {
  TDTest& t = CurrentTest;
  t.Name.clear();
  t.MultipleCorrect = false;
  t.QuestionTimeLimit = 30;
  t.Exists = true;
  t.Changed = true;
  t.FileName.clear();
  t.Scrambled = false;
  t.PasswordRequired = false;
  t.EditPassword.clear();
  t.ShowCorrectAnswers = true;
  if (t.Questions.empty()) return;  // the properties screen always sets one question first
  t.Questions.front() = EmptyQuestion(t, 1);
}

void PrepareRun(int32_t n, bool shuffleQuestions, bool shuffleAnswers) {
  // Reseeded on every call so that each run and each printed variant draws afresh;
  // the counter keeps two calls within one clock tick apart.
  static uint64_t calls = 0;
  const auto now = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{static_cast<uint32_t>(now), static_cast<uint32_t>(now >> 32), static_cast<uint32_t>(++calls)};
  std::mt19937 rng(seed);
  auto draw = [&rng](size_t left) { return std::uniform_int_distribution<size_t>(0, left - 1)(rng); };

  const TDTest& source = CurrentTest;
  if (n < 0 || n > QuestionCount(source)) return;
  const auto count = static_cast<size_t>(n);

  RunTest.Name = source.Name;
  RunTest.AnswerCount = source.AnswerCount;
  RunTest.MultipleCorrect = source.MultipleCorrect;
  RunTest.QuestionTimeLimit = source.QuestionTimeLimit;
  SetQuestionCount(RunTest, n);

  if (shuffleQuestions) {
    std::vector<size_t> pool(source.Questions.size());
    for (size_t i = 0; i < pool.size(); ++i) pool[i] = i;
    size_t left = pool.size();
    for (size_t k = 0; k < count; ++k) {
      const size_t r = draw(left);
      RunTest.Questions[k] = source.Questions[pool[r]];
      pool[r] = pool[--left];
    }
  } else {
    std::copy_n(source.Questions.begin(), count, RunTest.Questions.begin());
  }
  ResizeAnswers(RunTest);

  if (!shuffleAnswers) return;
  // Positions are drawn without repetition and exchanged with position j as
  // the answers stand at that moment; an answer and its flag move together.
  const size_t slots = AnswerSlots(RunTest);
  std::vector<size_t> pool(slots);
  for (TOtazky& q : RunTest.Questions) {
    for (size_t i = 0; i < slots; ++i) pool[i] = i;
    size_t left = slots;
    for (size_t j = 0; j < slots; ++j) {
      const size_t r = draw(left);
      const size_t g = pool[r];
      std::swap(q.Answers[j], q.Answers[g]);
      std::vector<bool>::swap(q.Correct[j], q.Correct[g]);
      pool[r] = pool[--left];
    }
  }
}

// ---- The test file ----

namespace {

const char kPlainTag[] = "CodN";
const char kScrambledTag[] = "CodA";
const char kLineEnd[] = "\r\n";

// The body's lines in order; past the end every line reads as empty. A line
// ends at CR LF, and also at a lone CR or LF, as a file edited elsewhere may have.
class LineReader {
 public:
  explicit LineReader(std::string_view body) : rest_(body) {}

  std::string_view Next() {
    const size_t end = rest_.find_first_of("\r\n");
    if (end == std::string_view::npos) {
      const std::string_view line = rest_;
      rest_ = {};
      return line;
    }
    const std::string_view line = rest_.substr(0, end);
    const size_t skip = rest_.compare(end, 2, kLineEnd) == 0 ? 2 : 1;
    rest_.remove_prefix(end + skip);
    return line;
  }

  // The lines left, the last one counted even without its line end.
  size_t LinesLeft() const {
    size_t lines = 0;
    for (size_t i = 0; i < rest_.size(); ++i)
      if (rest_[i] == '\n' || (rest_[i] == '\r' && (i + 1 == rest_.size() || rest_[i + 1] != '\n'))) ++lines;
    return lines + (!rest_.empty() && rest_.back() != '\n' && rest_.back() != '\r');
  }

  std::string Text() { return std::string(Next()); }
  int32_t Number() { return platform::StrToInt(std::string(Next())); }
  bool Flag() { return platform::StrToBool(std::string(Next())); }

  // A count that sizes an array; a negative one cannot be a count.
  int32_t Count() {
    const std::string line(Next());
    const int32_t n = platform::StrToInt(line);
    if (n < 0) throw platform::EConvertError::NegativeCount(line);
    return n;
  }

  // The answers per question: a test window shows no more, and letters them a) to j).
  int32_t AnswerCount() {
    const std::string line(Next());
    const int32_t n = platform::StrToInt(line);
    if (n < 0) throw platform::EConvertError::NegativeCount(line);
    if (n < MinAnswerCount || n > MaxAnswerCount) {
      throw platform::EConvertError("'" + platform::Quoted(line) + "' is not a valid answer count: a question has " +
                                    std::to_string(MinAnswerCount) + " to " + std::to_string(MaxAnswerCount) +
                                    " answers");
    }
    return n;
  }

  // A time limit the countdown can show; what is no limit stays as it is.
  int32_t TimeLimit(const char* of, const char* unit) {
    const std::string line(Next());
    const int32_t n = platform::StrToInt(line);
    if (n > MaxTimeLimit) {
      throw platform::EConvertError("'" + platform::Quoted(line) + "' is not a valid time limit: " + of +
                                    " has at most " + std::to_string(MaxTimeLimit) + " " + unit);
    }
    return n;
  }

 private:
  std::string_view rest_;
};

// Reads a whole body into a fresh record, so that a failure leaves the caller's
// record untouched. Questions are added as their lines are read, and memory is
// taken only for what the body holds: a count larger than the body can hold
// sizes nothing, and ends at the first missing flag or number line.
TDTest ParseBody(std::string_view body) {
  LineReader in(body);
  TDTest t;
  t.PasswordRequired = in.Flag();
  t.EditPassword = in.Text();
  t.ShowCorrectAnswers = in.Flag();
  t.FreeNavigation = in.Flag();
  t.Name = in.Text();
  t.AnswerCount = in.AnswerCount();
  t.MultipleCorrect = in.Flag();
  t.GradingMode = in.Number();
  t.Limit1 = in.Number();
  t.Limit2 = in.Number();
  t.Limit3 = in.Number();
  t.Limit4 = in.Number();
  t.QuestionTimeLimit = in.TimeLimit("a question", "seconds");
  t.TestTimeLimit = in.TimeLimit("a test", "minutes");
  const auto count = static_cast<size_t>(in.Count());
  const auto slots = static_cast<size_t>(t.AnswerCount);
  // The questions the body really holds, never more than it claims: the list
  // is taken once, without the slack and the copies of growing it.
  t.Questions.reserve(std::min(count, in.LinesLeft() / (3 + 2 * slots)));

  for (size_t i = 0; i < count; ++i) {
    TOtazky q;
    q.Text = in.Text();
    q.Picture = in.Text();
    q.Points = in.Number();
    // Sized for the answers the editing screens allow; more grow as they are read.
    q.Answers.reserve(std::min<size_t>(slots, 10));
    q.Correct.reserve(std::min<size_t>(slots, 10));
    for (size_t j = 0; j < slots; ++j) {
      q.Answers.push_back(in.Text());
      q.Correct.push_back(in.Flag());
    }
    t.Questions.push_back(std::move(q));
  }
  return t;
}

// A text is one line: a line break in it would shift every line after it.
void AppendText(std::string& out, const std::string& text) {
  const size_t start = out.size();
  out += text;
  std::replace_if(
      out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  out += kLineEnd;
}

void AppendNumber(std::string& out, int32_t value) {
  out += platform::IntToStr(value);
  out += kLineEnd;
}

void AppendFlag(std::string& out, bool value) {
  out += value ? "-1" : "0";
  out += kLineEnd;
}

std::string ComposeBody(const TDTest& t) {
  std::string out;
  AppendFlag(out, t.PasswordRequired);
  AppendText(out, t.EditPassword);
  AppendFlag(out, t.ShowCorrectAnswers);
  AppendFlag(out, t.FreeNavigation);
  AppendText(out, t.Name);
  AppendNumber(out, t.AnswerCount);
  AppendFlag(out, t.MultipleCorrect);
  AppendNumber(out, t.GradingMode);
  AppendNumber(out, t.Limit1);
  AppendNumber(out, t.Limit2);
  AppendNumber(out, t.Limit3);
  AppendNumber(out, t.Limit4);
  AppendNumber(out, t.QuestionTimeLimit);
  AppendNumber(out, t.TestTimeLimit);
  AppendNumber(out, QuestionCount(t));
  // Exactly AnswerCount answers per question, so the file always reads back.
  const size_t slots = AnswerSlots(t);
  for (const TOtazky& q : t.Questions) {
    AppendText(out, q.Text);
    AppendText(out, q.Picture);
    AppendNumber(out, q.Points);
    for (size_t j = 0; j < slots; ++j) {
      AppendText(out, j < q.Answers.size() ? q.Answers[j] : std::string());
      AppendFlag(out, j < q.Correct.size() && q.Correct[j]);
    }
  }
  return out;
}

void ShowFormatError(const char* utf8Text) {
  platform::ShowMessage(platform::Utf8ToCp1250("Chyba..."), platform::Utf8ToCp1250(utf8Text));
}

}  // namespace

void LoadTest(TDTest& test, const std::string& path) {
  std::string content = ReadWholeFile(path);
  const std::string_view head(content);
  const std::string_view tag = head.substr(0, 4);
  const bool scrambled = tag == kScrambledTag;

  if (head.substr(0, 5) == "CodeA" || head.substr(0, 5) == "CodeN" ||
      ((scrambled || tag == kPlainTag) && head.substr(4, 3) != FormatVersion)) {
    ShowFormatError(
        "Vybraný soubor nelze otevřít, chyba formátu. Použijte prosím program pro konverzi testu "
        "a poté test otevřete znovu.");
    return;
  }
  if (!scrambled && tag != kPlainTag) {
    ShowFormatError("Vybraný soubor nelze otevřít, chyba formátu.");
    return;
  }

  // The body is read where it lies, unscrambled in a copy that replaces the file's bytes.
  content.erase(0, 7);
  if (scrambled) content = Unscramble(content, ScrambleKey);
  TDTest loaded = ParseBody(content);
  loaded.Scrambled = scrambled;
  loaded.Exists = true;
  loaded.FileName = path;
  loaded.Changed = false;
  test = std::move(loaded);
}

void SaveTest(TDTest& test, const std::string& path) {
  const std::string body = ComposeBody(test);
  test.Exists = true;
  test.FileName = path;
  if (test.Scrambled) {
    WriteWholeFile(path, std::string(kScrambledTag) + FormatVersion + Scramble(body, ScrambleKey));
  } else {
    WriteWholeFile(path, std::string(kPlainTag) + FormatVersion + body);
  }
}
