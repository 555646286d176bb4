#include "skin/image.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>

namespace skin {

void Image::resize(int w, int h, uint32_t fill) {
  width = std::max(w, 0);
  height = std::max(h, 0);
  pixels.assign(size_t(width) * size_t(height), fill);
}

namespace {

inline uint32_t premultiply(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  auto mul = [a](uint8_t c) { return uint32_t((c * a + 127) / 255); };
  return (uint32_t(a) << 24) | (mul(r) << 16) | (mul(g) << 8) | mul(b);
}

}  // namespace

bool decodePng(const uint8_t* data, size_t size, Image* out) {
  if (!data || size == 0 || size > size_t(INT32_MAX)) return false;
  int w = 0, h = 0, n = 0;
  stbi_uc* rgba = stbi_load_from_memory(data, int(size), &w, &h, &n, 4);
  if (!rgba) return false;
  out->resize(w, h);
  const stbi_uc* p = rgba;
  for (uint32_t& px : out->pixels) {
    px = premultiply(p[0], p[1], p[2], p[3]);
    p += 4;
  }
  stbi_image_free(rgba);
  return true;
}

bool savePng(const Image& img, const std::string& path) {
  if (img.empty()) return false;
  std::vector<uint8_t> rgba(img.pixels.size() * 4);
  for (size_t i = 0; i < img.pixels.size(); ++i) {
    uint32_t p = img.pixels[i];
    uint32_t a = p >> 24;
    auto un = [a](uint32_t c) { return uint8_t(a ? std::min<uint32_t>(255, (c * 255 + a / 2) / a) : 0); };
    rgba[4 * i + 0] = un((p >> 16) & 0xFF);
    rgba[4 * i + 1] = un((p >> 8) & 0xFF);
    rgba[4 * i + 2] = un(p & 0xFF);
    rgba[4 * i + 3] = uint8_t(a);
  }
  return stbi_write_png(path.c_str(), img.width, img.height, 4, rgba.data(), img.width * 4) != 0;
}

namespace {

// For each destination index along one axis: the source span it covers, as
// (first source index, weights). Shrinking averages the covered area;
// enlarging blends the two nearest source samples.
struct Tap {
  int first = 0;
  std::vector<float> weights;
};

std::vector<Tap> axisTaps(int srcLen, int dstLen) {
  std::vector<Tap> taps(static_cast<size_t>(dstLen));
  const double step = double(srcLen) / dstLen;
  for (int d = 0; d < dstLen; ++d) {
    Tap& t = taps[size_t(d)];
    if (step >= 1.0) {
      const double a = d * step, b = std::min<double>(srcLen, a + step);
      t.first = int(a);
      for (int s = t.first; s < srcLen && s < b; ++s)
        t.weights.push_back(float((std::min<double>(s + 1, b) - std::max<double>(s, a)) / step));
    } else {
      const double centre = std::max(0.0, (d + 0.5) * step - 0.5);
      t.first = std::min(int(centre), srcLen - 1);
      const float frac = float(centre - t.first);
      t.weights.push_back(1.0f - frac);
      if (t.first + 1 < srcLen) t.weights.push_back(frac);
    }
  }
  return taps;
}

}  // namespace

Image scaleImage(const Image& src, int w, int h) {
  Image dst;
  dst.resize(w, h);
  if (src.empty() || dst.empty()) return dst;
  // Separable: rows first into a float buffer of w x src.height, then columns.
  const std::vector<Tap> xs = axisTaps(src.width, w), ys = axisTaps(src.height, h);
  std::vector<float> mid(size_t(w) * size_t(src.height) * 4, 0.0f);
  for (int y = 0; y < src.height; ++y) {
    const uint32_t* row = &src.pixels[size_t(y) * size_t(src.width)];
    float* out = &mid[size_t(y) * size_t(w) * 4];
    for (int x = 0; x < w; ++x, out += 4) {
      const Tap& t = xs[size_t(x)];
      for (size_t k = 0; k < t.weights.size(); ++k) {
        const uint32_t p = row[size_t(t.first) + k];
        const float wt = t.weights[k];
        out[0] += wt * float(p >> 24);
        out[1] += wt * float((p >> 16) & 0xFF);
        out[2] += wt * float((p >> 8) & 0xFF);
        out[3] += wt * float(p & 0xFF);
      }
    }
  }
  for (int y = 0; y < h; ++y) {
    const Tap& t = ys[size_t(y)];
    for (int x = 0; x < w; ++x) {
      float acc[4] = {0, 0, 0, 0};
      for (size_t k = 0; k < t.weights.size(); ++k) {
        const float* in = &mid[(size_t(t.first + int(k)) * size_t(w) + size_t(x)) * 4];
        for (int c = 0; c < 4; ++c) acc[c] += t.weights[k] * in[c];
      }
      auto ch = [&](int c) { return uint32_t(std::clamp(acc[c] + 0.5f, 0.0f, 255.0f)); };
      // Premultiplied: no channel may exceed alpha after rounding.
      const uint32_t a = ch(0);
      dst.at(x, y) = (a << 24) | (std::min(ch(1), a) << 16) | (std::min(ch(2), a) << 8) | std::min(ch(3), a);
    }
  }
  return dst;
}

void blendImage(Image& dst, const Image& src, int x, int y, int opacity) {
  if (opacity <= 0) return;
  const uint32_t k = uint32_t(std::min(opacity, 255));
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = std::min(x + src.width, dst.width), y1 = std::min(y + src.height, dst.height);
  for (int yy = y0; yy < y1; ++yy) {
    const uint32_t* s = &src.pixels[size_t(yy - y) * size_t(src.width) + size_t(x0 - x)];
    uint32_t* d = &dst.pixels[size_t(yy) * size_t(dst.width) + size_t(x0)];
    for (int xx = x0; xx < x1; ++xx, ++s, ++d) {
      uint32_t p = *s;
      if (p == 0) continue;
      *d = overPixel(*d, scalePixel(p, k));
    }
  }
}

void blendCoverage(Image& dst, const uint8_t* mask, int maskW, int maskH, int x, int y,
                   uint32_t argb, int opacity, int clipX0, int clipY0, int clipX1, int clipY1) {
  const uint32_t a = ((argb >> 24) * uint32_t(std::clamp(opacity, 0, 255)) + 127) / 255;
  if (a == 0) return;
  const uint32_t solid = premultiply(uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb), uint8_t(a));
  const int x0 = std::max({x, 0, clipX0}), y0 = std::max({y, 0, clipY0});
  const int x1 = std::min({x + maskW, dst.width, clipX1}), y1 = std::min({y + maskH, dst.height, clipY1});
  for (int yy = y0; yy < y1; ++yy) {
    const uint8_t* m = mask + size_t(yy - y) * size_t(maskW) + size_t(x0 - x);
    uint32_t* d = &dst.pixels[size_t(yy) * size_t(dst.width) + size_t(x0)];
    for (int xx = x0; xx < x1; ++xx, ++m, ++d) {
      if (*m == 0) continue;
      *d = overPixel(*d, scalePixel(solid, *m));
    }
  }
}

}  // namespace skin
