// Peak memory of loading a test file against its size: one of minimal
// questions (empty texts, two answers: the most questions a file of its size
// can hold) and one of ordinary questions, with reading the bytes alongside. Each measurement runs in a fresh process
// of this program, and its peak is what the kernel reports for that process.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>

#include "model/uDTest.h"
#include "platform/files.h"

namespace {

// The peak resident memory of this program run as "<self> --child <what> <file>",
// in bytes, as the child reads it of itself: the high-water mark starts anew
// with the child's own program.
long PeakOfChild(const std::string& self, const char* what, const std::string& file) {
  const std::string command = "'" + self + "' --child " + what + " '" + file + "'";
  FILE* child = popen(command.c_str(), "r");
  long kilobytes = -1;
  if (!child || std::fscanf(child, "%ld", &kilobytes) != 1 || pclose(child) != 0 || kilobytes < 0) {
    std::fprintf(stderr, "the child measuring %s failed\n", what);
    std::exit(1);
  }
  return kilobytes * 1024L;
}

long OwnPeakKilobytes() {
  FILE* status = std::fopen("/proc/self/status", "r");
  char line[256];
  long kilobytes = -1;
  while (status && std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmHWM: %ld", &kilobytes) == 1) break;
  if (status) std::fclose(status);
  return kilobytes;
}

int Child(const std::string& what, const std::string& file) {
  bool done = true;  // "none": the program's own floor
  if (what == "read") {
    const auto bytes = platform::ReadFileBytes(file);
    done = bytes && !bytes->empty();
  } else if (what == "load") {
    TDTest test;
    LoadTest(test, file);
    done = test.Exists && !test.Questions.empty();
  }
  std::printf("%ld\n", OwnPeakKilobytes());
  return done ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--child") == 0) return Child(argv[2], argv[3]);
  long megabytes = 50;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--mb") == 0) megabytes = std::max(1L, std::atol(argv[i + 1]));

  char path[4096];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return 1;
  path[n] = '\0';
  const std::string file = "/tmp/zorvik-bench-memory-" + std::to_string(getpid()) + ".sst";
  const long none = PeakOfChild(path, "none", file);

  std::printf("Peak memory of loading a test file, above the program's own, against the file's size\n\n");
  std::printf("                                            questions    file      peak   ratio\n");
  // The densest file: empty texts and two answers, the most questions its size can hold.
  // Then a file of ordinary questions: a line of text and four short answers.
  for (const bool minimal : {true, false}) {
    TDTest test;
    test.Name = "test";
    test.AnswerCount = minimal ? 2 : 4;
    const long perQuestion = minimal ? 17 : 170;
    SetQuestionCount(test, static_cast<int32_t>(megabytes * 1000000 / perQuestion));
    if (!minimal) {
      for (size_t i = 0; i < test.Questions.size(); ++i) {
        TOtazky& q = test.Questions[i];
        q.Text = "Ot\xE1zka " + std::to_string(i + 1) +
                 ": kter\xE1 z odpov\xEC"
                 "d\xED plat\xED?";
        for (size_t j = 0; j < 4; ++j)
          q.Answers[j] =
              "Odpov\xEC"
              "d " +
              std::to_string(j + 1) + " k ot\xE1zce";
        q.Correct[i % 4] = true;
      }
    }
    SaveTest(test, file);
    const size_t questions = test.Questions.size();
    test = TDTest{};
    const long size = static_cast<long>(platform::ReadFileBytes(file).value_or(std::string()).size());
    const long read = PeakOfChild(path, "read", file) - none;
    const long load = PeakOfChild(path, "load", file) - none;
    std::remove(file.c_str());
    std::printf("%-40s %9zu %7.1f MB %6.1f MB %6.2f\n", minimal ? "minimal questions" : "ordinary questions", questions,
                size / 1e6, load / 1e6, static_cast<double>(load) / static_cast<double>(size));
    std::printf("%-40s %9s %7.1f MB %6.1f MB %6.2f\n", "  reference: reading the file's bytes", "", size / 1e6,
                read / 1e6, static_cast<double>(read) / static_cast<double>(size));
  }
  return 0;
}
