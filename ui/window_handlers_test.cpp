#include "ui/window_handlers.h"

#include <gtest/gtest.h>

#include "runtime/app_runtime.h"
#include "runtime/codepage.h"
#include "runtime/dialogs.h"
#include "ui/main_window.h"

namespace {

struct Box {
  void* owner = nullptr;
  Text text, caption;
  unsigned style = 0;
  int shown = 0;
};
Box g_box;
int g_answer = kIdCancel;

int answerBox(void* owner, const Text& text, const Text& caption, unsigned style) {
  g_box.owner = owner;
  g_box.text = text;
  g_box.caption = caption;
  g_box.style = style;
  ++g_box.shown;
  return g_answer;
}

class WindowHandlers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(ui::loadMainWindow(FormHandlers())); }
  void SetUp() override {
    setMessageBoxHookForTesting(answerBox);
    g_box = Box();
    ui::setCurrentPage(kPageQuickInstall);
  }
};

}  // namespace

TEST_F(WindowHandlers, LinkIsBlackOnlyForExactlyOne) {
  const struct {
    int32_t entered;
    uint32_t colour;
  } table[] = {{1, 0xFF000000}, {0, 0xFF7A7A7A}, {2, 0xFF7A7A7A}, {-1, 0xFF7A7A7A}};
  for (const auto& row : table) {
    onCustomLinkHover(row.entered);
    EXPECT_EQ(ui::labelColor(Ctl::标签_自定义安装), row.colour) << row.entered;
    onBackLinkHover(row.entered);
    EXPECT_EQ(ui::labelColor(Ctl::标签_返回快速安装), row.colour) << row.entered;
  }
}

TEST_F(WindowHandlers, BackLinkReturnsToPageZeroAndKeepsTheRest) {
  ui::setCurrentPage(kPageCustomInstall);
  ui::setEditContent(Ctl::编辑框_自定义目录, "D:\\Games");
  onBackLinkClicked();
  EXPECT_EQ(ui::currentPage(), kPageQuickInstall);
  EXPECT_EQ(ui::editContent(Ctl::编辑框_自定义目录), "D:\\Games");
}

TEST_F(WindowHandlers, CancelInTheExitQuestionChangesNothing) {
  ui::setCurrentPage(kPageCustomInstall);
  onBackLinkHover(1);
  g_answer = kIdCancel;
  onExitClicked();
  EXPECT_EQ(g_box.shown, 1);
  EXPECT_EQ(g_box.text, gbk("您确定现在退出安装吗？"));
  EXPECT_EQ(g_box.caption, gbk("提示"));
  EXPECT_EQ(g_box.style, kMbOkCancel);  // OK default, no icon
  EXPECT_EQ(g_box.owner, ui::mainWindowHandle());
  EXPECT_EQ(ui::currentPage(), kPageCustomInstall);
  EXPECT_EQ(ui::labelColor(Ctl::标签_返回快速安装), 0xFF000000u);
}

TEST_F(WindowHandlers, OkInTheExitQuestionEndsWithZero) {
  for (int page : {kPageQuickInstall, kPageCustomInstall, kPageFinished}) {
    ui::setCurrentPage(page);
    g_answer = kIdOk;
    EXPECT_EXIT(onExitClicked(), ::testing::ExitedWithCode(0), "") << "page " << page;
  }
}
