#include "install/launcher.h"

#include "app/install_state.h"
#include "runtime/app_runtime.h"

int showCommandForIndex(int32_t showIndex) {
  switch (showIndex) {
    case 1: return 0;  // SW_HIDE
    case 2: return 7;  // SW_SHOWMINNOACTIVE
    case 3: return 3;  // SW_SHOWMAXIMIZED
    default: return 1;  // SW_SHOWNORMAL, also for out-of-range indexes
  }
}

void onRunClicked() {
  processEvents();
  runProgram(installState().installedProgramPath, Text(), 0);
  exitProgram(0);
}
