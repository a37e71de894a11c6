#include "toolkit/Invoke.h"

namespace toolkit {

namespace {
TErrorBox g_errorBox = nullptr;
}  // namespace

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
