// The main window as the handlers see it, on the headless host: pages,
// the progress range, label texts, and mouse input reaching the handlers.
#include <gtest/gtest.h>
#include <zlib.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "runtime/codepage.h"
#include "skin/window.h"
#include "ui/form.h"
#include "ui/main_window.h"

namespace {

// What the handlers saw.
struct Seen {
  std::vector<std::string> clicks;
  std::vector<std::pair<std::string, int32_t>> hovers;
  std::vector<int32_t> unzip;
  int created = 0;
  bool windowExistedAtCreation = false;
};
Seen g_seen;

FormHandlers recordingHandlers() {
  FormHandlers h;
  h.onMainWindowCreated = [] {
    ++g_seen.created;
    g_seen.windowExistedAtCreation = ui::mainSkinWindowForTesting() != nullptr;
  };
  h.onUnzipProgress = [](int32_t v) { g_seen.unzip.push_back(v); };
  h.onExitClicked = [] { g_seen.clicks.push_back("exit"); };
  h.onQuickInstallClicked = [] { g_seen.clicks.push_back("quick"); };
  h.onCustomLinkHover = [](int32_t e) { g_seen.hovers.push_back({"custom", e}); };
  h.onCustomLinkClicked = [] { g_seen.clicks.push_back("customLink"); };
  h.onCustomInstallClicked = [] { g_seen.clicks.push_back("customInstall"); };
  h.onChooseDirectoryClicked = [] { g_seen.clicks.push_back("chooseDir"); };
  h.onBackLinkHover = [](int32_t e) { g_seen.hovers.push_back({"back", e}); };
  h.onBackLinkClicked = [] { g_seen.clicks.push_back("backLink"); };
  h.onRunClicked = [] { g_seen.clicks.push_back("run"); };
  return h;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_seen = Seen();
    ASSERT_TRUE(ui::loadMainWindow(recordingHandlers()));
    win_ = ui::mainSkinWindowForTesting();
    ASSERT_NE(win_, nullptr);
  }
  void TearDown() override { ui::closeMainWindowForTesting(); }

  // Centre of a control in window coordinates.
  std::pair<int, int> centre(Ctl c) const {
    skin::Rect r = win_->windowRect(int(c));
    return {r.x + r.width / 2, r.y + r.height / 2};
  }
  void clickOn(Ctl c) {
    auto [x, y] = centre(c);
    win_->mouseMove(x, y);
    win_->mouseDown(x, y);
    win_->mouseUp(x, y);
  }
  bool shown(Ctl c) const { return win_->isShown(int(c)); }

  skin::Window* win_ = nullptr;
};

TEST_F(MainWindowTest, CreationCompleteRunsOnceInsideTheLoad) {
  EXPECT_EQ(g_seen.created, 1);
  EXPECT_TRUE(g_seen.windowExistedAtCreation);
  EXPECT_EQ(ui::currentPage(), kPageQuickInstall);
}

TEST_F(MainWindowTest, PageIsClampedAndOnlyItsControlsShow) {
  struct Case {
    int requested;
    int shownPage;
  } cases[] = {{1, 1}, {2, 2}, {3, 3}, {4, 3}, {100, 3}, {INT_MAX, 3}, {-1, 0}, {INT_MIN, 0}, {0, 0}};
  // One control of each page, and the banner's two children.
  const Ctl perPage[] = {Ctl::按钮_快速安装, Ctl::按钮_自定义安装, Ctl::进度条EX1, Ctl::按钮_运行};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.requested);
    ui::setCurrentPage(c.requested);
    EXPECT_EQ(ui::currentPage(), c.shownPage);
    for (int p = 0; p < 4; ++p) EXPECT_EQ(shown(perPage[p]), p == c.shownPage) << "page " << p;
    EXPECT_EQ(shown(Ctl::标签_软件名1), c.shownPage == kPageCustomInstall);
    EXPECT_EQ(shown(Ctl::图片框EX2), c.shownPage == kPageCustomInstall);
    EXPECT_TRUE(shown(Ctl::图片按钮_退出));  // the window's own control
  }
}

TEST_F(MainWindowTest, ProgressPositionIsClampedToItsRange) {
  struct Case {
    int32_t written, stored;
  } cases[] = {{150, 150}, {300, 300}, {301, 300}, {INT32_MAX, 300}, {-1, 0}, {INT32_MIN, 0}, {7, 7}};
  for (const Case& c : cases) {
    ui::setProgressPosition(c.written);
    EXPECT_EQ(ui::progressPosition(), c.stored) << c.written;
  }
}

TEST_F(MainWindowTest, LabelTextsReadBackAsStoredGbk) {
  EXPECT_EQ(ui::labelText(Ctl::标签_软件名), gbk(ui::productNameUtf8()));
  EXPECT_EQ(ui::labelText(Ctl::标签_进度), "0%");
  const Text chinese = gbk("LOL云獭助手");
  for (Ctl label : {Ctl::标签_软件名1, Ctl::标签_软件名2, Ctl::标签_软件名3, Ctl::标签_提示文本}) {
    ui::setLabelText(label, chinese);
    EXPECT_EQ(ui::labelText(label), chinese);
  }
  ui::setEditContent(Ctl::编辑框_自定义目录, gbk("D:\\游戏\\LanJing"));
  EXPECT_EQ(ui::editContent(Ctl::编辑框_自定义目录), gbk("D:\\游戏\\LanJing"));
}

TEST_F(MainWindowTest, EachClickableControlReachesItsHandler) {
  struct Case {
    int page;
    Ctl control;
    const char* handler;  // nullptr: a decoration, nothing happens
  } cases[] = {
      {0, Ctl::按钮_快速安装, "quick"},       {0, Ctl::标签_自定义安装, "customLink"},
      {1, Ctl::按钮_自定义安装, "customInstall"}, {1, Ctl::图片按钮_目录选择, "chooseDir"},
      {1, Ctl::标签_返回快速安装, "backLink"},   {3, Ctl::按钮_运行, "run"},
      {0, Ctl::图片按钮_退出, "exit"},         {0, Ctl::图片框EX3, nullptr},
      {0, Ctl::标签_软件名, nullptr},          {1, Ctl::图片框EX1, nullptr},
      {1, Ctl::标签_软件名1, nullptr},         {1, Ctl::编辑框_自定义目录, nullptr},
      {2, Ctl::进度条EX1, nullptr},            {2, Ctl::标签_进度, nullptr},
      {3, Ctl::图片框EX4, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ui::formControl(c.control).label);
    g_seen.clicks.clear();
    ui::setCurrentPage(c.page);
    clickOn(c.control);
    if (c.handler) {
      EXPECT_EQ(g_seen.clicks, std::vector<std::string>{c.handler});
    } else {
      EXPECT_TRUE(g_seen.clicks.empty());
    }
  }
}

TEST_F(MainWindowTest, HandCursorOnlyOverTheLinksAndTheFolderButton) {
  struct Case {
    int page;
    Ctl control;
    bool hand;
  } cases[] = {
      {0, Ctl::标签_自定义安装, true}, {1, Ctl::标签_返回快速安装, true}, {1, Ctl::图片按钮_目录选择, true},
      {0, Ctl::按钮_快速安装, false},  {0, Ctl::标签_软件名, false},      {1, Ctl::编辑框_自定义目录, false},
  };
  for (const Case& c : cases) {
    ui::setCurrentPage(c.page);
    auto [x, y] = centre(c.control);
    EXPECT_EQ(win_->wantsHandCursor(x, y), c.hand) << ui::formControl(c.control).label;
  }
}

TEST_F(MainWindowTest, ControlsOfHiddenPagesTakeNoClicks) {
  ui::setCurrentPage(kPageInstalling);
  // 按钮_快速安装 (page 0) lies where nothing of page 2 takes the mouse.
  clickOn(Ctl::按钮_快速安装);
  clickOn(Ctl::按钮_自定义安装);
  EXPECT_TRUE(g_seen.clicks.empty());
}

TEST_F(MainWindowTest, DisabledCloseButtonIgnoresClicksUntilEnabled) {
  ui::setDisabled(Ctl::图片按钮_退出, true);
  EXPECT_TRUE(ui::isDisabled(Ctl::图片按钮_退出));
  clickOn(Ctl::图片按钮_退出);
  EXPECT_TRUE(g_seen.clicks.empty());
  ui::setDisabled(Ctl::图片按钮_退出, false);
  clickOn(Ctl::图片按钮_退出);
  EXPECT_EQ(g_seen.clicks, std::vector<std::string>{"exit"});
}

TEST_F(MainWindowTest, PressAndReleaseOverDifferentControlsIsNoClick) {
  auto [qx, qy] = centre(Ctl::按钮_快速安装);
  auto [lx, ly] = centre(Ctl::标签_自定义安装);
  win_->mouseDown(qx, qy);
  win_->mouseMove(lx, ly);
  win_->mouseUp(lx, ly);
  // Pressed on the page, released over the button: no click either.
  win_->mouseDown(200, 480);
  win_->mouseUp(qx, qy);
  EXPECT_TRUE(g_seen.clicks.empty());
  // Dragged off and back before the release still clicks.
  win_->mouseDown(qx, qy);
  win_->mouseMove(200, 480);
  win_->mouseUp(qx, qy);
  EXPECT_EQ(g_seen.clicks, std::vector<std::string>{"quick"});
}

TEST_F(MainWindowTest, DoubleClickGivesTwoClicks) {
  auto [x, y] = centre(Ctl::按钮_快速安装);
  for (int i = 0; i < 2; ++i) {
    win_->mouseDown(x, y);
    win_->mouseUp(x, y);
  }
  EXPECT_EQ(g_seen.clicks, (std::vector<std::string>{"quick", "quick"}));
}

TEST_F(MainWindowTest, HoverEntersAndLeavesOneControlAtATime) {
  auto [lx, ly] = centre(Ctl::标签_自定义安装);
  auto [qx, qy] = centre(Ctl::按钮_快速安装);
  win_->mouseMove(lx, ly);
  win_->mouseMove(lx + 1, ly);  // moving within the label raises nothing more
  win_->mouseMove(200, 480);    // off the label, onto the page
  win_->mouseMove(lx, ly);
  win_->mouseMove(qx, qy);      // straight onto another control
  win_->mouseMove(lx, ly);
  win_->mouseLeave();           // out of the window
  using H = std::pair<std::string, int32_t>;
  EXPECT_EQ(g_seen.hovers, (std::vector<H>{{"custom", 1}, {"custom", 0}, {"custom", 1}, {"custom", 0},
                                           {"custom", 1}, {"custom", 0}}));
  EXPECT_EQ(win_->hovered(), -1);
  win_->mouseMove(qx, qy);
  EXPECT_EQ(win_->hovered(), int(Ctl::按钮_快速安装));
}

TEST_F(MainWindowTest, LinkColourIsWrittenAndReadBack) {
  EXPECT_EQ(ui::labelColor(Ctl::标签_自定义安装), 0xFF7A7A7Au);
  ui::setLabelColor(Ctl::标签_自定义安装, 0xFF000000u);
  EXPECT_EQ(ui::labelColor(Ctl::标签_自定义安装), 0xFF000000u);
}

TEST_F(MainWindowTest, OperationsBeforeTheLoadDoNothing) {
  ui::closeMainWindowForTesting();
  ui::setCurrentPage(2);
  ui::setProgressPosition(5);
  ui::setLabelText(Ctl::标签_进度, "5%");
  EXPECT_EQ(ui::currentPage(), 0);
  EXPECT_EQ(ui::progressPosition(), 0);
  EXPECT_EQ(ui::labelText(Ctl::标签_进度), "");
  EXPECT_EQ(ui::mainWindowHandle(), nullptr);
}

// A ZIP archive with stored (uncompressed) entries.
std::string storedZip(const std::vector<std::pair<std::string, std::string>>& files) {
  std::string out, central;
  auto u16 = [](std::string& s, unsigned v) { s += char(v & 0xFF); s += char((v >> 8) & 0xFF); };
  auto u32 = [&](std::string& s, unsigned long v) { u16(s, unsigned(v & 0xFFFF)); u16(s, unsigned(v >> 16)); };
  for (const auto& [name, data] : files) {
    const unsigned long crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size()));
    const unsigned long offset = out.size();
    u32(out, 0x04034b50); u16(out, 20); u16(out, 0); u16(out, 0); u16(out, 0); u16(out, 0);
    u32(out, crc); u32(out, data.size()); u32(out, data.size()); u16(out, unsigned(name.size())); u16(out, 0);
    out += name + data;
    u32(central, 0x02014b50); u16(central, 20); u16(central, 20); u16(central, 0); u16(central, 0);
    u16(central, 0); u16(central, 0); u32(central, crc); u32(central, data.size()); u32(central, data.size());
    u16(central, unsigned(name.size())); u16(central, 0); u16(central, 0); u16(central, 0); u16(central, 0);
    u32(central, 0); u32(central, offset);
    central += name;
  }
  const unsigned long cdOffset = out.size();
  out += central;
  u32(out, 0x06054b50); u16(out, 0); u16(out, 0); u16(out, unsigned(files.size())); u16(out, unsigned(files.size()));
  u32(out, central.size()); u32(out, cdOffset); u16(out, 0);
  return out;
}

TEST_F(MainWindowTest, UnpackRaisesTheProgressEventUpTo100) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("ui_unpack_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "out");
  {
    std::ofstream zip(dir / "a.zip", std::ios::binary);
    zip << storedZip({{"one.txt", "first"}, {"sub/two.txt", "second"}});
  }
  EXPECT_TRUE(ui::unpackWithZipComponent((dir / "a.zip").string(), (dir / "out").string()));
  std::ifstream two(dir / "out" / "sub" / "two.txt");
  std::string content((std::istreambuf_iterator<char>(two)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "second");
  ASSERT_FALSE(g_seen.unzip.empty());
  EXPECT_EQ(g_seen.unzip.back(), 100);
  for (int32_t v : g_seen.unzip) EXPECT_TRUE(v >= 0 && v <= 100) << v;
  fs::remove_all(dir);
}

}  // namespace
