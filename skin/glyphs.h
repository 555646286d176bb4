// The glyph-rasteriser seam: turns one line of text into an 8-bit coverage
// mask. Natively stb_truetype draws it from a CJK TrueType font; on Windows
// GDI draws it with the named face (or the face the system substitutes).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skin {

struct FontSpec {
  std::u16string face;  // "微软雅黑" for every text of the form
  int pixelSize = 12;   // em height in pixels
  int weight = 400;     // 400 regular, 700 bold

  bool operator==(const FontSpec& o) const {
    return face == o.face && pixelSize == o.pixelSize && weight == o.weight;
  }
  bool operator!=(const FontSpec& o) const { return !(*this == o); }
};

// A rasterised run: coverage 0..255, width x height, rows top-down. The line
// box is height pixels tall (ascent + descent); baseline is its ascent.
struct TextMask {
  int width = 0;
  int height = 0;
  int baseline = 0;
  std::vector<uint8_t> coverage;
};

// Rasterises text in font. False (and an empty mask) when no usable font
// exists; the caller then draws nothing for that text.
bool rasterizeText(const std::u16string& text, const FontSpec& font, TextMask* out);

}  // namespace skin
