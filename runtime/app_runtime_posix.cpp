// Native build: there are no windows; the loop ends at once.
#include <cstdlib>

#include "runtime/app_runtime.h"

void endProcessNow(int code) { std::_Exit(code); }

namespace {
int g_liveWindows = 0;
}

void processEvents() {}

void noteWindowCreated() { ++g_liveWindows; }
void noteWindowDestroyed() {
  if (g_liveWindows > 0) --g_liveWindows;
}

int runMessageLoop() {
  runExitRoutines();
  return 0;
}
