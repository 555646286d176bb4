#include <windows.h>

#include "runtime/codepage.h"

namespace {

std::u16string toWide(UINT codePage, const std::string& bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
  if (n <= 0) return {};
  std::u16string out(size_t(n), u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), int(bytes.size()),
                      reinterpret_cast<wchar_t*>(&out[0]), n);
  return out;
}

std::string fromWide(UINT codePage, const std::u16string& wide) {
  if (wide.empty()) return {};
  const wchar_t* w = reinterpret_cast<const wchar_t*>(wide.data());
  int n = WideCharToMultiByte(codePage, 0, w, int(wide.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(codePage, 0, w, int(wide.size()), &out[0], n, nullptr, nullptr);
  return out;
}

}  // namespace

std::u16string gbkToUtf16(const Text& gbk) { return toWide(kGbkCodePage, gbk); }
Text utf16ToGbk(const std::u16string& wide) { return fromWide(kGbkCodePage, wide); }
std::u16string utf8ToUtf16(const std::string& utf8) { return toWide(CP_UTF8, utf8); }
std::string utf16ToUtf8(const std::u16string& wide) { return fromWide(CP_UTF8, wide); }
Text utf8ToText(const std::string& utf8) { return utf16ToGbk(utf8ToUtf16(utf8)); }
std::string textToUtf8(const Text& gbk) { return utf16ToUtf8(gbkToUtf16(gbk)); }
