#include "toolkit/Invoke.h"
#include "toolkit/TestMode.h"

namespace toolkit {

namespace {
TErrorBox g_errorBox = nullptr;
bool g_testMode = false;
}  // namespace

void SetTestMode(bool on) { g_testMode = on; }
bool TestMode() { return g_testMode; }

void SetErrorBox(TErrorBox box) { g_errorBox = box; }

void Invoke(const std::function<void()>& handler) {
  if (!g_errorBox) {
    handler();
    return;
  }
  try {
    handler();
  } catch (const std::exception& e) {
    g_errorBox(e);
  }
}

}  // namespace toolkit
