#include "install/path_utils.h"

#include <gtest/gtest.h>

#include "app/install_state.h"
#include "runtime/codepage.h"

namespace {

WideText bytes(std::initializer_list<uint8_t> list) { return WideText(list); }

TEST(TextToWide, BytesOfPaths) {
  struct Case {
    Text text;
    WideText wide;
  } cases[] = {
      {"C:\\a", bytes({0x43, 0, 0x3A, 0, 0x5C, 0, 0x61, 0, 0, 0})},
      {"", bytes({})},
      // Code page 0 (before start-up sets it) still means GBK, never the
      // system's ANSI code page.
      {gbk("中文"), bytes({0x2D, 0x4E, 0x87, 0x65, 0, 0})},
      // The text ends at its first NUL byte.
      {Text("a\0b", 3), bytes({0x61, 0, 0, 0})},
      {Text("\0b", 2), bytes({})},
  };
  for (int32_t codePage : {0, 936}) {
    installState().codePage = codePage;
    for (const Case& c : cases) EXPECT_EQ(textToWide(c.text), c.wide) << c.text << " cp " << codePage;
  }
  installState().codePage = 0;
}

TEST(TrimAtNul, CutsAtFirstZeroUnit) {
  struct Case {
    WideText in;
    WideText withoutTerminator;
  } cases[] = {
      {bytes({}), bytes({})},
      {bytes({0x41}), bytes({})},                                 // shorter than one unit
      {bytes({0x41, 0, 0x42}), bytes({0x41, 0})},                 // odd trailing byte dropped
      {bytes({0x41, 0, 0x42, 0}), bytes({0x41, 0, 0x42, 0})},     // no zero unit
      {bytes({0, 0, 0x41, 0}), bytes({})},                        // zero first
      {bytes({0x41, 0, 0, 0, 0x42, 0}), bytes({0x41, 0})},        // cut at the first zero
      {bytes({0x00, 0x41, 0x41, 0x00}), bytes({0x00, 0x41, 0x41, 0x00})},  // zero bytes, no zero unit
      {bytes({0x41, 0x00, 0x00}), bytes({0x41, 0})},              // a lone zero byte is no unit
  };
  for (const Case& c : cases) {
    EXPECT_EQ(trimAtNul(c.in, false), c.withoutTerminator);
    WideText terminated = c.withoutTerminator;
    if (!terminated.empty()) terminated.insert(terminated.end(), {0, 0});
    EXPECT_EQ(trimAtNul(c.in, true), terminated);
  }
}

TEST(IsValidPath, AcceptsOnlyAbsoluteDrivePaths) {
  struct Case {
    Text path;
    bool withRejectRoot;
    bool withoutRejectRoot;
  } cases[] = {
      {"C:\\", false, true},
      {"C:/", false, true},
      {"C:\\\\", false, true},        // collapses to C:\ .
      {"C:\\\\\\\\\\", false, true},  // any run collapses
      {"C:/\\", false, true},        // mixed separators: still the bare root
      {"C:\\/", false, true},
      {"C:\\Games", true, true},
      {"d:/games", true, true},
      {"C:///x", true, true},         // collapses to C:/x
      {"C:\\a\\\\b//c", true, true},
      {"1:\\x", false, false},        // a digit is no drive letter
      {"\\\\server\\share\\x", false, false},
      {"games\\x", false, false},     // relative
      {"C:", false, false},
      {"C:x", false, false},
      {"", false, false},
      {gbk("中:\\x"), false, false},  // first byte of a double-byte character
      {"C:\\" + gbk("中文目录"), true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isValidPath(c.path, true), c.withRejectRoot) << c.path;
    EXPECT_EQ(isValidPath(c.path, false), c.withoutRejectRoot) << c.path;
  }
}

TEST(IsValidPath, LongRunsOfSeparatorsCollapseAndEnd) {
  EXPECT_TRUE(isValidPath("C:" + Text(5000, '\\') + "x", true));
  EXPECT_FALSE(isValidPath("C:" + Text(5001, '/'), true));  // only the root is left
}

}  // namespace
