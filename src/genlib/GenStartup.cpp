#include "genlib/GenStartup.h"

#include "genlib/GenGraphUtils.h"
#include "genlib/GenGraphicsInit.h"
#include "genlib/GenStrings.h"
#include "genlib/GenSysInfo.h"

namespace genlib {

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

}  // namespace genlib
