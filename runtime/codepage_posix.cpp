#include <iconv.h>

#include <cerrno>

#include "runtime/codepage.h"

namespace {

// Converts with iconv; a byte sequence the source charset cannot decode is
// replaced by the replacement character (as MultiByteToWideChar does), an
// unencodable character by '?'.
std::string convert(const char* to, const char* from, const std::string& in,
                    const std::string& replacement) {
  if (in.empty()) return {};
  iconv_t cd = iconv_open(to, from);
  if (cd == iconv_t(-1)) return {};
  std::string out;
  char buf[4096];
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  while (srcLeft > 0) {
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buf, size_t(dst - buf));
    if (r == size_t(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: skip one source unit and put the replacement.
      out += replacement;
      size_t skip = (std::string(from) == "UTF-16LE") ? 2 : 1;
      if (skip > srcLeft) skip = srcLeft;
      src += skip;
      srcLeft -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

std::u16string bytesToU16(const std::string& b) {
  std::u16string out(b.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = char16_t(uint8_t(b[2 * i]) | (uint8_t(b[2 * i + 1]) << 8));
  return out;
}

std::string u16ToBytes(const std::u16string& w) {
  std::string out(w.size() * 2, '\0');
  for (size_t i = 0; i < w.size(); ++i) {
    out[2 * i] = char(w[i] & 0xFF);
    out[2 * i + 1] = char(w[i] >> 8);
  }
  return out;
}

const std::string kReplacementUtf16("\xFD\xFF", 2);  // U+FFFD, little-endian

}  // namespace

std::u16string gbkToUtf16(const Text& gbk) {
  return bytesToU16(convert("UTF-16LE", "CP936", gbk, kReplacementUtf16));
}
Text utf16ToGbk(const std::u16string& wide) {
  return convert("CP936", "UTF-16LE", u16ToBytes(wide), "?");
}
std::u16string utf8ToUtf16(const std::string& utf8) {
  return bytesToU16(convert("UTF-16LE", "UTF-8", utf8, kReplacementUtf16));
}
std::string utf16ToUtf8(const std::u16string& wide) {
  return convert("UTF-8", "UTF-16LE", u16ToBytes(wide), "?");
}
Text utf8ToText(const std::string& utf8) { return utf16ToGbk(utf8ToUtf16(utf8)); }
std::string textToUtf8(const Text& gbk) { return utf16ToUtf8(gbkToUtf16(gbk)); }
