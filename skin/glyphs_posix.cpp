// Native glyph rasteriser: stb_truetype over a CJK font from the system.
// Microsoft YaHei does not exist here; WenQuanYi Micro Hei stands in for it,
// as a Windows without YaHei substitutes its own CJK face.
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "skin/glyphs.h"

namespace skin {
namespace {

const char* const kFontFiles[] = {
    "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
    "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
    "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
};

struct LoadedFont {
  std::vector<unsigned char> data;
  stbtt_fontinfo info{};
  bool ok = false;
};

bool readWholeFile(const char* path, std::vector<unsigned char>* out) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  unsigned char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out->insert(out->end(), buf, buf + n);
  std::fclose(f);
  return !out->empty();
}

const LoadedFont& systemFont() {
  static LoadedFont font = [] {
    LoadedFont f;
    for (const char* path : kFontFiles) {
      f.data.clear();
      if (!readWholeFile(path, &f.data)) continue;
      int offset = stbtt_GetFontOffsetForIndex(f.data.data(), 0);
      if (offset >= 0 && stbtt_InitFont(&f.info, f.data.data(), offset)) {
        f.ok = true;
        break;
      }
    }
    return f;
  }();
  return font;
}

std::vector<int> codePoints(const std::u16string& text) {
  std::vector<int> out;
  for (size_t i = 0; i < text.size(); ++i) {
    int c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace

bool rasterizeText(const std::u16string& text, const FontSpec& font, TextMask* out) {
  *out = TextMask();
  const LoadedFont& f = systemFont();
  if (!f.ok || font.pixelSize <= 0) return false;
  const float scale = stbtt_ScaleForMappingEmToPixels(&f.info, float(font.pixelSize));
  int ascent = 0, descent = 0, lineGap = 0;
  stbtt_GetFontVMetrics(&f.info, &ascent, &descent, &lineGap);
  const int baseline = int(std::ceil(ascent * scale));
  const int height = baseline + int(std::ceil(-descent * scale));
  const bool bold = font.weight >= 600;

  const std::vector<int> cps = codePoints(text);
  std::vector<int> glyphs(cps.size());
  float penX = 0;
  for (size_t i = 0; i < cps.size(); ++i) {
    glyphs[i] = stbtt_FindGlyphIndex(&f.info, cps[i]);
    int advance = 0, lsb = 0;
    stbtt_GetGlyphHMetrics(&f.info, glyphs[i], &advance, &lsb);
    penX += advance * scale;
    if (i + 1 < cps.size()) penX += stbtt_GetCodepointKernAdvance(&f.info, cps[i], cps[i + 1]) * scale;
  }
  out->width = int(std::ceil(penX)) + (bold ? 1 : 0);
  out->height = height;
  out->baseline = baseline;
  out->coverage.assign(size_t(std::max(out->width, 0)) * size_t(height), 0);
  if (out->width <= 0) return true;

  std::vector<unsigned char> glyphBuf;
  penX = 0;
  for (size_t i = 0; i < cps.size(); ++i) {
    int advance = 0, lsb = 0;
    stbtt_GetGlyphHMetrics(&f.info, glyphs[i], &advance, &lsb);
    const float shift = penX - std::floor(penX);
    int x0, y0, x1, y1;
    stbtt_GetGlyphBitmapBoxSubpixel(&f.info, glyphs[i], scale, scale, shift, 0, &x0, &y0, &x1, &y1);
    const int gw = x1 - x0, gh = y1 - y0;
    if (gw > 0 && gh > 0) {
      glyphBuf.assign(size_t(gw) * size_t(gh), 0);
      stbtt_MakeGlyphBitmapSubpixel(&f.info, glyphBuf.data(), gw, gh, gw, scale, scale, shift, 0, glyphs[i]);
      const int ox = int(std::floor(penX)) + x0, oy = baseline + y0;
      for (int y = 0; y < gh; ++y) {
        const int ty = oy + y;
        if (ty < 0 || ty >= height) continue;
        for (int x = 0; x < gw; ++x) {
          const int tx = ox + x;
          if (tx < 0 || tx >= out->width) continue;
          uint8_t& d = out->coverage[size_t(ty) * size_t(out->width) + size_t(tx)];
          d = uint8_t(std::min(255, d + glyphBuf[size_t(y) * size_t(gw) + size_t(x)]));
        }
      }
    }
    penX += advance * scale;
    if (i + 1 < cps.size()) penX += stbtt_GetCodepointKernAdvance(&f.info, cps[i], cps[i + 1]) * scale;
  }
  if (bold) {
    // The font has one weight: embolden by smearing each row one pixel right.
    for (int y = 0; y < height; ++y) {
      uint8_t* row = &out->coverage[size_t(y) * size_t(out->width)];
      for (int x = out->width - 1; x > 0; --x) row[x] = std::max(row[x], row[x - 1]);
    }
  }
  return true;
}

}  // namespace skin
