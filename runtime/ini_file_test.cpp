#include "runtime/ini_file.h"

#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "runtime/file_commands.h"

#include <filesystem>
#include <random>

namespace {

Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }
std::string str(const Bytes& b) { return std::string(b.begin(), b.end()); }

}  // namespace

TEST(IniSetValue, EditsLikeTheProfileFunctions) {
  struct Case {
    const char* name;
    std::string before, section, key, value, after;
  } cases[] = {
      {"new file", "", "prompt", "prompt", "x", "[prompt]\r\nprompt=x\r\n"},
      {"second section appended", "[prompt]\r\nprompt=x\r\n", "BASE", "path", "C:\\a",
       "[prompt]\r\nprompt=x\r\n[BASE]\r\npath=C:\\a\r\n"},
      {"value replaced, case-blind names", "[Base]\r\n PATH = old\r\nother=1\r\n", "BASE", "path",
       "new", "[Base]\r\npath=new\r\nother=1\r\n"},
      {"key added after the section's last entry", "[a]\r\nk=1\r\n\r\n[b]\r\nk=2\r\n", "a", "n", "3",
       "[a]\r\nk=1\r\nn=3\r\n\r\n[b]\r\nk=2\r\n"},
      {"LF-only file keeps its entries", "[a]\nk=1\n", "a", "k", "2", "[a]\r\nk=2\r\n"},
      {"same key in another section untouched", "[x]\r\npath=1\r\n", "BASE", "path", "2",
       "[x]\r\npath=1\r\n[BASE]\r\npath=2\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(str(iniSetValue(bytes(c.before), c.section, c.key, c.value)), c.after) << c.name;
}

TEST(IniSetValue, KeepsGbkValuesByteForByte) {
  Text value = gbk("这是岚鲸助手生成的一个配置文件，请勿删除");
  Bytes out = iniSetValue({}, "prompt", "prompt", value);
  EXPECT_EQ(iniGetValue(out, "PROMPT", "prompt"), value);
  EXPECT_EQ(str(out), "[prompt]\r\nprompt=" + value + "\r\n");
}

TEST(IniSetValue, GbkTrailBytesAreNotCaseFolded) {
  // 陌 is C4 B0 and 盃 is B1 AD: in GBK a trail byte can fall in A..Z or a..z.
  Text upper = std::string("\xB1\x41");  // a lead byte followed by 'A'
  Text lower = std::string("\xB1\x61");  // the same lead byte followed by 'a'
  Bytes out = iniSetValue({}, upper, "k", "1");
  out = iniSetValue(out, lower, "k", "2");
  EXPECT_EQ(iniGetValue(out, upper, "k"), "1");
  EXPECT_EQ(iniGetValue(out, lower, "k"), "2");
}

TEST(IniWrite, KeepsAFileSavedAsUtf16AsUtf16) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("ini-" + std::to_string(std::random_device()()));
  fs::create_directories(dir);
  const Text path = utf8ToText((dir / "LanJing.ini").u8string());
  std::u16string before = u"\uFEFF[prompt]\r\nprompt=旧\r\n";
  Bytes utf16;
  for (char16_t c : before) {
    utf16.push_back(uint8_t(c & 0xFF));
    utf16.push_back(uint8_t(c >> 8));
  }
  ASSERT_TRUE(writeWholeFile(path, utf16));
  ASSERT_TRUE(iniWrite(path, "BASE", "path", gbk("D:\\游戏\\LanJing")));
  Bytes after;
  ASSERT_TRUE(readWholeFile(path, &after));
  ASSERT_GE(after.size(), 2u);
  EXPECT_EQ(after[0], 0xFF);
  EXPECT_EQ(after[1], 0xFE);
  std::u16string text;
  for (size_t i = 2; i + 1 < after.size(); i += 2) text += char16_t(after[i] | (after[i + 1] << 8));
  EXPECT_EQ(text, u"[prompt]\r\nprompt=旧\r\n[BASE]\r\npath=D:\\游戏\\LanJing\r\n");
  fs::remove_all(dir);
}
