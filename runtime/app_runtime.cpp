#include "runtime/app_runtime.h"

#include <cstddef>
#include <vector>

namespace {

struct ExitList {
  std::vector<ExitRoutine> routines;
  bool ran = false;
};

ExitList& exitList() {
  static ExitList list;
  return list;
}

ProcessEnd g_processEnd = nullptr;

}  // namespace

void endProcessNow(int code);  // per-OS: the OS exit call

void registerExitRoutine(ExitRoutine routine) {
  if (!routine) return;
  auto& list = exitList().routines;
  for (ExitRoutine r : list)
    if (r == routine) return;
  list.push_back(routine);
}

void runExitRoutines() {
  ExitList& list = exitList();
  if (list.ran) return;
  // Marked first: a routine that itself asks to exit must not run the list again.
  list.ran = true;
  for (std::size_t i = 0; i < list.routines.size(); ++i) list.routines[i]();
}

void exitProgram(int code) {
  runExitRoutines();
  if (g_processEnd) g_processEnd(code);
  endProcessNow(code);
  for (;;) {
  }
}

void setProcessEndForTesting(ProcessEnd end) { g_processEnd = end; }

void resetExitRoutinesForTesting() {
  exitList().routines.clear();
  exitList().ran = false;
}
