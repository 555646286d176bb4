// Shows the main window on one page, in the state a real run shows there,
// for a screenshot; a plain light backdrop fills the screen behind it so the
// card's shadow shows as it would on a desktop. Ends by itself.
//
//   ui_screenshot_pages PAGE [SECONDS]
#include <windows.h>

#include <cstdlib>

#include "runtime/app_runtime.h"
#include "runtime/codepage.h"
#include "ui/form.h"
#include "ui/main_window.h"
#include "ui/page_preview.h"

namespace {

LRESULT CALLBACK backdropProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void showBackdrop() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = backdropProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hbrBackground = CreateSolidBrush(RGB(0xE9, 0xED, 0xF3));
  wc.lpszClassName = L"ScreenshotBackdrop";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0,
                              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                              wc.hInstance, nullptr);
  ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int page = __argc > 1 ? std::atoi(__argv[1]) : 0;
  const int seconds = __argc > 2 ? std::atoi(__argv[2]) : 6;
  showBackdrop();
  if (!ui::loadMainWindow(FormHandlers())) return 1;
  ui::showPageAsInARealRun(page);
  const DWORD end = GetTickCount() + DWORD(seconds) * 1000;
  while (GetTickCount() < end) {
    processEvents();
    Sleep(20);
  }
  return 0;
}
