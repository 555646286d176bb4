#include "runtime/text_search.h"

#include <gtest/gtest.h>

#include "runtime/codepage.h"

namespace {

struct FindCase {
  const char* what;
  Text source;
  Text needle;
  int start;
  int expected;
};

}  // namespace

TEST(TextFind, Table) {
  // "啊阿" is B0 A1 B0 A2: A1 B0 spans the two characters.
  const Text across = "\xB0\xA1\xB0\xA2";
  const FindCase cases[] = {
      {"first byte", "abcabc", "abc", 1, 1},
      {"at or after start", "abcabc", "abc", 2, 4},
      {"start on the match", "abcabc", "abc", 4, 4},
      {"none left after start", "abcabc", "abc", 5, -1},
      {"start past the end", "abc", "c", 9, -1},
      {"start below 1 searches from the beginning", "abc", "a", 0, 1},
      {"letter case matters", "ABC", "b", 1, -1},
      {"empty needle", "abc", "", 1, -1},
      {"needle longer than source", "ab", "abc", 1, -1},
      {"never on a second byte", across, "\xA1\xB0", 1, -1},
      {"second byte equal to an ASCII needle", "\x95\x5C" "a\\", "\\", 1, 4},
      {"two-byte needle on a boundary", across, "\xB0\xA2", 1, 3},
      {"start inside a character", across + "\xB0\xA2", "\xB0\xA2", 2, 3},
      {"lone lead byte at the end", "a\xB0", "\xB0", 1, 2},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(textFind(c.source, c.needle, c.start), c.expected) << c.what;
  }
}

TEST(TextReplaceAll, ReplacesEveryAlignedOccurrence) {
  EXPECT_EQ(textReplaceAll("a#b#c", "#", "--"), "a--b--c");
  EXPECT_EQ(textReplaceAll("aaa", "aa", "b"), "ba");  // left to right, no overlap
  EXPECT_EQ(textReplaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(textReplaceAll(gbk("路径\\目录"), "\\", "/"), gbk("路径/目录"));
  // The second byte of 0x95 0x5C is a backslash but not a character.
  EXPECT_EQ(textReplaceAll("\x95\x5C\\", "\\", "/"), "\x95\x5C/");
}

TEST(TextLeftOf, TextBeforeTheFirstMarker) {
  EXPECT_EQ(textLeftOf(gbk("D:\\游戏\\LanJing\\x"), "\\LanJing"), gbk("D:\\游戏"));
  EXPECT_EQ(textLeftOf("abc", "x"), "");
  EXPECT_EQ(textLeftOf("abc", "a"), "");
}
