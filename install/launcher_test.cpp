#include "install/launcher.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/codepage.h"
#include "tests/support/test_env.h"

namespace fs = std::filesystem;

namespace {

struct ShellCall {
  std::u16string verb, parameters, directory;
  bool fileIsNull = false;
  std::u16string file;
  bool parametersDoublyEnded = false;
  int show = -1;
};
ShellCall g_call;
intptr_t g_answer = 42;

intptr_t recordShell(const char16_t* verb, const char16_t* file, const char16_t* parameters,
                     const char16_t* directory, int show) {
  g_call = ShellCall();
  g_call.verb = verb ? verb : u"";
  g_call.fileIsNull = file == nullptr;
  if (file) g_call.file = file;
  g_call.parameters = parameters;
  g_call.parametersDoublyEnded = parameters[g_call.parameters.size() + 1] == 0;
  g_call.directory = directory;
  g_call.show = show;
  return g_answer;
}

class RunProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    setShellExecuteWideHookForTesting(recordShell);
    g_answer = 42;
  }
  void TearDown() override { setShellExecuteWideHookForTesting(nullptr); }
};

}  // namespace

TEST_F(RunProgram, ShowIndexPicksTheShowCommand) {
  const struct {
    int index, show;
  } table[] = {{0, SW_SHOWNORMAL}, {1, SW_HIDE}, {2, SW_SHOWMINNOACTIVE}, {3, SW_SHOWMAXIMIZED},
               {4, SW_SHOWNORMAL}, {5, SW_SHOWNORMAL}, {-1, SW_SHOWNORMAL}};
  for (const auto& row : table) {
    runProgram("C:\\p.exe", "", row.index);
    EXPECT_EQ(g_call.show, row.show) << "index " << row.index;
  }
}

TEST_F(RunProgram, PassesWideTextsAsTheShellExpects) {
  runProgram(gbk("D:\\游戏\\LanJing\\VIduva.exe"), "", 0);
  EXPECT_EQ(g_call.verb, u"Open");
  EXPECT_FALSE(g_call.fileIsNull);
  EXPECT_EQ(g_call.file, u"D:\\游戏\\LanJing\\VIduva.exe");
  EXPECT_EQ(g_call.parameters, u"");  // an empty string, not an absent one
  EXPECT_EQ(g_call.directory, u"");

  runProgram("C:\\p.exe", gbk("-a 中"), 0);
  EXPECT_EQ(g_call.parameters, u"-a 中");
  EXPECT_TRUE(g_call.parametersDoublyEnded);

  runProgram("", "", 0);
  EXPECT_TRUE(g_call.fileIsNull);
}

TEST_F(RunProgram, OnlyFileNotFoundCountsAsFailure) {
  for (intptr_t answer : {intptr_t(0), intptr_t(3), intptr_t(5), intptr_t(31), intptr_t(32), intptr_t(33)}) {
    g_answer = answer;
    EXPECT_TRUE(runProgram("C:\\p.exe", "", 0)) << answer;
  }
  g_answer = 2;
  EXPECT_FALSE(runProgram("C:\\p.exe", "", 0));
}

// The real shell: a program under a Chinese path starts; a deleted one is
// reported as not found.
TEST(RunProgramForReal, StartsAProgramUnderAChinesePath) {
  ScratchDir dir("launch");
  fs::path sample = fs::u8path(testSiteDir()) / "vrk/exe/zcx/PP_z.exe";
  ASSERT_TRUE(fs::exists(sample));
  Text program = dir.path() + gbk("\\岚鲸 助手\\VIduva.exe");
  fs::path programFs = fs::u8path(textToUtf8(program));
  fs::create_directories(programFs.parent_path());
  fs::copy_file(sample, programFs);
  EXPECT_TRUE(runProgram(program, "", 1));  // hidden: no window left behind on screen
  fs::path started = programFs;
  started += ".started";
  bool seen = false;
  for (int i = 0; i < 100 && !seen; ++i, Sleep(100)) seen = fs::exists(started);
  EXPECT_TRUE(seen);
  // Close it again: its window is titled with its own name.
  if (HWND w = FindWindowW(nullptr, L"VIduva")) PostMessageW(w, WM_CLOSE, 0, 0);

  EXPECT_FALSE(runProgram(dir.path() + "\\gone.exe", "", 0));
}
