#include "model/uDTest.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <string_view>
#include <utility>

#include "model/ZCodeFce.h"
#include "platform/convert.h"
#include "platform/cp1250.h"
#include "platform/errors.h"
#include "platform/files.h"
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

std::string AnswerLetter(size_t i) { return std::string(1, static_cast<char>('a' + i)); }

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

// Whether a flag or number line that begins so could still turn out to be
// one: blanks, a sign, then digits within range. (A flag's words are shorter
// than any line this is asked of.)
bool MayBeANumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
  int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
    if (value > int64_t{INT32_MAX} + 1) return false;
  }
  return true;
}

// The body's lines in order, read from the file only as far as they are
// taken, and unscrambled on the way; past the end every line reads as empty.
// A line ends at CR LF, and also at a lone CR or LF, as a file edited
// elsewhere may have.
class LineReader {
 public:
  // start: the body's first bytes, read with the header.
  LineReader(platform::FileReader& file, std::string_view start, bool scrambled)
      : file_(file), scrambled_(scrambled) {
    const unsigned long long size = file.Size();
    left_ = size > kHeaderSize + start.size() ? size - kHeaderSize - start.size() : 0;
    Append(start.data(), start.size());
  }

  std::string Next() { return Line(false); }

  // A flag or number line is read only as far as it can still be one; what
  // was read then fails to convert, quoted as the whole line would be.
  std::string NextValue() { return Line(true); }

  // At most the bytes still to come.
  unsigned long long BytesLeft() const { return buf_.size() - pos_ + left_; }

  std::string Text() { return Next(); }
  int32_t Number() { return platform::StrToInt(NextValue()); }
  bool Flag() { return platform::StrToBool(NextValue()); }

  // A count that sizes an array; a negative one cannot be a count.
  int32_t Count() {
    const std::string line = NextValue();
    const int32_t n = platform::StrToInt(line);
    if (n < 0) throw platform::EConvertError::NegativeCount(line);
    return n;
  }

  // The answers per question: a test window shows no more, and letters them a) to j).
  int32_t AnswerCount() {
    const std::string line = NextValue();
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
    const std::string line = NextValue();
    const int32_t n = platform::StrToInt(line);
    if (n > MaxTimeLimit) {
      throw platform::EConvertError("'" + platform::Quoted(line) + "' is not a valid time limit: " + of +
                                    " has at most " + std::to_string(MaxTimeLimit) + " " + unit);
    }
    return n;
  }

 private:
  static constexpr size_t kHeaderSize = 7;
  static constexpr size_t kPiece = 1 << 16;

  void Append(const char* data, size_t size) {
    const size_t at = buf_.size();
    buf_.append(data, size);
    if (scrambled_) UnscrambleAt(buf_.data() + at, size, ScrambleKey, position_);
    position_ += size;
  }

  // False at the end of the file.
  bool Fill() {
    if (eof_) return false;
    char piece[kPiece];
    const size_t n = file_.Read(piece, sizeof piece);
    if (n == 0) {
      eof_ = true;
      return false;
    }
    Append(piece, n);
    left_ -= std::min<unsigned long long>(left_, n);
    return true;
  }

  // The first CR or LF from `from` on, or npos; a search for each, the
  // second only as far as the first found.
  size_t FindBreak(size_t from) const {
    const char* begin = buf_.data() + from;
    size_t length = buf_.size() - from;
    const void* lf = std::memchr(begin, '\n', length);
    if (lf) length = static_cast<size_t>(static_cast<const char*>(lf) - begin);
    const void* at = std::memchr(begin, '\r', length);
    if (!at) at = lf;
    return at ? static_cast<size_t>(static_cast<const char*>(at) - buf_.data()) : std::string::npos;
  }

  // The line from pos_ to end, and the reading goes on at next. A long line
  // is handed over, not copied.
  std::string Take(size_t end, size_t next) {
    std::string line;
    if (pos_ == 0 && end > kPiece) {
      line = std::move(buf_);
      buf_.assign(line, std::min(next, line.size()));
      line.resize(end);
      pos_ = 0;
    } else {
      line = buf_.substr(pos_, end - pos_);
      pos_ = next;
    }
    return line;
  }

  std::string Line(bool value) {
    // What was taken goes, once it is the larger part.
    if (pos_ > kPiece && pos_ * 2 > buf_.size()) {
      buf_.erase(0, pos_);
      pos_ = 0;
    }
    size_t scan = pos_;
    // A long value line is looked at each time it has doubled, so the looking costs no more than the reading.
    size_t checkAt = platform::kQuotedMax + 1;
    for (;;) {
      const size_t end = FindBreak(scan);
      if (end != std::string::npos && (buf_[end] == '\n' || end + 1 < buf_.size() || eof_)) {
        return Take(end, end + (buf_.compare(end, 2, kLineEnd) == 0 ? 2 : 1));
      }
      if (value && end == std::string::npos && buf_.size() - pos_ >= checkAt) {
        if (!MayBeANumber(std::string_view(buf_).substr(pos_))) return Take(buf_.size(), buf_.size());
        checkAt = 2 * (buf_.size() - pos_);
      }
      if (end == std::string::npos && buf_.size() - pos_ > kPiece) {
        // A long line: it alone stays, with room for the rest of the file
        // where the system gives it, so it is not copied as it grows.
        if (pos_ > 0) {
          buf_.erase(0, pos_);
          pos_ = 0;
        }
        if (!reserved_) {
          reserved_ = true;
          try {
            buf_.reserve(buf_.size() + static_cast<size_t>(std::min<unsigned long long>(left_, SIZE_MAX / 4)));
          } catch (const std::exception&) {
          }
        }
      }
      // A CR last in the buffer may be the first half of a CR LF.
      scan = end != std::string::npos ? end : buf_.size();
      if (!Fill() && end == std::string::npos) return Take(buf_.size(), buf_.size());
    }
  }

  platform::FileReader& file_;
  bool scrambled_;
  std::string buf_;
  size_t pos_ = 0;
  unsigned long long position_ = 1;  // the body position of the next byte read
  unsigned long long left_ = 0;
  bool eof_ = false;
  bool reserved_ = false;
};

// Reads a whole body into a fresh record, so that a failure leaves the caller's
// record untouched. Questions are added as their lines are read, and memory is
// taken only for what the body holds: a count larger than the body can hold
// sizes nothing, and ends at the first missing flag or number line.
TDTest ParseBody(LineReader& in) {
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
  // Room for no more questions than the rest of the file can hold (a question
  // takes at least 4 + 3 x answers bytes) nor than it claims, so the list is
  // not copied as it grows; room that stays empty is never touched and so
  // costs no memory. Where the system gives no such room, the list grows.
  try {
    t.Questions.reserve(std::min<unsigned long long>({count, in.BytesLeft() / (4 + 3 * slots) + 1, 1ULL << 24}));
  } catch (const std::exception&) {
  }

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
  // The file is read as far as it is needed: one that cannot be a test is
  // refused at the first bytes that show it, however large it is.
  platform::FileReader file(path);
  std::string first(1 << 16, '\0');
  size_t got = 0;
  while (got < 7) {
    const size_t n = file.Read(first.data() + got, first.size() - got);
    if (n == 0) break;
    got += n;
  }
  first.resize(got);
  const std::string_view head(first);
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

  LineReader in(file, head.substr(7), scrambled);
  first = std::string();
  TDTest loaded = ParseBody(in);
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
