#include "runtime/codepage.h"

#include <gtest/gtest.h>

TEST(Codepage, GbkBytesOfChineseText) {
  // 提示 in GBK is CC E1 CA BE; "（" is A3 A8 and "）" is A3 A9.
  EXPECT_EQ(gbk("提示"), Text("\xCC\xE1\xCA\xBE"));
  EXPECT_EQ(gbk("（）="), Text("\xA3\xA8\xA3\xA9="));
}

TEST(Codepage, RoundTripsThroughUtf16AndUtf8) {
  const std::string utf8 = "LOL岚鲸助手 V11";
  Text t = utf8ToText(utf8);
  EXPECT_EQ(textToUtf8(t), utf8);
  EXPECT_EQ(utf16ToGbk(gbkToUtf16(t)), t);
  EXPECT_EQ(gbkToUtf16(gbk("岚")), std::u16string(u"岚"));
}

TEST(Codepage, EmptyStaysEmpty) {
  EXPECT_EQ(gbkToUtf16(""), std::u16string());
  EXPECT_EQ(utf8ToText(""), Text());
}
