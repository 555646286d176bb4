// Conversions between GBK Text, UTF-16 and UTF-8.
//
// Every conversion names code page 936 explicitly, never the system's ANSI
// code page, so the installer reads and shows Chinese text correctly on a
// Windows of any locale.
#pragma once

#include <string>

#include "runtime/text.h"

constexpr int kGbkCodePage = 936;

// GBK -> UTF-16 (no terminator in the result). Invalid bytes follow the
// platform converter's default replacement.
std::u16string gbkToUtf16(const Text& gbk);
// UTF-16 -> GBK; characters GBK cannot hold become '?'.
Text utf16ToGbk(const std::u16string& wide);
// UTF-8 -> UTF-16 -> GBK.
Text utf8ToText(const std::string& utf8);
std::string textToUtf8(const Text& gbk);
std::u16string utf8ToUtf16(const std::string& utf8);
std::string utf16ToUtf8(const std::u16string& wide);

// GBK text of a UTF-8 literal from the source code: gbk("提示").
inline Text gbk(const char* utf8) { return utf8ToText(utf8); }
