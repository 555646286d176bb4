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

void prepare(int page) {
  const Text name = ui::labelText(Ctl::标签_软件名);
  for (Ctl c : {Ctl::标签_软件名1, Ctl::标签_软件名2, Ctl::标签_软件名3}) ui::setLabelText(c, name);
  ui::setEditContent(Ctl::编辑框_自定义目录, gbk("C:\\Program Files\\LanJing"));
  ui::setCurrentPage(page);
  if (page == kPageInstalling) {
    ui::setProgressPosition(150);
    ui::setLabelText(Ctl::标签_进度, "50%");
    ui::setDisabled(Ctl::图片按钮_退出, true);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int page = __argc > 1 ? std::atoi(__argv[1]) : 0;
  const int seconds = __argc > 2 ? std::atoi(__argv[2]) : 6;
  showBackdrop();
  if (!ui::loadMainWindow(FormHandlers())) return 1;
  prepare(page);
  const DWORD end = GetTickCount() + DWORD(seconds) * 1000;
  while (GetTickCount() < end) {
    processEvents();
    Sleep(20);
  }
  return 0;
}
