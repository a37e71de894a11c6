#pragma once
// The test document: one test with its questions, the two process-wide tests
// (the one being edited and the run copy), the run parameters, and the
// operations on the question array. The screens read and write the fields
// directly and call these operations for every change of the question array.
// Text is code page 1250 throughout.
//
// Invariant: every question's Answers and Correct have exactly AnswerCount
// entries. None of the operations sets or clears Changed; the screens do.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One question.
struct TOtazky {
  std::string Text;
  std::string Picture;  // full path of a picture file; empty for none
  int32_t Points = 0;
  std::vector<std::string> Answers;
  std::vector<bool> Correct;  // parallel to Answers

  bool operator==(const TOtazky&) const = default;
};

// The letter of answer slot i, counting from 0: "a", "b", "c", ... The
// letters follow the order in which the answers stand, shuffled or not.
std::string AnswerLetter(size_t i);

// The grading modes. The test stores the mode as a plain integer (as the
// test file does), so a hand-made file may hold any other value.
constexpr int32_t kGradingByErrors = 0;
constexpr int32_t kGradingByPoints = 1;
constexpr int32_t kGradingByPercent = 2;

// One test.
struct TDTest {
  std::vector<TOtazky> Questions;
  std::string Name;
  int32_t AnswerCount = 0;                 // answers per question, 2 to 10 once the properties screen set it
  bool MultipleCorrect = false;            // false: exactly one correct answer (radio buttons)
  int32_t GradingMode = kGradingByErrors;  // one of the kGrading... modes, or any value a file holds
  int32_t Limit1 = 0;
  int32_t Limit2 = 0;
  int32_t Limit3 = 0;
  int32_t Limit4 = 0;
  int32_t QuestionTimeLimit = 0;  // seconds; 0 means none
  int32_t TestTimeLimit = 0;      // minutes; 0 means none
  bool Exists = false;
  bool Changed = false;
  std::string FileName;
  bool Scrambled = false;
  bool PasswordRequired = false;
  std::string EditPassword;
  bool ShowCorrectAnswers = false;
  bool FreeNavigation = false;

  bool operator==(const TDTest&) const = default;
};

// The test being edited, saved, run and printed.
extern TDTest CurrentTest;
// The run copy for one run or one printed variant; written only by PrepareRun.
extern TDTest RunTest;

// Run parameters chosen on the run parameters screen.
extern int32_t RunQuestionCount;
extern bool ShuffleQuestions;
extern bool ShuffleAnswers;
// The text typed in the password prompt.
extern std::string EnteredPassword;

int32_t QuestionCount(const TDTest& test);

// Cuts questions at the end or adds empty ones (Points 0), then ResizeAnswers.
// A negative count leaves no questions.
void SetQuestionCount(TDTest& test, int32_t n);

// Sizes every question's Answers and Correct to AnswerCount, keeping the
// entries below it and adding "" and false.
void ResizeAnswers(TDTest& test);

// Adds an empty question with Points 0 at the end.
void AppendQuestion(TDTest& test);

// Puts an empty question at index (0-based); the questions from there on move
// one down. The new question keeps the points of the one it displaced. An index
// outside the questions does nothing.
void InsertQuestion(TDTest& test, int32_t index);

// Removes the question at index (0-based); an index outside the questions does nothing.
void DeleteQuestion(TDTest& test, int32_t index);

// Resets CurrentTest to a new, unnamed test. Expects at least one question;
// AnswerCount, the grading, TestTimeLimit, FreeNavigation and any further
// questions are left for the properties screen to write.
void NewTest();

// Builds RunTest from CurrentTest: n questions, the first n in order or n
// distinct ones drawn at random, with their answers optionally shuffled. The
// generator is reseeded from the clock on every call. When n exceeds the
// current test's questions RunTest keeps what it held.
void PrepareRun(int32_t n, bool shuffleQuestions, bool shuffleAnswers);

// What the screens can serve, and so what a test file may hold: answers per
// question, and time limits (seconds per question, minutes per test) of at
// most four digits, as the countdowns show them. A limit of 0 or less is none.
inline constexpr int32_t MinAnswerCount = 2;
inline constexpr int32_t MaxAnswerCount = 10;
inline constexpr int32_t MaxTimeLimit = 9999;

// The version written after the tag of every test file.
inline constexpr char FormatVersion[] = "002";

// The key a scrambled test file's body is scrambled with.
inline constexpr char ScrambleKey[] = "R4m8Q2v7x5N";

// Reads a test file into test. A refused header shows one of the two fixed
// format messages and leaves test as it was. A body that does not parse, or
// holds an answer count or a time limit outside the above, raises
// EConvertError quoting the line and leaves test exactly as it was too,
// Changed included.
// Input and output errors raise EInOutError.
void LoadTest(TDTest& test, const std::string& path);

// Writes test to path, scrambled when test.Scrambled, after setting Exists and
// FileName; Changed is the caller's. A failed write raises EInOutError and
// leaves the old file intact.
void SaveTest(TDTest& test, const std::string& path);
