#include <windows.h>

#include "runtime/app_runtime.h"

namespace {
int g_liveWindows = 0;
}

void endProcessNow(int code) { ExitProcess(UINT(code)); }

void processEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Keep the quit request for the message loop that owns it.
      PostQuitMessage(int(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void noteWindowCreated() { ++g_liveWindows; }

void noteWindowDestroyed() {
  if (g_liveWindows > 0 && --g_liveWindows == 0) PostQuitMessage(0);
}

int runMessageLoop() {
  MSG msg;
  while (g_liveWindows > 0 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // No window left: the same exit processing as an explicit exit.
  runExitRoutines();
  return 0;
}
