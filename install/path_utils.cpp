// The portable path operations: the NUL cut of wide texts and the drive-path
// sanity check.
#include "install/path_utils.h"

#include <cstddef>

#include "runtime/text_search.h"

namespace {

// Replaces every occurrence of pair with single until none is left. Each
// round that changes anything makes the text shorter, so the loop ends even
// if the search and the replacement ever disagreed about a match.
Text collapseRuns(Text text, const Text& pair, const Text& single) {
  for (;;) {
    Text shorter = textReplaceAll(text, pair, single);
    if (shorter.size() >= text.size()) return text;
    text.swap(shorter);
  }
}

bool contains(const Text& text, const Text& needle) { return textFind(text, needle, 1) > 0; }

// A drive letter and a colon followed by separators only. Counting bytes
// alone would let C:/ through once a backslash is appended to it (C:/\),
// and the refresh would then empty the whole drive.
bool isBareDriveRoot(const Text& w) {
  const std::size_t end = w.find_last_not_of("\\/");
  return end == 1 && w.size() > 2;
}

}  // namespace

WideText trimAtNul(const WideText& wide, bool addTerminator) {
  if (wide.size() < 2) return WideText();
  std::size_t cut = 0;
  while (cut + 2 <= wide.size() && (wide[cut] != 0 || wide[cut + 1] != 0)) cut += 2;
  if (cut == 0) return WideText();
  WideText out(wide.begin(), wide.begin() + std::ptrdiff_t(cut));
  if (addTerminator) out.insert(out.end(), 2, 0);
  return out;
}

bool isValidPath(const Text& path, bool rejectRoot) {
  // The GBK-aware search keeps the second byte of a Chinese character (which
  // may be 0x5C) from being taken for a separator.
  Text w = collapseRuns(path, "\\\\", "\\");
  w = collapseRuns(w, "//", "/");
  if (w.empty()) return false;
  const unsigned char first = static_cast<unsigned char>(w[0]);
  const unsigned char drive = (first >= 'a' && first <= 'z') ? first - ('a' - 'A') : first;
  if (drive < 'A' || drive > 'Z') return false;
  if (!contains(w, ":\\") && !contains(w, ":/")) return false;
  if (rejectRoot && isBareDriveRoot(w)) return false;
  return true;
}
