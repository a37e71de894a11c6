#include "toolkit/Invoke.h"

#include "platform/profile.h"

namespace toolkit {

namespace {
TErrorBox g_errorBox = nullptr;
}  // namespace

void SetErrorBox(TErrorBox box) { g_errorBox = box; }

void Invoke(const std::function<void()>& handler) {
  // What the handler writes in bursts (the texts a screen finds missing) goes
  // to the files together when it ends.
  platform::ProfileBatch batch;
  if (!g_errorBox) {
    handler();
    batch.End();
    return;
  }
  try {
    handler();
  } catch (const std::exception& e) {
    g_errorBox(e);
  }
  try {
    batch.End();
  } catch (const std::exception& e) {
    g_errorBox(e);
  }
}

}  // namespace toolkit
