// The real layered window under Windows: its place and style, and window
// messages reaching the handlers through the host.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/app_runtime.h"
#include "runtime/codepage.h"
#include "skin/window.h"
#include "ui/form.h"
#include "ui/main_window.h"

namespace {

std::vector<std::string> g_events;

FormHandlers recordingHandlers() {
  FormHandlers h;
  h.onExitClicked = [] { g_events.push_back("exit"); };
  h.onQuickInstallClicked = [] { g_events.push_back("quick"); };
  h.onCustomLinkHover = [](int32_t e) { g_events.push_back("hover" + std::to_string(e)); };
  h.onCustomLinkClicked = [] { g_events.push_back("customLink"); };
  return h;
}

class LayeredWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The real pointer must not wander over the window and add its own moves.
    SetCursorPos(0, 0);
    g_events.clear();
    ASSERT_TRUE(ui::loadMainWindow(recordingHandlers()));
    hwnd_ = static_cast<HWND>(ui::mainWindowHandle());
    ASSERT_NE(hwnd_, nullptr);
    processEvents();
    g_events.clear();
  }
  void TearDown() override { ui::closeMainWindowForTesting(); }

  LPARAM at(Ctl c) const {
    const skin::Rect r = ui::mainSkinWindowForTesting()->windowRect(int(c));
    return MAKELPARAM(r.x + r.width / 2, r.y + r.height / 2);
  }
  void send(UINT msg, WPARAM wp, LPARAM lp) {
    PostMessageW(hwnd_, msg, wp, lp);
    processEvents();
  }

  HWND hwnd_ = nullptr;
};

TEST_F(LayeredWindowTest, OpensCentredAt440x540WithoutCaptionOrBorder) {
  RECT r{};
  ASSERT_TRUE(GetWindowRect(hwnd_, &r));
  EXPECT_EQ(r.right - r.left, 440);
  EXPECT_EQ(r.bottom - r.top, 540);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 440) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 540) / 2);
  EXPECT_TRUE(IsWindowVisible(hwnd_));
  const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU));
  EXPECT_TRUE(exStyle & WS_EX_LAYERED);
  // Its class and its title, the product name, by which other programs find it.
  wchar_t text[64] = {};
  GetClassNameW(hwnd_, text, 64);
  EXPECT_EQ(std::wstring(text), L"LanJingSetupWindow");
  GetWindowTextW(hwnd_, text, 64);
  const std::u16string title = utf8ToUtf16(ui::productNameUtf8());
  EXPECT_EQ(std::wstring(text), std::wstring(title.begin(), title.end()));
  EXPECT_NE(FindWindowW(L"LanJingSetupWindow", reinterpret_cast<const wchar_t*>(title.c_str())), nullptr);
}

TEST_F(LayeredWindowTest, MouseMessagesReachTheHandlers) {
  send(WM_MOUSEMOVE, 0, at(Ctl::标签_自定义安装));
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(Ctl::标签_自定义安装));
  send(WM_LBUTTONUP, 0, at(Ctl::标签_自定义安装));
  send(WM_MOUSEMOVE, 0, at(Ctl::按钮_快速安装));
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(Ctl::按钮_快速安装));
  send(WM_LBUTTONUP, 0, at(Ctl::按钮_快速安装));
  // A double click arrives as a press, or as WM_LBUTTONDBLCLK: one more click.
  send(WM_LBUTTONDBLCLK, MK_LBUTTON, at(Ctl::按钮_快速安装));
  send(WM_LBUTTONUP, 0, at(Ctl::按钮_快速安装));
  // Hover changes first on entering the link, and on leaving it for the button.
  EXPECT_EQ(g_events, (std::vector<std::string>{"hover1", "customLink", "hover0", "quick", "quick"}));
}

TEST_F(LayeredWindowTest, CloseRequestGoesToTheCloseButtonOnlyWhenEnabled) {
  send(WM_CLOSE, 0, 0);
  EXPECT_EQ(g_events, std::vector<std::string>{"exit"});
  ui::setDisabled(Ctl::图片按钮_退出, true);
  send(WM_CLOSE, 0, 0);
  send(WM_LBUTTONDOWN, MK_LBUTTON, at(Ctl::图片按钮_退出));
  send(WM_LBUTTONUP, 0, at(Ctl::图片按钮_退出));
  EXPECT_EQ(g_events, std::vector<std::string>{"exit"});
  EXPECT_TRUE(IsWindow(hwnd_));
}

TEST_F(LayeredWindowTest, ChangesArePaintedOnTheNextPumpOnlyWhenDirty) {
  skin::Window* w = ui::mainSkinWindowForTesting();
  const uint64_t before = w->redrawCount();
  for (int i = 0; i <= 300; i += 3) ui::setProgressPosition(i);  // many changes, one pump
  EXPECT_TRUE(w->dirty());
  processEvents();
  EXPECT_FALSE(w->dirty());
  EXPECT_EQ(w->redrawCount(), before + 1);
  processEvents();
  EXPECT_EQ(w->redrawCount(), before + 1);
}

TEST_F(LayeredWindowTest, DestroyingTheWindowEndsTheMessageLoop) {
  DestroyWindow(hwnd_);
  EXPECT_EQ(ui::mainWindowHandle(), nullptr);
  EXPECT_EQ(runMessageLoop(), 0);  // returns at once: no window left
}

}  // namespace
