// The skinned window's mechanics on a small hand-built window: stacking,
// pass-through decorations, and handlers that change the window or feed it
// nested input while they run (as the install does when it pumps events).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/window.h"

namespace {

std::vector<std::string> g_log;

skin::Control make(skin::Kind kind, int x, int y, int w, int h, int page, int parent, bool mouse) {
  skin::Control c;
  c.kind = kind;
  c.x = x;
  c.y = y;
  c.width = w;
  c.height = h;
  c.page = page;
  c.parent = parent;
  c.takesMouse = mouse;
  return c;
}

// A 100 x 100 window: a two-page tab control, a button on page 0 with a
// decoration label lying over half of it, and a button on page 1 at the
// same place.
class SmallWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    skin::Control tab = make(skin::Kind::TabControl, 0, 0, 100, 100, skin::kNoPage, skin::kNoParent, false);
    tab.pageCount = 2;
    tab_ = w_.add(tab);
    a_ = w_.add(make(skin::Kind::Button, 10, 10, 40, 20, 0, tab_, true));
    deco_ = w_.add(make(skin::Kind::Label, 30, 10, 40, 20, 0, tab_, false));
    b_ = w_.add(make(skin::Kind::Button, 10, 10, 40, 20, 1, tab_, true));
    w_.setHandlers(a_, [] { g_log.push_back("a"); }, [](int32_t e) { g_log.push_back("a" + std::to_string(e)); });
    w_.setHandlers(b_, [] { g_log.push_back("b"); }, [](int32_t e) { g_log.push_back("b" + std::to_string(e)); });
  }
  void click(int x, int y) {
    w_.mouseDown(x, y);
    w_.mouseUp(x, y);
  }
  skin::Window w_{100, 100};
  int tab_ = 0, a_ = 0, deco_ = 0, b_ = 0;
};

TEST_F(SmallWindow, DecorationOnTopLetsTheMousePassThrough) {
  EXPECT_EQ(w_.hitTest(40, 20), a_);  // under the label, still the button
  EXPECT_EQ(w_.hitTest(60, 20), -1);  // the label alone
  click(40, 20);
  click(60, 20);
  EXPECT_EQ(g_log, (std::vector<std::string>{"a1", "a", "a0"}));
  EXPECT_TRUE(w_.isDragSpot(60, 20));
  EXPECT_FALSE(w_.isDragSpot(40, 20));
}

TEST_F(SmallWindow, HandlerThatSwitchesThePageLeavesNoStaleHover) {
  static skin::Window* self;
  self = &w_;
  w_.setHandlers(a_, [] { self->setCurrentPage(1); }, [](int32_t e) { g_log.push_back("a" + std::to_string(e)); });
  click(20, 20);
  EXPECT_EQ(w_.currentPage(), 1);
  // The next move finds b where a was: a leaves, b enters.
  w_.mouseMove(21, 20);
  EXPECT_EQ(g_log, (std::vector<std::string>{"a1", "a0", "b1"}));
  EXPECT_EQ(w_.hovered(), b_);
}

TEST_F(SmallWindow, NestedInputWhileAHandlerRunsIsDispatched) {
  // The handler disables its own button and, like a long install pumping
  // events, receives a further click on it: that one must be ignored.
  static skin::Window* self;
  static int id;
  self = &w_;
  id = a_;
  w_.setHandlers(a_, [] {
    g_log.push_back("a");
    self->setDisabled(id, true);
    self->mouseDown(20, 20);
    self->mouseUp(20, 20);
  }, nullptr);
  click(20, 20);
  EXPECT_EQ(g_log, std::vector<std::string>{"a"});
  EXPECT_EQ(w_.pressed(), -1);
}

TEST_F(SmallWindow, PressedControlThatDisappearsGivesNoClick) {
  w_.mouseDown(20, 20);
  w_.setCurrentPage(1);
  w_.setCurrentPage(0);
  w_.mouseUp(20, 20);
  EXPECT_EQ(g_log, std::vector<std::string>{"a1"});
}

}  // namespace
