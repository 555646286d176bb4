// Probes of the drawn frame: the card and its shadow, the progress ring,
// texts, and that drawing happens only after a change.
#include <gtest/gtest.h>

#include <vector>

#include "runtime/codepage.h"
#include "skin/window.h"
#include "ui/form.h"
#include "ui/main_window.h"

namespace {

class RenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ui::loadMainWindow(FormHandlers()));
    win_ = ui::mainSkinWindowForTesting();
    ASSERT_NE(win_, nullptr);
  }
  void TearDown() override { ui::closeMainWindowForTesting(); }

  const skin::Image& draw() { return win_->paint(); }

  // Pixels of the control's rectangle that are mostly blue (the accent).
  int bluePixels(Ctl c) {
    const skin::Image& img = draw();
    const skin::Rect r = win_->windowRect(int(c));
    int n = 0;
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x) n += isBlue(img.at(x, y));
    return n;
  }
  static bool isBlue(uint32_t p) {
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    return b > 200 && r < 150 && b - r > 80 && g < 200;
  }

  skin::Window* win_ = nullptr;
};

TEST_F(RenderTest, CardIsWhiteAndOpaqueAndItsShadowStaysFaint) {
  ui::setCurrentPage(kPageInstalling);  // a page with large empty areas
  const skin::Image& img = draw();
  ASSERT_EQ(img.width, 440);
  ASSERT_EQ(img.height, 540);
  for (auto [x, y] : std::vector<std::pair<int, int>>{{45, 45}, {220, 120}, {40, 500}, {400, 300}, {380, 500}})
    EXPECT_EQ(img.at(x, y), 0xFFFFFFFFu) << x << "," << y;
  // Outside the card only the shadow: black, at most 36/255, and present.
  uint32_t strongest = 0;
  for (int y = 0; y < 540; ++y)
    for (int x = 0; x < 440; ++x) {
      if (x >= 30 && x < 410 && y >= 30 && y < 510) continue;
      const uint32_t p = img.at(x, y);
      strongest = std::max(strongest, p >> 24);
      EXPECT_EQ(p & 0x00FFFFFFu, 0u) << x << "," << y;
    }
  EXPECT_LE(strongest, 36u);
  EXPECT_GT(strongest, 0u);
  EXPECT_EQ(img.at(0, 0), 0u);  // the corners of the window are clear
}

TEST_F(RenderTest, RingGrowsClockwiseFromTheTop) {
  ui::setCurrentPage(kPageInstalling);
  ui::setLabelText(Ctl::标签_进度, "");  // only the ring is blue here anyway
  int previous = -1;
  for (int32_t pos : {0, 30, 75, 150, 225, 300}) {
    ui::setProgressPosition(pos);
    const int blue = bluePixels(Ctl::进度条EX1);
    if (pos == 0) {
      EXPECT_EQ(blue, 0);
    }
    EXPECT_GT(blue, previous) << pos;
    previous = blue;
  }
  // A quarter: the arc from 12 to 3 o'clock.
  ui::setProgressPosition(75);
  const skin::Image& img = draw();
  const skin::Rect r = win_->windowRect(int(Ctl::进度条EX1));
  const int cx = r.x + 75, cy = r.y + 75, radius = 70;
  EXPECT_TRUE(isBlue(img.at(cx + 50, cy - 50)));      // 1:30
  EXPECT_FALSE(isBlue(img.at(cx - 50, cy - 50)));     // 10:30
  EXPECT_FALSE(isBlue(img.at(cx, cy + radius)));      // 6 o'clock
}

TEST_F(RenderTest, TextIsDrawnInItsColour) {
  ui::setCurrentPage(kPageQuickInstall);
  const skin::Rect r = win_->windowRect(int(Ctl::标签_自定义安装));
  auto darkest = [&] {
    const skin::Image& img = draw();
    int best = 255;
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x) best = std::min(best, int(img.at(x, y) & 0xFF));
    return best;
  };
  const int grey = darkest();
  EXPECT_LT(grey, 200);  // text is there
  EXPECT_GE(grey, 0x7A - 2);
  ui::setLabelColor(Ctl::标签_自定义安装, 0xFF000000u);
  EXPECT_LT(darkest(), 40);
}

TEST_F(RenderTest, RedrawsOnlyAfterAVisibleChange) {
  draw();
  const uint64_t base = win_->redrawCount();
  draw();
  EXPECT_EQ(win_->redrawCount(), base);

  struct Step {
    const char* what;
    void (*change)();
    bool redraws;
  } steps[] = {
      {"same page", [] { ui::setCurrentPage(0); }, false},
      {"page clamped to the current one", [] { ui::setCurrentPage(-4); }, false},
      {"same label text", [] { ui::setLabelText(Ctl::标签_进度, "0%"); }, false},
      {"same position", [] { ui::setProgressPosition(0); }, false},
      {"position clamped to the stored one", [] { ui::setProgressPosition(-9); }, false},
      {"same colour", [] { ui::setLabelColor(Ctl::标签_自定义安装, 0xFF7A7A7A); }, false},
      {"new page", [] { ui::setCurrentPage(2); }, true},
      {"new position", [] { ui::setProgressPosition(1); }, true},
      {"new label text", [] { ui::setLabelText(Ctl::标签_进度, "1%"); }, true},
      {"new colour", [] { ui::setLabelColor(Ctl::标签_自定义安装, 0xFF000000); }, true},
      {"disabled", [] { ui::setDisabled(Ctl::图片按钮_退出, true); }, true},
  };
  for (const Step& s : steps) {
    const uint64_t before = win_->redrawCount();
    s.change();
    s.change();  // twice: still at most one redraw
    draw();
    EXPECT_EQ(win_->redrawCount() - before, s.redraws ? 1u : 0u) << s.what;
  }
}

TEST_F(RenderTest, HoverAndPressShowTheButtonsOtherPictures) {
  const skin::Rect r = win_->windowRect(int(Ctl::按钮_快速安装));
  const int x = r.x + 4, y = r.y + r.height / 2;  // left of the text
  const uint32_t normal = draw().at(x, y);
  win_->mouseMove(x, y);
  const uint32_t hover = draw().at(x, y);
  win_->mouseDown(x, y);
  const uint32_t pressed = draw().at(x, y);
  EXPECT_NE(normal, hover);
  EXPECT_NE(hover, pressed);
  EXPECT_NE(normal, pressed);
}

}  // namespace
