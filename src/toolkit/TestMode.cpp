#include "toolkit/TestMode.h"

namespace toolkit {

namespace {
bool g_testMode = false;
bool g_recording = false;
}  // namespace

void SetTestMode(bool on) { g_testMode = on; }
bool TestMode() { return g_testMode; }

void SetRecording(bool on) { g_recording = on; }
bool Recording() { return g_recording; }

}  // namespace toolkit
