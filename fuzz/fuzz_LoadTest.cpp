// Any bytes as a test file: the loader must neither crash nor leave a record
// that breaks the invariant; a refused or failed load leaves the record as it
// was, and whatever loads saves and loads back to the same record.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/errors.h"
#include "platform/messages.h"
#include "model/uDTest.h"

namespace {

// Two scratch files in memory where possible, removed when the run ends.
struct ScratchFiles {
  ScratchFiles() {
    const std::string dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    const std::string stem = dir + "/zorvik-fuzz-" + std::to_string(::getpid());
    input = stem + "-in.sst";
    again = stem + "-again.sst";
  }
  ~ScratchFiles() {
    ::unlink(input.c_str());
    ::unlink(again.c_str());
  }
  std::string input;
  std::string again;
};

bool refused = false;

void WriteRaw(const std::string& path, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

void Require(bool condition) {
  if (!condition) std::abort();
}

void RequireInvariant(const TDTest& t) {
  for (const TOtazky& q : t.Questions) {
    Require(q.Answers.size() == static_cast<size_t>(t.AnswerCount));
    Require(q.Correct.size() == static_cast<size_t>(t.AnswerCount));
  }
}

TDTest Earlier() {
  TDTest t;
  t.Name = "earlier";
  t.AnswerCount = 2;
  SetQuestionCount(t, 1);
  t.Exists = true;
  t.Changed = true;
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const ScratchFiles files;
  static const bool handled =
      (platform::SetMessageHandler([](const std::string&, const std::string&) { refused = true; }), true);
  (void)handled;
  const std::string& input = files.input;

  WriteRaw(input, data, size);
  TDTest test = Earlier();
  refused = false;
  try {
    LoadTest(test, input);
  } catch (const platform::EConvertError&) {
    Require(test == Earlier());
    return 0;
  }
  if (refused) {
    Require(test == Earlier());
    return 0;
  }
  RequireInvariant(test);
  Require(test.Exists && !test.Changed && test.FileName == input);

  SaveTest(test, files.again);
  TDTest reloaded;
  LoadTest(reloaded, files.again);
  Require(reloaded == test);
  return 0;
}
