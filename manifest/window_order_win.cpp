#include <windows.h>

#include "manifest/window_order.h"

void showWindowNotTopmost(void* window) {
  if (!window) return;
  SetWindowPos(static_cast<HWND>(window), HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
}
