// textToWide for the native build: the run time's GBK converter (code page
// 936 is the only one the program ever sets).
#include <cstring>

#include "install/path_utils.h"
#include "runtime/codepage.h"

WideText textToWide(const Text& text) {
  // The text ends at its first NUL, as it does for the Windows converter.
  const Text upToNul(text.c_str(), std::strlen(text.c_str()));
  if (upToNul.empty()) return WideText();
  const std::u16string units = gbkToUtf16(upToNul);
  WideText out;
  out.reserve(units.size() * 2 + 2);
  for (char16_t u : units) {
    out.push_back(uint8_t(u & 0xFF));
    out.push_back(uint8_t(u >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}
