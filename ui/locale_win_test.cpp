// Runs with Wine's ANSI code page at 1252 (LC_ALL=C.UTF-8): label texts must
// still read back exactly as stored, GBK in and GBK out.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "ui/form.h"
#include "ui/main_window.h"

namespace {

TEST(NonChineseLocale, LabelTextsReadBackAsStored) {
  ASSERT_NE(GetACP(), 936u) << "this test needs a system code page other than GBK";
  ASSERT_TRUE(ui::loadMainWindow(FormHandlers()));
  EXPECT_EQ(ui::labelText(Ctl::标签_软件名), gbk(ui::productNameUtf8()));
  const Text chinese = gbk("LOL云獭助手");
  ui::setLabelText(Ctl::标签_软件名, chinese);
  EXPECT_EQ(ui::labelText(Ctl::标签_软件名), chinese);
  ui::setEditContent(Ctl::编辑框_自定义目录, gbk("D:\\游戏\\LanJing"));
  EXPECT_EQ(ui::editContent(Ctl::编辑框_自定义目录), gbk("D:\\游戏\\LanJing"));
  ui::closeMainWindowForTesting();
}

}  // namespace
