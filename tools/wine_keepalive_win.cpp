// Keeps one window alive in a Wine prefix while the Windows tests run.
//
// Wine starts its desktop process with the first window of a prefix and
// stops it again when the last one goes; each start costs many seconds. With
// this hidden window holding the desktop open, a test program that opens a
// window starts in about a second. It never shows anything and ends with the
// Wine server.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"WineKeepAlive";
  RegisterClassW(&wc);
  CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                  instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
