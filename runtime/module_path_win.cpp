#include <windows.h>

#include <string>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/module_path.h"

namespace {

std::u16string widePath() {
  // Paths may exceed MAX_PATH: grow until the name fits.
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), DWORD(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return std::u16string(reinterpret_cast<const char16_t*>(buf.data()), n);
    if (buf.size() >= 32768) return {};
    buf.resize(buf.size() * 2);
  }
}

}  // namespace

Text moduleFilePath() { return utf16ToGbk(widePath()); }

Text moduleFileName() {
  // Split before converting: in GBK a backslash byte can be the second half
  // of a Chinese character.
  const std::u16string path = widePath();
  const auto slash = path.find_last_of(u'\\');
  return utf16ToGbk(slash == std::u16string::npos ? path : path.substr(slash + 1));
}
