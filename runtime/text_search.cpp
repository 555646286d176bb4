#include "runtime/text_search.h"

#include <cstddef>

namespace {

// A byte of 0x80 or above starts a two-byte character. A lone lead byte at
// the very end counts as one character of its own.
inline std::size_t charLength(const Text& text, std::size_t at) {
  return (static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 < text.size()) ? 2 : 1;
}

bool matchesAt(const Text& source, const Text& needle, std::size_t at) {
  return source.compare(at, needle.size(), needle) == 0;
}

}  // namespace

int textFind(const Text& source, const Text& needle, int start) {
  // An empty needle is never found: a caller asking for "nothing" gets "none".
  if (needle.empty() || needle.size() > source.size()) return -1;
  const std::size_t from = start < 1 ? 0 : std::size_t(start - 1);
  const std::size_t last = source.size() - needle.size();
  // Character boundaries are those of the whole text, so walk from its start
  // even when the search begins further on.
  for (std::size_t at = 0; at <= last; at += charLength(source, at)) {
    if (at >= from && matchesAt(source, needle, at)) return int(at + 1);
  }
  return -1;
}

Text textReplaceAll(const Text& source, const Text& from, const Text& to) {
  if (from.empty()) return source;
  Text out;
  out.reserve(source.size());
  std::size_t copied = 0;  // bytes of source already handled
  int found = textFind(source, from, 1);
  while (found > 0) {
    const std::size_t at = std::size_t(found - 1);
    out.append(source, copied, at - copied);
    out += to;
    copied = at + from.size();
    found = textFind(source, from, int(copied + 1));
  }
  out.append(source, copied, Text::npos);
  return out;
}

Text textLeftOf(const Text& text, const Text& marker) {
  const int found = textFind(text, marker, 1);
  if (found < 1) return Text();
  return text.substr(0, std::size_t(found - 1));
}
