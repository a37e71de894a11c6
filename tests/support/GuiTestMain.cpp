// Main of the GUI tests: the program's application object on the offscreen
// platform, in test mode, so boxes, dialogs and modal screens take queued
// answers instead of waiting for a person.
#include <gtest/gtest.h>

#include "toolkit/Application.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
  toolkit::TApplication app(argc, argv);
  toolkit::SetTestMode(true);
  toolkit::SetRecording(true);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
