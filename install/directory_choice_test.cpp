#include "install/directory_choice.h"

#include <gtest/gtest.h>

#include "app/install_state.h"
#include "install/folder_browser.h"
#include "runtime/codepage.h"
#include "ui/main_window.h"

namespace {

Text gAnswer;
Text gTitleAsked;

Text answerWithChosenFolder(const Text& title) {
  gTitleAsked = title;
  return gAnswer;
}

class DirectoryChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ui::loadMainWindow(FormHandlers{}));
    installState().defaultDir = gbk("C:\\Users\\张三\\AppData\\Roaming\\LanJing");
    setFolderBrowserHookForTesting(answerWithChosenFolder);
  }
  void TearDown() override {
    setFolderBrowserHookForTesting(nullptr);
    installState().customDir.clear();
    installState().defaultDir.clear();
  }
  static Text edit() { return ui::editContent(Ctl::编辑框_自定义目录); }
  static Text customDir() { return installState().customDir; }
  static Text defaultDir() { return installState().defaultDir; }
};

TEST_F(DirectoryChoiceTest, CustomLinkShowsTheDefaultDirectory) {
  ui::setCurrentPage(kPageQuickInstall);
  onCustomLinkClicked();
  EXPECT_EQ(ui::currentPage(), kPageCustomInstall);
  EXPECT_EQ(edit(), defaultDir());
  EXPECT_EQ(customDir(), defaultDir());
}

TEST_F(DirectoryChoiceTest, ChosenFolderGetsTheLanJingFolderBelowIt) {
  struct Case {
    Text chosen;
    Text shown;
    Text customDir;  // empty: the default directory
  } cases[] = {
      {"D:\\Games", "D:\\Games", "D:\\Games\\LanJing"},
      {"X:\\", "X:\\", "X:\\LanJing"},
      {"", "", ""},  // cancelled
      {"D:\\LanJing", "D:\\", "D:\\LanJing"},
      // Only a drive root loses its doubled backslash.
      {"D:\\Games\\LanJing", "D:\\Games\\", "D:\\Games\\\\LanJing"},
      {"D:\\LanJingX\\sub", "D:\\", "D:\\LanJing"},
      {"\\\\server\\share\\x", "\\\\server\\share\\x", "\\\\server\\share\\x\\LanJing"},
      {gbk("E:\\游戏\\岚鲸"), gbk("E:\\游戏\\岚鲸"), gbk("E:\\游戏\\岚鲸\\LanJing")},
      {"D:\\lanjing", "D:\\lanjing", "D:\\lanjing\\LanJing"},  // letter case matters
  };
  for (const Case& c : cases) {
    onCustomLinkClicked();
    gAnswer = c.chosen;
    onChooseDirectoryClicked();
    const Text shown = c.shown.empty() ? defaultDir() : c.shown;
    const Text dir = c.customDir.empty() ? defaultDir() : c.customDir;
    EXPECT_EQ(edit(), shown) << c.chosen;
    EXPECT_EQ(customDir(), dir) << c.chosen;
  }
  EXPECT_EQ(gTitleAsked, gbk("请选择欲安装的目录"));
}

TEST_F(DirectoryChoiceTest, ReopeningTheCustomPageDiscardsTheChoice) {
  onCustomLinkClicked();
  gAnswer = "D:\\Games";
  onChooseDirectoryClicked();
  ASSERT_EQ(customDir(), "D:\\Games\\LanJing");
  ui::setCurrentPage(kPageQuickInstall);
  onCustomLinkClicked();
  EXPECT_EQ(edit(), defaultDir());
  EXPECT_EQ(customDir(), defaultDir());
}

TEST_F(DirectoryChoiceTest, TypedTextIsNeverRead) {
  onCustomLinkClicked();
  ui::setEditContent(Ctl::编辑框_自定义目录, "E:\\Typed");
  gAnswer = "";
  onChooseDirectoryClicked();
  EXPECT_EQ(customDir(), defaultDir());

  ui::setEditContent(Ctl::编辑框_自定义目录, "E:\\Typed");
  gAnswer = "D:\\Games";
  onChooseDirectoryClicked();
  EXPECT_EQ(customDir(), "D:\\Games\\LanJing");
}

TEST(FolderPathToText, PathsWithoutAGbkFormAreNoChoice) {
  EXPECT_EQ(folderPathToText(u"D:\\游戏"), gbk("D:\\游戏"));
  EXPECT_EQ(folderPathToText(u"X:\\"), "X:\\");
  EXPECT_EQ(folderPathToText(u""), "");
  EXPECT_EQ(folderPathToText(u"C:\\users\\root\\Documents\\"), "C:\\users\\root\\Documents");
  // Korean and an emoji have no GBK form: '?' would name another folder.
  EXPECT_EQ(folderPathToText(u"D:\\게임"), "");
  EXPECT_EQ(folderPathToText(u"D:\\\U0001F600"), "");
}

}  // namespace
