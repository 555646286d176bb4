// The whole installation against the test server, on real folders, with the
// real window: what a complete install leaves on disk, and what a failed one
// does instead of showing the finished page.
#include "install/install_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/install_state.h"
#include "download/download_task.h"
#include "download/progress_display.h"
#include "runtime/codepage.h"
#include "runtime/dialogs.h"
#include "runtime/file_commands.h"
#include "runtime/ini_file.h"
#include "runtime/shell_folders.h"
#include "runtime/shortcut.h"
#include "tests/support/test_env.h"
#include "ui/main_window.h"

namespace fs = std::filesystem;

namespace {

struct ShownBox {
  void* owner;
  Text text, caption;
  unsigned style;
};
std::vector<ShownBox> g_boxes;
int recordBox(void* owner, const Text& text, const Text& caption, unsigned style) {
  g_boxes.push_back({owner, text, caption, style});
  return kIdOk;
}

fs::path fsPath(const Text& gbkPath) { return fs::u8path(textToUtf8(gbkPath)); }

Bytes fileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string fileText(const fs::path& p) {
  Bytes b = fileBytes(p);
  return std::string(b.begin(), b.end());
}

// The paths an archive holds, from the listing the site generator wrote.
std::vector<std::string> expectedEntries(const std::string& archive) {
  std::ifstream in(fs::u8path(testSiteDir()) / "expected" / (archive + ".txt"));
  std::vector<std::string> names;
  for (std::string line; std::getline(in, line);)
    if (!line.empty()) names.push_back(line);
  return names;
}

class InstallSequence : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FormHandlers h;
    h.onUnzipProgress = onUnzipProgress;
    ASSERT_TRUE(ui::loadMainWindow(h));
    ui::setLabelText(Ctl::标签_软件名, "VIduva");
  }

  void SetUp() override {
    setMessageBoxHookForTesting(recordBox);
    g_boxes.clear();
    setServerRule("", "");
    InstallState& s = installState();
    if (!s.downloadTask) s.downloadTask = new DownloadTask();
    s.codePage = kGbkCodePage;
    s.serverHost = testServerHost();
    s.mainProgramUrl = "http://" + s.serverHost + ":5001/vrk/exe/zcx/PP_z.exe";
    s.brandName = "PP";
    s.defaultDir = scratch_.path() + "\\LanJing";
    s.customDir = scratch_.path() + gbk("\\自定义\\LanJing");
    s.installedProgramPath.clear();
    deleteOneFile(kMarkerIniPath);
    ui::setCurrentPage(kPageQuickInstall);
    ui::setProgressPosition(0);
  }

  void TearDown() override { setServerRule("", ""); }

  Text D() const { return installState().defaultDir; }
  fs::path site(const char* rel) const { return fs::u8path(testSiteDir()) / fs::u8path(rel); }

  void expectCompleteInstall(const Text& dir) {
    fs::path d = fsPath(dir);
    for (const char* sub : {"Data", "Config", "resource", "resource/Mountcache", "Data/image",
                            "Data/image/head", "Data/image/uncentered"})
      EXPECT_TRUE(fs::is_directory(d / sub)) << sub;
    EXPECT_EQ(fileBytes(d / "libcurl.dll"), fileBytes(site("vrk/shuju/libcurl.dll")));
    EXPECT_EQ(fileBytes(d / "HPSocket4C.dll"), fileBytes(site("vrk/shuju/HPSocket4C.dll")));
    EXPECT_EQ(fileBytes(d / "VIduva.exe"), fileBytes(site("vrk/exe/zcx/PP_z.exe")));
    for (const std::string& e : expectedEntries("yxtx"))
      EXPECT_TRUE(fs::exists(d / "Data/image/head" / fs::u8path(e))) << e;
    for (const std::string& e : expectedEntries("mhtp"))
      EXPECT_TRUE(fs::exists(d / "Data/image" / fs::u8path(e))) << e;
    EXPECT_FALSE(fs::exists(d / fs::u8path("Data/image/head/头像.zip")));
    EXPECT_FALSE(fs::exists(d / fs::u8path("Data/image/美化.zip")));

    Bytes ini;
    ASSERT_TRUE(readWholeFile(kMarkerIniPath, &ini));
    EXPECT_EQ(iniGetValue(ini, "prompt", "prompt"), gbk("这是PP助手生成的一个配置文件，请勿删除"));
    EXPECT_EQ(iniGetValue(ini, "BASE", "path"), dir);

    Text program = dir + "\\VIduva.exe";
    EXPECT_EQ(installState().installedProgramPath, program);
    EXPECT_EQ(shortcutTarget(specialFolderPath(kCsidlDesktopDirectory) + "VIduva.lnk"), program);
    EXPECT_EQ(ui::currentPage(), kPageFinished);
    EXPECT_FALSE(ui::isDisabled(Ctl::图片按钮_退出));
    EXPECT_TRUE(g_boxes.empty());
  }

  // A failed install: the message, the start page again, the ring at 0.
  void expectFailedInstall(int startPage, const std::vector<Text>& failed,
                           const std::vector<Text>& expectedFailed) {
    EXPECT_EQ(failed, expectedFailed);
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0].caption, gbk("提示"));
    EXPECT_EQ(g_boxes[0].owner, ui::mainWindowHandle());
    EXPECT_EQ(g_boxes[0].text.rfind(gbk("安装未完成，请检查网络连接后重试") + "\n", 0), 0u);
    for (const Text& name : expectedFailed) EXPECT_NE(g_boxes[0].text.find(name), Text::npos);
    EXPECT_EQ(ui::currentPage(), startPage);
    EXPECT_FALSE(ui::isDisabled(Ctl::图片按钮_退出));
    EXPECT_EQ(ui::progressPosition(), 0);
    EXPECT_EQ(ui::labelText(Ctl::标签_进度), "0%");
  }

  ScratchDir scratch_{"install"};
};

}  // namespace

TEST_F(InstallSequence, QuickInstallLaysOutTheWholeProduct) {
  EXPECT_TRUE(runInstallSequence(InstallEntry::Quick, &installState().defaultDir).empty());
  expectCompleteInstall(D());
}

TEST_F(InstallSequence, CustomInstallGoesIntoTheChosenDirectory) {
  // The chosen folder exists; the install creates LanJing below it.
  fs::create_directories(fsPath(scratch_.path() + gbk("\\自定义")));
  ui::setCurrentPage(kPageCustomInstall);
  EXPECT_TRUE(runInstallSequence(InstallEntry::Custom, &installState().customDir).empty());
  expectCompleteInstall(installState().customDir);
  EXPECT_FALSE(fs::exists(fsPath(D())));
}

TEST_F(InstallSequence, ResourceFolderOfAnEarlierInstallIsEmptiedFirst) {
  fs::path stale = fsPath(D()) / "Data/image/resource/stale.png";
  fs::create_directories(stale.parent_path());
  std::ofstream(stale) << "old";
  EXPECT_TRUE(runInstallSequence(InstallEntry::Quick, &installState().defaultDir).empty());
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::is_directory(stale.parent_path()));
}

TEST_F(InstallSequence, FailuresNeverShowTheFinishedPage) {
  struct Case {
    const char* name;
    const char* path;  // server path given a fault rule, or null: server gone
    const char* rule;
    std::vector<Text> failed;
  } cases[] = {
      {"server stops after start-up", nullptr, nullptr,
       {gbk("头像.zip"), "libcurl.dll", "HPSocket4C.dll", gbk("美化.zip"), "VIduva.exe"}},
      {"one archive answers 404", "/vrk/shuju/mhtp.zip", "status=404", {gbk("美化.zip")}},
      {"a body cut short", "/vrk/shuju/yxtx.zip", "cut=100", {gbk("头像.zip")}},
      {"a library answers 500", "/vrk/shuju/libcurl.dll", "status=500", {"libcurl.dll"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    // Libraries of an earlier install that must survive a failed fetch.
    fs::create_directories(fsPath(D()));
    for (const char* lib : {"libcurl.dll", "HPSocket4C.dll"})
      std::ofstream(fsPath(D()) / lib, std::ios::binary) << "working library";
    if (c.path) {
      ASSERT_TRUE(setServerRule(c.path, c.rule));
    } else {
      installState().serverHost = "127.0.0.9";  // nothing listens there
      installState().mainProgramUrl = "http://127.0.0.9:5001/vrk/exe/zcx/PP_z.exe";
    }
    expectFailedInstall(kPageQuickInstall,
                        runInstallSequence(InstallEntry::Quick, &installState().defaultDir), c.failed);
    for (const char* lib : {"libcurl.dll", "HPSocket4C.dll"}) {
      bool fetched = std::find(c.failed.begin(), c.failed.end(), Text(lib)) == c.failed.end();
      if (!fetched) {
        EXPECT_EQ(fileText(fsPath(D()) / lib), "working library") << lib;
      }
    }
    // Nothing is undone: the markers are written even when files are missing.
    Bytes ini;
    EXPECT_TRUE(readWholeFile(kMarkerIniPath, &ini));
    EXPECT_EQ(iniGetValue(ini, "BASE", "path"), D());
    // Without the second archive nothing creates the resource folder.
    if (c.path == nullptr || std::string(c.path) == "/vrk/shuju/mhtp.zip") {
      EXPECT_FALSE(fs::exists(fsPath(D()) / "Data/image/resource"));
    }
    TearDown();
    fs::remove_all(fsPath(D()));
  }
}

TEST_F(InstallSequence, FailedCustomInstallReturnsToTheCustomPage) {
  fs::create_directories(fsPath(scratch_.path() + gbk("\\自定义")));
  ui::setCurrentPage(kPageCustomInstall);
  ASSERT_TRUE(setServerRule("/vrk/exe/zcx/PP_z.exe", "status=404"));
  expectFailedInstall(kPageCustomInstall,
                      runInstallSequence(InstallEntry::Custom, &installState().customDir),
                      {"VIduva.exe"});
}
