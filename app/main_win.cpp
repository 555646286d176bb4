// The Windows program's entry point: the run time's own start-up, then the
// entry routine.
#include <windows.h>

#include "app/entry.h"
#include "app/program_handlers.h"
#include "runtime/app_runtime.h"

namespace {

// The run time makes the folder that holds the program the current
// directory, so relative paths resolve beside the program.
void enterProgramFolder() {
  wchar_t path[MAX_PATH * 4];
  DWORD n = GetModuleFileNameW(nullptr, path, DWORD(sizeof path / sizeof path[0]));
  if (n == 0 || n >= sizeof path / sizeof path[0]) return;
  for (DWORD i = n; i > 0; --i) {
    if (path[i - 1] == L'\\') {
      path[i - 1] = 0;
      break;
    }
  }
  SetCurrentDirectoryW(path);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  enterProgramFolder();
  int code = entryRoutine(programHandlers());
  exitProgram(code);
}
