#include "GenStartup.h"

#include "GenGraphUtils.h"
#include "GenGraphicsInit.h"
#include "GenStrings.h"
#include "GenSysInfo.h"

namespace resample {

// The file utilities have no start-up work of their own.
void GenLibStart() {
  GenStringsStart();
  GenSysInfoStart();
  GenGraphUtilsStart();
  GenGraphicsStart();
}

void GenLibEnd() {
  GenGraphicsEnd();
  GenGraphUtilsEnd();
  GenSysInfoEnd();
  GenStringsEnd();
}

}  // namespace resample
