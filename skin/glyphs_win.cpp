// Windows glyph rasteriser: GDI draws the run white on black into a 32-bit
// DIB with anti-aliasing; the green channel is the coverage. The font is
// asked for by face name with the GB2312 character set, so a Windows without
// Microsoft YaHei substitutes its own CJK face.
#include <windows.h>

#include <algorithm>

#include "skin/glyphs.h"

namespace skin {
namespace {

struct ScreenDc {
  HDC dc = CreateCompatibleDC(nullptr);
  ~ScreenDc() { if (dc) DeleteDC(dc); }
};

struct GdiObject {
  HGDIOBJ obj;
  explicit GdiObject(HGDIOBJ o) : obj(o) {}
  ~GdiObject() { if (obj) DeleteObject(obj); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
};

struct Selection {
  HDC dc;
  HGDIOBJ old;
  Selection(HDC d, HGDIOBJ o) : dc(d), old(SelectObject(d, o)) {}
  ~Selection() { SelectObject(dc, old); }
};

const wchar_t* wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

}  // namespace

bool rasterizeText(const std::u16string& text, const FontSpec& font, TextMask* out) {
  *out = TextMask();
  if (font.pixelSize <= 0) return false;
  ScreenDc screen;
  if (!screen.dc) return false;
  GdiObject hfont(CreateFontW(-font.pixelSize, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, GB2312_CHARSET,
                              OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, wide(font.face)));
  if (!hfont.obj) return false;
  Selection fontSel(screen.dc, hfont.obj);

  TEXTMETRICW tm{};
  GetTextMetricsW(screen.dc, &tm);
  SIZE extent{};
  const int len = int(text.size());
  if (len > 0) GetTextExtentPoint32W(screen.dc, wide(text), len, &extent);
  // Italic-free faces can still overhang a little: leave a pixel spare.
  out->width = len > 0 ? int(extent.cx) + 2 : 0;
  out->height = int(tm.tmHeight);
  out->baseline = int(tm.tmAscent);
  out->coverage.assign(size_t(std::max(out->width, 0)) * size_t(std::max(out->height, 0)), 0);
  if (out->width <= 0 || out->height <= 0) return true;

  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = out->width;
  bi.bmiHeader.biHeight = -out->height;  // top-down rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject dib(CreateDIBSection(screen.dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib.obj || !bits) return false;
  {
    Selection bmpSel(screen.dc, dib.obj);
    std::fill_n(static_cast<uint32_t*>(bits), size_t(out->width) * size_t(out->height), 0u);
    SetBkMode(screen.dc, TRANSPARENT);
    SetTextColor(screen.dc, RGB(255, 255, 255));
    SetTextAlign(screen.dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TextOutW(screen.dc, 0, 0, wide(text), len);
    GdiFlush();
  }
  const uint32_t* px = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < out->coverage.size(); ++i) out->coverage[i] = uint8_t((px[i] >> 8) & 0xFF);
  return true;
}

}  // namespace skin
