// A viewer library for the router's tests: its entry point hands every call
// to the recorder that the test installs, and answers what the test set.
#include <cstdint>

using THelpWindow = uintptr_t;
using TRecorder = THelpWindow (*)(THelpWindow caller, const char* file, uint32_t command, uintptr_t data);

namespace {
TRecorder g_recorder = nullptr;
}

extern "C" __attribute__((visibility("default"))) void SetRecorder(TRecorder recorder) { g_recorder = recorder; }

extern "C" __attribute__((visibility("default"))) THelpWindow HtmlHelpA(THelpWindow caller, const char* file,
                                                                        uint32_t command, uintptr_t data) {
  return g_recorder ? g_recorder(caller, file, command, data) : 0;
}
