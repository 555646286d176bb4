#include "runtime/file_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "runtime/codepage.h"

namespace fs = std::filesystem;

namespace {

class FileCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("filecmd-" + std::to_string(std::random_device()()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  // GBK Text of a path below the test folder.
  Text path(const std::string& utf8Name) const {
    return utf8ToText(dir_.u8string() + std::string(1, char(fs::path::preferred_separator)) + utf8Name);
  }
  fs::path fsPath(const std::string& utf8Name) const { return dir_ / fs::u8path(utf8Name); }

  fs::path dir_;
};

}  // namespace

TEST_F(FileCommands, WholeFileRoundTripWithChineseName) {
  Bytes data = {'a', 0, 'b', 0xFF};
  ASSERT_TRUE(writeWholeFile(path("美化.zip"), data));
  EXPECT_TRUE(fs::exists(fsPath("美化.zip")));
  EXPECT_FALSE(fs::exists(fsPath("美化.zip.part")));
  Bytes back;
  ASSERT_TRUE(readWholeFile(path("美化.zip"), &back));
  EXPECT_EQ(back, data);
  EXPECT_TRUE(fileExists(path("美化.zip")));
}

TEST_F(FileCommands, FailedWriteLeavesNothingBehind) {
  EXPECT_FALSE(writeWholeFile(path("missing/dir/x.dll"), Bytes{1, 2, 3}));
  EXPECT_FALSE(fs::exists(fsPath("missing")));
}

TEST_F(FileCommands, DirectoriesAndDeletes) {
  EXPECT_TRUE(createOneDirectory(path("头像")));
  EXPECT_TRUE(createOneDirectory(path("头像")));  // already there: still a directory
  EXPECT_FALSE(createOneDirectory(path("a/b")));  // parent missing: one level only
  EXPECT_FALSE(fileExists(path("头像")));         // a directory is not a file
  ASSERT_TRUE(writeWholeFile(path("头像/x"), Bytes{1}));
  EXPECT_TRUE(deleteOneFile(path("头像/x")));
  EXPECT_TRUE(deleteOneFile(path("头像/x")));  // missing: silent
  EXPECT_FALSE(fs::exists(fsPath("头像/x")));
}
