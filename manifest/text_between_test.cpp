#include "manifest/text_between.h"

#include <gtest/gtest.h>

#include "runtime/codepage.h"

namespace {

struct Case {
  const char* what;
  Text source;
  Text start;
  Text end;
  Text expected;
};

// "啊" is B0 A1 and "阿" is B0 A2 in GBK: the bytes A1 B0 occur between them
// without being a character of the text.
const Text kAcross = "\xB0\xA1\xB0\xA2";
const Text kAcrossMarker = "\xA1\xB0";

}  // namespace

TEST(TextBetween, Table) {
  const Text close = gbk("）");
  const Text version = gbk("安装器版本号=（");
  const Text prompt = gbk("更新提示=（");
  const Case cases[] = {
      {"version entry", gbk("# 注释\n安装器版本号=（V11）\n"), version, close, "V11"},
      {"first occurrence wins", gbk("安装器版本号=（V11）安装器版本号=（V12）"), version, close, "V11"},
      {"empty value", gbk("安装器版本号=（）V11）"), version, close, ""},
      {"start marker missing", gbk("版本=（V11）"), version, close, ""},
      {"end marker missing", gbk("安装器版本号=（V11"), version, close, ""},
      {"end marker only before the start", gbk("）安装器版本号=（V11"), version, close, ""},
      {"spaces and line breaks kept", gbk("安装器版本号=（ V11 \r\n）"), version, close, " V11 \r\n"},
      {"key inside a longer key", gbk("PP更新提示=（甲）更新提示=（乙）"), prompt, close, gbk("甲")},
      {"quote token is a double quote", "name=\"value\" rest", gbk("name=#引号"), gbk("#引号"), "value"},
      {"quote token never matches itself", gbk("name=#引号value#引号"), gbk("name=#引号"), gbk("#引号"), ""},
      {"start marker only across two characters", kAcross + "1)", kAcrossMarker, ")", ""},
      {"later aligned start marker found", kAcross + "1)" + kAcrossMarker + "2)", kAcrossMarker, ")", "2"},
      {"end marker only across two characters", "k=" + kAcross + "x", "k=", kAcrossMarker, ""},
      {"empty source", "", version, close, ""},
      {"empty end marker", gbk("安装器版本号=（V11）"), version, "", ""},
      {"letter case matters", "key=(v)", "KEY=(", ")", ""},
      {"bare update key inside a brand's key", gbk("岚鲸自销更新跳转=（http://a）"), gbk("自销更新跳转=（"), close, "http://a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(textBetween(c.source, c.start, c.end), c.expected) << c.what;
  }
}
