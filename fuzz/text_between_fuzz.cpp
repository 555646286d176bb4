// Fuzzes the marker search: the input is split into source, start marker and
// end marker; every result must be a substring of the source that begins on
// a character boundary right after an aligned start marker.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "manifest/text_between.h"
#include "runtime/text_search.h"

namespace {

// 1-based positions at which a GBK character starts.
std::vector<bool> characterStarts(const Text& text) {
  std::vector<bool> starts(text.size() + 2, false);
  std::size_t at = 0;
  while (at < text.size()) {
    starts[at + 1] = true;
    at += (static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 < text.size()) ? 2 : 1;
  }
  return starts;
}

void check(bool condition) {
  if (!condition) std::abort();
}

void checkFind(const Text& source, const Text& needle, int start,
               const std::vector<bool>& starts) {
  const int found = textFind(source, needle, start);
  if (found == -1) return;
  check(found >= 1 && found >= start);
  check(std::size_t(found - 1) + needle.size() <= source.size());
  check(starts[std::size_t(found)]);
  check(source.compare(std::size_t(found - 1), needle.size(), needle) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  // Parts separated by 0x00: source, start marker, end marker.
  Text parts[3];
  int part = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0 && part < 2) {
      ++part;
      continue;
    }
    parts[part] += char(data[i]);
  }
  const Text& source = parts[0];
  const std::vector<bool> starts = characterStarts(source);

  for (int start : {1, 2, int(source.size() / 2) + 1})
    checkFind(source, parts[1], start, starts);

  const Text between = textBetween(source, parts[1], parts[2]);
  if (!between.empty()) check(source.find(between) != Text::npos);

  // Without the quote token the markers are used as given, so the value must
  // sit right after an aligned start marker.
  if (parts[1].find("#") == Text::npos && parts[2].find("#") == Text::npos && !between.empty()) {
    const int s = textFind(source, parts[1], 1);
    check(s >= 1);
    const std::size_t c = std::size_t(s - 1) + parts[1].size();
    check(source.compare(c, between.size(), between) == 0);
    check(source.compare(c + between.size(), parts[2].size(), parts[2]) == 0);
    check(starts[c + between.size() + 1]);
  }

  const Text replaced = textReplaceAll(source, parts[1], parts[2]);
  if (textFind(source, parts[1], 1) == -1) check(replaced == source);
  return 0;
}
