#include "manifest/text_between.h"

#include "runtime/codepage.h"
#include "runtime/text_search.h"

namespace {

// "#引号" in a marker stands for a double quote, so callers can write markers
// that contain one.
Text expandQuoteToken(const Text& marker) {
  static const Text token = gbk("#引号");
  return textReplaceAll(marker, token, "\"");
}

}  // namespace

Text textBetween(const Text& source, const Text& startMarker, const Text& endMarker) {
  const Text s = expandQuoteToken(startMarker);
  const Text e = expandQuoteToken(endMarker);
  const int startAt = textFind(source, s, 1);
  if (startAt < 1) return Text();
  const int c = startAt + int(s.size());  // first byte after the start marker
  const int d = textFind(source, e, c);
  if (d < 1) return Text();
  return source.substr(std::size_t(c - 1), std::size_t(d - c));
}
