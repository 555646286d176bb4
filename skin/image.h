// Images in the renderer's pixel format: 32-bit premultiplied ARGB, one
// uint32_t per pixel (0xAARRGGBB), rows top-down with no padding. On a
// little-endian machine that is the byte order B, G, R, A a 32-bit DIB and
// UpdateLayeredWindow expect.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace skin {

struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  bool empty() const { return width <= 0 || height <= 0; }
  uint32_t at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  uint32_t& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
  void resize(int w, int h, uint32_t fill = 0);
};

inline uint32_t alphaOf(uint32_t p) { return p >> 24; }

// Scales every channel of a premultiplied pixel by k/255 (two channels per
// multiply, rounded division by 255).
inline uint32_t scalePixel(uint32_t p, uint32_t k) {
  if (k >= 255) return p;
  uint32_t rb = (p & 0x00FF00FFu) * k;
  uint32_t ag = ((p >> 8) & 0x00FF00FFu) * k;
  rb = ((rb + 0x00800080u + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  ag = (ag + 0x00800080u + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
  return rb | ag;
}

// Premultiplied "src over dst".
inline uint32_t overPixel(uint32_t dst, uint32_t src) {
  const uint32_t inv = 255 - (src >> 24);
  if (inv == 0) return src;
  return src + scalePixel(dst, inv);
}

// Decodes a PNG held in memory into premultiplied ARGB. False on bad data.
bool decodePng(const uint8_t* data, size_t size, Image* out);

// Writes img as an RGBA PNG (straight alpha). False when the file cannot be
// written.
bool savePng(const Image& img, const std::string& path);

// Area-averaged scaling into a w x h image: good quality when shrinking the
// 1600-pixel logo to a 30-pixel box, bilinear-like when enlarging.
Image scaleImage(const Image& src, int w, int h);

// Draws src over dst with its top-left corner at (x, y), multiplied by
// opacity (0..255); clipped to dst.
void blendImage(Image& dst, const Image& src, int x, int y, int opacity);

// Draws a single colour (straight ARGB) through an 8-bit coverage mask of
// maskW x maskH at (x, y), multiplied by opacity; clipped to dst and to the
// clip rectangle [clipX0, clipX1) x [clipY0, clipY1).
void blendCoverage(Image& dst, const uint8_t* mask, int maskW, int maskH, int x, int y,
                   uint32_t argb, int opacity, int clipX0 = 0, int clipY0 = 0,
                   int clipX1 = 1 << 30, int clipY1 = 1 << 30);

}  // namespace skin
